#include "Arguments.h"

#include <cerrno>
#include <cstdlib>

#include "Usage.h"

Arguments::Arguments(int argc, char** argv, int first) {
  for (int i = first; i < argc; ++i) args_.push_back(argv[i]);
}

bool Arguments::takeOption(const char* shortName, const char* longName, std::string& value) {
  if (done() || optionsEnded_) return false;
  const std::string& arg = current();
  const std::string joined = std::string(longName) + "=";
  if (arg.compare(0, joined.size(), joined) == 0) {
    value = arg.substr(joined.size());
    ++pos_;
    return true;
  }
  if (arg != longName && !(shortName && arg == shortName)) return false;
  if (pos_ + 1 >= args_.size()) throw UsageError("option " + arg + " needs a value");
  value = args_[pos_ + 1];
  pos_ += 2;
  return true;
}

bool Arguments::takeFlag(const char* shortName, const char* longName) {
  if (done() || optionsEnded_) return false;
  if (current() != longName && !(shortName && current() == shortName)) return false;
  ++pos_;
  return true;
}

std::string Arguments::takeOperand() {
  if (!optionsEnded_ && current() == "--") {
    optionsEnded_ = true;
    ++pos_;
    if (done()) throw UsageError("missing operand after --");
  }
  const std::string& arg = current();
  if (!optionsEnded_ && arg.size() > 1 && arg[0] == '-') throw UsageError("unknown option " + arg);
  ++pos_;
  return arg;
}

int64_t parseNumber(const std::string& text, int64_t min, int64_t max, const std::string& what) {
  errno = 0;
  char* end = nullptr;
  long long value = std::strtoll(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || errno != 0 || value < min || value > max) {
    throw UsageError("invalid " + what + " '" + text + "': expected a number from " + std::to_string(min) + " to " +
                     std::to_string(max));
  }
  return value;
}
