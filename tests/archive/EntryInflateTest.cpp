#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "archive/AppDirBytes.h"
#include "archive/ArchiveBytes.h"
#include "archive/ArchiveWriter.h"
#include "archive/Crc32c.h"
#include "archive/EntryInflate.h"
#include "archive/LauncherFile.h"
#include "messages/Messages.h"
#include "support/Processes.h"
#include "support/TempDir.h"

namespace {

std::string randomBytes(size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random() & 0xFF);
  return bytes;
}

// A jar-like file: text that deflates well, with some bytes that do not.
std::string jarLike(size_t size) {
  std::string bytes;
  std::mt19937 random(11);
  while (bytes.size() < size) {
    bytes += "org/example/Class" + std::to_string(random() % 500) + ".class ";
    if (random() % 4 == 0) bytes += randomBytes(40, random());
  }
  bytes.resize(size);
  return bytes;
}

const char kDamaged[] =
    "The launcher file is damaged: its embedded file app.jar is not what was packed into it. Please download the "
    "launcher again.";

class EntryInflateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    setenv("LANG", "C", 1);
    SetSilent(1);
    ASSERT_EQ(0, mkdir(out().c_str(), 0777));
  }

  std::string out() const { return dir.file("out"); }

  // A member holding data as lxpack stores it deflated.
  ArchiveMember deflatedMember(const std::string& data, int level = 9) {
    ArchiveMember m;
    m.type = FT_APPLICATION;
    m.name = "app.jar";
    m.sourcePath = dir.write("app.deflated", deflateRawBytes(data, level)).c_str();
    m.deflated = true;
    m.decompressedSize = static_cast<uint32_t>(data.size());
    m.unpackedChecksum = crc32c(data.data(), data.size());
    return m;
  }

  // Writes the launcher of members and loads its index as -lx:extract does.
  void makeLauncher(const std::vector<ArchiveMember>& members, bool withChecksums = true) {
    launcherPath = dir.file("launcher");
    FILE* file = std::fopen(launcherPath.c_str(), "wb");
    ASSERT_NE(nullptr, file);
    writeLauncher(file,
                  dir.write("program",
                            "\x7f"
                            "ELF program")
                      .c_str(),
                  members, 0, withChecksums);
    std::fclose(file);
    archive = LauncherFile();
    archive.loadIndex(launcherPath.c_str(), false);
  }

  // Overwrites the byte at offset of the launcher file.
  void damageByte(uint32_t offset) {
    std::fstream f(launcherPath, std::ios::in | std::ios::out | std::ios::binary);
    f.seekg(offset);
    char c = static_cast<char>(f.get());
    f.seekp(offset);
    f.put(static_cast<char>(c ^ 0x21));
  }

  std::vector<std::string> outFiles() const {
    std::vector<std::string> names;
    std::unique_ptr<DIR, int (*)(DIR*)> d(opendir(out().c_str()), closedir);
    for (dirent* e; d && (e = readdir(d.get())) != nullptr;) {
      if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") names.push_back(e->d_name);
    }
    return names;
  }

  TempDir dir;
  std::string launcherPath;
  LauncherFile archive;
};

}  // namespace

