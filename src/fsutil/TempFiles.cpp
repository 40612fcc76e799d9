#include "fsutil/TempFiles.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>

#include "base/Deque.h"
#include "base/LauncherException.h"
#include "base/Log.h"
#include "base/OpenFiles.h"
#include "fsutil/CacheDirectory.h"
#include "fsutil/CommandSafePath.h"
#include "fsutil/DeleteFullDir.h"
#include "fsutil/DirectoryTrust.h"
#include "fsutil/ProgramsAllowed.h"
#include "messages/Messages.h"

namespace {

SString& tempRoot() {
  static SString root;
  return root;
}

// The directory that allows running programs, once the run needed one and
// the usual one did not allow it; empty otherwise.
SString& movedDirectory() {
  static SString moved;
  return moved;
}

StringDeque& tempFiles() {
  static StringDeque files;
  return files;
}

StringDeque& tempDirs() {
  static StringDeque dirs;
  return dirs;
}

bool contains(const StringDeque& list, const SString& value) {
  for (int i = 0; i < list.count(); ++i) {
    if (list.get(i) == value) return true;
  }
  return false;
}

bool isExistingDirectory(const char* path) {
  struct stat status;
  return stat(path, &status) == 0 && S_ISDIR(status.st_mode);
}

// A relative directory is made absolute against the current directory:
// every path made in it is handed to children that run elsewhere.
SString absolutePath(const SString& dir) {
  if (dir.empty() || dir[0] == '/') return dir;
  char* cwd = getcwd(nullptr, 0);
  if (cwd == nullptr)
    throw LauncherException(FormatMessage(MSG_ERROR_TEMP_DIR, dir.c_str()) + ": " + std::strerror(errno));
  SString absolute(cwd);
  std::free(cwd);
  if (absolute != "/") absolute += '/';
  return absolute + dir;
}

// The places temporary files may go, in order: the user's own choices
// first, then the system's directories, then the user's runtime directory,
// then a private directory in the user's cache, made only when the search
// gets that far.
const int kTempPlaces = 6;

SString tempPlace(int place, TempPlaceKind& kind) {
  kind = TempPlaceKind::Shared;
  const char* value = nullptr;
  switch (place) {
    case 0:
      value = secure_getenv("TMPDIR");
      return value != nullptr && value[0] != '\0' ? absolutePath(value) : SString();
    case 1:
      return GetTempRoot();
    case 2:
      return "/tmp";
    case 3:
      return "/var/tmp";
    case 4:
      // Relative values are to be ignored, as the base directory rules say.
      kind = TempPlaceKind::RuntimeDirectory;
      value = secure_getenv("XDG_RUNTIME_DIR");
      return value != nullptr && value[0] == '/' ? SString(value) : SString();
    default:
      return PrivateCacheDirectory("tmp");
  }
}

// Whether the reason a place is refused was logged already: the places are
// looked at again whenever a temporary name is made, and the log tells each
// reason once.
bool firstTimeRefused(const SString& line) {
  static StringDeque logged;
  if (contains(logged, line)) return false;
  logged.add(line);
  return true;
}

// The place's directory, resolved, when it exists and may hold the
// launcher's files; empty otherwise, and then why gives the reason, which
// is also logged. checked names the directory looked at (resolved where it
// can be), or is empty when the place is not set or is no directory.
SString usableTempPlace(int place, SString& checked, SString& why) {
  TempPlaceKind kind;
  checked = tempPlace(place, kind);
  why = SString();
  if (checked.empty() || !isExistingDirectory(checked.c_str())) {
    checked = SString();
    return SString();
  }
  SString resolved;
  why = WhyTempPlaceIsRefused(checked, kind, resolved);
  if (!resolved.empty()) checked = resolved;
  if (why.empty()) return checked;
  SString line("The temporary directory ");
  line += checked;
  line += " is not used: ";
  line += why;
  line += '.';
  if (firstTimeRefused(line)) log(line, WARNING);
  return SString();
}

SString joined(const StringDeque& names) {
  SString text;
  for (int i = 0; i < names.count(); ++i) text += (i == 0 ? "" : ", ") + names.get(i);
  return text;
}

// Six letters or digits. They only need to be hard to guess: uniqueness
// comes from creating the name exclusively, never from checking it first.
SString randomSuffix() {
  static const char kAlphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  static uint64_t fallbackState = 0;
  unsigned char bytes[6];
  // The system call itself rather than the C library's wrapper, which would
  // tie the launcher to C libraries from 2017 on.
  if (syscall(SYS_getrandom, bytes, sizeof bytes, GRND_NONBLOCK) != static_cast<long>(sizeof bytes)) {
    // Kernels without getrandom, or a filter refusing it with any error or
    // answering short: a time- and process-seeded sequence.
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    fallbackState += static_cast<uint64_t>(now.tv_nsec) ^ (static_cast<uint64_t>(getpid()) << 32) ^
                     static_cast<uint64_t>(now.tv_sec);
    for (unsigned char& b : bytes) {
      fallbackState = fallbackState * 6364136223846793005ULL + 1442695040888963407ULL;
      b = static_cast<unsigned char>(fallbackState >> 56);
    }
  }
  SString suffix;
  for (unsigned char b : bytes) suffix += kAlphabet[b % (sizeof kAlphabet - 1)];
  return suffix;
}

// Tries fresh names until create makes one that did not exist. A name that
// is taken (by chance, or by someone racing for it) is never reused: create
// must fail with EEXIST on an existing path, links included. Returns 0, or
// the system error of the last attempt; name is the last name tried.
const int kNameAttempts = 1000;

template <class Create>
int createUniquely(Create create, SString& name) {
  SString dir = TempDirectory();
  if (dir != "/") dir += '/';
  int error = EEXIST;
  for (int attempt = 0; attempt < kNameAttempts && error == EEXIST; ++attempt) {
    name = dir + "lxj" + randomSuffix();
    if (create(name)) return 0;
    error = errno;
  }
  return error;
}

void unregister(StringDeque& list, const SString& path) {
  for (int i = 0; i < list.count(); ++i) {
    if (list.get(i) == path) {
      list.removeAt(i);
      return;
    }
  }
}

// The launcher's own executable, once the launcher was told to remove it at
// exit; empty otherwise.
SString& ownExecutable() {
  static SString path;
  return path;
}

// The executable goes, and then its directory, if empty by now.
void removeOwnExecutable(const SString& path) {
  unlink(path.c_str());
  SString::size_type cut = path.rfind('/');
  if (cut != SString::npos && cut > 0) rmdir(path.substr(0, cut).c_str());
}

// The clean-up runs also when memory has run out: a path it cannot remove
// for want of memory does not keep it from the others.
void removeEach(const StringDeque& paths) {
  for (int i = 0; i < paths.count(); ++i) {
    try {
      RemovePath(paths.get(i));
    } catch (const std::bad_alloc&) {
      continue;
    }
  }
}

}  // namespace

