#include "LauncherFileSet.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "EmbeddedVerifyJar.h"
#include "SignalCleanup.h"
#include "Usage.h"
#include "base/OpenFiles.h"
#include "base/SystemError.h"

namespace {

void writeNewFile(const std::string& path, const void* bytes, size_t count) {
  FileDescriptor fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
  if (!fd.isOpen()) throw PackError("cannot create " + path + ": " + systemError().c_str());
  const char* at = static_cast<const char*>(bytes);
  while (count > 0) {
    ssize_t written = ::write(fd.get(), at, count);
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) throw PackError("cannot write " + path + ": " + systemError().c_str());
    at += written;
    count -= static_cast<size_t>(written);
  }
  if (fd.close() != 0) throw PackError("cannot write " + path + ": " + systemError().c_str());
}

}  // namespace

std::vector<std::string> launcherFileSetPaths(const std::string& directory) {
  const std::string prefix = directory.empty() || directory.back() == '/' ? directory : directory + "/";
  return {prefix + kInstructionsName, prefix + kJvmDescriptionName, prefix + kLaunchScriptName,
          prefix + kVerifyJarName};
}

std::vector<std::string> writeLauncherFileSet(const std::string& directory, const LauncherScripts& scripts) {
  const std::vector<std::string> paths = launcherFileSetPaths(directory);
  for (const std::string& path : paths) {
    struct stat status;
    if (::lstat(path.c_str(), &status) == 0) {
      throw PackError(path +
                      " exists already; lxpack replaces no file it did not write (remove it, or choose "
                      "another directory)");
    }
  }
  std::vector<std::string> written;
  try {
    const std::string* texts[] = {&scripts.instructions, &scripts.jvmDescription, &scripts.launchScript};
    for (size_t i = 0; i < 3; ++i) {
      writeNewFile(paths[i], texts[i]->data(), texts[i]->size());
      written.push_back(paths[i]);
    }
    writeNewFile(paths[3], kVerifyJar, kVerifyJarSize);
  } catch (const PackError&) {
    for (const std::string& path : written) ::unlink(path.c_str());
    throw;
  }
  return paths;
}

GeneratedDirectory::GeneratedDirectory() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/lxpack-XXXXXX";
  if (!::mkdtemp(&pattern[0]))
    throw PackError("cannot create a temporary directory in " + pattern + ": " + systemError().c_str());
  path_ = pattern;
  removeOnSignal(path_);
}

void GeneratedDirectory::adopt(const std::vector<std::string>& files) {
  for (const std::string& file : files) {
    files_.push_back(file);
    removeOnSignal(file);
  }
}

GeneratedDirectory::~GeneratedDirectory() {
  for (const std::string& file : files_) {
    ::unlink(file.c_str());
    keepOnSignal(file);
  }
  ::rmdir(path_.c_str());
  keepOnSignal(path_);
}