TEST_F(EntryInflateTest, ExtractionWritesTheFileAsItWasBeforeItWasDeflated) {
  const struct {
    const char* what;
    std::string data;
    int level;
  } cases[] = {
      {"empty", "", 9},
      {"a jar that deflates well, larger than the decoder's buffers", jarLike(700000), 9},
      {"stored blocks", randomBytes(200000, 1), 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    makeLauncher({deflatedMember(c.data, c.level)});
    const SString path = archive.extract(archive.getEntry(0), out().c_str());
    EXPECT_EQ(out() + "/app.jar", path.c_str());
    EXPECT_TRUE(c.data == ReadFile(path.c_str()));
    unlink(path.c_str());
  }
}

TEST_F(EntryInflateTest, ADamagedDeflatedEntryIsToldAsDamageAndLeavesNoFile) {
  const std::string data = jarLike(300000);
  const struct {
    const char* what;
    bool withChecksums;
    int damagedByte;        // of the stored stream, or -1
    int64_t checksumDelta;  // to the announced unpacked checksum
    int64_t sizeDelta;      // to the announced unpacked size
  } cases[] = {
      {"a stored byte changed, with checksums", true, 5000, 0, 0},
      {"the last stored byte changed, with checksums", true, -2, 0, 0},
      {"the unpacked checksum differs, without checksums", false, -1, 1, 0},
      {"announced a byte shorter, without checksums", false, -1, 0, -1},
      {"announced a byte longer, without checksums", false, -1, 0, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ArchiveMember m = deflatedMember(data);
    m.unpackedChecksum = static_cast<uint32_t>(m.unpackedChecksum + c.checksumDelta);
    m.decompressedSize = static_cast<uint32_t>(m.decompressedSize + c.sizeDelta);
    makeLauncher({m}, c.withChecksums);
    const FileIndexEntry* entry = archive.getEntry(0);
    if (c.damagedByte != -1) {
      damageByte(entry->getOffset() +
                 (c.damagedByte >= 0 ? static_cast<uint32_t>(c.damagedByte) : entry->getLength() - 2));
    }
    EXPECT_EQ(kDamaged, errorOf([&] { archive.extract(archive.getEntry(0), out().c_str()); }));
    EXPECT_TRUE(outFiles().empty());
  }
}

// Neither the stored bytes nor the unpacked ones are held whole: extracting
// an entry of 48 MB, a deflated file or a program's folder, raises the
// process's peak memory by far less than the entry's size.
TEST_F(EntryInflateTest, InflatesInBoundedMemoryWhateverTheEntrysSize) {
  const size_t size = 48u << 20;
  const std::string folderPath = out() + "/folder";
  {
    const std::string data = randomBytes(size, 2);
    ArchiveMember file = deflatedMember(data, 0);
    ArchiveMember folder;
    folder.type = FT_APP_DIR;
    folder.name = "folder";
    folder.sourcePath =
        dir.write("folder.deflated", deflateRawBytes(AppDirBytes().file("big", data).end().bytes(), 0)).c_str();
    folder.compressed = true;
    folder.decompressedFileCount = 1;
    folder.decompressedSize = static_cast<uint32_t>(size);
    makeLauncher({file, folder});
  }
  for (int position : {0, 1}) {
    SCOPED_TRACE(position == 0 ? "deflated file" : "program's folder");
    ASSERT_GE(archive.getEntry(position)->getLength(), size);
    const int grownMegabytes = InForkedProcess([&] {
      // Resets the peak to what the process holds now.
      std::ofstream("/proc/self/clear_refs") << "5";
      long before = -1, peak = -1;
      std::ifstream status("/proc/self/status");
      for (std::string line; std::getline(status, line);) {
        if (line.compare(0, 6, "VmRSS:") == 0) before = std::atol(line.c_str() + 6);
      }
      archive.extract(archive.getEntry(position), out().c_str());
      std::ifstream after("/proc/self/status");
      for (std::string line; std::getline(after, line);) {
        if (line.compare(0, 6, "VmHWM:") == 0) peak = std::atol(line.c_str() + 6);
      }
      if (before < 0 || peak < 0) return 98;
      return static_cast<int>(std::min<long>((peak - before) / 1024, 97));
    });
    EXPECT_LT(grownMegabytes, 16) << "the peak grew by " << grownMegabytes << " MB";
  }
  struct stat status;
  ASSERT_EQ(0, stat((out() + "/app.jar").c_str(), &status));
  EXPECT_EQ(static_cast<off_t>(size), status.st_size);
  ASSERT_EQ(0, stat((folderPath + "/big").c_str(), &status));
  EXPECT_EQ(static_cast<off_t>(size), status.st_size);
}
