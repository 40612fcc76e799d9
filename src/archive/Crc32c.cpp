#include "archive/Crc32c.h"

#include <cstring>

#if defined(__x86_64__)
#include <cpuid.h>
#include <nmmintrin.h>
#elif defined(__aarch64__)
#include <arm_acle.h>
#include <sys/auxv.h>
#endif

namespace {

// Slicing by eight: table[k][b] is the state change of byte b followed by k
// zero bytes, so eight bytes take eight lookups and no dependency chain.
struct Tables {
  uint32_t table[8][256];
};

constexpr Tables makeTables() {
  Tables t{};
  for (uint32_t b = 0; b < 256; ++b) {
    uint32_t crc = b;
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0x82F63B78u & (0u - (crc & 1u)));
    t.table[0][b] = crc;
  }
  for (int k = 1; k < 8; ++k) {
    for (uint32_t b = 0; b < 256; ++b) t.table[k][b] = (t.table[k - 1][b] >> 8) ^ t.table[0][t.table[k - 1][b] & 0xFF];
  }
  return t;
}

constexpr Tables kTables = makeTables();

uint64_t loadLittleEndian64(const unsigned char* bytes) {
  uint64_t value;
  std::memcpy(&value, bytes, sizeof value);
#if __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
  value = __builtin_bswap64(value);
#endif
  return value;
}

// The instruction's result waits for the previous one (three cycles on
// x86_64), so one chain of it uses a third of what the processor could do.
// Three independent chains run over three neighbouring stripes of
// kStripe bytes, and their results are joined: a register that goes on over
// n more bytes is the register multiplied by x^(8n) modulo the polynomial,
// and the three parts add up (the checksum is linear).
const size_t kStripe = 2048;

// a * b modulo the polynomial, both in the reflected bit order.
constexpr uint32_t multiplyModulo(uint32_t a, uint32_t b) {
  uint32_t product = 0;
  for (uint32_t bit = 0x80000000u; bit != 0; bit >>= 1) {
    if (a & bit) product ^= b;
    b = (b >> 1) ^ (0x82F63B78u & (0u - (b & 1u)));
  }
  return product;
}

// x^(8 * bytes) modulo the polynomial.
constexpr uint32_t shiftOver(size_t bytes) {
  uint32_t result = 0x80000000u;  // x^0
  uint32_t power = 0x00800000u;   // x^8
  for (; bytes != 0; bytes >>= 1) {
    if (bytes & 1) result = multiplyModulo(result, power);
    power = multiplyModulo(power, power);
  }
  return result;
}

constexpr uint32_t kShiftOneStripe = shiftOver(kStripe);
constexpr uint32_t kShiftTwoStripes = shiftOver(2 * kStripe);

#if defined(__x86_64__)

bool detectInstruction() {
  unsigned eax, ebx, ecx, edx;
  if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return false;
  return (ecx & bit_SSE4_2) != 0;
}

__attribute__((target("sse4.2"))) uint32_t extendWithInstruction(uint32_t state, const unsigned char* bytes,
                                                                 size_t count) {
  for (; count >= 3 * kStripe; bytes += 3 * kStripe, count -= 3 * kStripe) {
    uint64_t a = state, b = 0, c = 0;
    for (size_t i = 0; i < kStripe; i += 8) {
      a = _mm_crc32_u64(a, loadLittleEndian64(bytes + i));
      b = _mm_crc32_u64(b, loadLittleEndian64(bytes + kStripe + i));
      c = _mm_crc32_u64(c, loadLittleEndian64(bytes + 2 * kStripe + i));
    }
    state = multiplyModulo(static_cast<uint32_t>(a), kShiftTwoStripes) ^
            multiplyModulo(static_cast<uint32_t>(b), kShiftOneStripe) ^ static_cast<uint32_t>(c);
  }
  uint64_t crc = state;
  for (; count >= 8; bytes += 8, count -= 8) crc = _mm_crc32_u64(crc, loadLittleEndian64(bytes));
  uint32_t crc32 = static_cast<uint32_t>(crc);
  for (; count > 0; ++bytes, --count) crc32 = _mm_crc32_u8(crc32, *bytes);
  return crc32;
}

#elif defined(__aarch64__)

#ifndef HWCAP_CRC32
#define HWCAP_CRC32 (1 << 7)
#endif

bool detectInstruction() { return (getauxval(AT_HWCAP) & HWCAP_CRC32) != 0; }

__attribute__((target("+crc"))) uint32_t extendWithInstruction(uint32_t state, const unsigned char* bytes,
                                                               size_t count) {
  for (; count >= 3 * kStripe; bytes += 3 * kStripe, count -= 3 * kStripe) {
    uint32_t a = state, b = 0, c = 0;
    for (size_t i = 0; i < kStripe; i += 8) {
      a = __crc32cd(a, loadLittleEndian64(bytes + i));
      b = __crc32cd(b, loadLittleEndian64(bytes + kStripe + i));
      c = __crc32cd(c, loadLittleEndian64(bytes + 2 * kStripe + i));
    }
    state = multiplyModulo(a, kShiftTwoStripes) ^ multiplyModulo(b, kShiftOneStripe) ^ c;
  }
  uint32_t crc = state;
  for (; count >= 8; bytes += 8, count -= 8) crc = __crc32cd(crc, loadLittleEndian64(bytes));
  for (; count > 0; ++bytes, --count) crc = __crc32cb(crc, *bytes);
  return crc;
}

#else

bool detectInstruction() { return false; }
uint32_t extendWithInstruction(uint32_t state, const unsigned char* bytes, size_t count) {
  return crc32cExtendByTable(state, bytes, count);
}

#endif

typedef uint32_t (*Extender)(uint32_t, const unsigned char*, size_t);

Extender chooseExtender() { return detectInstruction() ? extendWithInstruction : crc32cExtendByTable; }

}  // namespace

uint32_t crc32cExtendByTable(uint32_t state, const unsigned char* bytes, size_t count) {
  const auto& t = kTables.table;
  for (; count >= 8; bytes += 8, count -= 8) {
    uint64_t word = loadLittleEndian64(bytes) ^ state;
    state = t[7][word & 0xFF] ^ t[6][(word >> 8) & 0xFF] ^ t[5][(word >> 16) & 0xFF] ^ t[4][(word >> 24) & 0xFF] ^
            t[3][(word >> 32) & 0xFF] ^ t[2][(word >> 40) & 0xFF] ^ t[1][(word >> 48) & 0xFF] ^ t[0][word >> 56];
  }
  for (; count > 0; ++bytes, --count) state = (state >> 8) ^ t[0][(state ^ *bytes) & 0xFF];
  return state;
}

bool crc32cHasInstruction() {
  static const bool has = detectInstruction();
  return has;
}

uint32_t crc32cExtendByInstruction(uint32_t state, const unsigned char* bytes, size_t count) {
  if (!crc32cHasInstruction()) return crc32cExtendByTable(state, bytes, count);
  return extendWithInstruction(state, bytes, count);
}

void Crc32c::update(const void* bytes, size_t count) {
  static const Extender extend = chooseExtender();
  state_ = extend(state_, static_cast<const unsigned char*>(bytes), count);
}

uint32_t crc32c(const void* bytes, size_t count) {
  Crc32c crc;
  crc.update(bytes, count);
  return crc.value();
}
