#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "archive/AppDirBytes.h"
#include "base/Inflate.h"
#include "base/LauncherException.h"

namespace {

class StringSink : public InflateSink {
 public:
  void write(const unsigned char* bytes, size_t count) override {
    text.append(reinterpret_cast<const char*>(bytes), count);
  }
  std::string text;
};

std::string inflateString(const std::string& compressed) {
  StringSink sink;
  inflateRaw(reinterpret_cast<const unsigned char*>(compressed.data()), compressed.size(), sink);
  return sink.text;
}

// Hands out a stream in pieces of the sizes given, the last size again and
// again, as a file read piece by piece does.
class PieceSource : public InflateSource {
 public:
  PieceSource(const std::string& bytes, std::vector<size_t> sizes) : bytes_(bytes), sizes_(std::move(sizes)) {}
  size_t read(const unsigned char*& piece) override {
    const size_t want = sizes_[next_ < sizes_.size() ? next_ : sizes_.size() - 1];
    ++next_;
    const size_t size = std::min(want, bytes_.size() - position_);
    piece = reinterpret_cast<const unsigned char*>(bytes_.data()) + position_;
    position_ += size;
    return size;
  }

 private:
  const std::string& bytes_;
  std::vector<size_t> sizes_;
  size_t next_ = 0;
  size_t position_ = 0;
};

// What inflating in pieces gives: the bytes, or the failure's message.
std::string inflatePieces(const std::string& compressed, const std::vector<size_t>& sizes) {
  PieceSource source(compressed, sizes);
  StringSink sink;
  try {
    inflateRaw(source, sink);
  } catch (const LauncherException& e) {
    return std::string("failed: ") + e.getMessage().c_str();
  }
  return sink.text;
}

// The message inflating gives, or "" when it succeeds.
std::string inflateFailure(const std::string& compressed) {
  try {
    inflateString(compressed);
  } catch (const LauncherException& e) {
    return e.getMessage().c_str();
  }
  return "";
}

std::string randomBytes(size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random() & 0xFF);
  return bytes;
}

// Text with repeats near and far (up to the whole window back), so that
// every length and distance code is used.
std::string repetitiveText(size_t size) {
  std::string text;
  std::mt19937 random(7);
  while (text.size() < size) {
    if (text.size() > 40000 && random() % 3 == 0) {
      size_t back = 1 + random() % 32768;
      size_t length = 3 + random() % 256;
      text += text.substr(text.size() - back, length);
    } else {
      text += "line " + std::to_string(random() % 1000) + " of the folder\n";
    }
  }
  text.resize(size);
  return text;
}

TEST(Inflate, DecodesWhatZlibWritesWithEveryKindOfBlock) {
  const struct {
    const char* what;
    std::string data;
    int level;
    int strategy;
  } cases[] = {
      {"empty", "", 9, Z_DEFAULT_STRATEGY},
      {"one byte", "x", 9, Z_DEFAULT_STRATEGY},
      {"stored blocks of random bytes", randomBytes(200000, 1), 0, Z_DEFAULT_STRATEGY},
      {"random bytes, compressed", randomBytes(100000, 2), 9, Z_DEFAULT_STRATEGY},
      {"fixed codes", repetitiveText(300000), 6, Z_FIXED},
      {"dynamic codes, far matches", repetitiveText(1500000), 9, Z_DEFAULT_STRATEGY},
      {"Huffman codes only", repetitiveText(100000), 9, Z_HUFFMAN_ONLY},
      {"runs of one byte", std::string(700000, 'a') + "b" + std::string(70000, '\0'), 9, Z_RLE},
      {"fast level", repetitiveText(500000), 1, Z_DEFAULT_STRATEGY},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::string decoded = inflateString(deflateRawBytes(c.data, c.level, c.strategy));
    ASSERT_EQ(c.data.size(), decoded.size());
    EXPECT_TRUE(c.data == decoded);
  }
}

TEST(Inflate, RefusesAStreamCutShortAnywhere) {
  const std::string compressed = deflateRawBytes(repetitiveText(60000));
  for (size_t cut = 0; cut < compressed.size(); ++cut) {
    SCOPED_TRACE(cut);
    EXPECT_EQ("Invalid deflate stream: it is cut short.", inflateFailure(compressed.substr(0, cut)));
  }
}

