// Makes one system call of the calling process answer an error of the
// test's choosing, as a kernel that lacks it or a container's filter would,
// for tests of the fallbacks that keep the result the same. The denial is
// for good and passes to children: call it only in a forked copy
// (InForkedProcess). Denials add up.
#pragma once

// From now on the call numbered number returns answer without running:
// -1 with errno = answer, or 0 when answer is 0 (a call that claims to have
// done nothing). Returns false when the system does not let the process
// filter its calls.
bool DenySystemCall(long number, int answer);

// The same, only for calls whose argument (counted from 0; a C int) is
// value, such as one request of fcntl or madvise.
bool DenySystemCallWhen(long number, int argument, int value, int answer);
