#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>

#include "archive/ArchiveBytes.h"
#include "archive/Crc32c.h"
#include "archive/Extract.h"
#include "archive/LauncherFile.h"
#include "base/Termination.h"
#include "messages/Messages.h"
#include "support/DeniedSystemCall.h"
#include "support/Processes.h"
#include "support/TempDir.h"

namespace {

const char kHint[] =
    " There may not be enough temporary disk space. Try using -lx:tempdir to use a temporary directory on a "
    "partition with more disk space.";

std::string pattern(size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
  return bytes;
}

struct Member {
  int type;
  std::string name;
  std::string bytes;
};

class ExtractTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Messages in English, whatever locale the tests were started in.
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    setenv("LANG", "C", 1);
    SetSilent(0);
    EnableProgress();
    ASSERT_EQ(0, mkdir(out().c_str(), 0777));
  }

  std::string out() const { return dir.file("out"); }

  // Writes a launcher holding members and loads its index. claimed, when
  // set, replaces the length of the last entry in the index.
  void makeLauncher(const std::vector<Member>& members, uint32_t claimed = 0) {
    std::string data = "program bytes\n";
    std::string index = be32(static_cast<uint32_t>(members.size()));
    for (size_t i = 0; i < members.size(); ++i) {
      const Member& m = members[i];
      uint32_t length = static_cast<uint32_t>(m.bytes.size());
      if (claimed && i + 1 == members.size()) length = claimed;
      index += plainEntry(m.type, static_cast<uint32_t>(i), length, static_cast<uint32_t>(data.size()), m.name);
      data += m.bytes;
    }
    std::string launcher = data + index + trailer(static_cast<uint32_t>(data.size()));
    launcherPath = dir.write("launcher", launcher);
    file = LauncherFile();
    file.loadIndex(launcherPath.c_str(), false);
  }

  // Extracts the first entry into out(); returns the path and counts the
  // progress dots printed meanwhile.
  SString extractCounting(const SString& directory, int& dots) {
    testing::internal::CaptureStdout();
    SString path;
    try {
      path = file.extract(file.getEntry(0), directory);
    } catch (...) {
      testing::internal::GetCapturedStdout();
      throw;
    }
    std::string printed = testing::internal::GetCapturedStdout();
    dots = static_cast<int>(std::count(printed.begin(), printed.end(), '.'));
    return path;
  }

  // What extracting the first entry into out() gave in a forked copy of the
  // test whose copy_file_range answers answer (an error number, or 0).
  struct Outcome {
    std::string error;
    int dots;
  };
  Outcome extractWithKernelCopyAnswering(int answer) {
    const std::string report = dir.file("report");
    int status = InForkedProcess([&] {
      if (!DenySystemCall(SYS_copy_file_range, answer)) return 2;
      int dots = 0;
      std::string error = errorOf([&] { extractCounting(out().c_str(), dots); });
      std::ofstream(report) << dots << ' ' << error;
      return 0;
    });
    if (status == 2) ADD_FAILURE() << "this system does not let a process filter its system calls";
    if (status != 0) return {"(forked copy ended with " + std::to_string(status) + ")", -1};
    std::string text = ReadFile(report);
    size_t space = text.find(' ');
    return {text.substr(space + 1), std::stoi(text.substr(0, space))};
  }

  TempDir dir;
  std::string launcherPath;
  LauncherFile file;
};

// Answers of copy_file_range that say nothing about the output: kernels
// without it, file systems and container filters that refuse it, and a
// claim to have copied nothing.
const int kRefusals[] = {ENOSYS, EPERM, EINVAL, EOPNOTSUPP, EXDEV, EBADF, EACCES, 0};

}  // namespace

TEST_F(ExtractTest, CopiesEveryByteInChunksWithOneProgressStepEach) {
  const struct {
    size_t size;
    int steps;
  } cases[] = {{0, 0}, {144, 1}, {61439, 1}, {61440, 2}, {2 * 61439 + 5, 3}, {10 * 61439 + 4097, 11}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size);
    std::string bytes = pattern(c.size);
    makeLauncher({{6, "app.jar", bytes}});
    int dots = -1;
    SString path = extractCounting(out().c_str(), dots);
    EXPECT_EQ(SString((out() + "/app.jar").c_str()), path);
    EXPECT_TRUE(ReadFile(path.c_str()) == bytes);
    EXPECT_EQ(c.steps, dots);
  }
}

