// A launcher file whose bytes are not what the packer wrote: an entry or the
// file index that does not match its recorded checksum, a file cut short, or
// one with bytes appended after its end.
// Nothing in such a file can be trusted, so the run ends before any
// instruction runs, and the user is told to download it again.
#pragma once

#include "base/LauncherException.h"
#include "base/SString.h"

class DamagedLauncherException : public LauncherException {
 public:
  using LauncherException::LauncherException;
};

// The messages, in the user's language.
DamagedLauncherException damagedEntry(const SString& entryName);
DamagedLauncherException damagedIndex();
DamagedLauncherException incompleteLauncher();
// The file goes on after its trailer: bytes were appended to it.
DamagedLauncherException longerLauncher();
