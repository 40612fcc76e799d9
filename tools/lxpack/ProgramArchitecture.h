// Which processor a launcher program is built for, read from its ELF
// header. A launcher made for one architecture does not start on another,
// so lxpack picks the program by architecture and shows it.
#pragma once

#include <cstdio>
#include <string>

// The architecture's name for a name a packager may type ("arm64" is
// aarch64, "amd64" x86_64); empty when it names none of them.
std::string canonicalArchitecture(const std::string& name);

// The architecture of the machine lxpack runs on (empty when unknown).
std::string machineArchitecture();

// The architecture of the 64-bit little-endian Linux program at the start
// of the stream; empty when the stream does not start with one of a known
// architecture (another format, 32 bits, another processor).
std::string programArchitecture(FILE* stream);