void SetTempRoot(const SString& path) {
  if (isExistingDirectory(path.c_str())) tempRoot() = absolutePath(path);
}

SString GetTempRoot() {
  if (tempRoot().empty()) tempRoot() = "/tmp";
  return tempRoot();
}

// Chosen as the C library's tempnam chooses it, TMPDIR when it names a
// directory (ignored in a set-user-id program), then the temporary root,
// then /tmp; but only a place that passes the check, and when none of
// those does, the next one that does.
SString TempDirectory() {
  if (!movedDirectory().empty()) return movedDirectory();
  // When no place passes, the first one refused is named with its reason,
  // as the usual place was named when it could not be written; the log
  // tells the others.
  SString firstRefused, firstReason;
  for (int place = 0; place < kTempPlaces; ++place) {
    SString checked, why;
    SString dir = usableTempPlace(place, checked, why);
    if (firstReason.empty()) {
      firstRefused = checked;
      firstReason = why;
    }
    if (dir.empty()) continue;
    if (!IsCommandSafePath(dir)) throw LauncherException(FormatMessage(MSG_UNSAFE_TEMP_DIR, dir.c_str()));
    return dir;
  }
  // A root without any of them (a bare chroot) lacks the usual one.
  if (firstReason.empty()) {
    firstRefused = "/tmp";
    firstReason = std::strerror(ENOENT);
  }
  throw LauncherException(FormatMessage(MSG_ERROR_TEMP_DIR, firstRefused.c_str()) + ": " + firstReason);
}