TEST_F(ExtractTest, DataEndingBeyondTheLauncherIsCopiedAsFarAsItGoes) {
  // The index and trailer follow the data, so the copy gets them too, and
  // then the file ends.
  makeLauncher({{3, "cp.jar", "0123456789"}}, 1000000);
  int dots = 0;
  SString path = extractCounting(out().c_str(), dots);
  std::string copied = ReadFile(path.c_str());
  EXPECT_EQ("0123456789", copied.substr(0, 10));
  EXPECT_EQ(ReadFile(launcherPath.c_str()).substr(14), copied);
  EXPECT_EQ(1, dots);
}

TEST_F(ExtractTest, ALauncherThatEndsEarlyStopsAfterTheChunkItEndsIn) {
  // How many bytes the launcher really holds from the entry's offset on,
  // against a claimed length far beyond; a launcher that ends right at the
  // end of a chunk still gives the next chunk its step, which finds nothing.
  const struct {
    size_t available;
    int steps;
  } cases[] = {{61438, 1}, {61439, 2}, {2 * 61439 - 5000, 2}, {2 * 61439 - 100, 2}, {2 * 61439, 3}};
  makeLauncher({{3, "cp.jar", ""}}, 1000000);
  const size_t indexAndTrailer = ReadFile(launcherPath.c_str()).size() - 14;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.available);
    makeLauncher({{3, "cp.jar", pattern(c.available - indexAndTrailer)}}, 1000000);
    int dots = 0;
    SString path = extractCounting(out().c_str(), dots);
    std::string launcher = ReadFile(launcherPath.c_str());
    ASSERT_EQ(14 + c.available, launcher.size());
    EXPECT_TRUE(ReadFile(path.c_str()) == launcher.substr(14));
    EXPECT_EQ(c.steps, dots);
  }
}

TEST_F(ExtractTest, WhateverTheNameStandsForIsReplacedByANewFile) {
  // Links and pipes planted at the output's name: the new file takes the
  // name's place, and nothing they lead to is written or waited for.
  std::string bytes = pattern(61440);
  const std::string outside = dir.write("outside", "keep me");
  const struct {
    const char* what;
    std::function<int(const std::string&)> plant;
  } cases[] = {
      {"symbolic link", [&](const std::string& at) { return symlink(outside.c_str(), at.c_str()); }},
      {"dangling symbolic link",
       [&](const std::string& at) { return symlink(dir.file("nothing-yet").c_str(), at.c_str()); }},
      {"hard link", [&](const std::string& at) { return link(outside.c_str(), at.c_str()); }},
      {"pipe", [&](const std::string& at) { return mkfifo(at.c_str(), 0666); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    makeLauncher({{6, "app.jar", bytes}});
    const std::string at = out() + "/app.jar";
    unlink(at.c_str());
    ASSERT_EQ(0, c.plant(at));
    int dots = 0;
    EXPECT_EQ("(no error)", errorOf([&] { extractCounting(out().c_str(), dots); }));
    struct stat st;
    ASSERT_EQ(0, lstat(at.c_str(), &st));
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(1u, st.st_nlink);
    EXPECT_TRUE(ReadFile(at) == bytes);
    EXPECT_EQ("keep me", ReadFile(outside));
    EXPECT_NE(0, access(dir.file("nothing-yet").c_str(), F_OK));
  }
}

TEST_F(ExtractTest, ChecksDataAgainstItsChecksumWhileCopyingIt) {
  // A good checksum gives the file; a wrong one, or a launcher that ends
  // inside the entry, gives the damaged-launcher message naming the entry
  // and leaves no file behind. A small entry is checked in the copy's own
  // buffer, a large one (a megabyte or more) on a second thread while the
  // kernel copies it: both ways must tell the same.
  const std::string damaged =
      "The launcher file is damaged: its embedded file app.jar is not what was packed into it. Please download the "
      "launcher again.";
  const struct {
    const char* what;
    bool claimsMore;
    bool rightChecksum;
    const char* error;
  } cases[] = {
      {"intact", false, true, "(no error)"},
      {"another checksum", false, false, damaged.c_str()},
      {"data beyond the end of the file", true, true, damaged.c_str()},
  };
  for (size_t size : {size_t{3 * 61439 + 10}, size_t{34 * 61439 + 10}}) {
    const std::string bytes = pattern(size);
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.what) + ", " + std::to_string(size) + " bytes");
      makeLauncher({{6, "app.jar", bytes}}, c.claimsMore ? static_cast<uint32_t>(size + 1000000) : 0);
      uint32_t checksum = crc32c(bytes.data(), bytes.size());
      file.getEntry(0)->setChecksum(c.rightChecksum ? checksum : checksum ^ 0x100);
      int dots = 0;
      const int descriptors = OpenDescriptorCount();
      EXPECT_EQ(c.error, errorOf([&] { extractCounting(out().c_str(), dots); }));
      EXPECT_EQ(descriptors, OpenDescriptorCount());
      if (std::string(c.error) == "(no error)") {
        EXPECT_TRUE(ReadFile(out() + "/app.jar") == bytes);
        // Checked or not, one progress step per chunk.
        EXPECT_EQ(static_cast<int>(size / 61439 + 1), dots);
      } else {
        EXPECT_NE(0, access((out() + "/app.jar").c_str(), F_OK));
      }
    }
  }
}

