// Shared pieces of the JVM search tests: a log captured into a file, an
// environment variable set for one test, JVM descriptions built in memory,
// and the verification class of the build.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "base/Log.h"
#include "jvm/JVMFile.h"
#include "jvm/JVMFiles.h"
#include "support/FakeJava.h"
#include "support/TempDir.h"
#include "support/TestRunContext.h"
#include "tagfile/TagFile.h"

// Sends the log to a file of its own for the lifetime of the object.
class LogCapture {
 public:
  LogCapture() { setLogFile(dir_.file("log").c_str()); }
  ~LogCapture() { setLogFile(""); }
  std::string text() const { return ReadFile(dir_.file("log")); }
  bool has(const std::string& line) const { return text().find(line + "\n") != std::string::npos; }

 private:
  TempDir dir_;
};

// Sets (or, with a null value, unsets) a variable and puts the old value
// back afterwards.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    const char* old = std::getenv(name);
    wasSet_ = old != nullptr;
    if (old) old_ = old;
    if (value)
      setenv(name, value, 1);
    else
      unsetenv(name);
  }
  ~ScopedEnv() {
    if (wasSet_)
      setenv(name_.c_str(), old_.c_str(), 1);
    else
      unsetenv(name_.c_str());
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::string old_;
  bool wasSet_;
};

// A JVM description as the shipped ones are, with the properties given as
// name=expected lines (none: no JVM_PROPERTIES tag at all).
inline TagFile* NewDescription(const char* desc, const char* exe, std::initializer_list<const char*> properties) {
  TagFile* tags = new TagFile;
  tags->setValue("DESC", desc);
  tags->setValue("JVM_EXE", exe);
  for (const char* property : properties) tags->addValue("JVM_PROPERTIES", property);
  tags->setValue("CLASSPATH", "-cp ");
  tags->setValue("CLASSPATH_SEPARATOR", ":");
  tags->setValue("SYSTEM", "-D");
  tags->setValue("SYSTEM_SEPARATOR", "=");
  return tags;
}

// The class path and class name of the verification class the build makes,
// in the form the launcher passes them on: both quoted.
struct VerifyClass {
  std::string classPath;
  std::string className = "\"Verify\"";
};

inline VerifyClass BuiltVerifyClass() {
  std::string jar = BuiltVerifyJar();
  VerifyClass verify;
  verify.classPath = "\"" + jar + "\"";
  EXPECT_FALSE(jar.empty()) << "Verify.jar is missing next to the test binary: build the verify_jar target";
  return verify;
}

// The real JDKs; a test that needs them fails when there are none.
inline std::vector<InstalledJdk> RequireJdks(size_t atLeast) {
  std::vector<InstalledJdk> jdks = InstalledJdks();
  EXPECT_GE(jdks.size(), atLeast) << "this test needs " << atLeast
                                  << " JDK(s) under /usr/lib/jvm (install them: scripts/install-deps)";
  return jdks;
}

// A set of JVM descriptions built by a test, with the build's verification
// class and no user java home; the tag files live as long as the set that
// uses them.
class DescriptionSetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    VerifyClass verify = BuiltVerifyClass();
    files_.setVerifyClass(verify.classPath.c_str(), verify.className.c_str());
  }

  TagFile* add(TagFile* tags) {
    tags_.emplace_back(tags);
    files_.addJVMFile(new JVMFile(tags, run_.context));
    return tags;
  }

  TestRunContext run_;
  std::vector<std::unique_ptr<TagFile>> tags_;
  JVMFiles files_{run_.context};
};
