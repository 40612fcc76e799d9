#include "FileTypeNames.h"

namespace {

const char* const kTypeNames[] = {"instructions",  "jvm",    "launch-script", "classpath",
                                  "jvm-installer", "verify", "application",   "launcher"};

}  // namespace

int parseFileType(const std::string& text) {
  for (int type = 0; type < 8; ++type) {
    if (text == kTypeNames[type] || text == std::to_string(type)) return type;
  }
  return -1;
}

const char* fileTypeName(int type) { return type >= 0 && type < 8 ? kTypeNames[type] : "unknown"; }
