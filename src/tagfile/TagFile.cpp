#include "tagfile/TagFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <string_view>
#include <unordered_map>

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
  // One buffer serves every line of the file.
  static std::string buffer;
  buffer.clear();
  int c;
  while ((c = getc_unlocked(stream)) != EOF && c != '\n') {
    if (c != '\r') buffer.push_back(static_cast<char>(c));
  }
  // A stream that fails (a directory opened as a file, an I/O error) never
  // reaches its end; the read must stop here instead of trying for ever.
  if (c == EOF && std::ferror(stream)) {
    throw LauncherException("Unable to read " + fileName_ + ": " + std::strerror(errno));
  }
  ++lineCount_;
  return trim(SString(buffer.data(), static_cast<SString::size_type>(buffer.size())), kWhiteSpace);
}

void TagFile::syntaxError(int32_t line, const char* detail) const {
  SString text = "Syntax error in " + fileName_ + " at line " + fromLong(line) + " ==> " + detail;
  log(text, ERROR);
  throw LauncherException(text);
}

// While a file loads, its tags are found through a hash of their names, so
// that a file of many tags loads in linear time; lookups afterwards are
// few and scan the list.
class TagFile::LoadingNames {
 public:
  explicit LoadingNames(TagFile& file) : file_(file) {
    for (int i = 0; i < file.count(); ++i) {
      TagFileEntry* entry = file.get(i);
      if (entry) names_.emplace(key(entry->getName()), entry);
    }
    file_.loadingNames_ = this;
  }
  ~LoadingNames() { file_.loadingNames_ = nullptr; }
  LoadingNames(const LoadingNames&) = delete;
  LoadingNames& operator=(const LoadingNames&) = delete;

  TagFileEntry* find(const SString& name) const {
    auto found = names_.find(key(name));
    return found == names_.end() ? nullptr : found->second;
  }
  void add(TagFileEntry* entry) { names_.emplace(key(entry->getName()), entry); }
  void remove(const SString& name) { names_.erase(key(name)); }

 private:
  // The keys are the entries' own names, which live as long as the entries.
  static std::string_view key(const SString& name) { return std::string_view(name.c_str(), name.length()); }

  TagFile& file_;
  std::unordered_map<std::string_view, TagFileEntry*> names_;
};

void TagFile::load(FILE* stream, const SString& name, int32_t startOffset, int32_t limit) {
  fileName_ = name;
  lineCount_ = 0;
  LoadingNames names(*this);
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
  if (loadingNames_) {
    TagFileEntry* entry = loadingNames_->find(name);
    return entry ? entry->getValues() : nullptr;
  }
  for (int i = 0; i < count(); ++i) {
    TagFileEntry* entry = get(i);
    if (entry && entry->getName() == name) return entry->getValues();
  }
  return nullptr;
}

void TagFile::removeTag(const SString& name) {
  if (loadingNames_) {
    TagFileEntry* entry = loadingNames_->find(name);
    if (!entry) return;
    loadingNames_->remove(name);
    for (int i = count() - 1; i >= 0; --i) {
      if (get(i) == entry) {
        removeAt(i);
        return;
      }
    }
    return;
  }
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
    if (loadingNames_) loadingNames_->add(entry);
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

namespace {

// Whatever stands at path (a link planted to a file elsewhere, a pipe) is
// removed, and a new file is created there without following a link, for
// its owner alone whatever the umask, like the extracted files it is
// written beside.
FILE* openAnew(const SString& path) {
  if (::unlink(path.c_str()) != 0 && errno != ENOENT) return nullptr;
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return nullptr;
  if (::fchmod(fd, 0600) != 0) {
    ::close(fd);
    ::unlink(path.c_str());
    return nullptr;
  }
  FILE* stream = ::fdopen(fd, "w");
  if (!stream) ::close(fd);
  return stream;
}

}  // namespace

// A description that the wizard or a caller reads must be whole or absent:
// every write and the close are checked, and a file that could not be
// written completely is removed.
void TagFile::write(const SString& path, bool createAnew) const {
  FileStream f(createAnew ? openAnew(path) : std::fopen(path.c_str(), "w"));
  if (!f) throw LauncherException("Unable to write " + path + ": " + std::strerror(errno));
  for (int i = 0; i < count(); ++i) {
    TagFileEntry* entry = get(i);
    if (!entry) continue;
    StringDeque* values = entry->getValues();
    if (values->isEmpty()) continue;
    std::fprintf(f.get(), "%s:", entry->getName().c_str());
    bool block = values->count() > 1;
    if (block) std::fputc('\n', f.get());
    for (int j = 0; j < values->count(); ++j) writeValue(f.get(), values->get(j));
    if (block) std::fputs("/:\n", f.get());
  }
  // A failed write leaves its error number; later writes fail alike.
  int error = std::ferror(f.get()) ? errno : 0;
  if (error == 0 && std::fflush(f.get()) != 0) error = errno;
  // Only a regular file is removed: a device or pipe named by the caller
  // is not this function's to delete.
  struct stat status;
  const bool regular = ::fstat(fileno(f.get()), &status) == 0 && S_ISREG(status.st_mode);
  if (f.close() != 0 && error == 0) error = errno;
  if (error != 0) {
    if (regular) std::remove(path.c_str());
    throw LauncherException("Unable to write " + path + ": " + std::strerror(error));
  }
}
