// Small platform helpers shared by the subsystems: environment, PATH, file
// status, execute bits, free space, byte order.
#pragma once

#include <cstdint>

#include "base/Deque.h"
#include "base/SString.h"

class FileFindListener;

bool FileExists(const SString& path);
void MakeExecutable(const SString& path);
SString GetEnv(const char* name);
void SetEnv(const char* name, const SString& value);
// Fills list with the variable's value split at every ':' (empty pieces kept).
void SplitEnvList(StringDeque& list, const char* name);
void GetPathDirs(StringDeque& list);
SString FileSeparator();
void AddRootDirs(StringDeque& roots);
// Walks every file-system root and reports files whose path ends with one of
// names to the listener, until the listener asks to stop.
void SearchAllDisks(const StringDeque& names, FileFindListener* listener);
// Whether the file system of directory (the working directory when it is
// not absolute) has room for bytes in files files. Throws LauncherException
// with the system's error text when it cannot be asked.
bool HasEnoughDiskSpace(const SString& directory, double bytes, long files);
// The blocks that bytes spread over files files take on blocks of blockSize
// bytes: the whole blocks, plus one partial block per file (just one for a
// single file, and only when the bytes do not fill its last block).
double DiskBlocksNeeded(double bytes, long files, double blockSize);
// Whether programs in directory may not be run because its file system is
// mounted noexec. False when the file system cannot be asked.
bool IsOnNoexecFileSystem(const SString& dir);
uint32_t ReadBigEndian32(const unsigned char* bytes);
int16_t ReadBigEndian16(const unsigned char* bytes);