TEST_F(ExtractTest, ARefusedKernelCopyGivesTheSameBytesThroughTheBuffer) {
  const size_t sizes[] = {144, 2 * 61439 + 5};
  for (int answer : kRefusals) {
    for (size_t size : sizes) {
      SCOPED_TRACE("answer " + std::to_string(answer) + ", " + std::to_string(size) + " bytes");
      std::string bytes = pattern(size);
      makeLauncher({{6, "app.jar", bytes}});
      Outcome outcome = extractWithKernelCopyAnswering(answer);
      EXPECT_EQ("(no error)", outcome.error);
      EXPECT_EQ(static_cast<int>((size + 61438) / 61439), outcome.dots);
      std::string written = ReadFile(out() + "/app.jar");
      EXPECT_TRUE(written == bytes) << written.size() << " bytes written";
    }
  }
}

TEST_F(ExtractTest, ALauncherThatEndsEarlyIsToldByReadingNotByTheKernelCopy) {
  // Only a read that finds the end of the launcher file ends the copy; a
  // kernel copy answering 0 before it does not.
  makeLauncher({{3, "cp.jar", pattern(70000)}}, 1000000);
  const std::string launcher = ReadFile(launcherPath.c_str());
  for (int answer : kRefusals) {
    SCOPED_TRACE(answer);
    Outcome outcome = extractWithKernelCopyAnswering(answer);
    EXPECT_EQ("(no error)", outcome.error);
    EXPECT_EQ(2, outcome.dots);
    EXPECT_TRUE(ReadFile(out() + "/cp.jar") == launcher.substr(14));
  }
}

TEST_F(ExtractTest, AKernelCopyThatCannotWriteFailsWithTheSystemsReasonAndLeavesNoFile) {
  makeLauncher({{6, "app.jar", pattern(1000)}});
  // The hint about free space belongs to a lack of space only.
  const struct {
    int error;
    const char* text;
  } cases[] = {{ENOSPC, "No space left on device."},
               {EDQUOT, "Disk quota exceeded."},
               {EFBIG, "File too large."},
               {EIO, "Input/output error."}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.error);
    const bool space = c.error == ENOSPC || c.error == EDQUOT;
    EXPECT_EQ("Error writing file = " + out() + "/app.jar: " + c.text + (space ? kHint : ""),
              extractWithKernelCopyAnswering(c.error).error);
    EXPECT_NE(0, access((out() + "/app.jar").c_str(), F_OK));
  }
}

