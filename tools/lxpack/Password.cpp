#include "Password.h"

#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "Usage.h"

namespace {

// Longer passwords are refused rather than cut: a cut one would seal the
// key with another password than the user typed.
const size_t kMostPasswordBytes = 1024;
const int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP};

struct termios savedTerminal;
struct sigaction savedActions[3];

// A signal while the echo is off gives the terminal back as it was, then
// goes on as it would have gone without the prompt (lxpack's own clean-up
// of unfinished files, or the end).
void restoreTerminalAndGoOn(int signal) {
  ::tcsetattr(STDIN_FILENO, TCSANOW, &savedTerminal);
  for (size_t i = 0; i < sizeof kEndingSignals / sizeof kEndingSignals[0]; ++i) {
    if (kEndingSignals[i] == signal) ::sigaction(signal, &savedActions[i], nullptr);
  }
  ::raise(signal);
}

// The terminal without echo for as long as the object lives.
class EchoOff {
 public:
  EchoOff() {
    if (::tcgetattr(STDIN_FILENO, &savedTerminal) != 0) return;
    saved_ = true;
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = restoreTerminalAndGoOn;
    sigemptyset(&action.sa_mask);
    for (size_t i = 0; i < sizeof kEndingSignals / sizeof kEndingSignals[0]; ++i) {
      ::sigaction(kEndingSignals[i], &action, &savedActions[i]);
    }
    struct termios quiet = savedTerminal;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    quiet.c_lflag |= ECHONL;
    ::tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
  }
  ~EchoOff() {
    if (!saved_) return;
    ::tcsetattr(STDIN_FILENO, TCSANOW, &savedTerminal);
    for (size_t i = 0; i < sizeof kEndingSignals / sizeof kEndingSignals[0]; ++i) {
      ::sigaction(kEndingSignals[i], &savedActions[i], nullptr);
    }
  }
  EchoOff(const EchoOff&) = delete;
  EchoOff& operator=(const EchoOff&) = delete;

 private:
  bool saved_ = false;
};

// One line of standard input, without its line end; read a byte at a time
// so that nothing after it is taken. False at the end of the input before
// any byte (an empty line is a line).
bool readLine(std::string& line) {
  line.clear();
  bool any = false;
  for (;;) {
    char c;
    const ssize_t n = ::read(STDIN_FILENO, &c, 1);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw PackError(std::string("cannot read the password from standard input: ") + std::strerror(errno));
    if (n == 0) break;
    any = true;
    if (c == '\n') break;
    if (line.size() == kMostPasswordBytes) {
      wipe(line);
      throw PackError("the password is longer than " + std::to_string(kMostPasswordBytes) + " bytes");
    }
    line.push_back(c);
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return any;
}

bool onTerminal() { return ::isatty(STDIN_FILENO) == 1; }

// The echo goes off before the prompt shows, so that nothing typed after
// the prompt appears.
std::string ask(const char* prompt) {
  std::string password;
  {
    EchoOff quiet;
    std::fputs(prompt, stderr);
    std::fflush(stderr);
    if (!readLine(password)) throw PackError("no password: the terminal's input ended");
  }
  return password;
}

std::string fromStandardInput(const std::string& what) {
  std::string password;
  if (!readLine(password)) {
    throw PackError("no password for " + what +
                    ": standard input, which is no terminal, ended before a line (give the password as its first "
                    "line)");
  }
  return password;
}

}  // namespace

std::string readNewPassword() {
  std::string password;
  if (onTerminal()) {
    std::fputs("Please enter a password to protect the secret key.\n", stderr);
    password = ask("Password: ");
    std::string again = ask("Password (again): ");
    const bool same = again == password;
    wipe(again);
    if (!same) {
      wipe(password);
      throw PackError("the two passwords differ; no key written");
    }
  } else {
    password = fromStandardInput("the new secret key");
  }
  if (password.empty()) {
    throw PackError("an empty password protects nothing: give one, or make the key with --no-password");
  }
  return password;
}

std::string readPassword(const std::string& keyPath) {
  if (onTerminal()) return ask(("Password for " + keyPath + ": ").c_str());
  return fromStandardInput(keyPath);
}

std::unique_ptr<SecretKey> openSecretKeyFile(const std::string& keyPath) {
  const SealedSecretKey sealed = readSecretKeyFile(keyPath);
  std::string password;
  if (sealed.encrypted) password = readPassword(keyPath);
  std::unique_ptr<SecretKey> key;
  try {
    key = openSecretKey(sealed, password);
  } catch (...) {
    wipe(password);
    throw;
  }
  wipe(password);
  return key;
}
