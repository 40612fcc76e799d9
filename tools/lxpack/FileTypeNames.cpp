#include "FileTypeNames.h"

namespace {

const char* const kTypeNames[] = {"instructions", "jvm",         "launch-script", "classpath", "jvm-installer",
                                  "verify",       "application", "launcher",      "app-dir"};

}  // namespace

int parseFileType(const std::string& text) {
  for (int type = 0; type < 9; ++type) {
    if (text == kTypeNames[type] || text == std::to_string(type)) return type;
  }
  return -1;
}

const char* fileTypeName(int type) { return type >= 0 && type < 9 ? kTypeNames[type] : "unknown"; }
