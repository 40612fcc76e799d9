#include "jvm/RejectedHomes.h"

#include "messages/Messages.h"

namespace {

// A text with the version and then the home in its placeholders.
SString withVersionAndHome(int id, const RejectedHome& rejected) {
  return FillPlaceholders(FormatMessage(id, "%s"), {rejected.version, rejected.home});
}

}  // namespace

SString rejectionText(const RejectedHome& rejected) {
  switch (rejected.reason) {
    case Rejection::kTooOld:
      return withVersionAndHome(MSG_JAVA_TOO_OLD, rejected);
    case Rejection::kTooNew:
      return withVersionAndHome(MSG_JAVA_TOO_NEW, rejected);
    case Rejection::kHeadless:
      return FormatMessage(MSG_JAVA_HEADLESS, rejected.home.c_str());
    case Rejection::kOtherMachine:
      return FormatMessage(MSG_JAVA_OTHER_MACHINE, rejected.home.c_str());
    case Rejection::kNotStarted:
      return FormatMessage(MSG_JAVA_NOT_STARTED, rejected.home.c_str());
    case Rejection::kNotTrusted:
      return FormatMessage(MSG_JAVA_NOT_TRUSTED, rejected.home.c_str());
    case Rejection::kUnsafePath:
      return FormatMessage(MSG_JAVA_UNSAFE_PATH, rejected.home.c_str());
    case Rejection::kUnfit:
      break;
  }
  return FormatMessage(MSG_JAVA_UNFIT, rejected.home.c_str());
}

void RejectedHomes::clear() { homes_.removeAll(); }

bool RejectedHomes::has(const SString& home) const {
  for (int i = 0; i < homes_.count(); ++i) {
    if (homes_.get(i)->home == home) return true;
  }
  return false;
}

void RejectedHomes::add(const SString& home, Rejection reason, const SString& version) {
  if (!has(home)) homes_.add(new RejectedHome{home, reason, version});
}

void RejectedHomes::addAll(const RejectedHomes& other) {
  for (int i = 0; i < other.count(); ++i) {
    const RejectedHome* rejected = other.get(i);
    add(rejected->home, rejected->reason, rejected->version);
  }
}

SString RejectedHomes::lines(bool logged) const {
  SString text;
  for (int i = 0; i < count() && i < kMostShown; ++i) text += (i ? "\n" : "") + rejectionText(*get(i));
  const int more = count() - kMostShown;
  if (more > 0) text += "\n" + FormatMessage(logged ? MSG_MORE_IN_LOG : MSG_MORE, fromLong(more).c_str());
  return text;
}
