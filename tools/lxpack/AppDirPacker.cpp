#include "AppDirPacker.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "DeflateFile.h"
#include "Usage.h"
#include "archive/AppDirFormat.h"
#include "archive/AppDirReader.h"

namespace {

void bigEndian(unsigned char* bytes, uint32_t value, int count) {
  for (int i = count - 1; i >= 0; --i, value >>= 8) bytes[i] = static_cast<unsigned char>(value);
}

// What a symbolic link points to, for messages; empty when unreadable.
std::string linkTarget(const std::string& path) {
  std::vector<char> target(4096);
  const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
  return length <= 0 ? std::string() : std::string(target.data(), static_cast<size_t>(length));
}

struct DirectoryIdentity {
  dev_t device;
  ino_t inode;
  std::string relative;
};

class Packer {
 public:
  Packer(const std::string& directory, DeflateFile& out) : directory_(directory), out_(out) {}

  // Walks the directory whose status is given, below the folder's root
  // (relative empty: the root itself).
  void walk(const std::string& relative, const struct stat& status) {
    // A link leading back to a directory the walk is inside would be
    // followed without end: the directories on the way down are kept.
    for (const DirectoryIdentity& open : openDirectories_) {
      if (open.device == status.st_dev && open.inode == status.st_ino) {
        const std::string path = directory_ + "/" + relative;
        throw PackError(path + " leads back to " +
                        (open.relative.empty() ? directory_ : directory_ + "/" + open.relative) +
                        ", which holds it: a folder with a loop of symbolic links cannot be carried");
      }
    }
    openDirectories_.push_back({status.st_dev, status.st_ino, relative});
    const std::string path = relative.empty() ? directory_ : directory_ + "/" + relative;
    DIR* dir = ::opendir(path.c_str());
    if (!dir) throw PackError("cannot read the directory " + path + ": " + std::strerror(errno));
    std::vector<std::string> names;
    for (dirent* e; (e = ::readdir(dir)) != nullptr;) {
      if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) names.push_back(e->d_name);
    }
    ::closedir(dir);
    // The same folder always packs to the same bytes.
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) add(relative.empty() ? name : relative + "/" + name);
    openDirectories_.pop_back();
  }

  void end() {
    const unsigned char end = kAppDirEnd;
    out_.write(&end, 1);
  }

  PackedAppDir packed;

 private:
  void add(const std::string& relative) {
    const std::string path = directory_ + "/" + relative;
    const SString problem = appDirNameProblem(relative);
    if (!problem.empty()) throw PackError(path + ": the launcher could not unpack it: " + problem.c_str());
    // A link is carried as what it points to, as cp -rL copies it: the
    // user's machine has none of the places it may point to.
    struct stat status;
    if (::stat(path.c_str(), &status) != 0) {
      const int error = errno;
      struct stat link;
      if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        if (error == ELOOP) {
          throw PackError(path + " is a symbolic link in a loop of links (" + linkTarget(path) +
                          "): it points to nothing that can be carried");
        }
        throw PackError(
            path + " is a symbolic link to " + linkTarget(path) + ", which " +
            (error == ENOENT ? std::string("does not exist") : "cannot be read: " + std::string(std::strerror(error))) +
            ": there is nothing to carry in its place");
      }
      throw PackError("cannot read " + path + ": " + std::strerror(error));
    }
    if (S_ISDIR(status.st_mode)) {
      record(kAppDirDirectory, relative);
      walk(relative, status);
      return;
    }
    if (!S_ISREG(status.st_mode)) {
      throw PackError(path + " is no file or directory (a device, pipe or socket): it cannot be carried");
    }
    if (packed.size + static_cast<uint64_t>(status.st_size) > 0xFFFFFFFFu) {
      throw PackError(directory_ + " holds 4 GiB or more: a launcher cannot carry that much");
    }
    record(status.st_mode & S_IXUSR ? kAppDirExecutable : kAppDirFile, relative);
    copyFile(path, static_cast<uint32_t>(status.st_size));
  }

  void record(unsigned char kind, const std::string& name) {
    if (++packed.fileCount == 0) throw PackError(directory_ + " holds too many files");
    unsigned char head[3] = {kind};
    bigEndian(head + 1, static_cast<uint32_t>(name.size()), 2);
    out_.write(head, sizeof head);
    out_.write(name.data(), name.size());
  }

  // The size announced is the size found; a file that changes while it is
  // read is refused rather than packed half old, half new.
  void copyFile(const std::string& path, uint32_t size) {
    unsigned char sizeBytes[4];
    bigEndian(sizeBytes, size, 4);
    out_.write(sizeBytes, 4);
    FILE* in = std::fopen(path.c_str(), "rb");
    if (!in) throw PackError("cannot read " + path + ": " + std::strerror(errno));
    std::vector<char> buffer(65536);
    uint32_t left = size;
    while (left > 0) {
      const size_t n = std::fread(buffer.data(), 1, std::min<size_t>(left, buffer.size()), in);
      if (n == 0) break;
      out_.write(buffer.data(), n);
      left -= static_cast<uint32_t>(n);
    }
    const bool grew = left == 0 && std::fgetc(in) != EOF;
    std::fclose(in);
    if (left != 0 || grew) throw PackError(path + " changed while it was packed");
    packed.size += size;
  }

  std::string directory_;
  DeflateFile& out_;
  std::vector<DirectoryIdentity> openDirectories_;
};

}  // namespace

PackedAppDir packAppDirectory(const std::string& directory, const std::string& outputPath) {
  struct stat status;
  if (::stat(directory.c_str(), &status) != 0)
    throw PackError("cannot read " + directory + ": " + std::strerror(errno));
  if (!S_ISDIR(status.st_mode)) throw PackError(directory + " is not a directory");
  DeflateFile out(outputPath);
  out.write(kAppDirMagic, sizeof kAppDirMagic);
  Packer packer(directory, out);
  packer.walk(std::string(), status);
  packer.end();
  out.finish();
  return packer.packed;
}
