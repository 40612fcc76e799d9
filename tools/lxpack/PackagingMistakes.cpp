#include "PackagingMistakes.h"

#include <map>
#include <memory>
#include <set>

#include "archive/FileIndexEntry.h"
#include "base/LauncherException.h"
#include "base/Tokenizer.h"
#include "instructions/Commands.h"
#include "jvm/JVMFile.h"
#include "tagfile/TagFile.h"

namespace {

std::string text(const SString& s) { return std::string(s.c_str(), s.length()); }

// The tag file of a member, or null when it cannot be loaded (another check
// names why).
std::unique_ptr<TagFile> loadQuietly(const ArchiveMember& member) {
  try {
    return std::unique_ptr<TagFile>(new TagFile(member.sourcePath));
  } catch (const LauncherException&) {
    return nullptr;
  }
}

// A plain decimal number, as a script argument that names an entry; false
// for anything the launcher computes at run time (variables, expressions).
bool plainNumber(const SString& word, long& value) {
  const std::string digits = text(word);
  size_t start = !digits.empty() && digits[0] == '-' ? 1 : 0;
  if (digits.size() == start || digits.size() > 12) return false;
  for (size_t i = start; i < digits.size(); ++i) {
    if (digits[i] < '0' || digits[i] > '9') return false;
  }
  value = std::stol(digits);
  return true;
}

class ScriptCheck {
 public:
  ScriptCheck(const std::vector<ArchiveMember>& members, const ArchiveMember& script, const TagFile& tags,
              std::vector<std::string>& mistakes)
      : members_(members), where_(text(script.sourcePath)), mistakes_(mistakes) {
    const StringDeque* lines = tags.findValues("INSTRUCTIONS");
    for (int i = 0; lines && i < lines->count(); ++i) lines_.push_back(lines->get(i));
  }

  void run() {
    if (lines_.empty()) {
      mistakes_.push_back(where_ +
                          " is not an instructions script: it has no INSTRUCTIONS block, so the launcher would run "
                          "nothing (is it another kind of file?)");
      return;
    }
    for (size_t i = 0; i < lines_.size(); ++i) checkLine(static_cast<int>(i) + 1, lines_[i]);
  }

 private:
  void mistake(int line, const std::string& what) {
    mistakes_.push_back(where_ + ", line " + std::to_string(line) + ": " + what);
  }

  // The argument at position (from 1) after the command, or empty.
  static SString argument(const SString& line, int position) {
    SString::size_type pos = 0;
    bool noWord = false;
    SString word;
    for (int i = 0; i <= position && !noWord; ++i) word = nextWord(line, pos, noWord);
    return noWord ? SString() : word;
  }

  bool hasLabel(const SString& label) const {
    for (const SString& line : lines_) {
      if (line == ":" + label) return true;
    }
    return false;
  }

  const ArchiveMember* byId(long id) const {
    for (const ArchiveMember& m : members_) {
      if (static_cast<long>(static_cast<int32_t>(m.id)) == id) return &m;
    }
    return nullptr;
  }

  bool carries(int type) const {
    for (const ArchiveMember& m : members_) {
      if (m.type == type) return true;
    }
    return false;
  }

  void checkLabel(int line, const std::string& command, const SString& label) {
    // A label with variables is only known at run time.
    if (label.empty() || label.find('@') != SString::npos || hasLabel(label)) return;
    mistake(line, command + " jumps to the label '" + text(label) + "', but no line is ':" + text(label) + "'");
  }

  void checkJvmId(int line, const std::string& command, const SString& word) {
    long id;
    if (!plainNumber(word, id)) return;
    const ArchiveMember* m = byId(id);
    if (m && m->type == FT_JVM) return;
    mistake(line, command + " names file id " + std::to_string(id) + ", but " +
                      (m ? "that is " + text(m->sourcePath) + ", no JVM description"
                         : std::string("no entry of the launcher has that id")));
  }

