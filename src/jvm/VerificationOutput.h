// A candidate JVM proves itself by running the verification class, which
// prints a magic line and then the value of every system property named on
// its command line, one per line ("null" for a property that is not set).
// Anything the JVM prints before the magic line (warnings, banners) is
// ignored.
#pragma once

#include "base/Deque.h"
#include "base/SString.h"

extern const char* const kVerificationMagic;

// True when the output holds the magic line followed by one line per
// property that matches its expected value: exactly, or by prefix when the
// expected value ends in "..." (so "..." alone accepts any value). A
// property that is not set never matches a required value. Output that ends
// before every property has been reported fails.
bool checkVerificationOutput(const SString& output, const StringPairPtrDeque& properties);
