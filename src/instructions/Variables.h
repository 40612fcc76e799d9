// The script variables: N1 to N5 hold numbers, S1 to S10 texts. There is one
// store for the whole run; the interpreter puts what an operation such as
// findJVM returned into it, for the next script line.
#pragma once

#include "base/SString.h"

// A parsed reference such as N1 or s10 (the type is kept upper case).
struct VariableRef {
  char type;
  long number;
};

bool isValidStringVariable(long n);
bool isValidNumericVariable(long n);

// The getters and setters throw LauncherException for an invalid number.
SString getStringVariable(long n);
void setStringVariable(long n, const SString& text);
long getNumericVariable(long n);
void setNumericVariable(long n, long value);

// Back to the start-of-run state: every S empty, every N 0. The launcher
// itself never resets the store; tests do, so they cannot see each other.
void resetVariables();
