// The files of a launcher made from a jar, written out: the three tag
// files and the verification jar lxpack carries. lxpack create writes them
// into a temporary directory of its own and packs them; lxpack init writes
// them into the packager's directory to be edited and packed by hand.
#pragma once

#include <string>
#include <vector>

#include "LauncherScripts.h"

// Writes the four files into directory, each as a new file: a file that
// exists already is never replaced (the packager's edits stay), and then
// nothing is written. Returns their paths (instructions, JVM description,
// launch script, verification jar); throws PackError.
std::vector<std::string> writeLauncherFileSet(const std::string& directory, const LauncherScripts& scripts);
// Their paths, in that order.
std::vector<std::string> launcherFileSetPaths(const std::string& directory);

// A new private directory under TMPDIR (or /tmp) for the files lxpack
// makes; it and the files in it are removed when it goes, also when a
// signal ends lxpack.
class GeneratedDirectory {
 public:
  GeneratedDirectory();
  ~GeneratedDirectory();
  GeneratedDirectory(const GeneratedDirectory&) = delete;
  GeneratedDirectory& operator=(const GeneratedDirectory&) = delete;

  const std::string& path() const { return path_; }
  // Files in it to remove with it (made or still to be made).
  void adopt(const std::vector<std::string>& files);

 private:
  std::string path_;
  std::vector<std::string> files_;
};
