// lxpack's side of a program's folder carried in a launcher: the folder is
// walked and written as the deflate-compressed container the launcher
// unpacks (archive/AppDirFormat.h).
#pragma once

#include <cstdint>
#include <string>

struct PackedAppDir {
  uint32_t fileCount = 0;  // directories and files below the folder
  uint32_t size = 0;       // bytes of all its files
};

// Writes the container of directory to outputPath. Throws PackError for
// what the launcher could not unpack as it stands: a symbolic link (it
// could point anywhere on the user's machine), a device, pipe or socket, a
// name the launcher would refuse, a file that cannot be read, or a folder
// of 4 GiB or more.
PackedAppDir packAppDirectory(const std::string& directory, const std::string& outputPath);
