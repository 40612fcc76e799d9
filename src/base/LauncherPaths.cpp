#include "base/LauncherPaths.h"

SString LauncherPaths::origLauncherDir() const {
  SString::size_type cut = origLauncherPath.find_last_of("/\\");
  return cut == SString::npos ? SString() : origLauncherPath.substr(0, cut);
}
