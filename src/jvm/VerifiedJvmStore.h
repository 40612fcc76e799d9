// The store of verified JVMs: what the verification class printed for a
// candidate, remembered so that a later run (of this launcher or of any
// other made with this project) need not start the same JVM again. An
// answer is only used for exactly the key it was stored under, and the key
// holds everything that could change it: the java file (path, device,
// inode, size, modification and status-change times), the files it loads
// to run (its JVM library, the class library, the release file, and the
// like, whether there or missing), the verification class (a checksum of
// its bytes, and its name), the property names asked and the settings that
// reach the JVM through the environment. Something the key cannot see may
// still break a JVM: when the launch made with an answer fails at once and
// nothing shows that the JVM reached the program, the launcher forgets
// the answer (forgetAnswers) and verifies the JVM again.
//
// The store is one file, $XDG_CACHE_HOME/lxlauncher/verified-jvms (or
// ~/.cache/lxlauncher/...), private to its owner, replaced as a whole
// (a temporary file renamed over it) and bounded to the newest entries. A
// store that is damaged, foreign or unreadable is ignored and written
// anew. There is none when HOME is unset, and LX_JVM_CACHE=0 turns it off.
#pragma once

#include "base/Deque.h"
#include "base/SString.h"

struct VerificationKey {
  SString executable;  // the java file asked about
  // Everything the answer depends on, as one text.
  SString text;
  // The same without the java file's status: a newer answer for the same
  // slot replaces the older one instead of piling up.
  SString slot;
};

// The most entries kept; the oldest go first.
const int kMostStoredAnswers = 100;

// False when the store is turned off (LX_JVM_CACHE=0).
bool verifiedJvmStoreEnabled();
// The store file, or empty when there can be none (HOME unset).
SString verifiedJvmStorePath();

// Builds the key of one verification. False when there is none: the java
// file or an entry of the class path is not a readable file.
bool makeVerificationKey(const SString& executable, const SString& classPath, const SString& className,
                         const StringPairPtrDeque& properties, const SString& context, VerificationKey& key);

bool findStoredAnswer(const VerificationKey& key, SString& answer);
// Adds the answer, merged with what other launchers stored meanwhile.
// Failures are logged and otherwise ignored: the store only saves time.
void storeAnswer(const VerificationKey& key, const SString& answer);

// Whether this run took an answer for the java file from the store.
bool answerWasRecalled(const SString& executable);
// Whether the java file or the runtime's files (RuntimeFiles.h) are no
// longer as they were when this run took the answer for it: something
// changed the JVM since. False when no answer was taken for it.
bool recalledFilesChanged(const SString& executable);
// Removes every stored answer for the java file, so that the next search
// starts it again.
void forgetAnswers(const SString& executable);
