#include "launch/Quoting.h"

#include <cstring>

namespace {

SString QuoteEscaping(const SString& value, const char* escaped) {
  SString quoted("\"");
  for (SString::size_type i = 0; i < value.length(); ++i) {
    char c = value[i];
    if (c != '\0' && std::strchr(escaped, c) != nullptr) quoted += '\\';
    quoted += c;
  }
  quoted += '"';
  return quoted;
}

}  // namespace

SString quoteForShell(const SString& value) { return QuoteEscaping(value, "\\\"$`"); }

SString quoteForSplitter(const SString& value) { return QuoteEscaping(value, "\\\""); }
