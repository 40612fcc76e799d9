// The programs that can show a message on a Linux desktop, in the order
// they are tried, and how each one wants its title and text: no two agree.
#pragma once

#include "base/Deque.h"
#include "base/SString.h"

struct DialogTool {
  const char* name;
  // The arguments after the program's name that show the text as an error
  // in a window with the title, null-terminated. A word that ends in "%T"
  // or "%X" ends in the title or the text instead ("--title=%T").
  const char* const* arguments;
  // yad reads C escapes (\n, \t, \101, \\) in its text, also without
  // markup: each backslash is doubled so that the text comes out as it was.
  bool readsEscapes;
  // The text stands alone among the options (xmessage): one beginning
  // with a dash would be taken for an option, so a blank goes in front.
  bool textStandsAlone;
};

// zenity, kdialog, yad, Xdialog, gxmessage, xmessage.
extern const DialogTool kDialogTools[];
extern const int kDialogToolCount;

// The arguments of tool for a title and a text, both UTF-8.
StringDeque dialogArguments(const DialogTool& tool, const SString& title, const SString& text);

// The names of the tools, joined with ", " (for the log).
SString dialogToolNames();

// The first tool of the list found in an absolute directory of PATH (a
// relative one, the empty entry included, would be the directory the user
// happens to be in: a file manager's Downloads, say) as a file that may be
// run, with its path in path; null when there is none.
const DialogTool* findDialogTool(SString& path);
