// A launcher file that does not end with its trailer is either cut short or
// has bytes after it: a line added by an editor or by `echo >>`, or a
// signature a user appended. The two ask the user for different things, so
// the trailer is looked for before the end, where the packer put it.
#pragma once

#include <cstdint>
#include <cstdio>

// How far before the end a trailer is looked for: more than anything a user
// appends by hand, and quick to read.
const uint64_t kMostAppendedBytes = 64 * 1024 * 1024;

// Where the packed launcher ends (just after its trailer) when a whole
// trailer lies between programEnd and the end of the file, with a file
// index in front of it that ends exactly where the trailer begins; -1 when
// there is none, as in a file cut short.
int64_t packedEndBeforeFileEnd(FILE* stream, uint64_t programEnd, uint64_t fileSize);
