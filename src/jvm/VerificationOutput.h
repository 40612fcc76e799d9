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
// before every property has been reported fails. When it fails and why is
// given, why tells the first thing that did not meet the description.
bool checkVerificationOutput(const SString& output, const StringPairPtrDeque& properties, SString* why = nullptr);

// The part of the output that is the verification class's answer: the
// magic line and one line per property, trimmed. False when the output
// does not hold a complete answer (a JVM that failed to start, or died
// half-way), which is then not worth remembering.
bool verificationAnswer(const SString& output, int propertyCount, SString& answer);

// The value the output reports for the property at index (from 0) of the
// properties asked; empty when there is no such line.
SString reportedPropertyValue(const SString& output, int index);
