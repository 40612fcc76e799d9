// The names packagers use for the launcher's file types.
#pragma once

#include <string>

// A type name or number, 0 to 8; -1 for anything else.
int parseFileType(const std::string& text);
const char* fileTypeName(int type);
