#include "launch/ConsoleMode.h"

#include "base/LauncherException.h"
#include "base/Log.h"
#include "base/Tokenizer.h"
#include "jvm/WindowingLibrary.h"
#include "tagfile/TagFile.h"

namespace {

const char kKey[] = "CONSOLE_MODE_ARGS";

void addWords(const SString& value, StringDeque& words) {
  SString::size_type pos = 0;
  const SString::size_type length = value.length();
  while (pos != SString::npos && pos < length) {
    if (isWhite(value[pos])) {
      ++pos;
      continue;
    }
    if (value[pos] == '"') {
      ++pos;
      words.add(readArgument(value, pos, true));
      continue;
    }
    SString::size_type end = value.find_first_of(" \t\n\r", pos);
    words.add(value.substr(pos, end == SString::npos ? SString::npos : end - pos));
    pos = end;
  }
}

}  // namespace

StringDeque consoleModeValues(const TagFile& script) {
  StringDeque values;
  for (int i = 0; i < script.getValueCount(kKey); ++i) values.add(script.getValue(kKey, static_cast<unsigned>(i)));
  return values;
}

StringDeque consoleModeWords(const StringDeque& values) {
  StringDeque words;
  try {
    for (int i = 0; i < values.count(); ++i) addWords(values.get(i), words);
  } catch (const LauncherException& e) {
    throw LauncherException(SString("Launch script error: ") + kKey + ": " + e.getMessage());
  }
  return words;
}

bool consoleModeNeeded(const SString& javaHome) {
  if (!DisplayAvailable()) {
    log(SString("No display (neither DISPLAY nor WAYLAND_DISPLAY is set): the launch script's ") + kKey +
            " go before the arguments.",
        INFO);
    return true;
  }
  if (!HomeCanOpenWindows(javaHome)) {
    log("The JVM " + javaHome + " cannot open windows (it has no libawt_xawt.so): the launch script's " + kKey +
            " go before the arguments.",
        INFO);
    return true;
  }
  log(SString("A display is there and the JVM can open windows: the launch script's ") + kKey + " are not used.", INFO);
  return false;
}
