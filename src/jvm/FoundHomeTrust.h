// The launcher finds some homes by itself: the usual install places, path
// hints with "~" or wildcards, the walk over every disk. Such places are
// often open to others (an /opt/vendor directory or a Linuxbrew prefix
// owned by an ordinary user, /var/tmp), and what the launcher finds there
// it would run as whoever runs it, root included: a home planted with a
// release file that claims the newest Java would be the first one started.
// So a home the launcher found itself is only started when nobody but root
// and this user could have put its java there or changed it. Homes the user
// or the packager named (the java home option, JAVA_HOME and the other
// platform hints, literal path hints, PATH) are their choice and are not
// judged so.
#pragma once

#include "base/SString.h"

// Whether whoever started the launcher, or the packager, named the home,
// or the launcher came upon it by itself.
enum class HomeOrigin {
  kNamed,
  kFound,
};

// Empty when the executable, and every directory above it (both as found
// and after resolving links), belongs to root or to the launcher's user
// and cannot be changed by others: a directory writable by group or others
// counts only when its sticky bit keeps their hands off other's files.
// Otherwise the reason it is not trusted.
SString distrustReason(const SString& executable);
