#include <gtest/gtest.h>

#include <string>

#include "archive/ArchiveBytes.h"
#include "archive/ArchiveIndex.h"
#include "archive/ArchiveWriter.h"
#include "archive/Crc32c.h"
#include "support/TempDir.h"

namespace {

class ArchiveWriterTest : public ::testing::Test {
 protected:
  ArchiveMember member(int type, uint32_t id, const std::string& name, const std::string& bytes) {
    ArchiveMember m;
    m.type = type;
    m.id = id;
    m.name = name.c_str();
    m.sourcePath = dir.write("src-" + std::to_string(sources++), bytes).c_str();
    return m;
  }

  // Writes the launcher and returns its bytes.
  std::string write(const std::vector<ArchiveMember>& members, int kind) {
    std::string path = dir.file("launcher");
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) throw std::runtime_error("cannot create " + path);
    try {
      writeLauncher(out, program.c_str(), members, kind);
    } catch (...) {
      std::fclose(out);
      throw;
    }
    std::fclose(out);
    return ReadFile(path);
  }

  TempDir dir;
  std::string program = dir.write("program",
                                  "\x7f"
                                  "ELF fake program");
  int sources = 0;
};

}  // namespace

TEST_F(ArchiveWriterTest, LaysOutProgramDataIndexAndTrailerByteForByte) {
  ArchiveMember compressed = member(6, 0x01020304, "app.jar", "APP");
  compressed.compressed = true;
  compressed.decompressedFileCount = 5;
  compressed.decompressedSize = 0x00ABCDEF;
  std::string bytes = write({member(0, 0, "instructions.txt", "A: 1\n"), compressed, member(7, 2, "e", "")}, 200);
  const std::string programBytes =
      "\x7f"
      "ELF fake program";
  const uint32_t p = static_cast<uint32_t>(programBytes.size());
  const std::string index = be32(3) + plainEntry(0, 0, 5, p, "instructions.txt") + byte(6) + be32(0x01020304) +
                            be32(3) + be32(p + 5) + be16(7) + "app.jar" + byte(1) + be32(5) + be32(0x00ABCDEF) +
                            plainEntry(7, 2, 0, p + 8, "e") + byte(200);
  // The checksum block: algorithm, count, one checksum per entry, the
  // index's, then its own, its length and its identification value.
  std::string block = be32(1) + be32(3) + be32(crc32c("A: 1\n", 5)) + be32(crc32c("APP", 3)) + be32(0) +
                      be32(crc32c(index.data(), index.size()));
  block += be32(crc32c(block.data(), block.size())) + be32(36) + be32(0x4C584353u);
  std::string expected = programBytes + "A: 1\n" + "APP" + block + index + be32(p + 8 + 36) + be32(0xCA82CA82u);
  EXPECT_TRUE(expected == bytes) << "written " << bytes.size() << " bytes, expected " << expected.size();
}

TEST_F(ArchiveWriterTest, WrittenLauncherReadsBack) {
  std::string bytes =
      write({member(5, 0, "Verify.jar", std::string(1009, 'v')), member(1, 0xFFFFFFFFu, "x.jvm", "A: 1\n")}, 0);
  FILE* f = streamOf(bytes);
  ArchiveTrailer t = readTrailer(f);
  ASSERT_TRUE(t.hasArchive());
  FileIndexEntryPtrDeque index;
  readIndex(f, t.indexOffset, index);
  std::fclose(f);
  ASSERT_EQ(2, index.count());
  EXPECT_EQ(1009u, index.get(0)->getLength());
  EXPECT_EQ(index.get(0)->getOffset() + 1009, index.get(1)->getOffset());
  EXPECT_EQ(-1, index.get(1)->getId());
  // The checksum block lies between the last file and the index: six
  // fields and one checksum per entry.
  EXPECT_EQ(index.get(1)->getOffset() + 5 + 4 * (6 + 2), t.indexOffset);
}

TEST_F(ArchiveWriterTest, RefusesNamesTheLauncherWouldRefuse) {
  const struct {
    std::string name;
    const char* problem;
  } cases[] = {
      {"", "an embedded file name must not be empty, \".\" or \"..\" or contain \"/\""},
      {"..", "an embedded file name must not be empty, \".\" or \"..\" or contain \"/\""},
      {"dir/file", "an embedded file name must not be empty, \".\" or \"..\" or contain \"/\""},
      {"two\nlines", "an embedded file name must not contain a line feed"},
      {std::string("nul\0byte", 8), "an embedded file name must not contain a NUL byte"},
      // Longer names fit the index but no Linux file system: extraction
      // would fail on them.
      {std::string(256, 'n'), "an embedded file name may have at most 255 bytes"},
      {std::string(32767, 'n'), "an embedded file name may have at most 255 bytes"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name.substr(0, 20));
    const SString name(c.name.data(), static_cast<SString::size_type>(c.name.size()));
    EXPECT_EQ(c.problem, std::string(entryNameProblem(name).c_str()));
    ArchiveMember m = member(6, 0, "x", "x");
    m.name = name;
    // A NUL ends the text of the message, so the name shows up to it.
    const std::string text = "Invalid name \"" + c.name + "\": " + c.problem + ".";
    EXPECT_EQ(text.substr(0, text.find('\0')), errorOf([&] { write({m}, 0); }));
  }
  EXPECT_TRUE(entryNameProblem(std::string(255, 'n').c_str()).empty());
  EXPECT_TRUE(entryNameProblem("..hidden").empty());
}

TEST_F(ArchiveWriterTest, MissingSourceFileIsNamed) {
  ArchiveMember m = member(6, 0, "a", "x");
  m.sourcePath = dir.file("gone").c_str();
  EXPECT_EQ("Cannot open " + dir.file("gone") + ": No such file or directory", errorOf([&] { write({m}, 0); }));
}

TEST_F(ArchiveWriterTest, ADeflatedFileCarriesItsUnpackedChecksumAndSizeUnderFlagThree) {
  ArchiveMember deflated = member(6, 1, "app.jar", "STREAM");
  deflated.deflated = true;
  deflated.unpackedChecksum = 0x11223344;
  deflated.decompressedSize = 0x00ABCDEF;
  const std::string bytes = write({deflated}, 0);
  const uint32_t p = static_cast<uint32_t>(ReadFile(program).size());
  const std::string entry =
      byte(6) + be32(1) + be32(6) + be32(p) + be16(7) + "app.jar" + byte(3) + be32(0x11223344) + be32(0x00ABCDEF);
  // The index (count, entry, kind) ends the file before the trailer.
  const std::string index = be32(1) + entry + byte(0);
  ASSERT_GT(bytes.size(), index.size() + 8);
  EXPECT_EQ(index, bytes.substr(bytes.size() - 8 - index.size(), index.size()));
}

TEST_F(ArchiveWriterTest, RefusesToDeflateWhatTheLauncherReadsInPlaceOrUnpacksItself) {
  const struct {
    const char* what;
    int type;
    bool compressed;
  } cases[] = {
      {"instructions", 0, false},    {"JVM description", 1, false},          {"launch script", 2, false},
      {"program's folder", 8, true}, {"archive marked compressed", 6, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ArchiveMember m = member(c.type, 0, "x", "x");
    m.compressed = c.compressed;
    m.deflated = true;
    EXPECT_EQ("Cannot store " + std::string(m.sourcePath.c_str()) +
                  " deflated: the launcher reads tag files in place, and a program's folder and an archive marked "
                  "compressed are stored as they are given.",
              errorOf([&] { write({m}, 0); }));
  }
}
