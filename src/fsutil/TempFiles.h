// Everything the launcher extracts or generates lives in uniquely named
// temporary files and directories ("lxj" and six letters or digits under the
// temporary root), registered when created and removed when the run ends.
#pragma once

#include "base/SString.h"

// Sets the base directory when path names an existing directory; otherwise
// does nothing.
void SetTempRoot(const SString& path);
// The base directory; "/tmp" when none was set (and from then on).
SString GetTempRoot();

SString CreateTempDir();
SString CreateTempFile();
void UnregisterTempFile(const SString& path);
void UnregisterTempDir(const SString& path);

// The clean-up at exit: registered files, then registered directories.
void RemoveTempFiles();
// Deletes a directory with everything below it, or a single file.
void RemovePath(const SString& path);
