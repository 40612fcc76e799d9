#include "LauncherImage.h"

#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <sstream>
#include <vector>

#include "ProgramArchitecture.h"
#include "Usage.h"
#include "archive/AppDirReader.h"
#include "archive/ArchiveIndex.h"
#include "archive/ArchiveLayout.h"
#include "archive/ArchiveWriter.h"
#include "archive/ChecksumBlock.h"
#include "archive/Crc32c.h"
#include "archive/DamagedLauncher.h"
#include "archive/EntryInflate.h"
#include "archive/LauncherKind.h"
#include "archive/ProgramImage.h"
#include "base/Inflate.h"
#include "base/LauncherException.h"

namespace {

std::string hex(uint32_t value) {
  std::ostringstream out;
  out << "0x" << std::hex << std::uppercase << value;
  return out.str();
}

}  // namespace

std::string hex8(uint32_t value) {
  char text[9];
  std::snprintf(text, sizeof text, "%08x", value);
  return text;
}

std::string checksumText(const FileIndexEntry& entry) { return entry.hasChecksum() ? hex8(entry.getChecksum()) : "-"; }

LauncherImage::LauncherImage(const std::string& path) : path_(path), stream_(std::fopen(path.c_str(), "rb")) {
  if (!stream_) throw PackError("cannot open " + path + ": " + std::strerror(errno));
  read();
}

LauncherImage::~LauncherImage() { std::fclose(stream_); }

void LauncherImage::read() {
  if (fseeko(stream_, 0, SEEK_END) == 0) fileSize_ = static_cast<uint64_t>(ftello(stream_));
  kind_ = getLauncherKind(path_.c_str());
  architecture_ = programArchitecture(stream_);
  try {
    ArchiveTrailer trailer = readTrailer(stream_);
    if (!trailer.hasArchive()) {
      readProblems_.push_back({-1, "no archive: the file does not end with the identification value " +
                                       hex(kLauncherIdentification) + " (it ends with " + hex(trailer.identification) +
                                       ")"});
      const int64_t image = programImageLength(stream_);
      if (image >= 0 && static_cast<uint64_t>(image) != fileSize_) {
        readProblems_.push_back({-1, "incomplete: the file has " + std::to_string(fileSize_) +
                                         " bytes but no archive at its end, and its launcher program alone has " +
                                         std::to_string(image) + "; it was cut short (the launcher refuses it)"});
      }
      return;
    }
    if (fileSize_ < static_cast<uint64_t>(kTrailerSize)) {
      readProblems_.push_back({-1, "trailer: the file is too short to hold the launcher-kind byte"});
      return;
    }
    hasArchive_ = true;
    indexOffset_ = trailer.indexOffset;
    ChecksumBlock block = readChecksums();
    readIndex(stream_, indexOffset_, index_);
    indexEnd_ = static_cast<uint64_t>(ftello(stream_));
    if (block.present) {
      if (block.entryChecksums.size() == static_cast<size_t>(index_.count())) {
        assignChecksums(block, index_);
        hasChecksums_ = true;
        dataLimit_ = indexOffset_ - 4 * (block.entryChecksums.size() + 6);
      } else {
        readProblems_.push_back({-1, "checksum block: it holds " + std::to_string(block.entryChecksums.size()) +
                                         " checksums for " + std::to_string(index_.count()) + " entries"});
      }
    }
    readLayoutProblems(block);
  } catch (const LauncherException& e) {
    std::string text = e.getMessage().c_str();
    if (!hasArchive_) {
      text = "trailer: " + text;
    } else {
      text = "file index at byte " + std::to_string(indexOffset_) + ": " + text + " (" +
             std::to_string(index_.count()) + " entries read)";
    }
    readProblems_.push_back({-1, text});
  }
}

// What no checksum covers: where the index lies, and a checksum block that
// lost its identification (its bytes then lie between the last entry and
// the index; told only when nothing else was found wrong already).
void LauncherImage::readLayoutProblems(const ChecksumBlock& block) {
  const LayoutFault fault = findLayoutFault(stream_, fileSize_, indexOffset_, indexEnd_, block, index_);
  const char* refused = ": the file is damaged (the launcher refuses it)";
  if (fault.kind == LayoutFault::INDEX_RUNS_INTO_TRAILER) {
    readProblems_.push_back({-1, std::string("file index: it runs into the trailer") + refused});
  } else if (fault.kind == LayoutFault::BYTES_AFTER_INDEX) {
    readProblems_.push_back(
        {-1, "file index: " + std::to_string(fault.bytes) + " stray bytes between its end and the trailer" + refused});
  } else if (fault.kind == LayoutFault::BYTES_BEFORE_INDEX && readProblems_.empty()) {
    readProblems_.push_back({-1, "file index: " + std::to_string(fault.bytes) +
                                     " stray bytes between the embedded files and the index, where a checksum block "
                                     "would be" +
                                     refused});
  }
}

