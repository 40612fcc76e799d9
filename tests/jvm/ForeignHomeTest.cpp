// Homes built for another machine are recognised from their files alone.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <string>

#include "jvm/ForeignHome.h"
#include "support/TempDir.h"

namespace {

void Put(std::string& bytes, size_t at, uint64_t value, int width) {
  for (int i = 0; i < width; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xff);
}

// A little ELF program header table with one PT_INTERP entry naming
// interpreter (none when empty), for a 64-bit or 32-bit machine.
std::string Elf(uint16_t machine, bool wide, const std::string& interpreter, bool bigEndian = false) {
  const size_t headerSize = wide ? 64 : 52, entrySize = wide ? 56 : 32;
  std::string bytes(headerSize + entrySize, '\0');
  bytes.replace(0, 4, "\177ELF");
  bytes[4] = wide ? 2 : 1;
  bytes[5] = bigEndian ? 2 : 1;
  bytes[6] = 1;
  Put(bytes, 16, 2, 2);  // an executable
  Put(bytes, 18, machine, 2);
  Put(bytes, wide ? 32 : 28, headerSize, wide ? 8 : 4);
  Put(bytes, wide ? 54 : 42, entrySize, 2);
  Put(bytes, wide ? 56 : 44, interpreter.empty() ? 0 : 1, 2);
  if (!interpreter.empty()) {
    Put(bytes, headerSize, 3, 4);  // PT_INTERP
    Put(bytes, headerSize + (wide ? 8 : 4), bytes.size(), wide ? 8 : 4);
    Put(bytes, headerSize + (wide ? 32 : 16), interpreter.size() + 1, wide ? 8 : 4);
    bytes += interpreter + '\0';
  }
  return bytes;
}

#if defined(__x86_64__)
const uint16_t kHere = 62, kHere32 = 3, kForeign = 183;
const char* const kHereName = "x86_64";
const char* const kForeignName = "aarch64";
const char* const kOsArchHere = "amd64";
#elif defined(__aarch64__)
const uint16_t kHere = 183, kHere32 = 40, kForeign = 62;
const char* const kHereName = "aarch64";
const char* const kForeignName = "x86_64";
const char* const kOsArchHere = "arm64";
#endif

#if defined(__x86_64__) || defined(__aarch64__)
TEST(ForeignHome, TellsProgramsForOtherMachinesAndMissingInterpretersFromTheirHeaders) {
  TempDir dir;
  const std::string existing = dir.write("ld.so", "an interpreter that exists");
  const std::string missing = dir.file("no-such-ld.so");
  const std::string here = std::string(", and this machine runs ") + kHereName + " programs";
  const struct {
    const char* what;
    std::string bytes;
    std::string why;  // after "its java (<exe>) ", or empty
  } cases[] = {
      {"this machine, its interpreter here", Elf(kHere, true, existing), ""},
      {"this machine, static", Elf(kHere, true, ""), ""},
      {"the 32-bit sibling", Elf(kHere32, false, existing), ""},
      {"another machine", Elf(kForeign, true, existing), std::string("is a program for ") + kForeignName + here},
      {"an unknown machine", Elf(4242, true, ""), "is a program for machine 4242" + here},
      {"big-endian", Elf(kHere, true, "", true), "is a program for a big-endian machine" + here},
      {"a missing interpreter", Elf(kHere, true, missing),
       "needs the program interpreter " + missing +
           ", which this machine does not have (a build for another C library or system)"},
      {"a 32-bit program with a missing interpreter", Elf(kHere32, false, missing),
       "needs the program interpreter " + missing +
           ", which this machine does not have (a build for another C library or system)"},
      {"a script", "#!/bin/sh\nexit 0\n", ""},
      {"cut short", Elf(kForeign, true, "").substr(0, 10), ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string java = dir.write("java", c.bytes);
    SString why = whyHomeCannotRunHere(dir.path().c_str(), java.c_str());
    EXPECT_EQ(c.why.empty() ? "" : "its java (" + java + ") " + c.why, why.c_str());
  }
}

TEST(ForeignHome, TellsHomesWhoseReleaseFileNamesAnotherMachine) {
  TempDir dir;
  const std::string java = dir.write("java", "#!/bin/sh\n");
  const struct {
    std::string release;
    std::string why;
  } cases[] = {
      {std::string("OS_ARCH=\"") + kForeignName + "\"\n", std::string("its release file gives OS_ARCH ") +
                                                              kForeignName + ", and this machine runs " + kHereName +
                                                              " programs"},
      {std::string("JAVA_VERSION=\"17\"\nOS_ARCH=\"") + kOsArchHere + "\"\n", ""},
      {"OS_ARCH=\"s390x\"\n",
       std::string("its release file gives OS_ARCH s390x, and this machine runs ") + kHereName + " programs"},
      {"OS_ARCH=\"something-new\"\n", ""},
      {"JAVA_VERSION=\"17\"\n", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.release);
    dir.write("release", c.release);
    EXPECT_EQ(c.why, whyHomeCannotRunHere(dir.path().c_str(), java.c_str()).c_str());
  }
}
#endif

}  // namespace
