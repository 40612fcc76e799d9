// -lx:help: the launcher's own options, one line each, in the user's
// language. Every other argument belongs to the launched program.
#pragma once

void printOptionHelp();
