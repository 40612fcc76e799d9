#include "jvm/ForeignHome.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>

#include "base/OpenFiles.h"
#include "jvm/ReleaseFile.h"

namespace {

const uint16_t kMachineI386 = 3;
const uint16_t kMachineArm = 40;
const uint16_t kMachineX8664 = 62;
const uint16_t kMachineAarch64 = 183;
const uint32_t kProgramInterpreter = 3;  // PT_INTERP
// A real java has a dozen program headers and an interpreter path well
// under a hundred bytes.
const uint16_t kMostProgramHeaders = 256;
const uint64_t kMostInterpreterBytes = 4096;

struct Machine {
  uint16_t elfMachine;
  const char* name;
};

// The names ELF headers and release files use; OS_ARCH has several for
// some machines.
const Machine kMachines[] = {
    {kMachineX8664, "x86_64"},
    {kMachineX8664, "amd64"},
    {kMachineI386, "i386"},
    {kMachineI386, "i586"},
    {kMachineI386, "i686"},
    {kMachineI386, "x86"},
    {kMachineAarch64, "aarch64"},
    {kMachineAarch64, "arm64"},
    {kMachineArm, "arm"},
    {kMachineArm, "aarch32"},
    {21, "ppc64le"},
    {21, "ppc64"},
    {22, "s390x"},
    {243, "riscv64"},
    {258, "loongarch64"},
    {43, "sparcv9"},
    {8, "mips64el"},
    {8, "mips"},
};

// The machine this program was built for: what it runs as, also under an
// emulator. The 32-bit programs of the same family run here as well.
#if defined(__x86_64__)
const uint16_t kHostMachines[] = {kMachineX8664, kMachineI386};
#elif defined(__aarch64__)
const uint16_t kHostMachines[] = {kMachineAarch64, kMachineArm};
#else
const uint16_t kHostMachines[] = {0};
#endif

bool runsHere(uint16_t machine) {
  if (kHostMachines[0] == 0) return true;
  for (uint16_t host : kHostMachines) {
    if (host == machine) return true;
  }
  return false;
}

// 0 stands for a big-endian machine, which the launcher never runs on.
SString machineName(uint16_t machine) {
  for (const Machine& m : kMachines) {
    if (m.elfMachine == machine) return m.name;
  }
  return machine == 0 ? SString("a big-endian machine") : "machine " + fromLong(machine);
}

SString hostName() { return machineName(kHostMachines[0]); }

bool readAt(int fd, uint64_t offset, void* buffer, size_t length) {
  ssize_t n = ::pread(fd, buffer, length, static_cast<off_t>(offset));
  return n == static_cast<ssize_t>(length);
}

// The ELF files of the machines the launcher is built for are little-endian.
uint64_t little(const unsigned char* bytes, int count) {
  uint64_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = (value << 8) | bytes[i];
  return value;
}

// What the java's ELF header says against running it here, as a phrase
// that follows "its java (...) ".
SString elfProblem(const SString& executable) {
  FileDescriptor fd(::open(executable.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  struct stat st;
  if (!fd.isOpen() || fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return SString();
  unsigned char header[64];
  if (!readAt(fd.get(), 0, header, sizeof header) || std::memcmp(header, "\177ELF", 4) != 0) return SString();
  const bool wide = header[4] == 2;
  const uint16_t machine = static_cast<uint16_t>(little(header + 18, 2));
  if (header[5] != 1 || !runsHere(machine)) {
    return "is a program for " + machineName(header[5] != 1 ? 0 : machine) + ", and this machine runs " + hostName() +
           " programs";
  }
  const uint64_t tableOffset = wide ? little(header + 32, 8) : little(header + 28, 4);
  const uint64_t entrySize = wide ? little(header + 54, 2) : little(header + 42, 2);
  const uint64_t entries = wide ? little(header + 56, 2) : little(header + 44, 2);
  if (entries > kMostProgramHeaders || entrySize < (wide ? 56u : 32u) || entrySize > 256) return SString();
  for (uint64_t i = 0; i < entries; ++i) {
    unsigned char entry[256];
    if (!readAt(fd.get(), tableOffset + i * entrySize, entry, static_cast<size_t>(entrySize))) return SString();
    if (little(entry, 4) != kProgramInterpreter) continue;
    const uint64_t offset = wide ? little(entry + 8, 8) : little(entry + 4, 4);
    const uint64_t size = wide ? little(entry + 32, 8) : little(entry + 16, 4);
    char path[kMostInterpreterBytes + 1];
    if (size == 0 || size > kMostInterpreterBytes || !readAt(fd.get(), offset, path, static_cast<size_t>(size))) {
      return SString();
    }
    path[size] = '\0';
    struct stat interpreter;
    if (path[0] != '/' || stat(path, &interpreter) == 0) return SString();
    return "needs the program interpreter " + SString(path) +
           ", which this machine does not have (a build for another C library or system)";
  }
  return SString();
}

SString whyReleaseCannotRunHere(const SString& home) {
  SString arch;
  if (!readReleaseValue(home, "OS_ARCH", arch)) return SString();
  for (const Machine& m : kMachines) {
    if (arch != m.name || runsHere(m.elfMachine)) continue;
    return "its release file gives OS_ARCH " + arch + ", and this machine runs " + hostName() + " programs";
  }
  return SString();
}

}  // namespace

SString whyHomeCannotRunHere(const SString& home, const SString& executable) {
  SString problem = elfProblem(executable);
  return problem.empty() ? whyReleaseCannotRunHere(home) : "its java (" + executable + ") " + problem;
}
