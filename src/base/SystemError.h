// A failed system call's message ends with the system's own words for the
// error; errno is read when the message is made, so call this before
// anything else that may set it.
#pragma once

#include <cerrno>

#include "base/SString.h"

SString systemError(int error = errno);
