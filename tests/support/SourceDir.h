// The project's source directory, for tests that read shipped files (the
// demo's script, the translators' files).
#pragma once

#include <string>

std::string SourceDir();
