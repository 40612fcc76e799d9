// A small scanner for lxpack's command lines: options in their short form
// with a separate value (-o FILE), their long form with a separate or joined
// value (--output FILE, --output=FILE), and operands. "--" ends the options.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class Arguments {
 public:
  Arguments(int argc, char** argv, int first);

  bool done() const { return pos_ >= args_.size(); }
  const std::string& current() const { return args_[pos_]; }

  // True when the current argument is this option; value receives its value
  // and the scanner moves past both. shortName may be null.
  bool takeOption(const char* shortName, const char* longName, std::string& value);
  bool takeFlag(const char* shortName, const char* longName);
  // The current argument as an operand; an unknown option is a UsageError.
  std::string takeOperand();

 private:
  std::vector<std::string> args_;
  size_t pos_ = 0;
  bool optionsEnded_ = false;
};

// Whole-text decimal numbers within [min, max]; anything else is a
// UsageError naming what the number was for.
int64_t parseNumber(const std::string& text, int64_t min, int64_t max, const std::string& what);
