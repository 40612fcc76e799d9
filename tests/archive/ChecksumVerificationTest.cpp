// The launcher's checks of its own file against what lxpack recorded: every
// flipped byte in an entry, the index or the checksum block, and every cut,
// is told as damage before anything is used.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive/ArchiveBytes.h"
#include "archive/ArchiveWriter.h"
#include "archive/ChecksumBlock.h"
#include "archive/DamagedLauncher.h"
#include "archive/LauncherFile.h"
#include "archive/ProgramImage.h"
#include "base/OpenFiles.h"
#include "support/TempDir.h"

namespace {

const char kDamagedIndex[] =
    "The launcher file is damaged: its file index is not what was packed into it. Please download the launcher "
    "again.";
const char kIncomplete[] =
    "The launcher file is damaged: it is incomplete, probably cut short while it was downloaded. Please download the "
    "launcher again.";

std::string damagedEntry(const std::string& name) {
  return "The launcher file is damaged: its embedded file " + name +
         " is not what was packed into it. Please download the launcher again.";
}

// The message of the DamagedLauncherException that call throws; other
// exceptions say so.
template <class Call>
std::string damageOf(Call call) {
  try {
    call();
  } catch (const DamagedLauncherException& e) {
    return e.getMessage().c_str();
  } catch (const LauncherException& e) {
    return std::string("(not told as damage) ") + e.getMessage().c_str();
  }
  return "(no error)";
}

void putLittleEndian(std::string& bytes, size_t at, uint64_t value, int count) {
  for (int i = 0; i < count; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A small ELF program: the header, one program header for a loadable
// segment that spans the whole 300 bytes, and the segment's bytes.
std::string smallProgram() {
  std::string bytes(300, '\0');
  const char kIdent[] =
      "\x7f"
      "ELF\x02\x01\x01";
  bytes.replace(0, sizeof kIdent, kIdent, sizeof kIdent);
  putLittleEndian(bytes, 16, 2, 2);   // executable
  putLittleEndian(bytes, 18, 62, 2);  // x86_64
  putLittleEndian(bytes, 32, 64, 8);  // program headers at 64
  putLittleEndian(bytes, 54, 56, 2);  // of 56 bytes
  putLittleEndian(bytes, 56, 1, 2);   // one of them
  putLittleEndian(bytes, 64, 1, 4);   // loadable
  putLittleEndian(bytes, 64 + 32, 300, 8);
  for (size_t i = 120; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i);
  return bytes;
}

class ChecksumVerificationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    setenv("LANG", "C", 1);
  }
  // A launcher made by the writer around a small ELF program.
  std::string makeLauncher() {
    std::vector<ArchiveMember> members;
    auto add = [&](int type, const std::string& name, const std::string& bytes) {
      ArchiveMember m;
      m.type = type;
      m.id = static_cast<uint32_t>(members.size());
      m.name = name.c_str();
      m.sourcePath = dir.write("src-" + name, bytes).c_str();
      members.push_back(m);
    };
    add(0, "instructions.txt", "INSTRUCTIONS:\n  INITIALIZE_UI\n/:\n");
    add(2, "launch.txt", "DESC: Product\nCOMMAND: run\n");
    add(1, "a.jvm", "JVM_EXE: bin/java\n");
    add(5, "Verify.jar", std::string(5000, 'v'));
    add(6, "app.jar", std::string(70000, 'a'));
    const std::string path = dir.file("launcher");
    FileStream out(std::fopen(path.c_str(), "wb"));
    writeLauncher(out.get(), program().c_str(), members, 0);
    EXPECT_EQ(0, out.close());
    return ReadFile(path);
  }

  std::string program() const { return dir.write("program", smallProgram()); }

  std::string load(const std::string& bytes, bool withTagFiles) {
    const SString path = dir.write("damaged", bytes).c_str();
    LauncherFile file;
    return damageOf([&] { file.loadIndex(path, withTagFiles); });
  }

  // Where each part of the launcher lies.
  struct Layout {
    std::vector<std::pair<std::string, uint32_t>> entries;  // name, offset
    uint32_t blockStart;
    uint32_t indexOffset;
  };
  Layout layoutOf(const std::string& bytes) {
    LauncherFile file;
    file.loadIndex(dir.write("layout", bytes).c_str(), false);
    Layout layout;
    for (int i = 0; i < file.getEntryCount(); ++i) {
      layout.entries.push_back({file.getEntry(i)->getName().c_str(), file.getEntry(i)->getOffset()});
      EXPECT_TRUE(file.getEntry(i)->hasChecksum());
    }
    const uint32_t lastEnd =
        file.getEntry(file.getEntryCount() - 1)->getOffset() + file.getEntry(file.getEntryCount() - 1)->getLength();
    layout.blockStart = lastEnd;
    layout.indexOffset = lastEnd + 4 * (6 + file.getEntryCount());
    return layout;
  }

  TempDir dir;
};

}  // namespace

