#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "fsutil/DirectoryTrust.h"
#include "fsutil/FileSystemFixtures.h"
#include "support/Processes.h"
#include "support/TempDir.h"

namespace {

// Users by number alone: the checks compare numbers, and a process may take
// on any of them without an account.
const uid_t kRoot = 0;
const uid_t kUser = 4242;
const uid_t kOther = 4343;

struct Verdict {
  std::string why;
  std::string resolved;
};

// What WhyTempPlaceIsRefused says about dir to user, asked from a forked
// copy of the test process that has become that user for real: the write
// check asks the system, which answers for the process's own user.
Verdict verdictFor(uid_t user, const std::string& dir, TempPlaceKind kind) {
  int channel[2];
  if (pipe(channel) != 0) return {"(no pipe)", ""};
  int status = InForkedProcess([&] {
    close(channel[0]);
    if (setgroups(0, nullptr) != 0 || setresgid(user, user, user) != 0 || setresuid(user, user, user) != 0) return 2;
    SString resolved;
    std::string answer = WhyTempPlaceIsRefused(dir.c_str(), kind, resolved).c_str();
    answer += '\n';
    answer += resolved.c_str();
    return write(channel[1], answer.data(), answer.size()) == static_cast<ssize_t>(answer.size()) ? 0 : 3;
  });
  close(channel[1]);
  std::string answer;
  char buffer[4096];
  for (ssize_t n; (n = read(channel[0], buffer, sizeof buffer)) > 0;) answer.append(buffer, n);
  close(channel[0]);
  if (status != 0) return {"(the check could not be asked as user " + std::to_string(user) + ")", ""};
  std::string::size_type cut = answer.find('\n');
  return {answer.substr(0, cut), answer.substr(cut + 1)};
}

// A fresh directory that every user may pass through, its way included.
class OpenWay {
 public:
  OpenWay() { chmod(t_.path().c_str(), 0755); }
  std::string make(const std::string& name, uid_t owner, mode_t mode) const {
    std::string dir = t_.file(name);
    MakeDirs(dir);
    if (chown(dir.c_str(), owner, owner) != 0 || chmod(dir.c_str(), mode) != 0) return std::string();
    return dir;
  }
  std::string file(const std::string& name) const { return t_.file(name); }

 private:
  TempDir t_;
};

bool canActAsOthers() { return geteuid() == 0; }

}  // namespace

// Owner and mode of the place itself, for the shared places (TMPDIR,
// -lx:tempdir, /tmp, /var/tmp, the cache) and the runtime directory, asked
// by an ordinary user and by root.
TEST(DirectoryTrust, APlaceIsUsedOnlyWhenNobodyElseCanChangeItAndTheUserCanWriteIt) {
  if (!canActAsOthers()) GTEST_SKIP() << "giving directories to other users and becoming them needs root";
  OpenWay way;
  const TempPlaceKind shared = TempPlaceKind::Shared;
  const TempPlaceKind runtime = TempPlaceKind::RuntimeDirectory;
  const struct {
    uid_t asker;
    uid_t owner;
    mode_t mode;
    TempPlaceKind kind;
    const char* why;  // after the directory's name; empty: used
  } cases[] = {
      // As /tmp is: anyone may write, nobody may take another's entries.
      {kUser, kRoot, 01777, shared, ""},
      {kUser, kUser, 01777, shared, ""},
      {kUser, kUser, 0700, shared, ""},
      {kUser, kUser, 0755, shared, ""},
      {kRoot, kRoot, 0755, shared, ""},
      // Without the sticky bit, anyone who may write may rename the
      // launcher's entries.
      {kUser, kUser, 0777, shared, " may be written by group or others and has no sticky bit"},
      {kUser, kUser, 0770, shared, " may be written by group or others and has no sticky bit"},
      {kUser, kUser, 0702, shared, " may be written by group or others and has no sticky bit"},
      {kUser, kRoot, 0777, shared, " may be written by group or others and has no sticky bit"},
      {kRoot, kRoot, 0777, shared, " may be written by group or others and has no sticky bit"},
      // Another user's, sticky or not, writable or not.
      {kUser, kOther, 01777, shared, " belongs to user 4343"},
      {kUser, kOther, 0700, shared, " belongs to user 4343"},
      {kRoot, kOther, 01777, shared, " belongs to user 4343"},
      {kRoot, kOther, 0755, shared, " belongs to user 4343"},
      // Trusted, but not the user's to write.
      {kUser, kRoot, 0700, shared, " cannot be written: Permission denied"},
      {kUser, kRoot, 0755, shared, " cannot be written: Permission denied"},
      {kUser, kUser, 0500, shared, " cannot be written: Permission denied"},
      // The runtime directory is the user's own, with mode 0700.
      {kUser, kUser, 0700, runtime, ""},
      {kRoot, kRoot, 0700, runtime, ""},
      {kUser, kUser, 0755, runtime, " is not the user's own with mode 0700"},
      {kUser, kUser, 0777, runtime, " is not the user's own with mode 0700"},
      {kUser, kUser, 01700, runtime, " is not the user's own with mode 0700"},
      {kUser, kUser, 01777, runtime, " is not the user's own with mode 0700"},
      {kUser, kRoot, 0700, runtime, " is not the user's own with mode 0700"},
      {kUser, kRoot, 01777, runtime, " is not the user's own with mode 0700"},
      {kUser, kOther, 0700, runtime, " is not the user's own with mode 0700"},
      {kRoot, kOther, 0700, runtime, " is not the user's own with mode 0700"},
      {kRoot, kRoot, 0777, runtime, " is not the user's own with mode 0700"},
  };
  int index = 0;
  for (const auto& c : cases) {
    std::string dir = way.make("place" + std::to_string(index++), c.owner, c.mode);
    ASSERT_NE("", dir);
    SCOPED_TRACE("asked by " + std::to_string(c.asker) + ", owner " + std::to_string(c.owner) + ", mode " +
                 std::to_string(c.mode) + (c.kind == runtime ? ", runtime directory" : ""));
    Verdict verdict = verdictFor(c.asker, dir, c.kind);
    EXPECT_EQ(c.why[0] == '\0' ? std::string() : dir + c.why, verdict.why);
    EXPECT_EQ(dir, verdict.resolved);
  }
}

