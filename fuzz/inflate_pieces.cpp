// The deflate decoder fed in pieces, as extraction feeds it from the
// launcher file, against the same stream held whole.
//
// Input: one byte that chooses the pieces' sizes, then the stream. Whatever
// the stream holds, decoding it in pieces gives exactly what decoding it
// whole gives: the same bytes, or a LauncherException with the same
// message.
#include <cstring>
#include <string>

#include "FuzzTarget.h"
#include "base/Inflate.h"
#include "base/LauncherException.h"

namespace {

class Collect : public InflateSink {
 public:
  void write(const unsigned char* bytes, size_t count) override {
    // Output beyond a few MB tells nothing more; the decoder is stopped.
    if (text.size() + count > (8u << 20)) throw LauncherException("too much output");
    text.append(reinterpret_cast<const char*>(bytes), count);
  }
  std::string text;
};

// Pieces of 1 to 16 bytes, their sizes cycling through a pattern the
// choice byte sets.
class Pieces : public InflateSource {
 public:
  Pieces(const uint8_t* data, size_t size, uint8_t choice) : data_(data), size_(size), choice_(choice) {}
  size_t read(const unsigned char*& bytes) override {
    const size_t want = 1 + ((choice_ >> (count_++ % 4) * 2) & 3) * 5;
    const size_t piece = want < size_ - position_ ? want : size_ - position_;
    bytes = data_ + position_;
    position_ += piece;
    return piece;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  uint8_t choice_;
  size_t position_ = 0;
  unsigned count_ = 0;
};

std::string decode(InflateSource* pieces, const uint8_t* data, size_t size) {
  Collect sink;
  try {
    if (pieces) {
      inflateRaw(*pieces, sink);
    } else {
      inflateRaw(data, size, sink);
    }
  } catch (const LauncherException& e) {
    return std::string("failed: ") + e.getMessage().c_str();
  }
  return "decoded: " + sink.text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  Pieces pieces(data + 1, size - 1, data[0]);
  FUZZ_CHECK(decode(nullptr, data + 1, size - 1) == decode(&pieces, data + 1, size - 1));
  return 0;
}
