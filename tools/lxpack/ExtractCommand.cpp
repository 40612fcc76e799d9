// lxpack extract: the launcher's own extraction, run on any launcher file.
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "Commands.h"
#include "LauncherImage.h"
#include "Usage.h"
#include "archive/ChecksumBlock.h"
#include "archive/DamagedLauncher.h"
#include "archive/EntryName.h"
#include "archive/Extract.h"
#include "archive/WriteError.h"

namespace {

void removeAll(const std::vector<SString>& paths) {
  for (const SString& written : paths) ::unlink(written.c_str());
}

}  // namespace

int runExtract(Arguments& args) {
  std::string directory = ".";
  std::string path;
  std::set<std::string> wanted;
  std::string value;
  while (!args.done()) {
    if (args.takeOption("-C", "--directory", value)) {
      directory = value;
    } else if (path.empty()) {
      path = args.takeOperand();
    } else {
      wanted.insert(args.takeOperand());
    }
  }
  if (path.empty()) throw UsageError("missing LAUNCHER");
  LauncherImage image(path);
  if (!image.readProblems().empty()) throw PackError(path + ": " + image.readProblems().front().text);
  std::vector<FileIndexEntry*> selected;
  std::set<std::string> found;
  for (int i = 0; i < image.index().count(); ++i) {
    FileIndexEntry* entry = image.index().get(i);
    const std::string name = entry->getName().c_str();
    if (!wanted.empty() && !wanted.count(name)) continue;
    found.insert(name);
    selected.push_back(entry);
  }
  for (const std::string& name : wanted) {
    if (!found.count(name)) throw PackError(path + ": no entry named '" + name + "'");
  }
  // Nothing is written from a damaged launcher: every entry asked for is
  // checked first (its name, and its bytes, which are checked again while
  // they are copied).
  for (FileIndexEntry* entry : selected) {
    if (!isPlainFileName(entry->getName())) {
      throw PackError(path + ": entry '" + entry->getName().c_str() +
                      "' has a name that is not a plain file name (empty, \".\", \"..\" or with \"/\"); nothing was "
                      "extracted");
    }
  }
  for (FileIndexEntry* entry : selected) {
    try {
      verifyEntry(fileno(image.stream()), *entry);
    } catch (const DamagedLauncherException&) {
      throw PackError(path + ": entry '" + entry->getName().c_str() +
                      "' does not match its checksum: the file is damaged; nothing was extracted");
    }
  }
  // A failure half-way (a full disk, a signal) takes back what was written:
  // a partial set could pass for the whole.
  std::vector<SString> written;
  try {
    for (FileIndexEntry* entry : selected) written.push_back(extractFile(path.c_str(), entry, directory.c_str()));
  } catch (const WriteFailure& e) {
    removeAll(written);
    std::string advice;
    if (e.error() == ENOSPC || e.error() == EDQUOT) {
      advice = " (not enough free space in " + directory + ": choose another directory with --directory)";
    }
    throw PackError(path + ": cannot write " + e.path().c_str() + ": " + std::strerror(e.error()) + advice +
                    "; nothing was extracted");
  } catch (const DamagedLauncherException&) {
    removeAll(written);
    throw PackError(path + ": the file changed while it was extracted and is damaged now; nothing was extracted");
  } catch (...) {
    removeAll(written);
    throw;
  }
  return 0;
}
