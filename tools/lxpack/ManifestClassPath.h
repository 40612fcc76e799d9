// The jars a jar's manifest names in its Class-Path, which java puts on the
// class path after the jar whatever way the jar got there (-jar or -cp).
// A launcher's jars are unpacked into temporary directories, where the
// names relative to the packager's folder lead nowhere; so lxpack carries
// the jars they name and puts them on the class path itself.
#pragma once

#include <string>
#include <vector>

struct ClassPathEntry {
  enum Kind { kFile, kDirectory, kNotLocal };
  Kind kind;
  std::string path;  // kFile, kDirectory: the file system path
};

// Resolves one Class-Path entry as java does: a URL relative to the
// directory of the jar naming it (a path starting with / stays as it is),
// with %XX escapes decoded; a file: URL is its path; any other scheme is
// not local. An entry ending in / names a directory.
ClassPathEntry resolveClassPathEntry(const std::string& jarDirectory, const std::string& entry);

struct CarriedClassPath {
  std::vector<std::string> jars;      // to carry, in class path order
  std::vector<std::string> warnings;  // entries that cannot be carried
};

// Follows the Class-Path of each jar in given (the main jar first, then the
// --class-path jars), and of each jar it adds in turn. A jar already given
// or added is not added again. Throws UsageError naming the manifest and
// the entry when a jar it names is missing or is no jar.
CarriedClassPath carriedClassPath(const std::vector<std::string>& given);
