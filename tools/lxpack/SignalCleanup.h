// Files lxpack has made and must not leave behind when Ctrl-C, kill or a
// closed terminal ends it: a half-written launcher, the files it generated
// to pack. The signal handler removes them (files first, then their
// directories, newest first) and ends lxpack with the signal; it reads a
// fixed table, since a handler may not allocate.
#pragma once

#include <string>

// Registers a file or an (by then empty) directory; throws PackError for a
// path too long or a full table. The first registration starts watching
// SIGINT, SIGTERM and SIGHUP.
void removeOnSignal(const std::string& path);
// Forgets it again (it was removed, or it is to stay); the last one stops
// the watching.
void keepOnSignal(const std::string& path);
