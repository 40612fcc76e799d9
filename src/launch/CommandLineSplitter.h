// Turns a command line into program arguments for replacing the launcher's
// process image, where no shell is there to do it. Words are separated by
// blanks, tabs and line ends; double quotes group blanks into a word; in
// every word but the first, \" stands for a literal quote. The first word is
// a program path, so its backslashes stay as they are.
#pragma once

#include "base/Deque.h"
#include "base/SString.h"

class CommandLineSplitter {
 public:
  CommandLineSplitter() : count_(0) {}

  // Replaces the words of an earlier parse; empty words are dropped, but
  // "" written in quotes is an empty argument.
  void parse(const SString& commandLine);
  int count() const { return count_; }
  // The i-th word, or null when there is none.
  const char* word(int i) const;

 private:
  int count_;
  StringDeque words_;
};
