// How lxpack reports a command line it cannot use: the message, a pointer
// to --help, and exit status 2, as packagers' scripts expect of a tool.
#pragma once

#include <stdexcept>
#include <string>

class UsageError : public std::runtime_error {
 public:
  explicit UsageError(const std::string& message) : std::runtime_error(message) {}
};

// A failure of the work itself (exit status 1): a file that cannot be read
// or written, a damaged launcher, a tag file the launcher would reject.
class PackError : public std::runtime_error {
 public:
  explicit PackError(const std::string& message) : std::runtime_error(message) {}
};

// The help of every command, as --help shows it.
std::string fullUsage();
// The help of one command ("create", "init", "list", "check", "extract",
// "keys", "sign", "verify"), or null
// for a name that is no command.
const char* commandHelp(const std::string& command);
