#include "base/Inflate.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "base/LauncherException.h"

namespace {

const int kMaxCodeLength = 15;
const int kLiteralLengthCodes = 288;
const int kDistanceCodes = 30;
// Codes up to this many bits are decoded by one table look-up; longer ones,
// which are rare by the nature of Huffman codes, bit by bit. Compressed
// data (a jar's classes) deflated again has literal codes of 8 to 10 bits.
const int kFastBits = 10;
const size_t kWindowSize = 32768;
// Decoded bytes are handed on in pieces of this size, and the last window
// is kept in front of them for back-references.
const size_t kFlushSize = 256 * 1024;
const int kLongestMatch = 258;

// The decoder is compiled for size with the rest of the launcher; the few
// steps taken for every symbol are inlined all the same, which halves the
// time an entry takes to inflate for a few hundred bytes of code.
#define LX_HOT __attribute__((always_inline))

[[noreturn]] void malformed(const char* what) {
  throw LauncherException(SString("Invalid deflate stream: ") + what + ".");
}

// Bits are taken from the least significant end of each byte, as deflate
// packs them, from the pieces the source hands out. Reading past the end
// gives zero bits, so that a short code near the end can be looked up in
// the table; consuming them is the error.
class BitReader {
 public:
  explicit BitReader(InflateSource& source) : source_(source) {}

  LX_HOT uint32_t peek(int count) {
    if (available_ < count) fill();
    return static_cast<uint32_t>(buffer_ & ((uint64_t{1} << count) - 1));
  }
  LX_HOT void consume(int count) {
    buffer_ >>= count;
    available_ -= count;
    if (padding_ * 8 > static_cast<size_t>(available_)) malformed("it is cut short");
  }
  uint32_t take(int count) {
    if (count == 0) return 0;
    uint32_t bits = peek(count);
    consume(count);
    return bits;
  }
  // Stored blocks start on a byte boundary; their bytes are taken whole:
  // first those already in the bit buffer, then the source's as they are.
  void alignToByte() { consume(available_ % 8); }
  template <class Output>
  void copyBytes(size_t count, Output& out) {
    for (; count > 0 && available_ >= 8; --count) {
      const unsigned char byte = static_cast<unsigned char>(take(8));
      out.append(&byte, 1);
    }
    // The bit buffer may hold bits of the bytes ahead (fill), which are
    // now taken directly.
    buffer_ = 0;
    while (count > 0) {
      if (next_ == end_ && !refill()) malformed("it is cut short");
      const size_t step = count < static_cast<size_t>(end_ - next_) ? count : static_cast<size_t>(end_ - next_);
      out.append(next_, step);
      next_ += step;
      count -= step;
    }
  }
  // Bytes after the last block belong to no stream: a whole unused byte
  // means the entry holds something else as well.
  bool hasTrailingBytes() { return static_cast<size_t>(available_ / 8) > padding_ || next_ < end_ || refill(); }

 private:
  // Fills the bit buffer to at least 56 bits. Where the piece has eight
  // bytes left they are loaded at once and as many whole bytes taken as
  // fit; the bits of the rest lie above the buffer's count and are the
  // very bits the next fill puts there again.
  void fill() {
    if (end_ - next_ >= 8) {
      uint64_t word;
      std::memcpy(&word, next_, sizeof word);
#if __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
      word = __builtin_bswap64(word);
#endif
      buffer_ |= word << available_;
      const int bytes = (63 - available_) >> 3;
      next_ += bytes;
      available_ += bytes * 8;
      return;
    }
    while (available_ <= 56) {
      buffer_ |= uint64_t{nextByte()} << available_;
      available_ += 8;
    }
  }
  unsigned nextByte() {
    if (next_ == end_ && !refill()) {
      ++padding_;
      return 0;
    }
    return *next_++;
  }
  bool refill() {
    if (ended_) return false;
    const unsigned char* piece = nullptr;
    const size_t size = source_.read(piece);
    ended_ = size == 0;
    next_ = piece;
    end_ = ended_ ? piece : piece + size;
    return !ended_;
  }

  InflateSource& source_;
  const unsigned char* next_ = nullptr;
  const unsigned char* end_ = nullptr;
  bool ended_ = false;
  // Zero bytes supplied past the end of the stream.
  size_t padding_ = 0;
  uint64_t buffer_ = 0;
  int available_ = 0;
};

// A canonical Huffman code as deflate describes it: only the length of each
// symbol's code.
class HuffmanCode {
 public:
  void build(const uint8_t* lengths, int symbols) {
    std::memset(count_, 0, sizeof count_);
    for (int s = 0; s < symbols; ++s) ++count_[lengths[s]];
    count_[0] = 0;
    int left = 1;
    for (int length = 1; length <= kMaxCodeLength; ++length) {
      left = left * 2 - count_[length];
      if (left < 0) malformed("a code table is over-subscribed");
    }
    uint16_t offsets[kMaxCodeLength + 2];
    offsets[1] = 0;
    for (int length = 1; length <= kMaxCodeLength; ++length) offsets[length + 1] = offsets[length] + count_[length];
    for (int s = 0; s < symbols; ++s) {
      if (lengths[s] != 0) symbols_[offsets[lengths[s]]++] = static_cast<uint16_t>(s);
    }
    buildFastTable(lengths, symbols);
  }

