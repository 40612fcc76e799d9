// Whether programs can be run from a directory. A file system mounted
// noexec (a hardened /tmp) refuses it, and so may a security policy: a
// program extracted there fails with a bare "Permission denied", and a Java
// library that unpacks native code there fails to map it.
#pragma once

#include "base/SString.h"

// Empty when programs can be run from dir; otherwise why not, in words for
// the log. The mount flags are asked first; then, where a file can be made
// in dir without a name, one is mapped for execution as a program's or a
// native library's code is. A directory where no file can be made is
// judged by its mount flags alone (it fails later with its own reason).
SString WhyProgramsCannotRun(const SString& dir);
