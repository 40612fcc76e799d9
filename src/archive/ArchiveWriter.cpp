#include "archive/ArchiveWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "archive/ArchiveIndex.h"
#include "archive/ChecksumBlock.h"
#include "archive/Crc32c.h"
#include "archive/EntryName.h"
#include "base/LauncherException.h"
#include "base/OpenFiles.h"
#include "base/SystemError.h"

namespace {

const uint64_t kMaxOffset = 0xFFFFFFFFu;

void appendU32(std::string& bytes, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<char>((value >> shift) & 0xFF));
}

void appendI16(std::string& bytes, int16_t value) {
  uint16_t bits = static_cast<uint16_t>(value);
  bytes.push_back(static_cast<char>(bits >> 8));
  bytes.push_back(static_cast<char>(bits & 0xFF));
}

void writeBytes(FILE* out, const char* bytes, size_t count) {
  if (std::fwrite(bytes, 1, count, out) != count) {
    throw LauncherException("Cannot write the launcher: " + systemError());
  }
}

const size_t kCopyChunk = 256 * 1024;
const off_t kPageSize = 4096;

// Appends the whole file at path to out and returns its size; checksum
// receives the CRC-32C of the bytes copied.
//
// The chunk is small enough to stay in the processor's cache between the
// read, the checksum and the write that each go over it (with 1 MiB each
// pass fetches the bytes from memory again). The bytes go to the output's
// descriptor directly, the first chunk cut so that every later write
// starts on a page boundary of the output: a write that ends inside a page
// leaves it for the next one to finish, which costs the file system, and
// the stream's own buffer would make every write end so.
uint64_t copyFile(FILE* out, const SString& path, uint32_t& checksum) {
  FileDescriptor in(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!in.isOpen()) throw LauncherException("Cannot open " + path + ": " + systemError());
  if (std::fflush(out) != 0) throw LauncherException("Cannot write the launcher: " + systemError());
  const int output = fileno(out);
  const off_t start = ::lseek(output, 0, SEEK_CUR);
  std::vector<char> buffer(kCopyChunk);
  size_t chunk = start < 0 ? kCopyChunk : kCopyChunk - static_cast<size_t>(start % kPageSize);
  uint64_t total = 0;
  Crc32c crc;
  for (;;) {
    ssize_t n = ::read(in.get(), buffer.data(), chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw LauncherException("Cannot read " + path + ": " + systemError());
    if (n == 0) break;
    crc.update(buffer.data(), static_cast<size_t>(n));
    for (ssize_t written = 0; written < n;) {
      ssize_t w = ::write(output, buffer.data() + written, static_cast<size_t>(n - written));
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) throw LauncherException("Cannot write the launcher: " + systemError(w == 0 ? ENOSPC : errno));
      written += w;
    }
    total += static_cast<uint64_t>(n);
    chunk = kCopyChunk;
  }
  checksum = crc.value();
  return total;
}

// Reserving the launcher's blocks in one step spares the file system from
// allocating them write by write, a good part of the copy's time on ext4.
// Only the size the files have now is reserved, and the file's size stays
// what is written; a file system that cannot reserve allocates as the bytes
// come.
void reserveSpace(FILE* out, const SString& programPath, const std::vector<ArchiveMember>& members) {
  uint64_t total = 0;
  struct stat status;
  if (::stat(programPath.c_str(), &status) == 0) total += static_cast<uint64_t>(status.st_size);
  for (const ArchiveMember& member : members) {
    if (::stat(member.sourcePath.c_str(), &status) == 0) total += static_cast<uint64_t>(status.st_size);
  }
  if (total > 0 && total <= kMaxOffset)
    (void)::fallocate(fileno(out), FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(total));
}

void checkFits(uint64_t position, const SString& what) {
  if (position > kMaxOffset) {
    throw LauncherException("The launcher would be too large: " + what +
                            " would end beyond 4 GiB, where 32-bit offsets cannot reach.");
  }
}

// What the file at path will add, as far as can be told before copying it:
// a regular file's size; 0 for what has none (a pipe), which only the copy
// can tell.
uint64_t expectedSize(const SString& path) {
  struct stat status;
  if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return 0;
  return static_cast<uint64_t>(status.st_size);
}

