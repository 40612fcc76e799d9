#include "messages/TerminalCharset.h"

#include <errno.h>
#include <iconv.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// Opening a converter loads a module, and a progress dot is one message:
// the last pair asked for is kept open, or remembered as unavailable.
class ConverterCache {
 public:
  ~ConverterCache() { close(); }

  // The converter for the pair, or kNoConverter when there is none.
  iconv_t get(const char* from, const char* to) {
    if (!valid_ || from_ != from || to_ != to) {
      close();
      from_ = from;
      to_ = to;
      converter_ = iconv_open(to, from);
      valid_ = true;
    }
    return converter_;
  }

 private:
  void close() {
    if (converter_ != kNoConverter) iconv_close(converter_);
    converter_ = kNoConverter;
    valid_ = false;
  }

  std::string from_;
  std::string to_;
  iconv_t converter_ = kNoConverter;
  bool valid_ = false;
};

ConverterCache converters;

// Runs one iconv step, growing the output buffer until it fits. A null input
// asks iconv to write whatever ends the text in its initial shift state.
bool RunConverter(iconv_t converter, char** in, size_t* inLeft, std::vector<char>& buffer, size_t& used) {
  for (;;) {
    char* out = buffer.data() + used;
    size_t outLeft = buffer.size() - used;
    size_t result = iconv(converter, in, inLeft, &out, &outLeft);
    used = static_cast<size_t>(out - buffer.data());
    if (result != static_cast<size_t>(-1)) return true;
    if (errno != E2BIG) return false;
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace

SString TerminalCharset(const char* lang) {
  if (lang == nullptr) return SString();
  const char* dot = std::strchr(lang, '.');
  if (dot == nullptr) return SString();
  const char* start = dot + 1;
  return SString(start, static_cast<SString::size_type>(std::strcspn(start, "@")));
}

bool ConvertCharset(const char* text, size_t length, const char* from, const char* to, SString& out) {
  iconv_t converter = converters.get(from, to);
  if (converter == kNoConverter) return false;
  iconv(converter, nullptr, nullptr, nullptr, nullptr);

  std::vector<char> buffer(length * 2 + 16);
  size_t used = 0;
  // iconv takes a non-const input pointer but only reads through it.
  char* in = const_cast<char*>(text);
  size_t inLeft = length;
  if (!RunConverter(converter, &in, &inLeft, buffer, used) ||
      !RunConverter(converter, nullptr, nullptr, buffer, used)) {
    return false;
  }
  // A target such as UTF-16 puts NUL bytes into text that is handled as a C
  // string from here on; such a result is no use.
  if (std::memchr(buffer.data(), '\0', used) != nullptr) return false;
  out.assign(buffer.data(), static_cast<SString::size_type>(used));
  return true;
}