// The checksum block before the index, when there is one; a damaged block
// or index is a read problem, and the entries are then read without
// checksums.
ChecksumBlock LauncherImage::readChecksums() {
  try {
    ChecksumBlock block = readChecksumBlock(stream_, indexOffset_);
    verifyIndexChecksum(stream_, indexOffset_, fileSize_, block);
    return block;
  } catch (const DamagedLauncherException&) {
    readProblems_.push_back({-1,
                             "file index: the index or the checksum block before it does not match its "
                             "checksum: the file is damaged (the launcher refuses it)"});
    return ChecksumBlock();
  }
}

std::vector<Problem> LauncherImage::check(bool checksums) {
  std::vector<Problem> problems;
  if (architecture_.empty()) {
    problems.push_back({-1, "not a launcher: the file does not start with a launcher program for x86_64 or aarch64"});
  }
  problems.insert(problems.end(), readProblems_.begin(), readProblems_.end());
  if (!hasArchive_) return problems;
  for (int i = 0; i < index_.count(); ++i) checkEntry(i, checksums, problems);
  return problems;
}

void LauncherImage::checkEntry(int position, bool checksums, std::vector<Problem>& problems) {
  FileIndexEntry* entry = index_.get(position);
  const uint64_t end = uint64_t(entry->getOffset()) + entry->getLength();
  if (end > fileSize_) {
    problems.push_back({position, "its data end at byte " + std::to_string(end) + ", beyond the end of the file (" +
                                      std::to_string(fileSize_) + " bytes)"});
  } else if (end > dataLimit()) {
    problems.push_back({position, std::string(hasChecksums_ ? "its data run into the checksum block at byte "
                                                            : "its data run into the file index at byte ") +
                                      std::to_string(dataLimit())});
  }
  SString nameProblem = entryNameProblem(entry->getName());
  if (!nameProblem.empty()) problems.push_back({position, std::string(nameProblem.c_str())});
  if (end > fileSize_) return;
  if (entry->hasChecksum() && (checksums || entry->isTagFile())) {
    uint32_t found = 0;
    if (!checksumOfRange(fileno(stream_), entry->getOffset(), entry->getLength(), found) ||
        found != entry->getChecksum()) {
      problems.push_back({position, "its bytes do not match their checksum (recorded " + checksumText(*entry) +
                                        ", found " + hex8(found) + "): the file is damaged (the launcher refuses it)"});
      return;
    }
  }
  if (entry->getType() == FT_APP_DIR) {
    checkFolder(*entry, position, problems);
    return;
  }
  if (entry->isDeflated()) {
    checkDeflated(*entry, position, problems);
    return;
  }
  if (!entry->isTagFile()) return;
  try {
    entry->loadTagFile(stream_);
  } catch (const LauncherException& e) {
    problems.push_back({position, e.getMessage().c_str()});
    return;
  }
  // The launcher tests an embedded file's end only between lines, so a last
  // line without a line feed would be read on into the next file's bytes.
  if (entry->getLength() > 0) {
    if (fseeko(stream_, static_cast<off_t>(end - 1), SEEK_SET) == 0 && std::fgetc(stream_) != '\n') {
      problems.push_back({position,
                          "a tag file must end with a line feed: the launcher would read its last line "
                          "on into the bytes that follow it"});
    }
  }
}

void LauncherImage::checkFolder(const FileIndexEntry& entry, int position, std::vector<Problem>& problems) {
  try {
    AppDirReader reader(SString(), entry.getDecompressedFileCount(), entry.getDecompressedSize());
    inflateEntry(fileno(stream_), entry, reader);
    reader.finish();
  } catch (const LauncherException& e) {
    problems.push_back({position, std::string("the launcher could not unpack this folder: ") + e.getMessage().c_str()});
  }
}

namespace {

// The unpacked bytes of a deflated entry, counted and checked, not kept.
class UnpackedFile : public InflateSink {
 public:
  void write(const unsigned char* bytes, size_t count) override {
    size += count;
    checksum.update(bytes, count);
  }
  uint64_t size = 0;
  Crc32c checksum;
};

}  // namespace

void LauncherImage::checkDeflated(const FileIndexEntry& entry, int position, std::vector<Problem>& problems) {
  UnpackedFile file;
  try {
    inflateEntry(fileno(stream_), entry, file);
  } catch (const LauncherException& e) {
    problems.push_back({position, std::string("the launcher could not inflate this file: ") + e.getMessage().c_str()});
    return;
  }
  if (file.size != entry.getDecompressedSize() || file.checksum.value() != entry.getUnpackedChecksum()) {
    problems.push_back({position, "it inflates to " + std::to_string(file.size) + " bytes of checksum " +
                                      hex8(file.checksum.value()) + ", not the " +
                                      std::to_string(entry.getDecompressedSize()) + " bytes of checksum " +
                                      hex8(entry.getUnpackedChecksum()) +
                                      " its index entry announces: the file is damaged (the launcher refuses it)"});
  }
}
