// The console state every output function of the launcher shares. It lives
// for the whole run; the run sequence sets the silent flag from the command
// line and switches the progress display on and off as the run goes.
#pragma once

#include <cstdio>

#include "base/SString.h"

struct ConsoleState {
  // -lx:silent: nothing at all is written to the console.
  int silent = 0;
  // Status texts, steps, dots, the title and the prompt text are shown.
  int progressOn = 1;
  // Progress position, counted in dots.
  int progressPos = 0;
  // Line breaks already written for the dots: one per 70 positions.
  int progressLines = 0;
  // Kind of the step under way (StepKind).
  int lastStep = 0;
  // Dots have been written since the last line feed: the next other output
  // ends their line first.
  bool dotLineOpen = false;
  // Messages, status texts and dots go to standard error, so that standard
  // output carries only what the launched program writes.
  bool toStandardError = false;
  SString title;
  // The title as the launch script or input file gave it, escapes and all,
  // for those who show it in another character set than the terminal's.
  SString rawTitle;
  // Null means the standard stream chosen above and standard input; tests
  // put files here.
  FILE* out = nullptr;
  FILE* in = nullptr;
};

extern ConsoleState consoleState;