  LX_HOT int decode(BitReader& bits) const {
    uint16_t fast = fast_[bits.peek(kFastBits)];
    if (fast != 0) {
      bits.consume(fast >> 12);
      return fast & 0x0FFF;
    }
    return decodeLong(bits);
  }

 private:
  int decodeLong(BitReader& bits) const {
    // Canonical decoding, one bit at a time: codes of each length follow
    // those of the length before.
    int code = 0, first = 0, index = 0;
    for (int length = 1; length <= kMaxCodeLength; ++length) {
      code |= static_cast<int>(bits.take(1));
      int count = count_[length];
      if (code - first < count) return symbols_[index + code - first];
      index += count;
      first = (first + count) << 1;
      code <<= 1;
    }
    malformed("it uses a code its table does not define");
  }

  // Each entry holds the code's length (top four bits) and symbol; 0 marks
  // a code longer than kFastBits or one the table does not define.
  void buildFastTable(const uint8_t* lengths, int symbols) {
    std::memset(fast_, 0, sizeof fast_);
    uint16_t next[kMaxCodeLength + 1];
    int code = 0;
    for (int length = 1; length <= kMaxCodeLength; ++length) {
      code = (code + count_[length - 1]) << 1;
      next[length] = static_cast<uint16_t>(code);
    }
    for (int s = 0; s < symbols; ++s) {
      int length = lengths[s];
      if (length == 0) continue;
      int assigned = next[length]++;
      if (length > kFastBits) continue;
      int reversed = 0;
      for (int i = 0; i < length; ++i) reversed |= ((assigned >> i) & 1) << (length - 1 - i);
      for (int fill = reversed; fill < (1 << kFastBits); fill += 1 << length) {
        fast_[fill] = static_cast<uint16_t>(length << 12 | s);
      }
    }
  }

  uint16_t count_[kMaxCodeLength + 1];
  uint16_t symbols_[kLiteralLengthCodes];
  uint16_t fast_[1 << kFastBits];
};

const uint16_t kLengthBase[] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
const uint8_t kLengthExtra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
const uint16_t kDistanceBase[] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                  33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                  1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
const uint8_t kDistanceExtra[] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                  6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// The decoded bytes: the last window for back-references, then the bytes
// not yet handed to the sink.
class Output {
 public:
  explicit Output(InflateSink& sink) : sink_(sink), buffer_(kWindowSize + kFlushSize) {}

  // Makes room for one more literal or match (and the bytes a match's
  // copy may write past it).
  LX_HOT void reserve() {
    if (end_ + kLongestMatch + 8 <= buffer_.size()) return;
    flush();
    std::memmove(buffer_.data(), buffer_.data() + end_ - kWindowSize, kWindowSize);
    end_ = kWindowSize;
    flushed_ = kWindowSize;
  }
  LX_HOT void literal(unsigned char byte) {
    buffer_[end_++] = byte;
    ++total_;
  }
  void copy(size_t distance, size_t length) {
    if (distance > total_) malformed("it refers to bytes before its start");
    unsigned char* to = buffer_.data() + end_;
    const unsigned char* from = to - distance;
    // Eight bytes at a time where a piece cannot overlap what it copies;
    // the last piece may write a few bytes past the match, which the next
    // symbol overwrites.
    if (distance >= 8) {
      for (size_t i = 0; i < length; i += 8) std::memcpy(to + i, from + i, 8);
    } else {
      for (size_t i = 0; i < length; ++i) to[i] = from[i];
    }
    end_ += length;
    total_ += length;
  }
  void append(const unsigned char* bytes, size_t count) {
    while (count > 0) {
      reserve();
      size_t room = buffer_.size() - end_;
      size_t step = count < room ? count : room;
      std::memcpy(buffer_.data() + end_, bytes, step);
      end_ += step;
      total_ += step;
      bytes += step;
      count -= step;
    }
  }
  void flush() {
    if (end_ > flushed_) sink_.write(buffer_.data() + flushed_, end_ - flushed_);
    flushed_ = end_;
  }

