// How a file that cannot be written is reported: the file, the system's
// reason, and the hint about -lx:tempdir only where the reason is a lack of
// space (a full disk or a used-up quota). Too many open files or a name too
// long have nothing to do with free space.
#pragma once

#include "base/LauncherException.h"
#include "base/SString.h"

// A file that could not be written, with the launcher's text for it; a
// caller with other advice to give (lxpack has no -lx:tempdir) words it
// from the path and the system error.
class WriteFailure : public LauncherException {
 public:
  WriteFailure(const SString& text, const SString& path, int error)
      : LauncherException(text), path_(path), error_(error) {}
  const SString& path() const { return path_; }
  int error() const { return error_; }

 private:
  SString path_;
  int error_;
};

// "Error writing file = PATH: REASON." followed by the hint for ENOSPC and
// EDQUOT.
SString writeFailureText(const SString& path, int error);
WriteFailure writeFailure(const SString& path, int error);
