// The jobs a calling program can ask for through an input file instead of
// running the instructions. Their answers are plain lines on standard output
// for that program to read, so silent mode does not suppress them.
#pragma once

#include "base/SString.h"

void searchAction(bool showProgress, bool showFailMsg);
void searchAllAction(bool showProgress, bool showFailMsg);
void verifyAction(bool showProgress, bool showFailMsg, const SString& file, const SString& home);
void installAction(bool showProgress, bool showFailMsg, const SString& exe, const SString& dest);
