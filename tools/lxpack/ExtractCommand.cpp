// lxpack extract: the launcher's own extraction, run on any launcher file.
#include <set>
#include <string>
#include <vector>

#include "Commands.h"
#include "LauncherImage.h"
#include "Usage.h"
#include "archive/ChecksumBlock.h"
#include "archive/DamagedLauncher.h"
#include "archive/Extract.h"

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
  // checked first (and again while it is copied).
  for (FileIndexEntry* entry : selected) {
    try {
      verifyEntry(fileno(image.stream()), *entry);
    } catch (const DamagedLauncherException&) {
      throw PackError(path + ": entry '" + entry->getName().c_str() +
                      "' does not match its checksum: the file is damaged; nothing was extracted");
    }
  }
  for (FileIndexEntry* entry : selected) extractFile(path.c_str(), entry, directory.c_str());
  return 0;
}
