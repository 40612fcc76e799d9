#include "launch/ClassPath.h"

#include "archive/Extract.h"
#include "archive/LauncherFile.h"
#include "base/Log.h"
#include "fsutil/Platform.h"
#include "fsutil/TempFiles.h"
#include "launch/SideFiles.h"

namespace {

class ClassPath {
 public:
  explicit ClassPath(const SString& separator) : separator_(separator) {}

  void appendEntry(const SString& entry) {
    if (entry.empty()) return;
    if (!text_.empty()) text_ += separator_;
    text_ += entry;
  }

  // Every line of a list file is an entry; a missing file adds nothing.
  bool appendFile(const SString& path) {
    StringDeque lines;
    if (!readTextLines(path, lines)) return false;
    for (int i = 0; i < lines.count(); ++i) appendEntry(lines.get(i));
    return true;
  }

  // -cp:p and -cp:a: entries as they are, or "@file" naming a list file.
  void appendSource(const SString& source) {
    SString text = trim(source, kWhiteSpace);
    if (text.empty()) return;
    if (text[0] != '@') {
      appendEntry(text);
      return;
    }
    SString listFile = text.substr(1);
    if (!appendFile(listFile)) {
      log("Could not find the file " + listFile + " while building the classpath.", WARNING);
    }
  }

  // A new directory per call, also when there is nothing to put in it.
  void appendEmbeddedEntries(LauncherFile& archive, CarriedValues& carried) {
    SString directory = CreateTempDir();
    for (int i = 0; i < archive.getEntryCount(); ++i) {
      FileIndexEntry* entry = archive.getEntry(i);
      if (entry && entry->getType() == FT_CLASSPATH) appendEntry(carried.token(archive.extract(entry, directory)));
    }
  }

  const SString& text() const { return text_; }

 private:
  SString separator_;
  SString text_;
};

}  // namespace

SString buildClassPath(const RunContext& context, JVMFile* jvm, const StringDeque& args, const SString& archive,
                       bool addEmbeddedEntries, CarriedValues& carried) {
  TagFile empty;
  const TagFile& tags = jvm ? *jvm->getTagFile() : empty;
  bool environmentMode = tags.getValue("USE_CP_ENV_VAR", 0) == "1";

  ClassPath classPath(tags.getValue("CLASSPATH_SEPARATOR", 0));
  classPath.appendSource(context.options.cpPrepend);
  classPath.appendFile(sideFilePath(context.paths, ".cp1"));
  classPath.appendEntry(tags.getValue("JVM_CLASSPATH", 0));
  classPath.appendFile(sideFilePath(context.paths, ".cp"));
  // A variable's value is not read by the shell: the quotes meant for one go.
  for (int i = 0; i < args.count(); ++i)
    classPath.appendEntry(environmentMode ? stripOuterQuotes(args.get(i)) : args.get(i));
  classPath.appendEntry(environmentMode ? stripOuterQuotes(archive) : archive);
  if (addEmbeddedEntries) classPath.appendEmbeddedEntries(context.archive, carried);
  classPath.appendFile(sideFilePath(context.paths, ".cp2"));
  classPath.appendSource(context.options.cpAppend);

  if (!environmentMode) return classPath.text().empty() ? SString() : tags.getValue("CLASSPATH", 0) + classPath.text();
  SString variable = tags.getValue("CP_ENV_VAR", 0);
  if (variable.empty()) {
    log("If USE_CP_ENV_VAR is set to 1 in the jvm file, then the jvm file should also define CP_ENV_VAR.", ERROR);
  } else {
    SString value = carried.plain(classPath.text());
    SetEnv(variable.c_str(), value);
    log("Set env var " + variable + " to " + value + "\n", INFO);
  }
  return SString();
}
