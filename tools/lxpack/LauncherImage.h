// An existing launcher opened for inspection. It is read with the
// launcher's own trailer and index reader; where that reader gives up, the
// reason is kept as a problem instead of ending the inspection, so list and
// check can show everything that is still readable.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "archive/ChecksumBlock.h"
#include "archive/FileIndexEntry.h"

struct Problem {
  int entry;  // position in the index, or -1 for the launcher as a whole
  std::string text;
};

class LauncherImage {
 public:
  // Throws PackError when path cannot be opened.
  explicit LauncherImage(const std::string& path);
  ~LauncherImage();
  LauncherImage(const LauncherImage&) = delete;
  LauncherImage& operator=(const LauncherImage&) = delete;

  const std::string& path() const { return path_; }
  FILE* stream() const { return stream_; }
  bool hasArchive() const { return hasArchive_; }
  int kind() const { return kind_; }
  // The launcher program's architecture; empty when the file does not start
  // with a launcher program of a known architecture.
  const std::string& architecture() const { return architecture_; }
  uint32_t indexOffset() const { return indexOffset_; }
  // Whether the file carries a checksum for every entry (see
  // archive/ChecksumBlock.h); the entries hold them then.
  bool hasChecksums() const { return hasChecksums_; }
  const FileIndexEntryPtrDeque& index() const { return index_; }
  // Why the trailer or the index could not be read completely.
  const std::vector<Problem>& readProblems() const { return readProblems_; }

  // Every reason the launcher would fail on this file: a program of no
  // known architecture in front, the read problems (a file cut short, a
  // damaged index), the index's extent, entries outside the file data,
  // entries that do not match their checksums, names it would not extract,
  // folders and deflated files it could not unpack, and tag files it could
  // not parse. Without checksums the entries' bytes
  // are not read again (the writer computed their checksums from the bytes
  // it copied).
  std::vector<Problem> check(bool checksums = true);

 private:
  void read();
  ChecksumBlock readChecksums();
  void readLayoutProblems(const ChecksumBlock& block);
  void checkEntry(int position, bool checksums, std::vector<Problem>& problems);
  // A program's folder is decompressed and read as the launcher would
  // unpack it, without writing anything.
  void checkFolder(const FileIndexEntry& entry, int position, std::vector<Problem>& problems);
  // A deflated file is inflated as the launcher would extract it, and its
  // size and checksum compared with what its index entry announces.
  void checkDeflated(const FileIndexEntry& entry, int position, std::vector<Problem>& problems);
  // Where the file data must end: at the checksum block, or at the index.
  uint64_t dataLimit() const { return hasChecksums_ ? dataLimit_ : indexOffset_; }

  std::string path_;
  FILE* stream_;
  uint64_t fileSize_ = 0;
  bool hasArchive_ = false;
  int kind_ = -1;
  std::string architecture_;
  uint32_t indexOffset_ = 0;
  uint64_t indexEnd_ = 0;
  bool hasChecksums_ = false;
  uint64_t dataLimit_ = 0;
  FileIndexEntryPtrDeque index_;
  std::vector<Problem> readProblems_;
};

// A checksum as lxpack shows it: eight hexadecimal digits, or "-" for an
// entry without one.
std::string hex8(uint32_t value);
std::string checksumText(const FileIndexEntry& entry);
