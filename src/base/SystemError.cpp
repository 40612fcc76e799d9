#include "base/SystemError.h"

#include <cstring>

SString systemError(int error) { return SString(std::strerror(error)); }
