// The walker decides "descend or hand to processFile" by one test: does the
// entry's file type, without following links, carry the directory bit
// (octal 0040000)? Block devices and sockets carry it too; they are treated
// as directories that fail to open. Links are never followed, so a link to
// a directory is a file and link cycles cannot occur.
#pragma once

#include <sys/types.h>

inline bool HasDirectoryBit(mode_t mode) { return (mode & 0040000) != 0; }

// The same test for the entry `name` of the open directory dirFd. readdir's
// entry type answers it without a system call wherever the file system
// fills it in; only an unknown type costs one status query (fstatat, not
// following links). An entry whose status cannot be read is not a
// directory.
bool EntryHasDirectoryBit(int dirFd, const char* name, unsigned char entryType);
