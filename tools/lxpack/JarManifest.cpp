#include "JarManifest.h"

#include <cctype>
#include <vector>

namespace {

std::string lowerCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string trimmed(const std::string& text) {
  const char* blanks = " \t";
  std::string::size_type first = text.find_first_not_of(blanks);
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// The physical lines up to the end of the main section.
std::vector<std::string> mainSectionLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string::size_type at = 0;
  while (at < text.size()) {
    std::string::size_type end = text.find_first_of("\r\n", at);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(at, end - at);
    at = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    if (line.empty()) break;
    lines.push_back(line);
  }
  return lines;
}

}  // namespace

JarManifest::JarManifest(const std::string& text) {
  std::string* current = nullptr;
  for (const std::string& line : mainSectionLines(text)) {
    if (line[0] == ' ') {
      if (current) *current += line.substr(1);
      continue;
    }
    std::string::size_type colon = line.find(':');
    if (colon == std::string::npos || colon == 0) {
      current = nullptr;  // not an attribute; java would refuse the manifest
      continue;
    }
    const std::string name = lowerCase(line.substr(0, colon));
    std::string value = line.substr(colon + 1);
    if (!value.empty() && value[0] == ' ') value.erase(0, 1);
    // The last of two definitions counts, as in java's Manifest.
    current = &(attributes_[name] = value);
  }
}

std::string JarManifest::value(const std::string& name) const {
  auto found = attributes_.find(lowerCase(name));
  return found == attributes_.end() ? std::string() : trimmed(found->second);
}