// What holds the place counts as much as the place itself: whoever may
// change a directory above it may rename the place and put another in
// its stead. A link is followed, and what it leads to is what is judged.
TEST(DirectoryTrust, TheWayToAPlaceCountsAndLinksAreJudgedWhereTheyLead) {
  if (!canActAsOthers()) GTEST_SKIP() << "giving directories to other users and becoming them needs root";
  OpenWay way;
  std::string open = way.make("open", kRoot, 0777);
  way.make("open/place", kUser, 0700);
  std::string theirs = way.make("theirs", kOther, 0755);
  way.make("theirs/place", kUser, 0700);
  way.make("sticky", kRoot, 01777);
  std::string sound = way.make("sticky/place", kUser, 0700);
  ASSERT_EQ(0, symlink(way.file("theirs/place").c_str(), way.file("to-theirs").c_str()));
  ASSERT_EQ(0, symlink(sound.c_str(), way.file("to-sound").c_str()));
  const struct {
    const char* place;
    std::string why;
    std::string resolved;
  } cases[] = {
      {"open/place", open + " may be written by group or others and has no sticky bit", way.file("open/place")},
      {"theirs/place", theirs + " belongs to user 4343", way.file("theirs/place")},
      {"to-theirs", theirs + " belongs to user 4343", way.file("theirs/place")},
      {"sticky/place", "", sound},
      {"to-sound", "", sound},
  };
  for (TempPlaceKind kind : {TempPlaceKind::Shared, TempPlaceKind::RuntimeDirectory}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.place) + (kind == TempPlaceKind::Shared ? "" : " as the runtime directory"));
      Verdict verdict = verdictFor(kUser, way.file(c.place), kind);
      EXPECT_EQ(c.why, verdict.why);
      EXPECT_EQ(c.resolved, verdict.resolved);
    }
  }
  // The same rule, asked for any directory, names the one to blame.
  SString culprit;
  EXPECT_EQ(theirs + " belongs to user 4343",
            std::string(WhyOthersCanChange(way.file("to-theirs").c_str(), kUser, culprit).c_str()));
  EXPECT_EQ(theirs, culprit.c_str());
  EXPECT_EQ("", std::string(WhyOthersCanChange(way.file("to-sound").c_str(), kUser, culprit).c_str()));
}

// A file system mounted read-only cannot take the launcher's files, for
// root neither: the place is passed over rather than failing the run.
TEST(DirectoryTrust, APlaceOnAReadOnlyFileSystemIsRefused) {
  TempDir t;
  MakeDirs(t.file("ro"));
  Mount readOnly("tmpfs", t.file("ro"), MS_RDONLY);
  if (!readOnly.ok()) GTEST_SKIP() << "mounting tmpfs is not permitted here";
  SString resolved;
  EXPECT_EQ(t.file("ro") + " cannot be written: Read-only file system",
            std::string(WhyTempPlaceIsRefused(t.file("ro").c_str(), TempPlaceKind::Shared, resolved).c_str()));
}
