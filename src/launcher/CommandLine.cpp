#include "launcher/CommandLine.h"

#include "launcher/Settings.h"

CommandLine parseCommandLine(const StringDeque& args) {
  CommandLine line;
  const int count = args.count();
  int i = 0;
  for (; i < count; ++i) {
    const SString& arg = args.get(i);
    if (arg == "--") {
      ++i;
      break;
    }
    const LauncherOption* option = findLauncherOption(arg);
    if (!option) break;
    const bool hasValue = option->valueName && i + 1 < count;
    line.options.push_back({option, hasValue, hasValue ? args.get(++i) : SString()});
  }
  for (; i < count; ++i) line.programArguments.push_back(args.get(i));
  return line;
}

void applyCommandLine(const CommandLine& line, OptionRun& run) {
  for (const OptionUse& use : line.options) {
    const LauncherOption& option = *use.option;
    if (!option.valueName || use.hasValue) {
      option.act(run, use.value);
    } else if (option.actWithoutValue) {
      option.actWithoutValue(run, option.name);
    }
  }
  for (const SString& argument : line.programArguments) settings().passOnArgs.add(argument);
}
