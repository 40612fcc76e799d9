// Tag files are the text format of every configuration file the launcher
// reads or writes: the input file, the embedded instructions, launch script
// and JVM descriptions, and the JVM description handed to the wizard.
//
//   NAME: value            one value
//   NAME:                  a block: every following non-empty line is a
//     "first value"        value, until a line that is exactly /:
//     second value
//   /:
//
// A value that starts with a double quote runs to the closing quote, and a
// doubled quote inside stands for one. Lookups never fail: a missing tag
// reads as empty.
#pragma once

#include <cstdio>
#include <memory>

#include "base/Deque.h"
#include "base/SString.h"

class TagFileEntry {
 public:
  explicit TagFileEntry(const SString& name) : name_(name), values_(new StringDeque) {}
  TagFileEntry(const TagFileEntry&) = delete;
  TagFileEntry& operator=(const TagFileEntry&) = delete;

  const SString& getName() const { return name_; }
  StringDeque* getValues() const { return values_.get(); }

 private:
  SString name_;
  std::unique_ptr<StringDeque> values_;
};

typedef PtrDE<TagFileEntry> TagFileEntryPtrDE;
typedef PtrDeque<TagFileEntry> TagFileEntryPtrDeque;

class TagFile : public TagFileEntryPtrDeque {
 public:
  TagFile() : lineCount_(0) {}
  // Loads the file at path; throws "Unable to load input file: " + path
  // when it cannot be opened.
  explicit TagFile(const SString& path);

  // Parses tags from the stream, from startOffset on; a non-negative limit
  // stops before a top-level line that starts at or beyond startOffset + limit.
  // A stream that cannot be read throws LauncherException with the
  // system's reason.
  void load(FILE* stream, const SString& name, int32_t startOffset, int32_t limit);

  SString getValue(const char* name, unsigned index) const;
  int getValueCount(const char* name) const;
  bool getBool(const char* name, bool defaultValue) const;
  void setValue(const char* name, const SString& value);
  void addValue(const char* name, const SString& value);
  void setBool(const char* name, bool flag);
  void setJvmInfo(const SString& home, const SString& path, bool temp);
  void removeTag(const SString& name);
  // Writes every tag that has a value. Throws LauncherException with the
  // system's reason when the file cannot be created or written whole, and
  // removes what was written then. createAnew replaces whatever stands at
  // path (a link, a pipe) by a new file instead of writing through it.
  void write(const SString& path, bool createAnew = false) const;

  const SString& getFileName() const { return fileName_; }
  StringDeque* findValues(const SString& name) const;

 private:
  SString readLine(FILE* stream);
  void readBlock(FILE* stream, const SString& name);
  [[noreturn]] void syntaxError(int32_t line, const char* detail) const;

  class LoadingNames;

  int32_t lineCount_;
  SString fileName_;
  LoadingNames* loadingNames_ = nullptr;
};

typedef PtrDE<TagFile> TagFilePtrDE;
typedef PtrDeque<TagFile> TagFilePtrDeque;
