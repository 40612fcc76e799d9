#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "launch/CapturedOutput.h"
#include "launch/OutputLog.h"
#include "support/TempDir.h"

namespace {

// A pipe whose read end is non-blocking, as the capture loop reads it.
struct Pipe {
  int readEnd = -1, writeEnd = -1;
  Pipe() {
    int ends[2];
    if (pipe(ends) == 0) {
      readEnd = ends[0];
      writeEnd = ends[1];
      fcntl(readEnd, F_SETFL, O_NONBLOCK);
    }
  }
  ~Pipe() {
    if (readEnd >= 0) close(readEnd);
    closeWriteEnd();
  }
  void closeWriteEnd() {
    if (writeEnd >= 0) close(writeEnd);
    writeEnd = -1;
  }
  void put(const std::string& bytes) const {
    ASSERT_EQ(static_cast<ssize_t>(bytes.size()), write(writeEnd, bytes.data(), bytes.size()));
  }
};

std::string pattern(size_t n, char first) {
  std::string text;
  for (size_t i = 0; i < n; ++i) text += static_cast<char>(first + i % 23);
  return text;
}

}  // namespace

TEST(CapturedOutput, AppendsEveryReadAndGivesBackTheRoomReservedAhead) {
  Pipe pipe;
  SString text("before|");
  std::string want = "before|";
  {
    CapturedOutput output(&text);
    // Several blocks of different sizes, each more than the last reservation
    // held, then the end of the stream.
    for (size_t n : {10u, 5000u, 20000u, 40000u}) {
      std::string block = pattern(n, static_cast<char>('a' + n % 7));
      pipe.put(block);
      want += block;
      size_t got = 0;
      while (got < n) {
        ssize_t r = output.readFrom(pipe.readEnd, 8192);
        ASSERT_GT(r, 0);
        ASSERT_LE(r, 8192);
        got += static_cast<size_t>(r);
      }
    }
    EXPECT_EQ(-1, output.readFrom(pipe.readEnd, 8192));  // nothing waiting
    pipe.closeWriteEnd();
    EXPECT_EQ(0, output.readFrom(pipe.readEnd, 8192));
  }
  EXPECT_TRUE(SString(want.c_str()) == text);
  EXPECT_EQ('\0', text.c_str()[text.length()]);
  EXPECT_EQ(text.length() | 31u, text.capacity());
}

TEST(CapturedOutput, ACopyOfTheTextKeepsWhatItHad) {
  Pipe pipe;
  SString text("shared");
  SString copy = text;
  {
    CapturedOutput output(&text);
    pipe.put(" more");
    EXPECT_EQ(5, output.readFrom(pipe.readEnd, 100));
  }
  EXPECT_EQ(SString("shared more"), text);
  EXPECT_EQ(SString("shared"), copy);
  EXPECT_EQ(0u, copy.shareCount());
}

TEST(CapturedOutput, WithoutATextTheOutputIsReadAndDropped) {
  Pipe pipe;
  CapturedOutput output(nullptr);
  pipe.put(pattern(3000, 'a'));
  EXPECT_EQ(3000, output.readFrom(pipe.readEnd, 100000));
  EXPECT_EQ(-1, output.readFrom(pipe.readEnd, 100000));
}

// A long output ends in a buffer large enough to be a mapping of its own,
// reserved ahead and populated in steps; none of it may be lost or shifted.
TEST(CapturedOutput, ALongOutputArrivesWhole) {
  Pipe pipe;
  SString text;
  std::string want;
  const std::string block = pattern(60000, 'A');
  {
    CapturedOutput output(&text);
    while (want.size() < 10u * 1024 * 1024) {
      std::string piece = block.substr(want.size() % 23);
      pipe.put(piece);
      want += piece;
      size_t got = 0;
      while (got < piece.size()) {
        ssize_t r = output.readFrom(pipe.readEnd, 256 * 1024);
        ASSERT_GT(r, 0);
        got += static_cast<size_t>(r);
      }
    }
  }
  ASSERT_EQ(want.size(), text.length());
  EXPECT_EQ(0, std::memcmp(want.data(), text.c_str(), want.size()));
  EXPECT_EQ('\0', text.c_str()[text.length()]);
  EXPECT_EQ(text.length() | 31u, text.capacity());
}