TEST(Inflate, RefusesMalformedStreams) {
  const struct {
    const char* what;
    std::string bytes;
    const char* message;
  } cases[] = {
      {"reserved block type", std::string("\x07", 1), "it has a block of the reserved type"},
      {"stored length without its complement", std::string("\x01\x05\x00\x00\x00hello", 10),
       "a stored block's length does not match its complement"},
      // A fixed-code block whose first symbol is a match one byte back.
      {"match before the start", std::string("\x03\x02\x00", 3), "it refers to bytes before its start"},
      {"bytes after the last block", deflateRawBytes("abc") + "junk", "bytes follow its last block"},
      // A dynamic block whose code length code gives every symbol one bit.
      {"over-subscribed code", std::string("\x05\xe0\x93\x24\x49\x92\x24\x49\x92\x00", 10),
       "a code table is over-subscribed"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(std::string("Invalid deflate stream: ") + c.message + ".", inflateFailure(c.bytes));
  }
}

// Damage in the middle of a stream is either refused or decodes to other
// bytes; it never reads or writes outside its buffers (the sanitizer build
// tells).
TEST(Inflate, SurvivesDamageAnywhere) {
  const std::string data = repetitiveText(50000);
  const std::string compressed = deflateRawBytes(data);
  int refused = 0;
  for (size_t at = 0; at < compressed.size(); at += 7) {
    std::string damaged = compressed;
    damaged[at] = static_cast<char>(damaged[at] ^ 0x5A);
    try {
      EXPECT_NE(data, inflateString(damaged)) << "damage at " << at;
    } catch (const LauncherException&) {
      ++refused;
    }
  }
  EXPECT_GT(refused, 0);
}

TEST(Inflate, DecodesTheSameWhateverPiecesTheStreamComesIn) {
  const struct {
    const char* what;
    std::string data;
    int level;
    int strategy;
  } streams[] = {
      // Stored blocks are copied from the pieces as they are, their header
      // and bytes split anywhere.
      {"stored blocks", randomBytes(150000, 3), 0, Z_DEFAULT_STRATEGY},
      {"fixed codes", repetitiveText(120000), 6, Z_FIXED},
      {"dynamic codes, far matches", repetitiveText(400000), 9, Z_DEFAULT_STRATEGY},
      {"random bytes, compressed", randomBytes(80000, 4), 9, Z_DEFAULT_STRATEGY},
  };
  const std::vector<std::vector<size_t>> pieces = {{1}, {2}, {3}, {7}, {8}, {9}, {4095}, {65536}, {1, 8, 3, 100, 5}};
  for (const auto& stream : streams) {
    const std::string compressed = deflateRawBytes(stream.data, stream.level, stream.strategy);
    ASSERT_EQ(stream.data, inflateString(compressed)) << stream.what;
    for (const std::vector<size_t>& sizes : pieces) {
      SCOPED_TRACE(std::string(stream.what) + ", pieces of " + std::to_string(sizes[0]));
      const std::string decoded = inflatePieces(compressed, sizes);
      ASSERT_EQ(stream.data.size(), decoded.size());
      EXPECT_TRUE(stream.data == decoded);
    }
  }
}

TEST(Inflate, TellsAStreamCutShortOrFollowedByOtherBytesInAnyPieces) {
  const std::string compressed = deflateRawBytes(repetitiveText(20000));
  const std::string stored = deflateRawBytes(randomBytes(3000, 5), 0, Z_DEFAULT_STRATEGY);
  for (size_t piece : {1, 3, 8, 1000}) {
    SCOPED_TRACE(piece);
    for (size_t cut : {size_t{1}, compressed.size() / 2, compressed.size() - 1}) {
      EXPECT_EQ("failed: Invalid deflate stream: it is cut short.", inflatePieces(compressed.substr(0, cut), {piece}));
    }
    EXPECT_EQ("failed: Invalid deflate stream: it is cut short.", inflatePieces(stored.substr(0, 2000), {piece}));
    EXPECT_EQ("failed: Invalid deflate stream: bytes follow its last block.", inflatePieces(compressed + "x", {piece}));
    EXPECT_EQ("failed: Invalid deflate stream: bytes follow its last block.", inflatePieces(stored + "xy", {piece}));
  }
}

}  // namespace
