#include "support/SourceDir.h"

// The build defines it for this file alone: __FILE__ would not do, as a
// compiler cache may compile with paths relative to the build directory,
// and only this one file is compiled again for each clone.
std::string SourceDir() { return LX_SOURCE_DIR; }
