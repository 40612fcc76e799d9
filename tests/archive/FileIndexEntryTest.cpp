#include <gtest/gtest.h>

#include <string>

#include "archive/ArchiveBytes.h"
#include "archive/FileIndexEntry.h"

namespace {

struct Stream {
  explicit Stream(const std::string& bytes) : f(streamOf(bytes)) {}
  ~Stream() { std::fclose(f); }
  FILE* f;
};

}  // namespace

TEST(ReadIntegers, AreBigEndianAndNameTheMissingValue) {
  Stream s(be32(0x01020304) + be16(0xFFFE) + be16(0x7FFF) + byte(1));
  EXPECT_EQ(0x01020304u, readU32(s.f, "u32"));
  EXPECT_EQ(-2, readI16(s.f, "i16"));
  EXPECT_EQ(32767, readI16(s.f, "i16"));
  EXPECT_EQ("short i16", errorOf([&] { readI16(s.f, "short i16"); }));
  Stream three(std::string("\x01\x02\x03", 3));
  EXPECT_EQ("short u32", errorOf([&] { readU32(three.f, "short u32"); }));
}

TEST(FileIndexEntry, ReadsEveryField) {
  Stream s(plainEntry(5, 0, 1009, 0xAF430, "Verify.jar"));
  FileIndexEntry entry;
  entry.read(s.f);
  EXPECT_EQ(FT_VERIFY, entry.getType());
  EXPECT_EQ(0, entry.getId());
  EXPECT_EQ(1009u, entry.getLength());
  EXPECT_EQ(0xAF430u, entry.getOffset());
  EXPECT_EQ(SString("Verify.jar"), entry.getName());
  EXPECT_FALSE(entry.isCompressed());
  EXPECT_FALSE(entry.isTagFile());
  EXPECT_EQ(EOF, std::fgetc(s.f));
}

TEST(FileIndexEntry, IdsAreSigned32BitNumbers) {
  const struct {
    uint32_t stored;
    long shown;
  } cases[] = {{0xFFFFFFFFu, -1}, {0x80000000u, -2147483648L}, {0x7FFFFFFFu, 2147483647L}, {7, 7}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    Stream s(plainEntry(3, c.stored, 0, 0, "a"));
    FileIndexEntry entry;
    entry.read(s.f);
    EXPECT_EQ(c.shown, entry.getId());
  }
}

TEST(FileIndexEntry, OnlyFlagOneCarriesDecompressedFields) {
  const std::string head = byte(6) + be32(9) + be32(100) + be32(200) + be16(3) + "app";
  const std::string next = plainEntry(7, 10, 1, 2, "next");
  for (int flag : {0, 2, 0x7F, 0xFF}) {
    SCOPED_TRACE(flag);
    Stream s(head + byte(flag) + next);
    FileIndexEntry entry, following;
    entry.read(s.f);
    following.read(s.f);
    EXPECT_FALSE(entry.isCompressed());
    EXPECT_EQ(0u, entry.getDecompressedSize());
    EXPECT_EQ(SString("next"), following.getName());
    EXPECT_EQ(10, following.getId());
  }
  Stream s(head + byte(1) + be32(12) + be32(0x10000000) + next);
  FileIndexEntry entry, following;
  entry.read(s.f);
  following.read(s.f);
  EXPECT_TRUE(entry.isCompressed());
  EXPECT_EQ(12u, entry.getDecompressedFileCount());
  EXPECT_EQ(0x10000000u, entry.getDecompressedSize());
  EXPECT_EQ(SString("next"), following.getName());
}

TEST(FileIndexEntry, FlagThreeCarriesTheUnpackedChecksumAndSizeOfADeflatedFile) {
  const std::string head = byte(6) + be32(9) + be32(100) + be32(200) + be16(3) + "app";
  Stream s(head + byte(3) + be32(0xCAFEF00D) + be32(0x10000000) + plainEntry(7, 10, 1, 2, "next"));
  FileIndexEntry entry, following;
  entry.read(s.f);
  following.read(s.f);
  EXPECT_TRUE(entry.isDeflated());
  EXPECT_FALSE(entry.isCompressed());
  EXPECT_EQ(0xCAFEF00Du, entry.getUnpackedChecksum());
  EXPECT_EQ(0x10000000u, entry.getDecompressedSize());
  EXPECT_EQ(0u, entry.getDecompressedFileCount());
  EXPECT_EQ(SString("next"), following.getName());
  EXPECT_FALSE(following.isDeflated());
}

