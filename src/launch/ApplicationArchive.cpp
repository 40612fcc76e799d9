#include "launch/ApplicationArchive.h"

#include <cerrno>
#include <cstdio>

#include "archive/Extract.h"
#include "archive/WriteError.h"
#include "base/OpenFiles.h"
#include "fsutil/TempFiles.h"

namespace {

const size_t kCopyBlock = 4096;

SString baseName(const SString& path) {
  SString::size_type separator = path.find_last_of("/\\");
  return separator == SString::npos ? path : path.substr(separator + 1);
}

// Copies in to target; a write that falls short, also when the last block
// is flushed or the file closed, fails the copy with the system's reason and
// removes the part written: a truncated archive must not reach the wizard.
void copyStream(FILE* in, FileStream& out, const SString& target) {
  char block[kCopyBlock];
  size_t n;
  int error = 0;
  while (error == 0 && (n = std::fread(block, 1, sizeof block, in)) > 0) {
    if (std::fwrite(block, 1, n, out.get()) != n) error = errno;
  }
  if (error == 0 && std::fflush(out.get()) != 0) error = errno;
  if (out.close() != 0 && error == 0) error = errno;
  if (error == 0) return;
  std::remove(target.c_str());
  throw writeFailure(target, error);
}

}  // namespace

SString& applicationArchivePath() {
  static SString path;
  return path;
}

SString getApplicationArchive(LauncherFile& archive) {
  SString& path = applicationArchivePath();
  if (!path.empty()) return path;
  SString directory = CreateTempDir();
  for (int i = 0; i < archive.getEntryCount(); ++i) {
    FileIndexEntry* entry = archive.getEntry(i);
    if (entry && entry->getType() == FT_APPLICATION) path = archive.extract(entry, directory);
  }
  return path;
}

SString copyApplicationArchive(const LauncherPaths& paths, const SString& fileName) {
  SString& path = applicationArchivePath();
  if (!path.empty()) return path;
  SString directory = paths.origLauncherDir();
  SString source =
      directory.empty() ? fileName : directory + (endsWith(directory, "/") == SString::npos ? "/" : "") + fileName;
  FileStream in(std::fopen(source.c_str(), "rb"));
  if (!in) return path;
  SString target = CreateTempDir() + "/" + baseName(fileName);
  FileStream out(std::fopen(target.c_str(), "wb"));
  if (!out) return path;
  copyStream(in.get(), out, target);
  path = target;
  return path;
}
