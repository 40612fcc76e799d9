// A file is replaced by writing the new one beside it, under a name of its
// own, and renaming that over the old one once it is complete: a reader (or
// a program being started from it) sees the old file or the new one, never
// half of one, and a write that fails leaves the old file as it was and
// nothing beside it.
//
// Nothing is synced to disk before the rename: what is written this way
// (a launcher the packer makes, the store of verified JVMs) can be made
// again, so no writer waits for the disk, at the price that a crash of the
// whole system soon after may leave the target empty.
#pragma once

#include <sys/types.h>

#include <cstdio>

#include "base/SString.h"

class FileReplacement {
 public:
  // Creates the new file as target + infix + six random characters, in
  // target's directory and open for writing; stream() is null when that
  // failed, with errno set.
  FileReplacement(const SString& target, const char* infix);
  // Removes the new file unless it was committed; errno stays as the
  // failure that brought the caller here left it.
  ~FileReplacement();
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  FILE* stream() const { return stream_; }
  // The new file's own name, until it is committed.
  const SString& path() const { return path_; }
  // Writes out what the stream holds, gives the file its mode and closes
  // it; false, with errno set, when any of that failed (some file systems
  // refuse the last bytes only when the file is closed).
  bool finish(mode_t mode);
  // Renames the finished file over target; false, with errno set, when
  // that failed.
  bool commit();

 private:
  SString target_;
  SString path_;
  FILE* stream_ = nullptr;
  bool committed_ = false;
};
