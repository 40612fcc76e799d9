#include "JvmOptionFolders.h"

namespace {

bool nameStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool nameCharacter(char c) { return nameStart(c) || (c >= '0' && c <= '9'); }

// Variables are written in capitals; Outer$Inner is a class name.
bool looksLikeVariable(const std::string& name) {
  for (char c : name) {
    if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')) return false;
  }
  return !name.empty() && !(name[0] >= '0' && name[0] <= '9');
}

void addText(JvmOption& option, const std::string& text) {
  if (text.empty()) return;
  if (!option.parts.empty() && option.parts.back().kind == JvmOptionPart::kText) {
    option.parts.back().text += text;
    return;
  }
  JvmOptionPart part;
  part.text = text;
  option.parts.push_back(part);
}

void addFolder(JvmOption& option, JvmOptionPart::Kind kind) {
  JvmOptionPart part;
  part.kind = kind;
  option.parts.push_back(part);
}

}  // namespace

bool JvmOption::names(JvmOptionPart::Kind kind) const {
  for (const JvmOptionPart& part : parts) {
    if (part.kind == kind) return true;
  }
  return false;
}

JvmOption readJvmOption(const std::string& text) {
  JvmOption option;
  std::string::size_type at = 0;
  while (at < text.size()) {
    const std::string::size_type dollar = text.find('$', at);
    if (dollar == std::string::npos) {
      addText(option, text.substr(at));
      break;
    }
    addText(option, text.substr(at, dollar - at));
    at = dollar + 1;
    if (at < text.size() && text[at] == '$') {
      addText(option, "$");
      ++at;
      continue;
    }
    // $NAME or ${NAME}; a brace that is not closed, or holds no name, is
    // text like any other.
    const bool braced = at < text.size() && text[at] == '{';
    std::string::size_type nameEnd = braced ? at + 1 : at;
    while (nameEnd < text.size() && nameCharacter(text[nameEnd])) ++nameEnd;
    const std::string::size_type nameStartAt = braced ? at + 1 : at;
    const std::string name = text.substr(nameStartAt, nameEnd - nameStartAt);
    const bool closed = !braced || (nameEnd < text.size() && text[nameEnd] == '}');
    if (name.empty() || !nameStart(name[0]) || !closed) {
      addText(option, "$");
      continue;
    }
    const std::string::size_type end = braced ? nameEnd + 1 : nameEnd;
    if (name == "APP_DIR") {
      addFolder(option, JvmOptionPart::kAppDir);
    } else if (name == "LAUNCHER_DIR") {
      addFolder(option, JvmOptionPart::kLauncherDir);
    } else {
      if (looksLikeVariable(name)) option.unknownNames.push_back(text.substr(dollar, end - dollar));
      addText(option, text.substr(dollar, end - dollar));
    }
    at = end;
  }
  return option;
}
