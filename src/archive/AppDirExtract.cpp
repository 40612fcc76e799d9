#include "archive/AppDirExtract.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "archive/AppDirReader.h"
#include "archive/Crc32c.h"
#include "archive/DamagedLauncher.h"
#include "archive/Extract.h"
#include "archive/WriteError.h"
#include "base/Inflate.h"
#include "base/LauncherException.h"
#include "base/OpenFiles.h"
#include "fsutil/TempFiles.h"
#include "messages/Messages.h"

namespace {

// The entry's compressed bytes, mapped from the launcher file: the decoder
// needs them whole, and a mapping costs no copy. Only the bytes the file
// really holds are mapped; a launcher cut short leaves the stream short.
class MappedEntry {
 public:
  MappedEntry(int launcher, uint32_t offset, uint32_t length) {
    struct stat status;
    if (::fstat(launcher, &status) != 0) return;
    off_t end = static_cast<off_t>(offset) + length;
    if (end > status.st_size) end = status.st_size;
    if (end <= static_cast<off_t>(offset)) return;
    const off_t page = ::sysconf(_SC_PAGESIZE) > 0 ? ::sysconf(_SC_PAGESIZE) : 4096;
    const off_t mapStart = offset / page * page;
    mappedSize_ = static_cast<size_t>(end - mapStart);
    void* mapped = ::mmap(nullptr, mappedSize_, PROT_READ, MAP_PRIVATE, launcher, mapStart);
    if (mapped == MAP_FAILED) throw LauncherException("Cannot read launcher file.");
    mapped_ = mapped;
    bytes_ = static_cast<const unsigned char*>(mapped) + (offset - mapStart);
    size_ = static_cast<size_t>(end - offset);
  }
  ~MappedEntry() {
    if (mapped_) ::munmap(mapped_, mappedSize_);
  }
  MappedEntry(const MappedEntry&) = delete;
  MappedEntry& operator=(const MappedEntry&) = delete;

  const unsigned char* bytes() const { return bytes_; }
  size_t size() const { return size_; }

 private:
  void* mapped_ = nullptr;
  size_t mappedSize_ = 0;
  const unsigned char* bytes_ = nullptr;
  size_t size_ = 0;
};

// The progress dots advance as the folder's bytes are written, one step per
// extraction chunk as for any other entry.
class ProgressSink : public InflateSink {
 public:
  explicit ProgressSink(AppDirReader& reader) : reader_(reader) {}
  void write(const unsigned char* bytes, size_t count) override {
    reader_.write(bytes, count);
    written_ += count;
    for (; written_ >= static_cast<size_t>(kExtractChunkSize); written_ -= kExtractChunkSize) ProgressTick(1);
  }

 private:
  AppDirReader& reader_;
  size_t written_ = 0;
};

}  // namespace

SString unpackAppDirectory(const SString& launcherPath, FileIndexEntry* entry, const SString& directory) {
  SString path = directory.empty() || directory[directory.length() - 1] == '/' ? directory + entry->getName()
                                                                               : directory + "/" + entry->getName();
  FileDescriptor launcher(::open(launcherPath.c_str(), O_RDONLY | O_CLOEXEC));
  if (!launcher.isOpen()) throw LauncherException("Cannot open launcher file.");
  MappedEntry compressed(launcher.get(), entry->getOffset(), entry->getLength());
  if (entry->hasChecksum() && (compressed.size() != entry->getLength() ||
                               crc32c(compressed.bytes(), compressed.size()) != entry->getChecksum())) {
    throw damagedEntry(entry->getName());
  }
  if (::mkdir(path.c_str(), 0700) != 0 || ::chmod(path.c_str(), 0700) != 0) throw writeFailure(path, errno);
  try {
    AppDirReader reader(path, entry->getDecompressedFileCount(), entry->getDecompressedSize());
    ProgressSink sink(reader);
    inflateRaw(compressed.bytes(), compressed.size(), sink);
    reader.finish();
  } catch (...) {
    RemovePath(path);
    throw;
  }
  return path;
}