void UseExecutableTempDirectory(const char* purpose) {
  const SString usual = TempDirectory();
  const SString whyUsual = WhyProgramsCannotRun(usual);
  if (whyUsual.empty()) return;
  // Every place that exists counts as tried, also one refused by the
  // check: the log says why each was passed over.
  StringDeque tried;
  for (int place = 0; place < kTempPlaces; ++place) {
    SString checked, why;
    SString dir = usableTempPlace(place, checked, why);
    if (checked.empty() || contains(tried, checked)) continue;
    if (!dir.empty() && !IsCommandSafePath(dir)) continue;
    tried.add(checked);
    if (dir.empty()) continue;
    why = dir == usual ? whyUsual : WhyProgramsCannotRun(dir);
    if (why.empty()) {
      log("Temporary files go to " + dir + " from now on: " + purpose + " and programs cannot run from " + usual +
              " (" + whyUsual + ").",
          INFO);
      movedDirectory() = dir;
      return;
    }
    log("Programs cannot run from " + dir + ": " + why + ".", INFO);
  }
  throw LauncherException(FormatMessage(MSG_NO_EXEC_TEMP_DIR, joined(tried).c_str()));
}

SString CreateTempDir() {
  SString name;
  // Private whatever the umask: another user must not replace what the
  // launcher runs or hands on. chmod, because mkdir's mode is reduced by
  // the umask, which could also take the owner's own rights away.
  int error = createUniquely(
      [](const SString& p) {
        if (mkdir(p.c_str(), 0700) != 0) return false;
        if (chmod(p.c_str(), 0700) == 0) return true;
        int error = errno;
        rmdir(p.c_str());
        errno = error;
        return false;
      },
      name);
  // The system's text alone ("Read-only file system") would not tell the
  // user which directory to look at.
  if (error != 0) {
    throw LauncherException(FormatMessage(MSG_ERROR_TEMP_DIR, TempDirectory().c_str()) + ": " + std::strerror(error));
  }
  tempDirs().add(name);
  return name;
}

SString CreateTempFile() {
  SString name;
  int error = createUniquely(
      [](const SString& p) {
        FileDescriptor file(open(p.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (!file.isOpen()) return false;
        bool privateMode = fchmod(file.get(), 0600) == 0;
        int error = errno;
        file = FileDescriptor();
        if (!privateMode) unlink(p.c_str());
        errno = error;
        return privateMode;
      },
      name);
  if (error != 0) throw LauncherException("Error creating tmp file " + name);
  tempFiles().add(name);
  return name;
}

void UnregisterTempFile(const SString& path) { unregister(tempFiles(), path); }

void UnregisterTempDir(const SString& path) { unregister(tempDirs(), path); }

void RemoveTempFiles() {
  removeEach(tempFiles());
  removeEach(tempDirs());
  // Processed once: a second call finds nothing left to do.
  tempFiles().removeAll();
  tempDirs().removeAll();
  if (!ownExecutable().empty()) removeOwnExecutable(ownExecutable());
  ownExecutable() = SString();
}

void RemoveOwnExecutableAtExit(const SString& path) { ownExecutable() = path; }

void RemovePath(const SString& path) {
  DeleteFullDir removal;
  removal.remove(path);
}
