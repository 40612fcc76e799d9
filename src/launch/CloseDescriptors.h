// The launcher's helper processes (the keeper of late output, the witness
// of group signals) are forks that outlive the moment they were made in:
// a descriptor they kept would hold a pipe open that the launcher closes
// (the capture pipes, whose end of file tells that the command is done),
// or a caller's terminal or pipe.
#pragma once

// Closes every descriptor from first on.
void CloseDescriptorsFrom(int first);
