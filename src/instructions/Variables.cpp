#include "instructions/Variables.h"

#include "base/LauncherException.h"

namespace {

const long kStringVariableCount = 10;
const long kNumericVariableCount = 5;

SString gStringVariables[kStringVariableCount];
long gNumericVariables[kNumericVariableCount];

void checkStringVariable(long n) {
  if (!isValidStringVariable(n)) throw LauncherException("Invalid string variable number: " + fromLong(n));
}

void checkNumericVariable(long n) {
  if (!isValidNumericVariable(n)) throw LauncherException("Invalid numeric variable number: " + fromLong(n));
}

}  // namespace

bool isValidStringVariable(long n) { return n >= 1 && n <= kStringVariableCount; }

bool isValidNumericVariable(long n) { return n >= 1 && n <= kNumericVariableCount; }

SString getStringVariable(long n) {
  checkStringVariable(n);
  return gStringVariables[n - 1];
}

void setStringVariable(long n, const SString& text) {
  checkStringVariable(n);
  gStringVariables[n - 1] = text;
}

long getNumericVariable(long n) {
  checkNumericVariable(n);
  return gNumericVariables[n - 1];
}

void setNumericVariable(long n, long value) {
  checkNumericVariable(n);
  gNumericVariables[n - 1] = value;
}

void resetVariables() {
  for (SString& s : gStringVariables) s = SString();
  for (long& n : gNumericVariables) n = 0;
}
