// The launcher's archive index, read from a launcher file of arbitrary
// bytes: trailer, file index, and the embedded tag files parsed in place
// into the instructions script, the launch script and the JVM descriptions.
// A damaged archive must fail with a LauncherException and never read
// outside a buffer.
#include "FuzzTarget.h"
#include "MemoryFile.h"
#include "archive/ArchiveIndex.h"
#include "archive/LauncherFile.h"
#include "archive/LauncherKind.h"
#include "base/LauncherException.h"
#include "messages/Messages.h"

namespace {

// Reads the trailer and the index through the index reader alone, as the
// packer's check does.
void readIndexAlone(const std::string& path) {
  FILE* stream = std::fopen(path.c_str(), "rb");
  FUZZ_CHECK(stream != nullptr);
  FileIndexEntryPtrDeque index;
  try {
    ArchiveTrailer trailer = readTrailer(stream);
    if (trailer.hasArchive()) readIndex(stream, trailer.indexOffset, index);
  } catch (const LauncherException&) {
  }
  std::fclose(stream);
}

// What the run reads from a loaded index.
void useIndex(const LauncherFile& archive) {
  const int count = archive.getEntryCount();
  FUZZ_CHECK(archive.getEntry(-1) == nullptr);
  FUZZ_CHECK(archive.getEntry(count) == nullptr);
  for (int i = 0; i < count; ++i) {
    const FileIndexEntry* entry = archive.getEntry(i);
    FUZZ_CHECK(entry != nullptr);
    FUZZ_CHECK(entry->getType() >= FT_INSTRUCTIONS && entry->getType() <= FT_APP_DIR);
    FUZZ_CHECK(archive.findEntryById(entry->getId()) != nullptr);
    // Tag files are parsed for the tag-file types only.
    if (!entry->isTagFile()) FUZZ_CHECK(entry->getTagFile() == nullptr);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static MemoryFile launcher;
  launcher.assign(data, size);
  // Loading a launch script shows its title; the console stays quiet.
  SetSilent(1);
  readIndexAlone(launcher.path());

  LauncherFile archive;
  try {
    archive.loadIndex(launcher.path().c_str(), true);
    FUZZ_CHECK(archive.isIndexLoaded());
  } catch (const LauncherException&) {
    FUZZ_CHECK(!archive.isIndexLoaded());
  }
  useIndex(archive);
  int kind = getLauncherKind(launcher.path().c_str());
  FUZZ_CHECK(kind >= -1 && kind <= 255);
  return 0;
}
