// The programs that can show a message on a Linux desktop, in the order
// they are tried, and how each one wants its title and text: no two agree.
#pragma once

#include "base/Deque.h"
#include "base/SString.h"

struct DialogTool {
  const char* name;
  // The arguments after the program's name that show text as an error
  // message in a window titled title. Both are UTF-8.
  StringDeque (*arguments)(const SString& title, const SString& text);
};

// zenity, kdialog, yad, Xdialog, gxmessage, xmessage.
extern const DialogTool kDialogTools[];
extern const int kDialogToolCount;

// The names of the tools, joined with ", " (for the log).
SString dialogToolNames();

// The first tool of the list found in an absolute directory of PATH (a
// relative one, the empty entry included, would be the directory the user
// happens to be in: a file manager's Downloads, say) as a file that may be
// run, with its path in path; null when there is none.
const DialogTool* findDialogTool(SString& path);