  void checkLine(int number, const SString& line) {
    SString::size_type pos = 0;
    bool noWord = false;
    const SString command = nextWord(line, pos, noWord);
    if (noWord || command[0] == ':') return;
    if (!isCommandName(command)) {
      mistake(number, "unknown command '" + text(command) + "'");
      return;
    }
    if (command == "GOTO") checkLabel(number, "GOTO", argument(line, 1));
    if (command == "JMP0") checkLabel(number, "JMP0", argument(line, 2));
    if (command == "ILAUNCH") checkJvmId(number, "ILAUNCH", argument(line, 1));
    if (command == "VERIFY") checkJvmId(number, "VERIFY", argument(line, 3));
    if ((command == "LAUNCH" || command == "ILAUNCH") && !carries(FT_LAUNCH_SCRIPT)) {
      mistake(number, text(command) + " needs a launch script, and the launcher carries none (launch-script=FILE)");
    }
    if (command == "INSTALL_JVM" && !carries(FT_JVM_INSTALLER)) {
      mistake(number, "INSTALL_JVM needs a JVM installer, and the launcher carries none (jvm-installer=FILE)");
    }
    long position;
    if (command == "EXECUTE_LAUNCHER" && plainNumber(argument(line, 1), position)) {
      if (position < 0 || position >= static_cast<long>(members_.size()) ||
          members_[static_cast<size_t>(position)].type != FT_LAUNCHER) {
        mistake(number, "EXECUTE_LAUNCHER names position " + std::to_string(position) +
                            ", but the launcher holds no embedded launcher there (positions count from 0 in the "
                            "order the files are given)");
      }
    }
  }

  const std::vector<ArchiveMember>& members_;
  std::string where_;
  std::vector<SString> lines_;
  std::vector<std::string>& mistakes_;
};

}  // namespace

std::vector<std::string> packagingMistakes(const std::vector<ArchiveMember>& members) {
  std::vector<std::string> mistakes;
  int instructions = 0, descriptions = 0, verifiers = 0;
  for (const ArchiveMember& m : members) {
    instructions += m.type == FT_INSTRUCTIONS;
    descriptions += m.type == FT_JVM;
    verifiers += m.type == FT_VERIFY;
  }
  if (instructions == 0) {
    mistakes.push_back(
        "the launcher carries no instructions script (instructions=FILE): it would start, do nothing and end with "
        "status 255");
  }
  if (descriptions > 0 && verifiers == 0) {
    mistakes.push_back(
        "the launcher carries JVM descriptions but no verification archive (verify=FILE): it could verify no JVM, "
        "so every search would fail");
  }

  bool firstInstructions = true;
  for (const ArchiveMember& m : members) {
    if (m.type != FT_INSTRUCTIONS && m.type != FT_LAUNCH_SCRIPT) continue;
    std::unique_ptr<TagFile> tags = loadQuietly(m);
    if (!tags) continue;
    if (m.type == FT_LAUNCH_SCRIPT && tags->getValueCount("COMMAND") == 0) {
      mistakes.push_back(text(m.sourcePath) +
                         " is a launch script without COMMAND: the launcher would have no command to run (is it "
                         "another kind of file?)");
    }
    // The launcher runs the first instructions script only.
    if (m.type == FT_INSTRUCTIONS && firstInstructions) {
      firstInstructions = false;
      ScriptCheck(members, m, *tags, mistakes).run();
    }
  }

  // The launcher refuses a JVM description whose JAVA_VERSION or PREFER it
  // cannot read; the same reading finds it here.
  for (const ArchiveMember& m : members) {
    if (m.type != FT_JVM) continue;
    std::unique_ptr<TagFile> tags = loadQuietly(m);
    if (!tags) continue;
    try {
      checkJvmSearchKeys(tags.get());
    } catch (const LauncherException& e) {
      mistakes.push_back(text(e.getMessage()) + " (the launcher would refuse it)");
    }
  }

  std::map<std::string, std::string> sourceByName;
  std::set<std::string> reported;
  for (const ArchiveMember& m : members) {
    const std::string name = text(m.name);
    auto found = sourceByName.find(name);
    if (found == sourceByName.end()) {
      sourceByName[name] = text(m.sourcePath);
    } else if (reported.insert(name).second) {
      mistakes.push_back("two entries are named '" + name + "' (" + found->second + " and " + text(m.sourcePath) +
                         "): extracting them writes both to one file, and only the last one stays");
    }
  }
  return mistakes;
}
