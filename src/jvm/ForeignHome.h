// A JVM home made for another machine cannot run here, and starting it to
// find out costs a JVM start at best: the kernel refuses it ("Exec format
// error", or "No such file or directory" for a missing program
// interpreter), or binfmt hands it to an emulator that runs it ten times
// slower. Its files tell beforehand: the ELF header of its java (the
// machine it was built for, the program interpreter it needs) and the
// OS_ARCH line of its release file.
#pragma once

#include "base/SString.h"

// Empty when nothing says the home cannot run here; otherwise why not, as
// a phrase such as "its java (/opt/x/bin/java) is a program for aarch64,
// and this machine runs x86_64 programs". A java that is a script, or
// whose files cannot be read, is left to the verification run.
SString whyHomeCannotRunHere(const SString& home, const SString& executable);
