#include "JarOnlyAttributes.h"

#include <cstring>

const char* const kJarOnlyAttributes[4] = {"Add-Opens", "Add-Exports", "Enable-Native-Access", "Launcher-Agent-Class"};

namespace {

const char kAllUnnamed[] = "ALL-UNNAMED";

// The manifest's list is separated by blanks; java -jar skips an item that
// is not MODULE/PACKAGE.
std::vector<std::string> modulePackages(const std::string& value) {
  std::vector<std::string> items;
  std::string::size_type pos = 0;
  while (true) {
    pos = value.find_first_not_of(" \t", pos);
    if (pos == std::string::npos) break;
    std::string::size_type end = value.find_first_of(" \t", pos);
    if (end == std::string::npos) end = value.size();
    const std::string item = value.substr(pos, end - pos);
    const std::string::size_type slash = item.find('/');
    if (slash != std::string::npos && slash > 0 && slash + 1 < item.size() &&
        item.find('/', slash + 1) == std::string::npos) {
      items.push_back(item);
    }
    pos = end;
  }
  return items;
}

bool listHolds(const std::string& commaList, const std::string& wanted) {
  std::string::size_type pos = 0;
  while (pos <= commaList.size()) {
    std::string::size_type end = commaList.find(',', pos);
    if (end == std::string::npos) end = commaList.size();
    if (commaList.compare(pos, end - pos, wanted) == 0) return true;
    pos = end + 1;
  }
  return false;
}

// The values java gets for option, written as one argument ("--add-opens=V")
// or as two ("--add-opens", "V").
std::vector<std::string> optionValues(const std::vector<std::string>& jvmOptions, const std::string& option) {
  std::vector<std::string> values;
  const std::string joined = option + "=";
  for (size_t i = 0; i < jvmOptions.size(); ++i) {
    if (jvmOptions[i].compare(0, joined.size(), joined) == 0) {
      values.push_back(jvmOptions[i].substr(joined.size()));
    } else if (jvmOptions[i] == option && i + 1 < jvmOptions.size()) {
      values.push_back(jvmOptions[++i]);
    }
  }
  return values;
}

// Whether a value MODULE/PACKAGE=TARGET,... given to option reaches the
// class path's classes (ALL-UNNAMED) for modulePackage.
bool opened(const std::vector<std::string>& values, const std::string& modulePackage) {
  for (const std::string& value : values) {
    const std::string::size_type equals = value.find('=');
    if (equals == std::string::npos || value.compare(0, equals, modulePackage) != 0) continue;
    if (listHolds(value.substr(equals + 1), kAllUnnamed)) return true;
  }
  return false;
}

bool plainForShell(const std::string& word) {
  if (word.empty()) return false;
  for (char c : word) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       std::strchr("._/=,:+@%-", c) != nullptr;
    if (!plain) return false;
  }
  return true;
}

std::string quoteForShell(const std::string& word) {
  if (plainForShell(word)) return word;
  std::string quoted = "'";
  for (char c : word) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

std::string trimmed(const std::string& text) {
  const std::string::size_type first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

std::vector<JarOnlyAdvice> jarOnlyAdvice(const std::vector<ManifestAttribute>& attributes,
                                         const std::vector<std::string>& jvmOptions) {
  std::vector<JarOnlyAdvice> result;
  for (const ManifestAttribute& attribute : attributes) {
    JarOnlyAdvice advice;
    advice.attribute = attribute.name;
    advice.value = trimmed(attribute.value);
    if (advice.value.empty()) continue;
    if (attribute.name == "Add-Opens" || attribute.name == "Add-Exports") {
      const std::string option = attribute.name == "Add-Opens" ? "--add-opens" : "--add-exports";
      const std::vector<std::string> given = optionValues(jvmOptions, option);
      const std::vector<std::string> items = modulePackages(advice.value);
      if (items.empty()) continue;
      for (const std::string& item : items) {
        if (!opened(given, item)) advice.missingOptions.push_back(option + "=" + item + "=" + kAllUnnamed);
      }
      if (advice.missingOptions.empty()) continue;
    } else if (attribute.name == "Enable-Native-Access" && advice.value == kAllUnnamed) {
      bool given = false;
      for (const std::string& value : optionValues(jvmOptions, "--enable-native-access")) {
        given = given || listHolds(value, kAllUnnamed);
      }
      if (given) continue;
      advice.missingOptions.push_back(std::string("--enable-native-access=") + kAllUnnamed);
    } else {
      advice.expressible = false;
    }
    result.push_back(advice);
  }
  return result;
}

std::string jarOnlyWarning(const std::string& jarPath, const JarOnlyAdvice& advice) {
  std::string text = "the manifest of " + jarPath + " has " + advice.attribute + ": " + advice.value +
                     ", which java applies only to java -jar; the launcher runs the main class from a class path";
  if (!advice.expressible) return text + ", and no option of java does the same";
  text += ", so give java the same with";
  for (const std::string& option : advice.missingOptions) text += " --jvm-option " + quoteForShell(option);
  return text;
}
