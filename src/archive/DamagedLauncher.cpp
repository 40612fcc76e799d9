#include "archive/DamagedLauncher.h"

#include "messages/Messages.h"

DamagedLauncherException damagedEntry(const SString& entryName) {
  return DamagedLauncherException(FormatMessage(MSG_DAMAGED_ENTRY, entryName.c_str()));
}

DamagedLauncherException damagedIndex() { return DamagedLauncherException(FormatMessage(MSG_DAMAGED_INDEX, nullptr)); }

DamagedLauncherException incompleteLauncher() {
  return DamagedLauncherException(FormatMessage(MSG_DAMAGED_INCOMPLETE, nullptr));
}

DamagedLauncherException longerLauncher() {
  return DamagedLauncherException(FormatMessage(MSG_DAMAGED_LONGER, nullptr));
}