TEST(FileIndexEntry, DamagedEntriesNameTheFieldThatFailed) {
  const std::string upToName = byte(1) + be32(1) + be32(2) + be32(3);
  const struct {
    const char* what;
    std::string bytes;
    const char* error;
  } cases[] = {
      {"empty", "", "Invalid file type in file index."},
      {"type 9", byte(9) + be32(0) + be32(0) + be32(0) + be16(0) + byte(0), "Invalid file type in file index."},
      {"type 255", byte(255), "Invalid file type in file index."},
      {"cut in id", byte(0) + "\x00\x01", "Unable to load file id."},
      {"cut in length", byte(0) + be32(1) + "\x00", "Unable to load file length."},
      {"cut in offset", byte(0) + be32(1) + be32(2), "Unable to load offset to file bytes."},
      {"cut in name length", upToName + "\x00", "Unable to load the string value."},
      {"name length -1", upToName + be16(0xFFFF) + "abc" + byte(0), "Unable to load the string value."},
      {"name length -32768", upToName + be16(0x8000) + "abc" + byte(0), "Unable to load the string value."},
      {"cut in file count", upToName + be16(1) + "x" + byte(1) + "\x00\x00", "Unable to load decompressed file count."},
      {"cut in size", upToName + be16(1) + "x" + byte(1) + be32(4) + "\x00", "Unable to load decompressed size."},
      {"cut in unpacked checksum", upToName + be16(1) + "x" + byte(3) + "\x00\x00",
       "Unable to load the unpacked checksum."},
      {"cut in unpacked size", upToName + be16(1) + "x" + byte(3) + be32(4) + "\x00",
       "Unable to load decompressed size."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Stream s(c.bytes);
    FileIndexEntry entry;
    EXPECT_EQ(c.error, errorOf([&] { entry.read(s.f); }));
  }
}

TEST(FileIndexEntry, NameEndsAtNulButConsumesItsLength) {
  Stream s(byte(6) + be32(1) + be32(0) + be32(0) + be16(5) + std::string("ab\0cd", 5) + byte(0) +
           plainEntry(6, 2, 0, 0, "second"));
  FileIndexEntry first, second;
  first.read(s.f);
  second.read(s.f);
  EXPECT_EQ(SString("ab"), first.getName());
  EXPECT_EQ(SString("second"), second.getName());
}

TEST(FileIndexEntry, TagFileIsParsedInPlaceWithinItsLength) {
  const std::string before = "PROGRAM";
  const std::string text = "A: 1\nB:\n  x\n  y\n/:\n";
  const std::string after = "C: not mine\n";
  Stream s(before + text + after);
  Stream index(
      plainEntry(0, 1, static_cast<uint32_t>(text.size()), static_cast<uint32_t>(before.size()), "instructions.txt"));
  FileIndexEntry entry;
  entry.read(index.f);
  ASSERT_TRUE(entry.isTagFile());
  entry.loadTagFile(s.f);
  ASSERT_NE(nullptr, entry.getTagFile());
  EXPECT_EQ(SString("1"), entry.getTagFile()->getValue("A", 0));
  EXPECT_EQ(2, entry.getTagFile()->getValueCount("B"));
  EXPECT_EQ(0, entry.getTagFile()->getValueCount("C"));
  EXPECT_EQ(SString("instructions.txt"), entry.getTagFile()->getFileName());
}

TEST(FileIndexEntry, OnlyTypesZeroToTwoAreTagFiles) {
  for (int type = 0; type <= 7; ++type) {
    SCOPED_TRACE(type);
    Stream data("A: 1\n");
    Stream index(plainEntry(type, 0, 5, 0, "f"));
    FileIndexEntry entry;
    entry.read(index.f);
    EXPECT_EQ(type <= 2, entry.isTagFile());
    entry.loadTagFile(data.f);
    EXPECT_EQ(type <= 2, entry.getTagFile() != nullptr);
  }
}

TEST(FileIndexEntry, SyntaxErrorOfAnEmbeddedFileNamesTheEntry) {
  Stream data("XX\nA: 1\n# no colon\n");
  Stream index(plainEntry(2, 0, 16, 3, "launch.txt"));
  FileIndexEntry entry;
  entry.read(index.f);
  EXPECT_EQ("Syntax error in launch.txt at line 2 ==> Missing colon at the end of the tag name.",
            errorOf([&] { entry.loadTagFile(data.f); }));
}
