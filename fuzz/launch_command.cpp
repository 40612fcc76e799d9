// Macro expansion and the launch script functions on an arbitrary command
// template: the three passes of LaunchScript::expandCommand (%FUNCTION%(...),
// @TAG@, #VARIABLE#) and JVMFile::expand on its own.
//
// Input: the command template; or a tag file, a NUL byte, then the template.
// The tag file is the JVM description and the launch script's other keys
// (ARCHIVE, DESC, ...); without one a description with the usual option
// syntax is used.
//
// The functions that touch the file system stay inside a private directory:
// the launcher is a plain file there (no archive, so nothing is extracted),
// the side files next to it are fixed, temporary directories go below it
// and are removed after every input, and the application archive path is
// set beforehand, so no file named by the template is ever copied.
#include <stdlib.h>
#include <sys/stat.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "FuzzTarget.h"
#include "base/LauncherException.h"
#include "fsutil/TempFiles.h"
#include "jvm/JVMFile.h"
#include "launch/ApplicationArchive.h"
#include "launch/LaunchScript.h"
#include "support/TestRunContext.h"
#include "tagfile/TagFile.h"

namespace {

const char kDefaultJvm[] =
    "JVM_HOME: /opt/jre\\\n"
    "JVM_EXE: bin/java\n"
    "CLASSPATH: \"-cp \"\n"
    "CLASSPATH_SEPARATOR: :\n"
    "SYSTEM: -D\n"
    "SYSTEM_SEPARATOR: =\n"
    "INIT_JAVA_HEAP: -Xms\n"
    "DESC: @JVM_HOME@ %TEMP_DIR%()\n";

void writeFile(const std::string& path, const char* text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  FUZZ_CHECK(out.good());
}

std::string& launcherDirectoryPath() {
  static std::string directory;
  return directory;
}

void removeLauncherDirectory() {
  RemoveTempFiles();
  RemovePath(launcherDirectoryPath().c_str());
}

// The launcher's directory with its side files; made once per process and
// removed when it ends.
const std::string& launcherDirectory() {
  std::string& directory = launcherDirectoryPath();
  if (!directory.empty()) return directory;
  // Under TMPDIR, so that a caller can sweep away what a crashed run leaves.
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/lxfuzz-launch-XXXXXX";
  FUZZ_CHECK(mkdtemp(&pattern[0]) != nullptr);
  directory = pattern;
  // The temporary-file registers must outlive the clean-up at exit, so they
  // are made (by this first use) before it is registered.
  RemoveTempFiles();
  std::atexit(removeLauncherDirectory);
  writeFile(directory + "/setup.bin", "#!/bin/sh\nexit 0\n");
  writeFile(directory + "/setup.sp", "a=b\njunk\nc=@JVM_HOME@ %TEMP_DIR%()\n=\n");
  writeFile(directory + "/setup.ja", "%LAUNCHER_DIR%()\n@INIT_JAVA_HEAP@20m\n\n#HOME#\n");
  writeFile(directory + "/setup.cp1", "first.jar\n\n");
  writeFile(directory + "/setup.cp", "\"quoted.jar\"\n");
  writeFile(directory + "/setup.cp2", "last.jar\n");
  writeFile(directory + "/list.txt", "a.jar\r\n\r\nb.jar\n");
  const std::string temp = directory + "/tmp";
  FUZZ_CHECK(mkdir(temp.c_str(), 0700) == 0);
  SetTempRoot(temp.c_str());
  setenv("TMPDIR", temp.c_str(), 1);
  return directory;
}

// The launcher of every input, with a fresh archive each time.
TestRunContext& useLauncherDirectory() {
  static TestRunContext launcher;
  const std::string& directory = launcherDirectory();
  launcher.paths.launcherPath = (directory + "/setup.bin").c_str();
  launcher.paths.origLauncherPath = launcher.paths.launcherPath;
  launcher.options.cpPrepend = ("@" + directory + "/list.txt").c_str();
  launcher.options.cpAppend = " x.jar ";
  applicationArchivePath() = (directory + "/app.jar").c_str();
  launcher.archive = LauncherFile();
  return launcher;
}

void loadTags(TagFile& tags, const char* bytes, size_t size) {
  if (size == 0) return;
  std::vector<char> buffer(bytes, bytes + size);
  FILE* stream = fmemopen(buffer.data(), buffer.size(), "rb");
  FUZZ_CHECK(stream != nullptr);
  try {
    tags.load(stream, "fuzz.jvm", 0, -1);
  } catch (const LauncherException&) {
    // The tags read before the error are a description as good as any.
  }
  std::fclose(stream);
}

void expand(LaunchScript& script, JVMFile* jvm) {
  try {
    script.expandCommand(jvm);
  } catch (const LauncherException&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const RunContext& context = useLauncherDirectory().context;
  const char* bytes = reinterpret_cast<const char*>(data);
  const char* separator = static_cast<const char*>(std::memchr(bytes, '\0', size));
  TagFile tags;
  SString command;
  if (separator) {
    loadTags(tags, bytes, static_cast<size_t>(separator - bytes));
    command.assign(separator + 1, static_cast<SString::size_type>(size - (separator + 1 - bytes)));
  } else {
    loadTags(tags, kDefaultJvm, sizeof kDefaultJvm - 1);
    command.assign(bytes, static_cast<SString::size_type>(size));
  }
  // The class path variable is the only environment variable an expansion
  // sets; its name stays fixed so the fuzzer cannot change the process's
  // own environment.
  if (tags.getValueCount("CP_ENV_VAR") > 0) tags.setValue("CP_ENV_VAR", "LX_FUZZ_CLASSPATH");

  JVMFile jvm(&tags, context);
  try {
    jvm.expand(command);
  } catch (const LauncherException&) {
  }

  // The application's launch script (embedded class path entries on) and a
  // verification script (off), with and without a JVM description.
  tags.setValue("COMMAND", command);
  LaunchScript application(context, &tags, 1);
  expand(application, &jvm);
  LaunchScript verification(context, command, 1, 0);
  expand(verification, nullptr);

  RemoveTempFiles();
  return 0;
}
