#include <gtest/gtest.h>

#include <random>
#include <string>

#include "archive/Crc32c.h"
#include "base/Inflate.h"
#include "lxpack/DeflatedEntries.h"
#include "lxpack/Usage.h"
#include "support/TempDir.h"

namespace {

class StringSink : public InflateSink {
 public:
  void write(const unsigned char* bytes, size_t count) override {
    text.append(reinterpret_cast<const char*>(bytes), count);
  }
  std::string text;
};

std::string randomBytes(size_t size) {
  std::mt19937 random(3);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random() & 0xFF);
  return bytes;
}

std::string text(size_t size) {
  std::string bytes;
  for (int i = 0; bytes.size() < size; ++i) bytes += "org/example/Class" + std::to_string(i % 300) + ".class\n";
  bytes.resize(size);
  return bytes;
}

}  // namespace

// What lxpack stores is what the launcher's own decoder gives back, with
// the size and checksum the index will announce.
TEST(DeflatedEntries, TheLaunchersDecoderGivesBackTheFileWithTheAnnouncedSizeAndChecksum) {
  TempDir dir;
  for (const std::string& data : {std::string(), text(500000), randomBytes(300000)}) {
    SCOPED_TRACE(data.size());
    const std::string source = dir.write("file", data);
    const DeflatedFile file = deflateFile(source, dir.file("file.deflated"));
    const std::string stream = ReadFile(dir.file("file.deflated"));
    EXPECT_EQ(stream.size(), file.stored);
    EXPECT_EQ(data.size(), file.size);
    EXPECT_EQ(crc32c(data.data(), data.size()), file.checksum);
    StringSink sink;
    inflateRaw(reinterpret_cast<const unsigned char*>(stream.data()), stream.size(), sink);
    EXPECT_TRUE(data == sink.text);
  }
}

TEST(DeflatedEntries, OnlyAFileThatShrinksByATenthIsWorthDeflating) {
  TempDir dir;
  const struct {
    const char* what;
    std::string data;
    bool worth;
  } cases[] = {
      {"text", text(200000), true},
      {"random bytes", randomBytes(200000), false},
      // A twentieth of the file compressible saves less than a tenth.
      {"a twentieth compressible", text(10000) + randomBytes(190000), false},
      {"a quarter compressible", text(50000) + randomBytes(150000), true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.worth, worthDeflating(dir.write("file", c.data)));
  }
}

TEST(DeflatedEntries, AFileThatCannotBeReadIsNamed) {
  TempDir dir;
  try {
    deflateFile(dir.file("gone.jar"), dir.file("out"));
    FAIL() << "no error";
  } catch (const PackError& e) {
    EXPECT_EQ("cannot read " + dir.file("gone.jar") + ": No such file or directory", std::string(e.what()));
  }
}
