// How long the launcher program in front of the archive is, from its own ELF
// headers: the end of the furthest of its segments, sections and header
// tables. A launcher file that lacks the archive's identification value at
// its end although its length differs from that was cut short (or
// otherwise damaged): a bare program is exactly as long as its image.
#pragma once

#include <cstdint>
#include <cstdio>

// The image's length, or -1 when the stream does not start with a 64-bit
// little-endian ELF program whose headers can be read.
int64_t programImageLength(FILE* stream);
