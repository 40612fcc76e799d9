#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <utility>

#include "base/OpenFiles.h"

namespace {

bool isOpen(int fd) { return fcntl(fd, F_GETFD) != -1; }

// The write end of a new pipe, given to an owner, and the read end, which
// tells by its end of file when the last write end was closed.
struct Pipe {
  int readEnd = -1;
  int writeEnd = -1;
  Pipe() {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) == 0) {
      readEnd = ends[0];
      writeEnd = ends[1];
    }
  }
  ~Pipe() { close(readEnd); }
  bool writerClosed() const {
    char byte;
    return read(readEnd, &byte, 1) == 0;
  }
};

}  // namespace

TEST(FileDescriptor, MovingHandsTheDescriptorOnAndTheLastOwnerClosesIt) {
  Pipe pipe;
  ASSERT_GE(pipe.writeEnd, 0);
  {
    FileDescriptor first(pipe.writeEnd);
    FileDescriptor second(std::move(first));
    EXPECT_EQ(-1, first.get());
    EXPECT_FALSE(first.isOpen());
    EXPECT_EQ(pipe.writeEnd, second.get());
    {
      FileDescriptor third;
      EXPECT_FALSE(third.isOpen());
      third = std::move(second);
      EXPECT_EQ(-1, second.get());
      EXPECT_EQ(pipe.writeEnd, third.get());
    }
    // The owners moved from went out of scope or stay: none closed it
    // before the last one did.
    EXPECT_TRUE(pipe.writerClosed());
  }
  EXPECT_FALSE(isOpen(pipe.writeEnd));
}

TEST(FileDescriptor, MoveAssignmentClosesWhatTheTargetHeld) {
  Pipe replaced, kept;
  ASSERT_GE(replaced.writeEnd, 0);
  ASSERT_GE(kept.writeEnd, 0);
  FileDescriptor target(replaced.writeEnd);
  FileDescriptor source(kept.writeEnd);
  target = std::move(source);
  EXPECT_TRUE(replaced.writerClosed());
  EXPECT_EQ(kept.writeEnd, target.get());
  EXPECT_EQ(-1, source.get());
  EXPECT_TRUE(isOpen(kept.writeEnd));
  EXPECT_FALSE(kept.writerClosed());
}

TEST(FileDescriptor, MovingOntoItselfKeepsTheDescriptor) {
  Pipe pipe;
  ASSERT_GE(pipe.writeEnd, 0);
  FileDescriptor owner(pipe.writeEnd);
  FileDescriptor& alias = owner;
  owner = std::move(alias);
  EXPECT_EQ(pipe.writeEnd, owner.get());
  EXPECT_FALSE(pipe.writerClosed());
  EXPECT_EQ(0, owner.close());
  EXPECT_TRUE(pipe.writerClosed());
}
