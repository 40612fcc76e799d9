// The optional diagnostic log. The file is opened, appended to and closed
// for every line, so each line is on disk before the next step runs, even
// when the process image is replaced right after. Logging never fails.
#pragma once

#include "base/SString.h"

enum LogLevel { INFO = 0, WARNING = 1, ERROR = 2 };

// An empty name switches the log off.
void setLogFile(const SString& name);
SString getLogFile();

void log(const SString& message, int level);
void log(const char* message, int level);
