#include "fsutil/CommandSafePath.h"

namespace {

const char kCommandUnsafeCharacters[] = "\"$`\\%@#\n";

}  // namespace

bool IsCommandSafePath(const SString& path) { return path.find_first_of(kCommandUnsafeCharacters) == SString::npos; }
