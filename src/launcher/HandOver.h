// The hand-over from a launcher to the launcher embedded in it. The embedded
// one is started with -lx:orig and removes its own file and directory when
// it ends, so -lx:orig must not be something a user, or a program's
// argument that looks like it, can give: the launcher that hands over
// proves it did. It passes an inherited pipe holding a random token and the
// directory it handed over; the descriptor's number and the same token
// travel in an environment variable that nothing else sets.
#pragma once

#include "base/SString.h"

// Handing over, just before this process image is replaced: makes the proof
// for the directory and returns the pipe's descriptor, or -1 with errno set.
int OfferHandOver(const SString& directory);

// The image was not replaced: the variable and the pipe go again.
void WithdrawHandOver(int descriptor);

// Taking over, first thing at start: reads the proof a launcher left, if
// any, and takes the variable out of the environment and closes the pipe,
// so neither reaches the programs this launcher starts.
void ReceiveHandOver();

// True when the launcher that started this one proved that it handed over
// the directory holding launcherPath. Once only: the hand-over's own
// -lx:orig comes first, and one among the user's arguments that it passes
// on after it is refused as anyone else's.
bool TakeHandOverFor(const SString& launcherPath);
