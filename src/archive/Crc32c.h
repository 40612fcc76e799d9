// CRC-32C (Castagnoli), the checksum the packer records for every embedded
// file. It finds every burst of damage up to 32 bits and almost all others,
// and both processors the launcher runs on compute it with one instruction
// per 8 bytes (SSE4.2 on x86_64, the CRC extension on aarch64), so checking
// costs little next to copying the bytes. Processors without the
// instruction get a table-driven version, chosen at run time.
#pragma once

#include <cstddef>
#include <cstdint>

class Crc32c {
 public:
  void update(const void* bytes, size_t count);
  uint32_t value() const { return ~state_; }

 private:
  uint32_t state_ = 0xFFFFFFFFu;
};

uint32_t crc32c(const void* bytes, size_t count);

// The two implementations, exposed so that tests can hold them against each
// other. They take and return the running (uninverted) state.
uint32_t crc32cExtendByTable(uint32_t state, const unsigned char* bytes, size_t count);
// False when this processor lacks the instruction; the result is then the
// table's.
bool crc32cHasInstruction();
uint32_t crc32cExtendByInstruction(uint32_t state, const unsigned char* bytes, size_t count);
