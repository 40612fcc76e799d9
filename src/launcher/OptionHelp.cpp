#include "launcher/OptionHelp.h"

#include "messages/Messages.h"

namespace {

// The option as typed, with the value it takes, and the catalogue text that
// says what it does. -lx:orig is left out: it serves the hand-over to an
// embedded launcher and deletes the launcher file, nothing a user should
// type.
struct OptionLine {
  const char* usage;
  int description;
};

const OptionLine kOptionLines[] = {
    {"-lx:help", MSG_HELP_FIRST_OPTION},
    {"-lx:version", MSG_HELP_FIRST_OPTION + 1},
    {"-lx:log FILE", MSG_HELP_FIRST_OPTION + 2},
    {"-lx:javahome DIR", MSG_HELP_FIRST_OPTION + 3},
    {"-lx:tempdir DIR", MSG_HELP_FIRST_OPTION + 4},
    {"-lx:silent", MSG_HELP_FIRST_OPTION + 5},
    {"-lx:javaconsole", MSG_HELP_FIRST_OPTION + 6},
    {"-lx:extract", MSG_HELP_FIRST_OPTION + 7},
    {"-lx:in FILE", MSG_HELP_FIRST_OPTION + 8},
    {"-cp:p ENTRIES", MSG_HELP_FIRST_OPTION + 9},
    {"-cp:a ENTRIES", MSG_HELP_LAST_OPTION},
};

// Wide enough for the longest usage and two blanks after it.
const SString::size_type kUsageColumn = 20;

}  // namespace

void printOptionHelp() {
  PrintMessage(FormatMessage(MSG_HELP_HEADING, nullptr));
  for (const OptionLine& option : kOptionLines) {
    SString line = SString("  ") + option.usage;
    while (line.length() < kUsageColumn) line += " ";
    PrintMessage(line + FormatMessage(option.description, nullptr));
  }
}