TEST_F(ExtractTest, AnOutputThatCannotBeCreatedGivesTheSystemsReasonWithoutTheSpaceHint) {
  // Too many open files: the output's open is refused as a process out of
  // descriptors sees it.
  makeLauncher({{6, "app.jar", "abc"}});
  const std::string report = dir.file("report");
  int status = InForkedProcess([&] {
    if (!DenySystemCallWhen(SYS_openat, 2, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, EMFILE)) return 2;
    std::ofstream(report) << errorOf([&] { file.extract(file.getEntry(0), out().c_str()); });
    return 0;
  });
  ASSERT_NE(2, status) << "this system does not let a process filter its system calls";
  ASSERT_EQ(0, status);
  EXPECT_EQ("Error writing file = " + out() + "/app.jar: Too many open files.", ReadFile(report));

  // A name longer than the file system takes.
  const std::string longName(300, 'n');
  makeLauncher({{6, longName, "abc"}});
  EXPECT_EQ("Error writing file = " + out() + "/" + longName + ": File name too long.",
            errorOf([&] { file.extract(file.getEntry(0), out().c_str()); }));
}

TEST_F(ExtractTest, JoinsDirectoryAndNameWithExactlyOneSlash) {
  makeLauncher({{6, "a.jar", "x"}});
  int dots;
  EXPECT_EQ(SString((out() + "/a.jar").c_str()), extractCounting((out() + "/").c_str(), dots));
  EXPECT_EQ(SString((out() + "/a.jar").c_str()), extractCounting(out().c_str(), dots));
}

TEST_F(ExtractTest, ProgramsAreTheOwnersToRunOtherFilesTheOwnersToReadWhateverTheUmask) {
  mode_t previous = umask(0);
  for (int type = 3; type <= 7; ++type) {
    SCOPED_TRACE(type);
    makeLauncher({{type, "file" + std::to_string(type), "#!/bin/sh\n"}});
    int dots;
    SString path = extractCounting(out().c_str(), dots);
    struct stat st;
    ASSERT_EQ(0, stat(path.c_str(), &st));
    bool program = type == FT_JVM_INSTALLER || type == FT_LAUNCHER;
    EXPECT_EQ(program ? 0700u : 0600u, st.st_mode & 07777u);
  }
  umask(previous);
}

TEST_F(ExtractTest, RefusesNamesThatLeaveTheDirectory) {
  for (const char* name : {"", ".", "..", "../escaped", "sub/file", "/tmp/absolute", "a/"}) {
    SCOPED_TRACE(name);
    makeLauncher({{6, name, "evil"}});
    std::string error = errorOf([&] { file.extract(file.getEntry(0), out().c_str()); });
    EXPECT_EQ("Invalid file name \"" + std::string(name) +
                  "\" of file id 0 in the file index: an embedded file name must not be empty, \".\" or \"..\" "
                  "or contain \"/\".",
              error);
  }
  EXPECT_NE(0, access(dir.file("escaped").c_str(), F_OK));
}

TEST_F(ExtractTest, LauncherThatCannotBeOpenedFailsWithoutWriting) {
  makeLauncher({{6, "app.jar", "abc"}});
  ASSERT_EQ(0, unlink(launcherPath.c_str()));
  EXPECT_EQ("Cannot open launcher file.", errorOf([&] { file.extract(file.getEntry(0), out().c_str()); }));
  EXPECT_NE(0, access((out() + "/app.jar").c_str(), F_OK));
}

TEST_F(ExtractTest, ADirectoryAtTheOutputsNameIsLeftAloneAndNamed) {
  makeLauncher({{6, "taken", "abc"}});
  ASSERT_EQ(0, mkdir((out() + "/taken").c_str(), 0777));
  EXPECT_EQ("Error writing file = " + out() + "/taken: Is a directory.",
            errorOf([&] { file.extract(file.getEntry(0), out().c_str()); }));
}

TEST_F(ExtractTest, NeverOverwritesTheLauncherItself) {
  std::string bytes = pattern(1000);
  makeLauncher({{7, "launcher", bytes}});
  std::string before = ReadFile(launcherPath.c_str());
  std::string error = errorOf([&] { file.extract(file.getEntry(0), dir.path().c_str()); });
  EXPECT_EQ("Cannot extract " + dir.file("launcher") + ": it is the launcher file itself.", error);
  EXPECT_TRUE(before == ReadFile(launcherPath.c_str()));
}

