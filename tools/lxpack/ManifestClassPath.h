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

// A file carried because a manifest's Class-Path named it. A dependency's
// manifest is the packager's input as much as the command line is: what it
// pulls into a launcher that gets shipped is told, never taken silently.
struct CarriedJar {
  std::string path;     // the file read on the packager's machine
  std::string namedIn;  // the jar whose manifest names it
  std::string entry;    // the Class-Path entry as that manifest writes it
};

struct CarriedClassPath {
  std::vector<CarriedJar> jars;       // to carry, in class path order
  std::vector<std::string> warnings;  // entries that cannot be carried, left to java
  // Entries that name a file that is missing or is no zip file (a jar is
  // one): the program would fail on them, or the launcher would carry a
  // file that is no part of a program. Each names the manifest and entry.
  std::vector<std::string> refusals;
};

// Follows the Class-Path of each jar in given (the main jar first, then the
// --class-path jars), and of each jar it adds in turn. A jar already given
// or added is not added again, whatever name reaches it. Throws UsageError
// when a jar in given cannot be read; the entries of manifests are judged
// all, so that one run tells every file they would carry.
CarriedClassPath carriedClassPath(const std::vector<std::string>& given);
