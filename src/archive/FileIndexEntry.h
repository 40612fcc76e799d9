// One entry of the file index at the end of the launcher: what an embedded
// file is, where its bytes lie and what it is called.
//
//   type u8 | id u32 | length u32 | offset u32 | name length i16 | name
//   | compressed flag u8
//     [flag 1: | decompressed file count u32 | decompressed size u32]
//     [flag 3: | CRC-32C of the unpacked bytes u32 | unpacked size u32]
//
// All integers are big-endian; any other flag value has no fields (older
// readers read it so). Flag 1 marks something unpacked after extraction:
// a program's folder (FT_APP_DIR), which the launcher unpacks itself from
// a raw deflate stream, or an archive that the program it serves unpacks;
// the fields enlarge the free-space test before extraction. Flag 3 marks
// one file stored as a raw deflate stream, which extraction inflates and
// checks against the unpacked size and checksum, whatever else the file
// carries: the entry's own checksum covers the stored bytes, as for every
// other entry.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>

#include "base/Deque.h"
#include "base/SString.h"
#include "tagfile/TagFile.h"

enum FileType {
  FT_INSTRUCTIONS = 0,
  FT_JVM = 1,
  FT_LAUNCH_SCRIPT = 2,
  FT_CLASSPATH = 3,
  FT_JVM_INSTALLER = 4,
  FT_VERIFY = 5,
  FT_APPLICATION = 6,
  FT_LAUNCHER = 7,
  // A program's own folder, unpacked whole (AppDirFormat.h).
  FT_APP_DIR = 8
};

// The values of the compressed flag that carry fields.
const int kCompressedFlag = 1;
const int kDeflatedFlag = 3;

// Read big-endian integers byte by byte; when the stream ends first they
// throw LauncherException(message).
uint32_t readU32(FILE* stream, const char* message);
int16_t readI16(FILE* stream, const char* message);

class FileIndexEntry {
 public:
  FileIndexEntry() = default;
  FileIndexEntry(const FileIndexEntry&) = delete;
  FileIndexEntry& operator=(const FileIndexEntry&) = delete;

  // Reads one entry at the stream's position; throws LauncherException with
  // the text that names the field that could not be read.
  void read(FILE* stream);

  // Instructions, JVM descriptions and launch scripts are parsed in place.
  bool isTagFile() const;
  // Parses the entry's bytes from the open launcher file; the entry owns the
  // result, even when parsing fails half-way.
  void loadTagFile(FILE* stream);

  int getType() const { return type_; }
  TagFile* getTagFile() const { return tagFile_.get(); }
  // The id as the launcher shows and compares it: all ones reads as -1.
  long getId() const { return static_cast<int32_t>(id_); }
  uint32_t getLength() const { return length_; }
  uint32_t getOffset() const { return offset_; }
  const SString& getName() const { return name_; }
  bool isCompressed() const { return compressed_; }
  uint32_t getDecompressedFileCount() const { return decompressedFileCount_; }
  uint32_t getDecompressedSize() const { return decompressedSize_; }
  // One file stored deflated (flag 3); getDecompressedSize() is its size
  // unpacked.
  bool isDeflated() const { return deflated_; }
  uint32_t getUnpackedChecksum() const { return unpackedChecksum_; }

  // The checksum lxpack recorded for the entry's bytes; launchers made
  // without checksums have none.
  bool hasChecksum() const { return hasChecksum_; }
  uint32_t getChecksum() const { return checksum_; }
  void setChecksum(uint32_t checksum) {
    checksum_ = checksum;
    hasChecksum_ = true;
  }

 private:
  void readName(FILE* stream);

  int type_ = FT_INSTRUCTIONS;
  std::unique_ptr<TagFile> tagFile_;
  uint32_t id_ = 0xFFFFFFFFu;
  uint32_t length_ = 0;
  uint32_t offset_ = 0;
  SString name_;
  bool compressed_ = false;
  bool deflated_ = false;
  uint32_t unpackedChecksum_ = 0;
  uint32_t decompressedFileCount_ = 0;
  uint32_t decompressedSize_ = 0;
  bool hasChecksum_ = false;
  uint32_t checksum_ = 0;
};

typedef PtrDE<FileIndexEntry> FileIndexEntryPtrDE;
typedef PtrDeque<FileIndexEntry> FileIndexEntryPtrDeque;
