// Unpacks a program's folder (the container AppDirFormat.h describes) into
// a directory, as the deflate decoder hands its bytes on. Nothing it
// unpacks can land outside that directory: names are relative, without
// "." or ".." parts, files are created anew without following links, and
// the container cannot describe a link. Directories get mode 0700, files
// 0600, files marked as programs 0700.
#pragma once

#include <cstdint>
#include <set>
#include <string>

#include "base/Inflate.h"
#include "base/OpenFiles.h"
#include "base/SString.h"

class AppDirReader : public InflateSink {
 public:
  // directory must exist and be empty; an empty directory name checks the
  // container without writing anything. The container may hold at most
  // fileCount files and directories and size bytes of file data: the free
  // space was checked for that much.
  AppDirReader(const SString& directory, uint32_t fileCount, uint32_t size);

  void write(const unsigned char* bytes, size_t count) override;
  // Throws unless the container ended with its end record.
  void finish();

 private:
  void fieldComplete();
  void startRecord();
  void openFile();
  void writeData(const unsigned char* bytes, size_t count);
  [[noreturn]] void invalid(const SString& what) const;

  enum State { kMagic, kKind, kNameLength, kName, kSize, kData, kEnded };

  SString directory_;
  FileDescriptor root_;
  uint32_t filesLeft_;
  uint32_t bytesLeft_;
  State state_ = kMagic;
  size_t needed_;
  std::string field_;
  unsigned char kind_ = 0;
  std::string name_;
  uint32_t dataLeft_ = 0;
  FileDescriptor file_;
  // The directories this container made: a record may only go into one of
  // them, so no path is ever resolved through anything else.
  std::set<std::string> directories_;
  std::set<std::string> names_;
};

// Why name cannot be a record's name, or empty when it can.
SString appDirNameProblem(const std::string& name);
