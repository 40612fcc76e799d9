// The translators' UTF-8 files, read by the tests on their own so that the
// generated tables can be compared with what the translators wrote.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "support/SourceDir.h"

// The text of id in translations/<code>.txt: the part of its line between
// the first and the last double quote. Empty, with a test failure, when the
// file or the id is missing.
inline std::string TranslationText(const std::string& code, int id) {
  std::string path = SourceDir() + "/src/messages/translations/" + code + ".txt";
  std::ifstream file(path);
  std::string line;
  const std::string prefix = std::to_string(id) + " \"";
  while (std::getline(file, line)) {
    if (line.compare(0, prefix.size(), prefix) != 0) continue;
    size_t first = line.find('"');
    return line.substr(first + 1, line.rfind('"') - first - 1);
  }
  ADD_FAILURE() << "no id " << id << " in " << path;
  return std::string();
}

// The text with arg in place of its "%s", as the launcher formats it.
inline std::string Formatted(std::string text, const std::string& arg) {
  size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, arg);
  return text;
}
