#include "ZipDirectory.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "base/OpenFiles.h"
#include "base/SystemError.h"

namespace {

const uint32_t kEndSignature = 0x06054b50;
const uint32_t kZip64EndSignature = 0x06064b50;
const uint32_t kZip64LocatorSignature = 0x07064b50;
const uint32_t kCentralSignature = 0x02014b50;
const uint32_t kLocalSignature = 0x04034b50;
const size_t kEndSize = 22;
const size_t kZip64LocatorSize = 20;
const size_t kZip64EndSize = 56;
const size_t kCentralSize = 46;
const size_t kLocalSize = 30;
const size_t kMaxCommentSize = 0xFFFF;
// A directory this large belongs to no jar a launcher could carry (its
// offsets end at 4 GiB).
const uint64_t kMaxDirectorySize = 1ULL << 30;

uint16_t u16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t u32(const unsigned char* p) { return u16(p) | static_cast<uint32_t>(u16(p + 2)) << 16; }
uint64_t u64(const unsigned char* p) { return u32(p) | static_cast<uint64_t>(u32(p + 4)) << 32; }

// Reads count bytes at offset, or throws: a zip whose records point past
// its end is damaged.
std::string readAt(int fd, const std::string& path, uint64_t offset, uint64_t count) {
  std::string bytes(static_cast<size_t>(count), '\0');
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t got = ::pread(fd, &bytes[done], bytes.size() - done, static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) throw ZipError("cannot read " + path + ": " + systemError().c_str());
    if (got == 0) throw ZipError(path + " is damaged: its zip records point beyond its end");
    done += static_cast<size_t>(got);
  }
  return bytes;
}

const unsigned char* bytesOf(const std::string& s, size_t at = 0) {
  return reinterpret_cast<const unsigned char*>(s.data()) + at;
}

class OpenZip {
 public:
  explicit OpenZip(const std::string& path) : path_(path), fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
    if (!fd_.isOpen()) throw ZipError("cannot open " + path + ": " + systemError().c_str());
    struct stat status;
    if (::fstat(fd_.get(), &status) != 0) throw ZipError("cannot read " + path + ": " + systemError().c_str());
    if (S_ISDIR(status.st_mode)) throw ZipError(path + " is a directory, not a jar");
    size_ = static_cast<uint64_t>(status.st_size);
  }
  int fd() const { return fd_.get(); }
  uint64_t size() const { return size_; }
  std::string read(uint64_t offset, uint64_t count) const { return readAt(fd_.get(), path_, offset, count); }

 private:
  std::string path_;
  FileDescriptor fd_;
  uint64_t size_ = 0;
};

struct Directory {
  uint64_t entries = 0;
  uint64_t size = 0;
  uint64_t offset = 0;     // as the records give it, from the start of the zip data
  uint64_t recordEnd = 0;  // where the directory really ends in the file
};

// The end record is the last thing in a zip file, followed only by a
// comment of its own; the last signature from which a whole record and its
// comment reach exactly to the end is the one.
uint64_t findEndRecord(const OpenZip& zip, const std::string& path) {
  if (zip.size() < kEndSize) throw ZipError(path + " is not a jar: it is no zip file (too short)");
  const uint64_t tailSize = std::min<uint64_t>(zip.size(), kEndSize + kMaxCommentSize);
  const uint64_t tailStart = zip.size() - tailSize;
  const std::string tail = zip.read(tailStart, tailSize);
  for (size_t at = tail.size() - kEndSize + 1; at-- > 0;) {
    if (u32(bytesOf(tail, at)) != kEndSignature) continue;
    if (at + kEndSize + u16(bytesOf(tail, at + 20)) == tail.size()) return tailStart + at;
  }
  throw ZipError(path + " is not a jar: it is no zip file (it has no zip directory at its end)");
}

