// A launcher replaces whatever file its output names. When that file is
// one of those the launcher is made from (the launcher program, a file it
// carries, a file of a folder it carries), the packager's input would be
// gone, and the launcher made from it would look like a success. Names
// cannot tell: a hard link, a symbolic link or "lib/../app.jar" reach the
// same file, so files are compared by device and inode.
#pragma once

#include <string>
#include <vector>

#include "archive/ArchiveWriter.h"

// The input that the existing file at output is, as a phrase for a message
// ("the launcher program lxlauncher", "the file app.jar the launcher
// carries", "the file app/lib/x.so of the folder app the launcher
// carries"), or empty when output is none of them or does not exist.
std::string inputAtOutput(const std::string& output, const std::string& program,
                          const std::vector<ArchiveMember>& members);