// A launcher that cannot fit is refused before anything is copied, not
// after gigabytes were. The copy checks again what it really wrote.
void checkExpectedSizesFit(const SString& programPath, const std::vector<ArchiveMember>& members) {
  uint64_t position = expectedSize(programPath);
  for (const ArchiveMember& member : members) {
    position += expectedSize(member.sourcePath);
    checkFits(position, member.sourcePath);
  }
}

void appendIndexEntry(std::string& index, const ArchiveMember& member, uint32_t offset, uint32_t length) {
  index.push_back(static_cast<char>(member.type));
  appendU32(index, member.id);
  appendU32(index, length);
  appendU32(index, offset);
  appendI16(index, static_cast<int16_t>(member.name.length()));
  index.append(member.name.c_str(), member.name.length());
  index.push_back(static_cast<char>(member.deflated ? kDeflatedFlag : member.compressed ? kCompressedFlag : 0));
  if (member.compressed || member.deflated) {
    appendU32(index, member.deflated ? member.unpackedChecksum : member.decompressedFileCount);
    appendU32(index, member.decompressedSize);
  }
}

}  // namespace

SString entryNameProblem(const SString& name) {
  if (!isPlainFileName(name)) return "an embedded file name must not be empty, \".\" or \"..\" or contain \"/\"";
  // The index reader reads a name like a line of text and ends it at a NUL.
  if (name.find('\n') != SString::npos) return "an embedded file name must not contain a line feed";
  if (name.find('\0') != SString::npos) return "an embedded file name must not contain a NUL byte";
  // Extraction creates a file of that name, and Linux file systems take
  // names of at most 255 bytes.
  if (name.length() > static_cast<SString::size_type>(kMaxEntryNameLength)) {
    return "an embedded file name may have at most 255 bytes";
  }
  return SString();
}

void writeLauncher(FILE* out, const SString& programPath, const std::vector<ArchiveMember>& members, int launcherKind,
                   bool withChecksums) {
  std::string index;
  appendU32(index, static_cast<uint32_t>(members.size()));
  for (const ArchiveMember& member : members) {
    SString problem = entryNameProblem(member.name);
    if (!problem.empty()) throw LauncherException("Invalid name \"" + member.name + "\": " + problem + ".");
    if (member.type < FT_INSTRUCTIONS || member.type > FT_APP_DIR) {
      throw LauncherException("Invalid file type " + fromLong(member.type) + " for " + member.sourcePath + ".");
    }
    if (member.deflated && (member.compressed || member.type <= FT_LAUNCH_SCRIPT || member.type == FT_APP_DIR)) {
      throw LauncherException("Cannot store " + member.sourcePath +
                              " deflated: the launcher reads tag files in place, and a program's folder and an "
                              "archive marked compressed are stored as they are given.");
    }
  }

  checkExpectedSizesFit(programPath, members);
  reserveSpace(out, programPath, members);
  uint32_t programChecksum;
  uint64_t position = copyFile(out, programPath, programChecksum);
  std::vector<uint32_t> checksums;
  for (const ArchiveMember& member : members) {
    const uint64_t offset = position;
    checkFits(offset, member.sourcePath);
    // The length is what was copied, not what the file claimed beforehand:
    // the index must describe the bytes that are really there.
    uint32_t checksum;
    position += copyFile(out, member.sourcePath, checksum);
    checksums.push_back(checksum);
    checkFits(position, member.sourcePath);
    appendIndexEntry(index, member, static_cast<uint32_t>(offset), static_cast<uint32_t>(position - offset));
  }
  index.push_back(static_cast<char>(launcherKind & 0xFF));
  const std::string block = withChecksums ? makeChecksumBlock(checksums, index) : std::string();
  position += block.size();
  checkFits(position, "the file index");
  const uint32_t indexOffset = static_cast<uint32_t>(position);
  appendU32(index, indexOffset);
  appendU32(index, kLauncherIdentification);
  writeBytes(out, block.data(), block.size());
  writeBytes(out, index.data(), index.size());
  if (std::fflush(out) != 0) throw LauncherException("Cannot write the launcher: " + systemError());
}
