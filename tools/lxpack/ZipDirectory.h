// The table of contents of a zip file (a jar), read from its central
// directory, and the bytes of single entries. lxpack reads a packager's jar
// for its manifest and to see that the main class is in it; it never
// unpacks a whole jar.
//
// Jars are zip files as java reads them: the directory is found from the
// end of the file, ZIP64 records are followed (jars of more than 65535
// entries have them), and bytes in front of the zip data (an executable
// jar with a shell script prepended) are allowed. Entries are stored or
// deflated.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <unordered_set>
#include <vector>

// Why a file cannot be read as a zip file, as one sentence about it.
class ZipError : public std::runtime_error {
 public:
  explicit ZipError(const std::string& message) : std::runtime_error(message) {}
};

struct ZipEntry {
  std::string name;
  uint16_t flags = 0;
  uint16_t method = 0;
  uint32_t crc = 0;
  uint64_t compressedSize = 0;
  uint64_t size = 0;
  uint64_t localHeaderOffset = 0;  // from the start of the zip data
};

class ZipDirectory {
 public:
  // Reads the central directory of the file at path; throws ZipError.
  explicit ZipDirectory(const std::string& path);

  const std::vector<ZipEntry>& entries() const { return entries_; }
  bool contains(const std::string& name) const { return names_.count(name) != 0; }
  // The first entry whose name equals name ignoring ASCII case, as java
  // looks up META-INF/MANIFEST.MF; null when there is none.
  const ZipEntry* findIgnoringCase(const std::string& name) const;
  // The entry's bytes, checked against its CRC-32; throws ZipError, also
  // for an entry larger than maxSize.
  std::string read(const ZipEntry& entry, uint64_t maxSize) const;

 private:
  std::string path_;
  uint64_t base_ = 0;  // where the zip data start in the file
  std::vector<ZipEntry> entries_;
  std::unordered_set<std::string> names_;
};