 private:
  InflateSink& sink_;
  std::vector<unsigned char> buffer_;
  size_t end_ = 0;
  size_t flushed_ = 0;
  size_t total_ = 0;
};

void storedBlock(BitReader& bits, Output& out) {
  bits.alignToByte();
  uint32_t length = bits.take(16);
  uint32_t complement = bits.take(16);
  if ((length ^ 0xFFFFu) != complement) malformed("a stored block's length does not match its complement");
  bits.copyBytes(length, out);
}

void codedBlock(BitReader& bits, Output& out, const HuffmanCode& literals, const HuffmanCode& distances) {
  for (;;) {
    out.reserve();
    int symbol = literals.decode(bits);
    if (symbol < 256) {
      out.literal(static_cast<unsigned char>(symbol));
      continue;
    }
    if (symbol == 256) return;
    symbol -= 257;
    if (symbol >= 29) malformed("it uses an undefined length code");
    size_t length = kLengthBase[symbol] + bits.take(kLengthExtra[symbol]);
    int distanceSymbol = distances.decode(bits);
    if (distanceSymbol >= kDistanceCodes) malformed("it uses an undefined distance code");
    size_t distance = kDistanceBase[distanceSymbol] + bits.take(kDistanceExtra[distanceSymbol]);
    out.copy(distance, length);
  }
}

void fixedCodes(HuffmanCode& literals, HuffmanCode& distances) {
  uint8_t lengths[kLiteralLengthCodes];
  int s = 0;
  for (; s < 144; ++s) lengths[s] = 8;
  for (; s < 256; ++s) lengths[s] = 9;
  for (; s < 280; ++s) lengths[s] = 7;
  for (; s < kLiteralLengthCodes; ++s) lengths[s] = 8;
  literals.build(lengths, kLiteralLengthCodes);
  for (s = 0; s < kDistanceCodes; ++s) lengths[s] = 5;
  distances.build(lengths, kDistanceCodes);
}

void dynamicCodes(BitReader& bits, HuffmanCode& literals, HuffmanCode& distances) {
  static const uint8_t kCodeLengthOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
  int literalCount = static_cast<int>(bits.take(5)) + 257;
  int distanceCount = static_cast<int>(bits.take(5)) + 1;
  int codeLengthCount = static_cast<int>(bits.take(4)) + 4;
  if (literalCount > 286 || distanceCount > kDistanceCodes) malformed("a block announces too many codes");
  uint8_t lengths[kLiteralLengthCodes + kDistanceCodes] = {};
  for (int i = 0; i < codeLengthCount; ++i) lengths[kCodeLengthOrder[i]] = static_cast<uint8_t>(bits.take(3));
  HuffmanCode lengthCode;
  lengthCode.build(lengths, 19);
  std::memset(lengths, 0, sizeof lengths);
  for (int i = 0; i < literalCount + distanceCount;) {
    int symbol = lengthCode.decode(bits);
    if (symbol < 16) {
      lengths[i++] = static_cast<uint8_t>(symbol);
      continue;
    }
    uint8_t repeated = 0;
    int times;
    if (symbol == 16) {
      if (i == 0) malformed("a length repeats before the first one");
      repeated = lengths[i - 1];
      times = 3 + static_cast<int>(bits.take(2));
    } else if (symbol == 17) {
      times = 3 + static_cast<int>(bits.take(3));
    } else {
      times = 11 + static_cast<int>(bits.take(7));
    }
    if (i + times > literalCount + distanceCount) malformed("code lengths run past their table");
    while (times-- > 0) lengths[i++] = repeated;
  }
  if (lengths[256] == 0) malformed("a block has no end code");
  literals.build(lengths, literalCount);
  distances.build(lengths + literalCount, distanceCount);
}

}  // namespace

void inflateRaw(InflateSource& source, InflateSink& sink) {
  BitReader bits(source);
  Output out(sink);
  HuffmanCode literals, distances;
  bool last = false;
  while (!last) {
    last = bits.take(1) == 1;
    switch (bits.take(2)) {
      case 0:
        storedBlock(bits, out);
        break;
      case 1:
        fixedCodes(literals, distances);
        codedBlock(bits, out, literals, distances);
        break;
      case 2:
        dynamicCodes(bits, literals, distances);
        codedBlock(bits, out, literals, distances);
        break;
      default:
        malformed("it has a block of the reserved type");
    }
  }
  out.flush();
  bits.alignToByte();
  if (bits.hasTrailingBytes()) malformed("bytes follow its last block");
}

namespace {

class WholeInput : public InflateSource {
 public:
  WholeInput(const unsigned char* input, size_t size) : input_(input), size_(size) {}
  size_t read(const unsigned char*& bytes) override {
    bytes = input_;
    const size_t size = size_;
    size_ = 0;
    return size;
  }

 private:
  const unsigned char* input_;
  size_t size_;
};

}  // namespace

void inflateRaw(const unsigned char* input, size_t size, InflateSink& sink) {
  WholeInput source(input, size);
  inflateRaw(source, sink);
}
