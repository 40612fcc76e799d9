#include <gtest/gtest.h>

#include <random>
#include <string>

#include "archive/ArchiveBytes.h"
#include "archive/ArchiveIndex.h"

namespace {

std::string smallLauncher() {
  std::string data = "program";
  std::string index = be32(3);
  auto add = [&](int type, const std::string& name, const std::string& bytes) {
    index += plainEntry(type, 1, static_cast<uint32_t>(bytes.size()), static_cast<uint32_t>(data.size()), name);
    data += bytes;
  };
  add(0, "instructions.txt", "INSTRUCTIONS:\n  INITIALIZE_UI\n/:\n");
  add(1, "a.jvm", "JVM_EXE: \"bin/java\"\n");
  add(6, "app.jar", "PK");
  return data + index + trailer(static_cast<uint32_t>(data.size()));
}

// Reads everything the launcher reads from bytes; true when it all loaded.
bool readLikeTheLauncher(const std::string& bytes) {
  FILE* f = streamOf(bytes);
  bool loaded = false;
  try {
    ArchiveTrailer t = readTrailer(f);
    if (t.hasArchive()) {
      FileIndexEntryPtrDeque index;
      readIndex(f, t.indexOffset, index);
      for (int i = 0; i < index.count(); ++i) index.get(i)->loadTagFile(f);
    }
    loaded = true;
  } catch (const LauncherException&) {
  }
  std::fclose(f);
  return loaded;
}

}  // namespace

TEST(ArchiveIndex, ReadsTrailerAndIndex) {
  FILE* f = streamOf(smallLauncher());
  ArchiveTrailer t = readTrailer(f);
  EXPECT_TRUE(t.hasArchive());
  FileIndexEntryPtrDeque index;
  readIndex(f, t.indexOffset, index);
  ASSERT_EQ(3, index.count());
  EXPECT_EQ(SString("app.jar"), index.get(2)->getName());
  EXPECT_EQ(static_cast<long>(smallLauncher().size()) - 9, std::ftell(f));
  std::fclose(f);
}

// Damaged launchers end in a LauncherException or load; nothing else may
// happen, whichever bytes are wrong. Under the sanitizers this also shows
// that no read leaves its buffer.
TEST(ArchiveIndex, DamagedIndexesFailCleanly) {
  const std::string good = smallLauncher();
  ASSERT_TRUE(readLikeTheLauncher(good));
  std::mt19937 random(20261210);
  FILE* f = streamOf(good);
  const size_t indexStart = readTrailer(f).indexOffset;
  std::fclose(f);
  int failures = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string bytes = good;
    int changes = 1 + static_cast<int>(random() % 4);
    for (int c = 0; c < changes; ++c) {
      size_t at = indexStart + random() % (bytes.size() - indexStart);
      bytes[at] = static_cast<char>(random() % 3 == 0 ? 0xFF : random() & 0xFF);
    }
    if (random() % 5 == 0) bytes.resize(random() % bytes.size());
    if (!readLikeTheLauncher(bytes)) ++failures;
  }
  EXPECT_GT(failures, 0);
}
