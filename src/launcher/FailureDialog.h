// Most users start a downloaded setup wizard from a file manager. Then the
// launcher has no terminal: what it prints goes to /dev/null or the
// session's journal, and a failure would end the run without a word on the
// screen. So a failure that ends the run is also shown in a dialog of the
// desktop, when the launcher has no terminal and the session has a display.
#pragma once

#include "base/SString.h"

// Whether a dialog is the only way the user sees a message: no standard
// stream (input, output, error) is a terminal, and DISPLAY or
// WAYLAND_DISPLAY is set.
bool failureDialogNeeded();

// Shows message (the text the console got, in the console's character set)
// in a dialog titled with the launcher's title, or the launcher file's name
// when it has none, with the log file's path under it when there is a log,
// and waits until the user closes it (10 minutes at most, or until the
// launcher is asked to end, which ends the dialog as well). Does nothing
// when failureDialogNeeded is false; with no dialog program on PATH the log
// says so.
void showFailureDialog(const SString& message);
