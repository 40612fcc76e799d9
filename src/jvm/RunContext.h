// What the code below the launcher knows of the run: the launcher's paths,
// the user's options, the launcher's archive and how a candidate JVM is
// verified. The launcher makes one and hands it to the JVM descriptions and
// launch scripts it builds; they hold it by reference, so values the
// launcher sets later (an option read after the context exists) are seen.
#pragma once

#include "base/LauncherPaths.h"
#include "base/UserOptions.h"

class LauncherFile;
class VerificationRunner;

struct RunContext {
  const LauncherPaths& paths;
  const UserOptions& options;
  LauncherFile& archive;
  VerificationRunner& verification;
};
