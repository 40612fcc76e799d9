#include "launcher/Settings.h"

LauncherSettings& settings() {
  static LauncherSettings instance;
  return instance;
}
