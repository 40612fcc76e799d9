#include "archive/FileIndexEntry.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "base/LauncherException.h"
#include "fsutil/Platform.h"

namespace {

// Fills bytes from the stream one byte at a time; false when the stream ended
// first.
bool readBytes(FILE* stream, unsigned char* bytes, int count) {
  for (int i = 0; i < count; ++i) {
    int c = std::fgetc(stream);
    if (c == EOF) return false;
    bytes[i] = static_cast<unsigned char>(c);
  }
  return true;
}

}  // namespace

uint32_t readU32(FILE* stream, const char* message) {
  unsigned char bytes[4];
  if (!readBytes(stream, bytes, 4)) throw LauncherException(message);
  return ReadBigEndian32(bytes);
}

int16_t readI16(FILE* stream, const char* message) {
  unsigned char bytes[2];
  if (!readBytes(stream, bytes, 2)) throw LauncherException(message);
  return ReadBigEndian16(bytes);
}

void FileIndexEntry::read(FILE* stream) {
  type_ = std::fgetc(stream);
  if (type_ < FT_INSTRUCTIONS || type_ > FT_APP_DIR) throw LauncherException("Invalid file type in file index.");
  id_ = readU32(stream, "Unable to load file id.");
  length_ = readU32(stream, "Unable to load file length.");
  offset_ = readU32(stream, "Unable to load offset to file bytes.");
  readName(stream);
  const int flag = std::fgetc(stream);
  compressed_ = flag == kCompressedFlag;
  deflated_ = flag == kDeflatedFlag;
  if (compressed_) decompressedFileCount_ = readU32(stream, "Unable to load decompressed file count.");
  if (deflated_) unpackedChecksum_ = readU32(stream, "Unable to load the unpacked checksum.");
  if (compressed_ || deflated_) decompressedSize_ = readU32(stream, "Unable to load decompressed size.");
}

// The name is read like a line of text: the read stops early after a line
// feed or at the end of the file, and the name ends at the first NUL. A
// conforming writer puts neither into a name, so exactly the announced
// number of bytes is consumed.
void FileIndexEntry::readName(FILE* stream) {
  const char* const message = "Unable to load the string value.";
  int16_t nameLength = readI16(stream, message);
  // The field is signed; a negative length cannot describe any name.
  if (nameLength < 0) throw LauncherException(message);
  std::vector<char> buffer(static_cast<size_t>(nameLength) + 1, '\0');
  for (int i = 0; i < nameLength; ++i) {
    int c = std::fgetc(stream);
    if (c == EOF) break;
    buffer[i] = static_cast<char>(c);
    if (c == '\n') break;
  }
  name_ = buffer.data();
}

bool FileIndexEntry::isTagFile() const {
  return type_ == FT_INSTRUCTIONS || type_ == FT_JVM || type_ == FT_LAUNCH_SCRIPT;
}

void FileIndexEntry::loadTagFile(FILE* stream) {
  if (!isTagFile()) return;
  tagFile_.reset(new TagFile);
  // The tag-file reader takes signed 32-bit positions. An offset beyond that
  // range makes its seek fail with its own message; a length beyond it is
  // capped, since a negative limit would mean "read to the end of the file".
  int32_t start = static_cast<int32_t>(offset_);
  int32_t limit = static_cast<int32_t>(std::min<uint32_t>(length_, INT32_MAX));
  tagFile_->load(stream, name_, start, limit);
}
