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

// Writes the container of directory to outputPath. Symbolic links are
// followed, and what they point to is carried in their place (as cp -rL
// copies). Throws PackError for what the launcher could not unpack as it
// stands: a link that points to nothing, a loop of links (a link to a
// directory it is in), a device, pipe or socket, a name the launcher would
// refuse, a file that cannot be read, or a folder of 4 GiB or more.
PackedAppDir packAppDirectory(const std::string& directory, const std::string& outputPath);