TEST_F(ChecksumVerificationTest, AnIntactLauncherLoadsWithAChecksumForEveryEntry) {
  const std::string bytes = makeLauncher();
  EXPECT_EQ("(no error)", load(bytes, true));
  Layout layout = layoutOf(bytes);
  EXPECT_EQ(5u, layout.entries.size());
}

TEST_F(ChecksumVerificationTest, AFlippedByteInAnyEntryNamesItBeforeAnythingIsParsed) {
  const std::string bytes = makeLauncher();
  const Layout layout = layoutOf(bytes);
  for (const auto& entry : layout.entries) {
    SCOPED_TRACE(entry.first);
    std::string damaged = bytes;
    damaged[entry.second + 3] ^= 0x20;
    EXPECT_EQ(damagedEntry(entry.first), load(damaged, true));
  }
}

TEST_F(ChecksumVerificationTest, AFlippedByteInTheIndexOrTheBlockIsToldAsADamagedIndex) {
  const std::string bytes = makeLauncher();
  const Layout layout = layoutOf(bytes);
  const struct {
    const char* where;
    size_t position;
  } cases[] = {
      {"algorithm", layout.blockStart + 3},         {"entry checksum", layout.blockStart + 9},
      {"block length", layout.indexOffset - 5},     {"index: a name", layout.indexOffset + 4 + 16},
      {"index: an id", layout.indexOffset + 4 + 2}, {"kind byte", bytes.size() - 9},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.where);
    std::string damaged = bytes;
    damaged[c.position] ^= 0x01;
    for (bool withTagFiles : {true, false}) EXPECT_EQ(kDamagedIndex, load(damaged, withTagFiles));
  }
}

TEST_F(ChecksumVerificationTest, ALauncherCutShortAnywhereIsIncomplete) {
  const std::string bytes = makeLauncher();
  const Layout layout = layoutOf(bytes);
  const size_t programSize = layout.entries[0].second;
  const struct {
    const char* where;
    size_t keep;
  } cases[] = {
      {"inside the program's last bytes", programSize - 10}, {"right after the program and one byte", programSize + 1},
      {"inside an entry", layout.entries[4].second + 1000},  {"inside the checksum block", layout.blockStart + 6},
      {"inside the index", layout.indexOffset + 20},         {"inside the trailer", bytes.size() - 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.where);
    for (bool withTagFiles : {true, false}) EXPECT_EQ(kIncomplete, load(bytes.substr(0, c.keep), withTagFiles));
  }
  // The program alone is whole: no archive, nothing to tell.
  EXPECT_EQ("(no error)", load(bytes.substr(0, programSize), true));
}

TEST_F(ChecksumVerificationTest, TheProgramImageEndsWhereItsElfHeadersSay) {
  // This test program itself is a real one, whose section headers end it.
  const std::string self = ReadFile("/proc/self/exe");
  const std::string small = smallProgram();
  const struct {
    const char* what;
    std::string bytes;
    int64_t length;
  } cases[] = {
      {"this program", self, static_cast<int64_t>(self.size())},
      {"a small program", small, 300},
      {"a program with bytes after it", small + "more", 300},
      {"a program cut short", small.substr(0, 200), 300},
      {"no ELF program", "#!/bin/sh\necho not a launcher\n", -1},
      {"too short for a header",
       "\x7f"
       "ELF",
       -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    FileStream stream(std::fopen(dir.write("image", c.bytes).c_str(), "rb"));
    EXPECT_EQ(c.length, programImageLength(stream.get()));
  }
}

TEST_F(ChecksumVerificationTest, WithoutAChecksumBlockTheLauncherIsReadAsBefore) {
  // The block taken out and the index offset moved back: what another
  // writer or an older lxpack makes. A damaged entry then goes unnoticed.
  const std::string bytes = makeLauncher();
  const Layout layout = layoutOf(bytes);
  std::string plain = bytes.substr(0, layout.blockStart) +
                      bytes.substr(layout.indexOffset, bytes.size() - 8 - layout.indexOffset) +
                      be32(layout.blockStart) + be32(0xCA82CA82u);
  plain[layout.entries[4].second] ^= 0x20;
  EXPECT_EQ("(no error)", load(plain, true));
}
