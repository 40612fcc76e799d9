// A user whose computer has Java, but none that the program takes, is
// helped by hearing what was found and why it was passed over ("Java 17 at
// /usr/lib/jvm/java-17-openjdk-amd64 is too old") far more than by "none
// was found". The search notes each home it turns down here, with a reason
// short enough for that user; the log keeps the long story.
#pragma once

#include "base/Deque.h"
#include "base/SString.h"

// Why a Java found on the machine was not taken.
enum class Rejection {
  kTooOld,        // older than every version the description accepts
  kTooNew,        // newer than every version it accepts
  kHeadless,      // cannot open windows, and the program needs them
  kOtherMachine,  // built for another processor or system
  kNotStarted,    // it did not start, or gave no answer
  kNotTrusted,    // others could have planted or changed it
  kUnsafePath,    // its path cannot be passed on in a command
  kUnfit,         // it answered, but not with what the description asks
};

struct RejectedHome {
  SString home;
  Rejection reason;
  // The version as the user reads it ("17"); needed for kTooOld and
  // kTooNew, empty when unknown.
  SString version;
};

// The user's sentence for one home, in the user's language.
SString rejectionText(const RejectedHome& rejected);

class RejectedHomes {
 public:
  // How many homes the user is shown by name; the rest are counted.
  static const int kMostShown = 3;

  void clear();
  // Each home once, in the order found: the first reason given for it
  // stands.
  void add(const SString& home, Rejection reason, const SString& version = SString());
  // The homes of other in turn, those already here left out.
  void addAll(const RejectedHomes& other);
  int count() const { return homes_.count(); }
  const RejectedHome* get(int i) const { return homes_.get(i); }

  // One line per home for the first kMostShown, then "and N more, see the
  // log." (logged: the run has a log, where the search names every one) or
  // "and N more."; empty when there are none.
  SString lines(bool logged) const;

 private:
  bool has(const SString& home) const;

  PtrDeque<RejectedHome> homes_;
};
