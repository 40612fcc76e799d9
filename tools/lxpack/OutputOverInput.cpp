#include "OutputOverInput.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstring>
#include <vector>

#include "archive/FileIndexEntry.h"

namespace {

struct FileIdentity {
  dev_t device;
  ino_t inode;
  bool is(const struct stat& status) const { return status.st_dev == device && status.st_ino == inode; }
};

// The file of the folder (searched as the packer walks it: links are not
// followed, it refuses them) that is the output, or empty. A directory it
// cannot read is left to the packer to report.
std::string fileInFolder(const std::string& directory, const FileIdentity& output) {
  DIR* dir = ::opendir(directory.c_str());
  if (!dir) return std::string();
  std::vector<std::string> subdirectories;
  std::string found;
  for (dirent* e; found.empty() && (e = ::readdir(dir)) != nullptr;) {
    if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
    const std::string path = directory + "/" + e->d_name;
    struct stat status;
    if (::lstat(path.c_str(), &status) != 0 || S_ISLNK(status.st_mode)) continue;
    if (output.is(status)) {
      found = path;
    } else if (S_ISDIR(status.st_mode)) {
      subdirectories.push_back(path);
    }
  }
  ::closedir(dir);
  for (size_t i = 0; found.empty() && i < subdirectories.size(); ++i) found = fileInFolder(subdirectories[i], output);
  return found;
}

bool sameFile(const std::string& path, const FileIdentity& output) {
  struct stat status;
  return ::stat(path.c_str(), &status) == 0 && output.is(status);
}

}  // namespace

std::string inputAtOutput(const std::string& output, const std::string& program,
                          const std::vector<ArchiveMember>& members) {
  struct stat status;
  if (::stat(output.c_str(), &status) != 0) return std::string();
  const FileIdentity identity{status.st_dev, status.st_ino};
  // A name other than the output's reaches the same file: say so, or the
  // message would seem to speak of another file.
  auto phrase = [&output](const std::string& text, const std::string& path) {
    return path == output ? text : text + " (the same file under another name)";
  };
  if (sameFile(program, identity)) return phrase("the launcher program " + program, program);
  for (const ArchiveMember& m : members) {
    const std::string source = m.sourcePath.c_str();
    if (sameFile(source, identity)) {
      return phrase(m.type == FT_APP_DIR ? "the folder " + source + " the launcher carries"
                                         : "the file " + source + " the launcher carries",
                    source);
    }
    if (m.type != FT_APP_DIR) continue;
    const std::string inFolder = fileInFolder(source, identity);
    if (!inFolder.empty()) {
      return phrase("the file " + inFolder + " of the folder " + source + " the launcher carries", inFolder);
    }
  }
  return std::string();
}
