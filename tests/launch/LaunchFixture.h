// A launcher that lives in a fresh directory: settings point at
// <dir>/setup.bin, the log goes to <dir>/launch.log, temporary files go to
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
#include "archive/LauncherFile.h"
#include "base/LauncherException.h"
#include "base/Log.h"
#include "base/Settings.h"
#include "fsutil/Platform.h"
#include "fsutil/TempFiles.h"
#include "jvm/JVMFile.h"
#include "launch/ApplicationArchive.h"
#include "support/TempDir.h"
#include "support/Thrown.h"
#include "tagfile/TagFile.h"

class LaunchFixture : public ::testing::Test {
 protected:
  LaunchFixture() : jvm(&jvmTags) {
    savedLauncherPath_ = settings().launcherPath;
    savedOrigLauncherPath_ = settings().origLauncherPath;
    for (const char* name : kRestoredVariables) {
      const char* value = std::getenv(name);
      if (value) savedEnvironment_[name] = value;
    }
    settings().launcherPath = launcherPath().c_str();
    settings().origLauncherPath = launcherPath().c_str();
    settings().cpPrepend = "";
    settings().cpAppend = "";
    settings().javaConsole = 0;
    applicationArchivePath() = "";
    mkdir(tmp().c_str(), 0700);
    setenv("TMPDIR", tmp().c_str(), 1);
    setLogFile(dir.file("launch.log").c_str());
  }

  ~LaunchFixture() override {
    launcherFile() = LauncherFile();
    RemoveTempFiles();
    setLogFile("");
    applicationArchivePath() = "";
    settings().launcherPath = savedLauncherPath_;
    settings().origLauncherPath = savedOrigLauncherPath_;
    settings().cpPrepend = "";
    settings().cpAppend = "";
    settings().javaConsole = 0;
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
    launcherFile() = LauncherFile();
    launcherFile().loadIndex(false);
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
  TagFile jvmTags;
  JVMFile jvm;

 private:
  SString savedLauncherPath_;
  SString savedOrigLauncherPath_;
  std::map<std::string, std::string> savedEnvironment_;
};
