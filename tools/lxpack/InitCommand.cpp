// lxpack init --main-jar JAR ... -o DIR: the files lxpack create --main-jar
// would pack, written into DIR for a packager to start from, and the
// command that packs them.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "Commands.h"
#include "DeflatedEntries.h"
#include "FileTypeNames.h"
#include "JarLauncher.h"
#include "LauncherFileSet.h"
#include "PackagingMistakes.h"
#include "Usage.h"

namespace {

// A word the packager can paste into a shell.
std::string shellWord(const std::string& text) {
  bool plain = !text.empty();
  for (char c : text) {
    plain = plain && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                      std::strchr("._+-=:,/@%", c) != nullptr);
  }
  if (plain) return text;
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Makes the directory unless it exists; true when it made it.
bool makeDirectory(const std::string& directory) {
  if (::mkdir(directory.c_str(), 0755) == 0) return true;
  const int error = errno;
  struct stat status;
  if (error == EEXIST && ::stat(directory.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) return false;
  if (error == EEXIST) throw PackError(directory + " exists and is not a directory");
  throw PackError("cannot create the directory " + directory + ": " + std::strerror(error));
}

// Takes back what init wrote when it refuses the files after all.
class Undo {
 public:
  Undo(const std::string& directory, bool madeDirectory) : directory_(directory), madeDirectory_(madeDirectory) {}
  ~Undo() {
    if (kept_) return;
    for (const std::string& file : files_) ::unlink(file.c_str());
    if (madeDirectory_) ::rmdir(directory_.c_str());
  }
  Undo(const Undo&) = delete;
  Undo& operator=(const Undo&) = delete;
  void add(const std::vector<std::string>& files) { files_ = files; }
  void keep() { kept_ = true; }

 private:
  std::string directory_;
  bool madeDirectory_;
  std::vector<std::string> files_;
  bool kept_ = false;
};

}  // namespace

int runInit(Arguments& args) {
  const JarLauncherOptions options = parseJarLauncherOptions(args, false);
  const JarLauncher launcher = planJarLauncher(options);
  Undo undo(options.output, makeDirectory(options.output));
  const std::vector<std::string> files = writeLauncherFileSet(options.output, launcher.scripts);
  undo.add(files);
  const std::vector<ArchiveMember> members = jarLauncherMembers(files, options, launcher.jar);

  // What create would refuse is refused here too, before anyone edits it.
  refuseUnreadableRange(members, options, std::string());
  const std::vector<std::string> mistakes = packagingMistakes(members);
  if (!mistakes.empty()) {
    for (const std::string& mistake : mistakes) std::fprintf(stderr, "lxpack: %s\n", mistake.c_str());
    throw PackError("nothing written to " + options.output + ": a launcher of these files could not work");
  }
  undo.keep();

  std::string stem = baseName(options.mainJar);
  if (stem.size() > 4 && stem.compare(stem.size() - 4, 4, ".jar") == 0) stem.erase(stem.size() - 4);
  std::string command = "lxpack create -o " + shellWord(stem + ".bin");
  // The command stores deflated what create --main-jar would, so that it
  // makes the same launcher.
  const std::vector<EntryCompression> compression = jarLauncherCompression(members, options.jarCompression);
  for (size_t i = 0; i < members.size(); ++i) {
    const ArchiveMember& m = members[i];
    if (compression[i] != EntryCompression::kNone && worthDeflating(m.sourcePath.c_str())) command += " --compress";
    command += std::string(" ") + fileTypeName(m.type) + "=" + shellWord(m.sourcePath.c_str());
  }
  std::printf("Wrote %s, %s, %s and %s. Pack them into a launcher with:\n  %s\n", files[0].c_str(), files[1].c_str(),
              files[2].c_str(), files[3].c_str(), command.c_str());
  return 0;
}