TEST(CapturedOutput, KeepsNoMoreThanItsLimitAndTellsWhenMoreCame) {
  const struct {
    size_t written;
    size_t limit;
    bool exceeded;
  } cases[] = {{10000, 4096, true}, {4096, 4096, false}, {100, 4096, false}, {10000, 0, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.written) + " bytes, limit " + std::to_string(c.limit));
    Pipe pipe;
    std::string block = pattern(c.written, 'a');
    pipe.put(block);
    pipe.closeWriteEnd();
    SString text;
    CapturedOutput output(&text, c.limit);
    size_t read = 0;
    for (ssize_t r; (r = output.readFrom(pipe.readEnd, 3000)) > 0;) read += static_cast<size_t>(r);
    // Everything is read from the pipe, so the writer never blocks on it.
    EXPECT_EQ(c.written, read);
    size_t kept = c.limit > 0 && c.limit < c.written ? c.limit : c.written;
    EXPECT_EQ(block.substr(0, kept), std::string(text.c_str(), text.length()));
    EXPECT_EQ(c.exceeded, output.exceeded());
  }
}

// Streamed, each stream's blocks reach the log in the order read, under
// their headings, while the texts keep only their ends, from a whole line.
TEST(CapturedOutput, StreamsToTheLogAndKeepsTheEndFromAWholeLine) {
  TempDir dir;
  const std::string logFile = dir.path() + "/run.log";
  Pipe outPipe, errPipe;
  SString out, err;
  {
    OutputLog log(OutputLog::openFile(logFile.c_str()), kCapturedOutputLogLimit);
    CapturedOutput outCapture(&out), errCapture(&err);
    outCapture.streamTo(&log, 0, 16);
    errCapture.streamTo(&log, 1, 16);
    outPipe.put("first line\nsecond");
    ASSERT_EQ(17, outCapture.readFrom(outPipe.readEnd, 4096));
    errPipe.put("oops\n");
    ASSERT_EQ(5, errCapture.readFrom(errPipe.readEnd, 4096));
    outPipe.put(" line\nthird line\n");
    ASSERT_EQ(17, outCapture.readFrom(outPipe.readEnd, 4096));
    errPipe.put("no newline at the end");
    ASSERT_EQ(21, errCapture.readFrom(errPipe.readEnd, 4096));
  }
  // The last 16 bytes are "line\nthird line\n" and "wline at the end":
  // the output starts after its cut line; the error output has no line
  // start to go to and stays as cut.
  EXPECT_STREQ("third line\n", out.c_str());
  EXPECT_STREQ("wline at the end", err.c_str());
  std::string logged;
  FILE* file = std::fopen(logFile.c_str(), "rb");
  ASSERT_NE(nullptr, file);
  char buffer[512];
  logged.assign(buffer, std::fread(buffer, 1, sizeof buffer, file));
  std::fclose(file);
  EXPECT_EQ("StdOut:\nfirst line\nsecond\nErrOut:\noops\nStdOut:\n line\nthird line\nErrOut:\nno newline at the end\n",
            logged);
}

// Without a log the streamed text is still bounded and nothing is written.
TEST(CapturedOutput, StreamedWithoutALogKeepsOnlyTheTail) {
  Pipe pipe;
  SString text;
  {
    CapturedOutput capture(&text);
    capture.streamTo(nullptr, 0, 100);
    for (int i = 0; i < 50; ++i) {
      pipe.put(pattern(1000, 'a'));
      ASSERT_EQ(1000, capture.readFrom(pipe.readEnd, 4096));
      EXPECT_LE(text.length(), 200u);
    }
  }
  EXPECT_EQ(pattern(1000, 'a').substr(900), std::string(text.c_str(), text.length()));
}