Directory readDirectoryRecord(const OpenZip& zip, const std::string& path, uint64_t endAt) {
  const std::string end = zip.read(endAt, kEndSize);
  Directory directory;
  directory.entries = u16(bytesOf(end, 10));
  directory.size = u32(bytesOf(end, 12));
  directory.offset = u32(bytesOf(end, 16));
  directory.recordEnd = endAt;
  if (u16(bytesOf(end, 4)) != 0 || u16(bytesOf(end, 6)) != 0) {
    throw ZipError(path + " is split over several files, which java cannot read either");
  }
  const bool needsZip64 = directory.entries == 0xFFFF || directory.size == 0xFFFFFFFF || directory.offset == 0xFFFFFFFF;
  if (endAt < kZip64LocatorSize) {
    if (needsZip64) throw ZipError(path + " is damaged: its ZIP64 records are missing");
    return directory;
  }
  const std::string locator = zip.read(endAt - kZip64LocatorSize, kZip64LocatorSize);
  if (u32(bytesOf(locator)) != kZip64LocatorSignature) {
    if (needsZip64) throw ZipError(path + " is damaged: its ZIP64 records are missing");
    return directory;
  }
  // The locator's offset counts from the start of the zip data, like every
  // other offset; the ZIP64 end record sits right before the locator.
  const uint64_t zip64EndAt = endAt - kZip64LocatorSize - kZip64EndSize;
  if (endAt < kZip64LocatorSize + kZip64EndSize) throw ZipError(path + " is damaged: its ZIP64 records are cut short");
  const std::string end64 = zip.read(zip64EndAt, kZip64EndSize);
  if (u32(bytesOf(end64)) != kZip64EndSignature) {
    // Records of variable length put it elsewhere; the locator says where,
    // counted from the start of the zip data, which is not known yet.
    throw ZipError(path + " is damaged: its ZIP64 end record is not where its locator says");
  }
  directory.entries = u64(bytesOf(end64, 32));
  directory.size = u64(bytesOf(end64, 40));
  directory.offset = u64(bytesOf(end64, 48));
  directory.recordEnd = zip64EndAt;
  return directory;
}

// A ZIP64 extra field holds the sizes and the offset that did not fit their
// 32-bit fields, in this order, only those.
void applyZip64Extra(const unsigned char* extra, size_t length, ZipEntry& entry, bool sizeFull, bool compressedFull,
                     bool offsetFull) {
  for (size_t at = 0; at + 4 <= length;) {
    const uint16_t id = u16(extra + at);
    const uint16_t fieldLength = u16(extra + at + 2);
    const size_t dataAt = at + 4;
    if (dataAt + fieldLength > length) break;
    if (id == 0x0001) {
      size_t p = dataAt;
      const size_t fieldEnd = dataAt + fieldLength;
      if (sizeFull && p + 8 <= fieldEnd) entry.size = u64(extra + p), p += 8;
      if (compressedFull && p + 8 <= fieldEnd) entry.compressedSize = u64(extra + p), p += 8;
      if (offsetFull && p + 8 <= fieldEnd) entry.localHeaderOffset = u64(extra + p);
      return;
    }
    at = dataAt + fieldLength;
  }
}

std::string inflateRaw(const std::string& packed, uint64_t size, const std::string& what) {
  std::string out(static_cast<size_t>(size), '\0');
  z_stream stream;
  std::memset(&stream, 0, sizeof stream);
  if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) throw ZipError("cannot inflate " + what + ": out of memory");
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
  stream.avail_in = static_cast<uInt>(packed.size());
  stream.next_out = reinterpret_cast<Bytef*>(&out[0]);
  stream.avail_out = static_cast<uInt>(out.size());
  // One more byte of room would only tell that the data run longer than
  // announced; Z_STREAM_END exactly at the announced size is a whole entry.
  int result = inflate(&stream, Z_FINISH);
  const bool whole = result == Z_STREAM_END && stream.total_out == size;
  inflateEnd(&stream);
  if (!whole) throw ZipError(what + " is damaged: its compressed data do not inflate to its size");
  return out;
}

}  // namespace

