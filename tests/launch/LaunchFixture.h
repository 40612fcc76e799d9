// A launcher that lives in a fresh directory: the run context's paths point
// at <dir>/setup.bin, the log goes to <dir>/launch.log, temporary files go to
// <dir>/tmp and are removed afterwards, and the environment variables a
// launch sets are put back.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "archive/ArchiveWriter.h"
#include "base/LauncherException.h"
#include "base/Log.h"
#include "fsutil/Platform.h"
#include "fsutil/TempFiles.h"
#include "jvm/JVMFile.h"
#include "launch/ApplicationArchive.h"
#include "support/TempDir.h"
#include "support/TestRunContext.h"
#include "support/Thrown.h"
#include "tagfile/TagFile.h"

class LaunchFixture : public ::testing::Test {
 protected:
  LaunchFixture() : jvm(&jvmTags, launcher.context) {
    for (const char* name : kRestoredVariables) {
      const char* value = std::getenv(name);
      if (value) savedEnvironment_[name] = value;
    }
    launcher.paths.launcherPath = launcherPath().c_str();
    launcher.paths.origLauncherPath = launcherPath().c_str();
    applicationArchivePath() = "";
    mkdir(tmp().c_str(), 0700);
    setenv("TMPDIR", tmp().c_str(), 1);
    setLogFile(dir.file("launch.log").c_str());
  }

  ~LaunchFixture() override {
    RemoveTempFiles();
    setLogFile("");
    applicationArchivePath() = "";
    for (const char* name : kRestoredVariables) {
      auto found = savedEnvironment_.find(name);
      if (found == savedEnvironment_.end()) {
        unsetenv(name);
      } else {
        setenv(name, found->second.c_str(), 1);
      }
    }
  }

  std::string launcherPath() const { return dir.file("setup.bin"); }
  std::string tmp() const { return dir.file("tmp"); }
  std::string logText() const { return ReadFile(dir.file("launch.log")); }

  // Makes <dir>/setup.bin a launcher that carries the given files, each a
  // (type, name, content) triple, and loads its index.
  struct Embedded {
    int type;
    std::string name;
    std::string content;
  };
  void makeLauncher(const std::vector<Embedded>& files) {
    std::vector<ArchiveMember> members;
    uint32_t id = 0;
    for (const Embedded& f : files) {
      ArchiveMember m;
      m.type = f.type;
      m.id = id++;
      m.name = f.name.c_str();
      m.sourcePath = dir.write("source-" + std::to_string(id), f.content).c_str();
      members.push_back(m);
    }
    std::string program = dir.write("program", "#!/bin/sh\n");
    FILE* out = std::fopen(launcherPath().c_str(), "wb");
    ASSERT_NE(nullptr, out);
    writeLauncher(out, program.c_str(), members, 0);
    std::fclose(out);
    launcher.loadLauncher(launcherPath().c_str());
  }

  // The description of a JVM with the usual option syntax.
  void describeJvm(const char* home, const char* exe) {
    jvmTags.setValue("JVM_HOME", home);
    jvmTags.setValue("JVM_EXE", exe);
    jvmTags.setValue("CLASSPATH", "-cp ");
    jvmTags.setValue("CLASSPATH_SEPARATOR", ":");
    jvmTags.setValue("SYSTEM", "-D");
    jvmTags.setValue("SYSTEM_SEPARATOR", "=");
  }

  static constexpr const char* kRestoredVariables[] = {"TMPDIR",      "JAVA_HOME",  "LX_TEST_CP", "JAVA2D_USEAWTFONTS",
                                                       "LX_WIZARD_A", "LX_WIZARD_B"};

  TempDir dir;
  TestRunContext launcher;
  TagFile jvmTags;
  JVMFile jvm;

 private:
  std::map<std::string, std::string> savedEnvironment_;
};
