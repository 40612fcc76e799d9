#include "tagfile/TagFile.h"

#include <string>

#include "base/LauncherException.h"
#include "base/Log.h"
#include "base/OpenFiles.h"
#include "base/Tokenizer.h"

TagFile::TagFile(const SString& path) : lineCount_(0) {
  FileStream f(std::fopen(path.c_str(), "r"));
  if (!f) throw LauncherException("Unable to load input file: " + path);
  load(f.get(), path, 0, -1);
}

// One physical line: carriage returns are dropped wherever they occur, the
// line feed is not kept, and the line is trimmed. The characters are
// gathered first and stored once, so a long line costs one copy.
SString TagFile::readLine(FILE* stream) {
  std::string buffer;
  int c;
  while ((c = getc_unlocked(stream)) != EOF && c != '\n') {
    if (c != '\r') buffer.push_back(static_cast<char>(c));
  }
  ++lineCount_;
  return trim(SString(buffer.data(), static_cast<SString::size_type>(buffer.size())), kWhiteSpace);
}

void TagFile::syntaxError(int32_t line, const char* detail) const {
  SString text = "Syntax error in " + fileName_ + " at line " + fromLong(line) + " ==> " + detail;
  log(text, ERROR);
  throw LauncherException(text);
}

void TagFile::load(FILE* stream, const SString& name, int32_t startOffset, int32_t limit) {
  fileName_ = name;
  lineCount_ = 0;
  if (std::fseek(stream, startOffset, SEEK_SET) != 0) throw LauncherException("Unable to read tag file.");
  const long long end = static_cast<long long>(startOffset) + limit;
  while (!std::feof(stream)) {
    // The limit is only tested between top-level lines: an embedded file
    // must end with a complete line and close its blocks.
    if (limit >= 0 && std::ftell(stream) >= end) break;
    SString line = readLine(stream);
    if (line.empty()) continue;
    SString::size_type colon = line.find(':');
    if (colon == SString::npos) syntaxError(lineCount_, "Missing colon at the end of the tag name.");
    SString tagName = trim(line.substr(0, colon), kWhiteSpace);
    removeTag(tagName);
    if (colon == line.length() - 1) {
      readBlock(stream, tagName);
      continue;
    }
    SString::size_type start = line.find_first_not_of(kWhiteSpace, colon + 1);
    SString value;
    if (line[start] == '"') {
      SString::size_type pos = start + 1;
      value = readArgument(line, pos, true);
    } else {
      value = line.substr(start);
    }
    setValue(tagName.c_str(), value);
  }
}

void TagFile::readBlock(FILE* stream, const SString& name) {
  const int32_t openedAt = lineCount_;
  for (;;) {
    if (std::feof(stream)) syntaxError(openedAt, "Missing /: tag completer.");
    SString line = readLine(stream);
    if (!line.empty() && line[0] == '"') {
      SString::size_type pos = 1;
      line = readArgument(line, pos, true);
    }
    if (line.empty()) continue;
    if (line == "/:") return;
    addValue(name.c_str(), line);
  }
}

StringDeque* TagFile::findValues(const SString& name) const {
  for (int i = 0; i < count(); ++i) {
    TagFileEntry* entry = get(i);
    if (entry && entry->getName() == name) return entry->getValues();
  }
  return nullptr;
}

void TagFile::removeTag(const SString& name) {
  for (int i = 0; i < count(); ++i) {
    TagFileEntry* entry = get(i);
    if (entry && entry->getName() == name) {
      removeAt(i);
      return;
    }
  }
}

SString TagFile::getValue(const char* name, unsigned index) const {
  StringDeque* values = findValues(name);
  if (!values || index >= static_cast<unsigned>(values->count())) return SString();
  return values->get(static_cast<int>(index));
}

int TagFile::getValueCount(const char* name) const {
  StringDeque* values = findValues(name);
  return values ? values->count() : 0;
}

bool TagFile::getBool(const char* name, bool defaultValue) const {
  SString value = getValue(name, 0);
  short parsed = 0;
  if (value.empty() || !toShort(value, parsed)) return defaultValue;
  return parsed != 0;
}

void TagFile::setValue(const char* name, const SString& value) {
  StringDeque* values = findValues(name);
  if (!values) {
    TagFileEntry* entry = new TagFileEntry(name);
    entry->getValues()->add(value);
    add(entry);
    return;
  }
  while (values->count() > 1) values->removeLast();
  if (values->isEmpty()) {
    values->add(value);
  } else {
    *values->PtrDeque<SString>::get(0) = value;
  }
}

void TagFile::addValue(const char* name, const SString& value) {
  StringDeque* values = findValues(name);
  if (values) {
    values->add(value);
  } else {
    setValue(name, value);
  }
}

void TagFile::setBool(const char* name, bool flag) { setValue(name, flag ? "1" : "0"); }

void TagFile::setJvmInfo(const SString& home, const SString& path, bool temp) {
  setValue("JVM_HOME", home);
  setValue("JVM_FILE", path);
  setBool("JVM_TEMP", temp);
}

namespace {

// A value is written bare when reading it back gives the same text:
// non-empty, no surrounding white space and no quote to misread.
bool needsQuotes(const SString& value) {
  if (value.empty()) return true;
  if (isWhite(value[0]) || isWhite(value[value.length() - 1])) return true;
  return value.find('"') != SString::npos;
}

void writeValue(FILE* f, const SString& value) {
  if (!needsQuotes(value)) {
    std::fprintf(f, "  %s\n", value.c_str());
    return;
  }
  std::string doubled;
  for (SString::size_type i = 0; i < value.length(); ++i) {
    doubled.push_back(value[i]);
    if (value[i] == '"') doubled.push_back('"');
  }
  std::fprintf(f, "  \"%s\"\n", doubled.c_str());
}

}  // namespace

void TagFile::write(const SString& path) const {
  FILE* f = std::fopen(path.c_str(), "w");
  if (!f) return;
  for (int i = 0; i < count(); ++i) {
    TagFileEntry* entry = get(i);
    if (!entry) continue;
    StringDeque* values = entry->getValues();
    if (values->isEmpty()) continue;
    std::fprintf(f, "%s:", entry->getName().c_str());
    bool block = values->count() > 1;
    if (block) std::fputc('\n', f);
    for (int j = 0; j < values->count(); ++j) writeValue(f, values->get(j));
    if (block) std::fputs("/:\n", f);
  }
  std::fclose(f);
}
