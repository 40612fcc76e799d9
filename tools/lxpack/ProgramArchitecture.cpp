#include "ProgramArchitecture.h"

#include <sys/utsname.h>

#include <cstdint>
#include <cstring>

namespace {

// The ELF header fields that tell a launcher program apart: identification
// bytes, then the object type and the machine at offsets 16 and 18.
const unsigned char kElfMagic[] = {0x7F, 'E', 'L', 'F'};
const int kElfClass64 = 2;
const int kElfLittleEndian = 1;
const uint16_t kExecutable = 2;
const uint16_t kPositionIndependent = 3;
const uint16_t kMachineX86_64 = 62;
const uint16_t kMachineAarch64 = 183;

uint16_t littleEndian16(const unsigned char* bytes) { return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8)); }

}  // namespace

std::string canonicalArchitecture(const std::string& name) {
  if (name == "x86_64" || name == "amd64" || name == "x86-64") return "x86_64";
  if (name == "aarch64" || name == "arm64") return "aarch64";
  return std::string();
}

std::string machineArchitecture() {
  struct utsname machine;
  if (::uname(&machine) != 0) return std::string();
  return canonicalArchitecture(machine.machine);
}

std::string programArchitecture(FILE* stream) {
  unsigned char header[20];
  if (std::fseek(stream, 0, SEEK_SET) != 0 || std::fread(header, 1, sizeof header, stream) != sizeof header) {
    return std::string();
  }
  if (std::memcmp(header, kElfMagic, sizeof kElfMagic) != 0 || header[4] != kElfClass64 ||
      header[5] != kElfLittleEndian) {
    return std::string();
  }
  const uint16_t type = littleEndian16(header + 16);
  if (type != kExecutable && type != kPositionIndependent) return std::string();
  switch (littleEndian16(header + 18)) {
    case kMachineX86_64:
      return "x86_64";
    case kMachineAarch64:
      return "aarch64";
    default:
      return std::string();
  }
}