ZipDirectory::ZipDirectory(const std::string& path) : path_(path) {
  OpenZip zip(path);
  const Directory directory = readDirectoryRecord(zip, path, findEndRecord(zip, path));
  if (directory.size > kMaxDirectorySize || directory.size > directory.recordEnd) {
    throw ZipError(path + " is damaged: its zip directory is larger than the file");
  }
  const uint64_t directoryAt = directory.recordEnd - directory.size;
  if (directory.offset > directoryAt) throw ZipError(path + " is damaged: its zip directory is not where it says");
  base_ = directoryAt - directory.offset;

  const std::string records = zip.read(directoryAt, directory.size);
  size_t at = 0;
  for (uint64_t i = 0; i < directory.entries; ++i) {
    if (at + kCentralSize > records.size() || u32(bytesOf(records, at)) != kCentralSignature) {
      throw ZipError(path + " is damaged: its zip directory ends after " + std::to_string(i) + " of " +
                     std::to_string(directory.entries) + " entries");
    }
    const unsigned char* r = bytesOf(records, at);
    ZipEntry entry;
    entry.flags = u16(r + 8);
    entry.method = u16(r + 10);
    entry.crc = u32(r + 16);
    entry.compressedSize = u32(r + 20);
    entry.size = u32(r + 24);
    const size_t nameLength = u16(r + 28), extraLength = u16(r + 30), commentLength = u16(r + 32);
    entry.localHeaderOffset = u32(r + 42);
    if (at + kCentralSize + nameLength + extraLength + commentLength > records.size()) {
      throw ZipError(path + " is damaged: an entry of its zip directory runs beyond it");
    }
    entry.name.assign(records, at + kCentralSize, nameLength);
    applyZip64Extra(r + kCentralSize + nameLength, extraLength, entry, entry.size == 0xFFFFFFFF,
                    entry.compressedSize == 0xFFFFFFFF, entry.localHeaderOffset == 0xFFFFFFFF);
    at += kCentralSize + nameLength + extraLength + commentLength;
    names_.insert(entry.name);
    entries_.push_back(std::move(entry));
  }
}

const ZipEntry* ZipDirectory::findIgnoringCase(const std::string& name) const {
  for (const ZipEntry& entry : entries_) {
    if (entry.name.size() == name.size() && strncasecmp(entry.name.c_str(), name.c_str(), name.size()) == 0) {
      return &entry;
    }
  }
  return nullptr;
}

std::string ZipDirectory::read(const ZipEntry& entry, uint64_t maxSize) const {
  const std::string what = path_ + " (" + entry.name + ")";
  if (entry.flags & 1) throw ZipError(what + " is encrypted");
  if (entry.size > maxSize) {
    throw ZipError(what + " is too large: " + std::to_string(entry.size) + " bytes, at most " +
                   std::to_string(maxSize) + " expected");
  }
  if (entry.method != 0 && entry.method != 8) {
    throw ZipError(what + " is compressed with method " + std::to_string(entry.method) +
                   ", which java cannot read either (only stored and deflated)");
  }
  OpenZip zip(path_);
  const uint64_t localAt = base_ + entry.localHeaderOffset;
  if (localAt + kLocalSize > zip.size()) throw ZipError(what + " is damaged: it starts beyond the end of the file");
  const std::string local = zip.read(localAt, kLocalSize);
  if (u32(bytesOf(local)) != kLocalSignature) throw ZipError(what + " is damaged: its local header is missing");
  const uint64_t dataAt = localAt + kLocalSize + u16(bytesOf(local, 26)) + u16(bytesOf(local, 28));
  if (entry.compressedSize > zip.size() || dataAt > zip.size() - entry.compressedSize) {
    throw ZipError(what + " is damaged: its data run beyond the end of the file");
  }
  const std::string packed = zip.read(dataAt, entry.compressedSize);
  std::string bytes;
  if (entry.method == 0) {
    if (entry.compressedSize != entry.size) throw ZipError(what + " is damaged: a stored entry of two sizes");
    bytes = packed;
  } else {
    bytes = inflateRaw(packed, entry.size, what);
  }
  const uint32_t crc = static_cast<uint32_t>(
      crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
  if (crc != entry.crc) throw ZipError(what + " is damaged: its bytes do not match their CRC-32");
  return bytes;
}
