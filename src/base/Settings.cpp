#include "base/Settings.h"

LauncherSettings& settings() {
  static LauncherSettings instance;
  return instance;
}

SString origLauncherDir() {
  const SString& path = settings().origLauncherPath;
  SString::size_type cut = path.find_last_of("/\\");
  return cut == SString::npos ? SString() : path.substr(0, cut);
}
