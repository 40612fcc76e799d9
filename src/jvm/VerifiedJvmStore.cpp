#include "jvm/VerifiedJvmStore.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "base/FileReplacement.h"
#include "base/Log.h"
#include "base/OpenFiles.h"
#include "base/SystemError.h"
#include "fsutil/CacheDirectory.h"
#include "fsutil/Platform.h"
#include "jvm/RuntimeFiles.h"
#include "jvm/Sha256.h"

namespace {

const char kStoreFile[] = "verified-jvms";
const char kHeader[] = "lxlauncher verified JVMs 1\n";
const char kChecksumMark[] = "sha256 ";
// A store is a few kilobytes; anything far larger is not one of ours.
const SString::size_type kMostStoreBytes = 1024 * 1024;
// A verification class larger than this is not hashed at every start.
const uint64_t kMostClassPathBytes = 64 * 1024 * 1024;
// Another launcher holds the lock for a few milliseconds; one that holds it
// longer is not waited for: the answer is simply not stored.
const int kLockAttempts = 200;
const useconds_t kLockPauseMicros = 10000;

struct StoredAnswer {
  SString slot;
  SString key;
  SString answer;
};

// Store problems are worth one line in each log, not one per candidate.
void logOnce(const SString& message) {
  static SString lastMessage;
  static SString lastLog;
  const SString logFile = getLogFile();
  if (message == lastMessage && logFile == lastLog) return;
  lastMessage = message;
  lastLog = logFile;
  log(message, INFO);
}

SString field(const char* name, const SString& value) {
  return SString(name) + " " + fromLong(static_cast<long>(value.length())) + ":" + value + "\n";
}

SString timeField(const struct timespec& t) {
  return fromLong(static_cast<long>(t.tv_sec)) + "." + fromLong(static_cast<long>(t.tv_nsec));
}

// The verification class path as the launcher passes it: one quoted path,
// or the input file's list of entries. Each entry must be a plain file.
// A file that changes while it is read gives a checksum no later run
// meets, which costs a verification, nothing more.
bool hashClassPath(const SString& classPath, SString& checksum) {
  SString path = classPath;
  if (path.length() >= 2 && path[0] == '"' && path[path.length() - 1] == '"') path = path.substr(1, path.length() - 2);
  if (path.empty()) return false;
  Sha256 hash;
  uint64_t total = 0;
  SString::size_type start = 0;
  for (;;) {
    SString::size_type colon = path.find(':', start);
    SString entry = path.substr(start, colon == SString::npos ? SString::npos : colon - start);
    FileDescriptor fd(::open(entry.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat st;
    if (!fd.isOpen() || fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    // The bytes only: the launcher extracts its class to a new place at
    // every start. The size keeps the entries apart.
    hash.update(field("entry size", fromLong(static_cast<long>(st.st_size))));
    char buffer[65536];
    for (;;) {
      ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return false;
      if (n == 0) break;
      total += static_cast<uint64_t>(n);
      if (total > kMostClassPathBytes) return false;
      hash.update(buffer, static_cast<size_t>(n));
    }
    if (colon == SString::npos) break;
    start = colon + 1;
  }
  checksum = hash.hexDigest();
  return true;
}

SString statusFields(const struct stat& st) {
  return field("device", fromLong(static_cast<long>(st.st_dev))) +
         field("inode", fromLong(static_cast<long>(st.st_ino))) +
         field("size", fromLong(static_cast<long>(st.st_size))) + field("modified", timeField(st.st_mtim)) +
         field("changed", timeField(st.st_ctim));
}

// The runtime's files as key fields. False when the program's real path
// cannot be told. A file that is missing is part of the key as well: a JDK
// that lost its JVM library is another JDK.
bool runtimeFiles(const SString& executable, SString& fields) {
  SString home;
  if (!runtimeHome(executable, home)) return false;
  fields = field("runs from", home);
  for (int i = 0; i < kRuntimeFileCount; ++i) {
    const char* name = kRuntimeFiles[i].name;
    struct stat st;
    const SString path = home + "/" + name;
    fields += stat(path.c_str(), &st) == 0 ? field("file", name) + statusFields(st) : field("missing", name);
  }
  return true;
}

// The part of a key that the java file and the runtime's files make: what
// can change on disk between the search and the launch.
bool fileFields(const SString& executable, SString& fields) {
  struct stat st;
  if (stat(executable.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  SString runtime;
  if (!runtimeFiles(executable, runtime)) return false;
  fields = statusFields(st) + runtime;
  return true;
}

// The class is the same for every candidate of a run: hashed once.
bool classPathChecksum(const SString& classPath, SString& checksum) {
  static SString lastClassPath;
  static SString lastChecksum;
  if (!lastChecksum.empty() && classPath == lastClassPath) {
    checksum = lastChecksum;
    return true;
  }
  if (!hashClassPath(classPath, checksum)) return false;
  lastClassPath = classPath;
  lastChecksum = checksum;
  return true;
}

// No home of the user's, no store: nothing is made where a missing or
// foreign HOME points. The directory is the user's own, and so is every
// directory on its way, or another user could put answers there.
bool homeUsable() {
  const SString home = GetEnv("HOME");
  struct stat st;
  return !home.empty() && stat(home.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && access(home.c_str(), W_OK) == 0;
}

SString storeDirectory() { return homeUsable() ? PrivateCacheDirectory("") : SString(); }

// The store's text, or empty when there is none or it is not ours.
SString readStoreText(const SString& path) {
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (!fd.isOpen()) {
    if (errno != ENOENT) logOnce("The store of verified JVMs " + path + " cannot be read: " + systemError());
    return SString();
  }
  struct stat st;
  if (fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != geteuid() || (st.st_mode & 077) != 0 ||
      static_cast<uint64_t>(st.st_size) > kMostStoreBytes) {
    logOnce("The store of verified JVMs " + path + " is not a private file of this user; it is ignored.");
    return SString();
  }
  SString text;
  char buffer[16384];
  for (;;) {
    ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    text.append(buffer, static_cast<SString::size_type>(n));
    if (text.length() > kMostStoreBytes) return SString();
  }
  return text;
}

bool readNumber(const SString& text, SString::size_type& pos, char end, SString::size_type& number) {
  SString::size_type stop = text.find(end, pos);
  if (stop == SString::npos || stop == pos || stop - pos > 9) return false;
  uint64_t value = 0;
  for (SString::size_type i = pos; i < stop; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + static_cast<uint64_t>(text[i] - '0');
  }
  pos = stop + 1;
  number = static_cast<SString::size_type>(value);
  return true;
}

// Everything must be in place, the checksum included: a store that is
// damaged in any way is read as empty.
bool parseStore(const SString& text, std::vector<StoredAnswer>& entries) {
  const SString::size_type checksumLength = sizeof kChecksumMark - 1 + 64 + 1;
  const SString::size_type headerLength = sizeof kHeader - 1;
  if (text.length() < headerLength + checksumLength || text.compare(0, headerLength, kHeader) != 0) return false;
  const SString::size_type bodyLength = text.length() - checksumLength;
  if (text.substr(bodyLength) != SString(kChecksumMark) + sha256Hex(text.substr(0, bodyLength)) + "\n") return false;
  SString::size_type pos = headerLength;
  SString::size_type count = 0;
  if (!readNumber(text, pos, '\n', count) || count > static_cast<SString::size_type>(kMostStoredAnswers)) return false;
  for (SString::size_type i = 0; i < count; ++i) {
    SString::size_type slotLength, keyLength, answerLength;
    if (!readNumber(text, pos, ' ', slotLength) || !readNumber(text, pos, ' ', keyLength) ||
        !readNumber(text, pos, '\n', answerLength)) {
      return false;
    }
    uint64_t end = static_cast<uint64_t>(pos) + slotLength + keyLength + answerLength + 1;
    if (end > bodyLength || text[static_cast<SString::size_type>(end - 1)] != '\n') return false;
    StoredAnswer entry;
    entry.slot = text.substr(pos, slotLength);
    entry.key = text.substr(pos + slotLength, keyLength);
    entry.answer = text.substr(pos + slotLength + keyLength, answerLength);
    entries.push_back(entry);
    pos = static_cast<SString::size_type>(end);
  }
  return pos == bodyLength;
}

SString serializeStore(const std::vector<StoredAnswer>& entries) {
  SString text = kHeader;
  text += fromLong(static_cast<long>(entries.size())) + "\n";
  for (const StoredAnswer& entry : entries) {
    text += fromLong(static_cast<long>(entry.slot.length())) + " " + fromLong(static_cast<long>(entry.key.length())) +
            " " + fromLong(static_cast<long>(entry.answer.length())) + "\n";
    text += entry.slot + entry.key + entry.answer + "\n";
  }
  return text + kChecksumMark + sha256Hex(text) + "\n";
}

std::vector<StoredAnswer> readStore(const SString& path) {
  std::vector<StoredAnswer> entries;
  SString text = readStoreText(path);
  if (!text.empty() && !parseStore(text, entries)) {
    logOnce("The store of verified JVMs " + path + " is damaged; it is ignored and written anew.");
    entries.clear();
  }
  return entries;
}

// Launchers that store at the same moment take turns, so that neither
// loses the other's answer.
class StoreLock {
 public:
  explicit StoreLock(const SString& path)
      : fd_(::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0600)) {
    for (int i = 0; fd_.isOpen() && i < kLockAttempts && !held_; ++i) {
      held_ = flock(fd_.get(), LOCK_EX | LOCK_NB) == 0;
      if (!held_) usleep(kLockPauseMicros);
    }
  }
  bool held() const { return held_; }

 private:
  FileDescriptor fd_;
  bool held_ = false;
};

// Replaced whole, so a reader sees the old store or the new one, never half
// of one.
bool replaceStore(const SString& path, const SString& text) {
  FileReplacement replacement(path, ".");
  if (replacement.stream() == nullptr) return false;
  return std::fwrite(text.data(), 1, text.length(), replacement.stream()) == text.length() &&
         replacement.finish(0600) && replacement.commit();
}

// Changes the store under its lock: what other launchers stored meanwhile
// is kept.
void rewriteStore(const std::function<void(std::vector<StoredAnswer>&)>& change) {
  SString directory = storeDirectory();
  if (directory.empty()) return;
  SString path = directory + "/" + kStoreFile;
  StoreLock lock(path + ".lock");
  if (!lock.held()) {
    logOnce("The store of verified JVMs " + path + " stayed locked; it was not changed.");
    return;
  }
  std::vector<StoredAnswer> entries = readStore(path);
  change(entries);
  SString text = serializeStore(entries);
  if (text.length() > kMostStoreBytes) return;
  if (!replaceStore(path, text)) logOnce("The store of verified JVMs " + path + " cannot be written: " + systemError());
}

// The java files whose answers this run took from the store, each with the
// file fields of the key it was taken for.
std::map<std::string, SString>& recalledExecutables() {
  static std::map<std::string, SString> executables;
  return executables;
}

}  // namespace

bool verifiedJvmStoreEnabled() { return GetEnv("LX_JVM_CACHE") != "0"; }

SString verifiedJvmStorePath() {
  SString directory = storeDirectory();
  return directory.empty() ? SString() : directory + "/" + kStoreFile;
}

bool makeVerificationKey(const SString& executable, const SString& classPath, const SString& className,
                         const StringPairPtrDeque& properties, const SString& context, VerificationKey& key) {
  SString files;
  if (!fileFields(executable, files)) return false;
  SString checksum;
  if (!classPathChecksum(classPath, checksum)) {
    logOnce("The store of verified JVMs is not used: the verification class path " + classPath +
            " is not made of readable files.");
    return false;
  }
  SString names;
  for (int i = 0; i < properties.count(); ++i) names += properties.get(i)->first + "\n";
  key.executable = executable;
  key.slot = field("java", executable) + field("class", checksum) + field("name", className) +
             field("properties", names) + field("context", context);
  key.text = key.slot + files;
  return true;
}

bool findStoredAnswer(const VerificationKey& key, SString& answer) {
  SString path = verifiedJvmStorePath();
  if (path.empty()) {
    // Where the cache directory is the reason, its check said why.
    if (!homeUsable()) logOnce("No store of verified JVMs: HOME is not set, or not a writable directory.");
    return false;
  }
  std::vector<StoredAnswer> entries = readStore(path);
  for (const StoredAnswer& entry : entries) {
    if (entry.key == key.text) {
      answer = entry.answer;
      recalledExecutables()[key.executable.c_str()] = key.text.substr(key.slot.length());
      return true;
    }
  }
  return false;
}

void storeAnswer(const VerificationKey& key, const SString& answer) {
  rewriteStore([&](std::vector<StoredAnswer>& entries) {
    std::vector<StoredAnswer> kept;
    for (const StoredAnswer& entry : entries) {
      if (entry.slot != key.slot) kept.push_back(entry);
    }
    while (kept.size() >= static_cast<size_t>(kMostStoredAnswers)) kept.erase(kept.begin());
    kept.push_back(StoredAnswer{key.slot, key.text, answer});
    entries.swap(kept);
  });
}

bool answerWasRecalled(const SString& executable) { return recalledExecutables().count(executable.c_str()) != 0; }

bool recalledFilesChanged(const SString& executable) {
  auto recalled = recalledExecutables().find(executable.c_str());
  if (recalled == recalledExecutables().end()) return false;
  SString files;
  return !fileFields(executable, files) || files != recalled->second;
}

void forgetAnswers(const SString& executable) {
  const SString slotStart = field("java", executable);
  rewriteStore([&](std::vector<StoredAnswer>& entries) {
    std::vector<StoredAnswer> kept;
    for (const StoredAnswer& entry : entries) {
      if (entry.slot.compare(0, slotStart.length(), slotStart) != 0) kept.push_back(entry);
    }
    entries.swap(kept);
  });
  recalledExecutables().erase(executable.c_str());
}