TEST_F(ExtractTest, ASignalStopsTheCopyAndLeavesNoPartialFile) {
  makeLauncher({{6, "app.jar", pattern(3 * 61439)}});
  int status = InForkedProcess([this] {
    RequestTermination(SIGTERM);
    try {
      file.extract(file.getEntry(0), out().c_str());
    } catch (const TerminationRequest& request) {
      return request.exitStatus();
    }
    return 1;
  });
  EXPECT_EQ(128 + SIGTERM, status);
  EXPECT_FALSE(std::ifstream(out() + "/app.jar").good());
}

class ExtractAllTest : public ExtractTest {
 protected:
  void SetUp() override {
    ExtractTest::SetUp();
    char buffer[4096];
    ASSERT_NE(nullptr, getcwd(buffer, sizeof buffer));
    previous = buffer;
    ASSERT_EQ(0, chdir(out().c_str()));
  }
  void TearDown() override {
    ASSERT_EQ(0, chdir(previous.c_str()));
    ExtractTest::TearDown();
  }
  std::string previous;
};

TEST_F(ExtractAllTest, WritesEveryEntryAndAnInputFileThatRunsThem) {
  std::vector<Member> members = {
      {5, "Verify.jar", pattern(1009)},  {0, "instructions.txt", "INSTRUCTIONS:\n  INITIALIZE_UI\n/:\n"},
      {2, "launch.txt", "DESC: x\n"},    {1, "a.jvm", "JVM_EXE: java\n"},
      {1, "b b.jvm", "JVM_EXE: java\n"}, {7, "inner.bin", pattern(70000)}};
  makeLauncher(members);
  testing::internal::CaptureStdout();
  file.extractAll();
  testing::internal::GetCapturedStdout();
  for (const Member& m : members) {
    SCOPED_TRACE(m.name);
    EXPECT_TRUE(ReadFile(out() + "/" + m.name) == m.bytes);
  }
  EXPECT_EQ(
      "ACTION:  RUN_INSTRUCTIONS\n"
      "INSTRUCTIONS:  instructions.txt\n"
      "LAUNCHSCRIPT:  launch.txt\n"
      "JVM:\n"
      "  a.jvm\n"
      "  b b.jvm\n"
      "/:\n",
      ReadFile(out() + "/input.tag"));
}

TEST_F(ExtractAllTest, LaterLaunchScriptAndInstructionsReplaceEarlierOnes) {
  makeLauncher({{2, "l1", "A: 1\n"}, {0, "i1", "A: 1\n"}, {2, "l2", "A: 1\n"}, {0, "i2", "A: 1\n"}});
  testing::internal::CaptureStdout();
  file.extractAll();
  testing::internal::GetCapturedStdout();
  EXPECT_EQ("ACTION:  RUN_INSTRUCTIONS\nLAUNCHSCRIPT:  l2\nINSTRUCTIONS:  i2\n", ReadFile(out() + "/input.tag"));
}

TEST_F(ExtractAllTest, ABadNameAnywhereStopsBeforeAnyFileIsWritten) {
  makeLauncher({{6, "fine.jar", "abc"}, {6, "../escaped.jar", "evil"}});
  EXPECT_NE("(no error)", errorOf([&] { file.extractAll(); }));
  EXPECT_NE(0, access((out() + "/fine.jar").c_str(), F_OK));
  EXPECT_NE(0, access((out() + "/input.tag").c_str(), F_OK));
  EXPECT_NE(0, access(dir.file("escaped.jar").c_str(), F_OK));
}

TEST_F(ExtractAllTest, ADamagedEntryTakesBackTheFilesWrittenBeforeIt) {
  makeLauncher({{6, "first.jar", "abc"}, {6, "second.jar", "def"}, {6, "third.jar", "ghi"}});
  file.getEntry(0)->setChecksum(crc32c("abc", 3));
  file.getEntry(1)->setChecksum(crc32c("DEF", 3));
  testing::internal::CaptureStdout();
  std::string error = errorOf([&] { file.extractAll(); });
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(
      "The launcher file is damaged: its embedded file second.jar is not what was packed into it. Please download "
      "the launcher again.",
      error);
  for (const char* name : {"first.jar", "second.jar", "third.jar", "input.tag"}) {
    SCOPED_TRACE(name);
    EXPECT_NE(0, access((out() + "/" + name).c_str(), F_OK));
  }
}
