#include "launcher/OptionHelp.h"

#include "launcher/LauncherOptions.h"
#include "messages/Messages.h"

namespace {

// Wide enough for the longest option with its value and two blanks after it.
const SString::size_type kUsageColumn = 20;

}  // namespace

void printOptionHelp() {
  PrintMessage(FormatMessage(MSG_HELP_HEADING, nullptr));
  for (int i = 0; i < kLauncherOptionCount; ++i) {
    const LauncherOption& option = kLauncherOptions[i];
    if (option.helpText == kNotListed) continue;
    SString line = SString("  ") + option.name;
    if (option.valueName) line += SString(" ") + option.valueName;
    while (line.length() < kUsageColumn) line += " ";
    PrintMessage(line + FormatMessage(option.helpText, nullptr));
  }
}
