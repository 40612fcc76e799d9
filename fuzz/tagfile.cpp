// Tag-file loading from a byte range of a stream, as the launcher parses an
// embedded tag file in place inside its own executable.
//
// Input: a start offset (u16, big-endian) and a byte limit (i16, big-endian;
// negative reads to the end), then the stream's bytes. A file that loads is
// written out and loaded again: it must give back the same tags and values.
#include "tagfile/TagFile.h"

#include <cstring>
#include <vector>

#include "FuzzTarget.h"
#include "MemoryFile.h"
#include "base/LauncherException.h"

namespace {

bool sameTags(const TagFile& a, const TagFile& b) {
  if (a.count() != b.count()) return false;
  for (int i = 0; i < a.count(); ++i) {
    const TagFileEntry* x = a.get(i);
    const TagFileEntry* y = b.get(i);
    if (x->getName() != y->getName()) return false;
    const StringDeque* xs = x->getValues();
    const StringDeque* ys = y->getValues();
    if (xs->count() != ys->count()) return false;
    for (int j = 0; j < xs->count(); ++j) {
      if (xs->get(j) != ys->get(j)) return false;
    }
  }
  return true;
}

// Every tag a load creates has a value, and no name occurs twice.
void checkInvariants(const TagFile& tags) {
  for (int i = 0; i < tags.count(); ++i) {
    const TagFileEntry* entry = tags.get(i);
    FUZZ_CHECK(entry != nullptr);
    FUZZ_CHECK(entry->getValues()->count() > 0);
    for (int j = i + 1; j < tags.count(); ++j) FUZZ_CHECK(tags.get(j)->getName() != entry->getName());
  }
}

// The writer's text format cannot carry a NUL (names and values are written
// as C strings), and neither can the files the launcher reads.
void checkRoundTrip(const TagFile& tags) {
  static MemoryFile written;
  tags.write(written.path().c_str());
  TagFile reread(written.path().c_str());
  FUZZ_CHECK(sameTags(tags, reread));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  const int32_t start = (data[0] << 8) | data[1];
  const int32_t limit = static_cast<int16_t>((data[2] << 8) | data[3]);
  std::vector<char> bytes(data + 4, data + size);
  // fmemopen refuses an empty buffer; one NUL byte reads as a line of its own.
  if (bytes.empty()) bytes.push_back('\0');
  FILE* stream = fmemopen(bytes.data(), bytes.size(), "rb");
  FUZZ_CHECK(stream != nullptr);
  TagFile tags;
  bool loaded = true;
  try {
    tags.load(stream, "fuzz.tag", start, limit);
  } catch (const LauncherException&) {
    loaded = false;
  }
  std::fclose(stream);
  checkInvariants(tags);
  if (loaded && std::memchr(data + 4, '\0', size - 4) == nullptr) checkRoundTrip(tags);
  return 0;
}
