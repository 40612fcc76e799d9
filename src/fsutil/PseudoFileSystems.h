// File systems that the kernel makes up on the fly (/proc, /sys, cgroups,
// debugfs, ...) cannot hold a Java installation, yet some of them hold
// hundreds of thousands of entries, and reading them can be slow or have
// side effects. The file search leaves them out, recognising them by type
// (statfs f_type), never by where they happen to be mounted.
#pragma once

bool IsPseudoFileSystem(long fileSystemType);
