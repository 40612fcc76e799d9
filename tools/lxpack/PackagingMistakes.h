// Launchers that would be written whole and still could not work: the
// packager's mistakes that the launcher itself only finds at run time, if
// at all (a search that can verify no JVM, a script that is no script, an
// instruction naming an entry the launcher does not hold). lxpack create
// refuses them before writing anything, unless told to write anyway.
#pragma once

#include <string>
#include <vector>

#include "archive/ArchiveWriter.h"

// Every mistake in the launcher these members would make, one sentence
// each, naming the file and, for scripts, the line. Tag files that cannot
// be read or parsed are left to the checks that report those.
std::vector<std::string> packagingMistakes(const std::vector<ArchiveMember>& members);
