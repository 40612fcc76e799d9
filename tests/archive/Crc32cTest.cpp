#include <gtest/gtest.h>

#include <random>
#include <string>

#include "archive/Crc32c.h"

TEST(Crc32c, GivesTheCastagnoliChecksumsOfKnownTexts) {
  // Check values of the CRC-32C definition (RFC 3720, appendix B.4).
  const struct {
    std::string bytes;
    uint32_t checksum;
  } cases[] = {
      {"", 0},
      {"123456789", 0xE3069283u},
      {std::string(32, '\0'), 0x8A9136AAu},
      {std::string(32, '\xff'), 0x62A8AB43u},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes.size());
    EXPECT_EQ(c.checksum, crc32c(c.bytes.data(), c.bytes.size()));
  }
}

TEST(Crc32c, TheInstructionAndTheTableAgreeAtEveryLengthAndAlignment) {
  // Lengths around the 8-byte steps and starts at every alignment, so the
  // byte-wise tails and the word-wise middles meet in every combination.
  std::mt19937 random(42);
  // Beyond 6144 bytes the instruction runs three chains side by side.
  std::string bytes(20000 + 16, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  if (!crc32cHasInstruction()) GTEST_SKIP() << "this processor has no CRC-32C instruction";
  for (size_t start = 0; start < 8; ++start) {
    for (size_t length : {0, 1, 7, 8, 9, 15, 16, 17, 63, 64, 65, 1000, 4096, 6143, 6144, 6145, 12288, 20000}) {
      const auto* p = reinterpret_cast<const unsigned char*>(bytes.data()) + start;
      ASSERT_EQ(crc32cExtendByTable(0xFFFFFFFFu, p, length), crc32cExtendByInstruction(0xFFFFFFFFu, p, length))
          << "start " << start << ", length " << length;
    }
  }
}

TEST(Crc32c, ChecksumsOfPiecesAddUpToTheWhole) {
  const std::string text = "The launcher is one file: its program, then everything it carries.";
  Crc32c pieces;
  for (size_t i = 0; i < text.size(); i += 7) pieces.update(text.data() + i, std::min<size_t>(7, text.size() - i));
  EXPECT_EQ(crc32c(text.data(), text.size()), pieces.value());
}
