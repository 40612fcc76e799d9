// The class path of a %CP% call, put together from up to nine sources in
// this order: -cp:p, the .cp1 side file, the JVM's JVM_CLASSPATH, the .cp
// side file, the call's arguments, the launch script's ARCHIVE, the class
// path archives embedded in the launcher, the .cp2 side file and -cp:a.
// Entries are joined with the JVM's CLASSPATH_SEPARATOR and not quoted:
// quotes written in an argument reach the shell as they are.
#pragma once

#include "base/Deque.h"
#include "base/SString.h"
#include "jvm/JVMFile.h"
#include "jvm/RunContext.h"
#include "launch/CarriedValues.h"

// Returns the call's value: the JVM's CLASSPATH option text followed by the
// class path, or empty when there is no entry. A JVM with USE_CP_ENV_VAR 1
// gets the class path through the variable CP_ENV_VAR instead (with the
// quotes around arguments and ARCHIVE removed), and the call yields empty.
// archive is the script's ARCHIVE value with its functions expanded. The
// extracted archives' paths go into the option as tokens of carried, and
// the variable gets every carried value as it is. The user's sources, the
// side files and the embedded archives are those of context.
SString buildClassPath(const RunContext& context, JVMFile* jvm, const StringDeque& args, const SString& archive,
                       bool addEmbeddedEntries, CarriedValues& carried);
