// deny_syscalls MODE -- PROGRAM [ARGUMENTS...]
//
// Runs PROGRAM under a seccomp filter that makes the system calls and call
// features younger than Linux 3.10 fail as a machine without them, or a
// container that forbids them, would. The filter passes to every process
// PROGRAM starts (the shell, the JVM), as it does in such a container.
//
// MODE
//   linux-3.10  every call the 3.10 kernel did not have answers ENOSYS and
//               every newer flag EINVAL, as that kernel itself answers
//   enosys, eperm, einval
//               every newer call and newer flag answers that error, and so
//               do the optional calls the launcher makes (fallocate, the
//               pipe size, huge pages) that a container may forbid
//   zero        the calls that answer with a byte count (copy_file_range,
//               getrandom) answer 0 without doing anything
//
// Status: PROGRAM's own; 125 when this system does not let a process filter
// its calls (no seccomp), 124 when the filter cannot be made (a wrong mode,
// a rule libseccomp refuses), 126/127 when PROGRAM cannot be run.
#include <errno.h>
#include <fcntl.h>
#include <seccomp.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// The first number after the last call the 3.10 kernel had (finit_module).
// Every architecture's table only grows, so all numbers from here on are
// younger; the numbers below were all there.
#if defined(__x86_64__)
const int kFirstNewerCall = 314;
#elif defined(__aarch64__)
const int kFirstNewerCall = 274;
#else
#error "deny_syscalls knows the 3.10 call tables of x86_64 and aarch64 only"
#endif
// Beyond every table in use today; numbers without a call cost nothing.
const int kLastCallNumber = 1023;

// Call features that came after 3.10 on calls that 3.10 had.
// madvise: MADV_FREE, then WIPEONFORK (18) up to COLLAPSE (25) and the
// numbers after it, which 3.10 answered EINVAL.
const int kNewerAdvice[] = {8, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30};
// fcntl: the open-file-description locks (36 to 38), F_DUPFD_QUERY and
// F_CREATED_QUERY (1027, 1028), the seals (1033, 1034) and the write-life
// hints (1035 to 1038).
const int kNewerFcntl[] = {36, 37, 38, 1027, 1028, 1033, 1034, 1035, 1036, 1037, 1038};
const int kPidfdIdType = 3;  // P_PIDFD of waitid

const int kNoSeccomp = 125;
const int kFilterNotMade = 124;

int usage() {
  std::fprintf(stderr, "usage: deny_syscalls linux-3.10|enosys|eperm|einval|zero -- PROGRAM [ARGUMENTS...]\n");
  return kFilterNotMade;
}

class Filter {
 public:
  Filter() : context_(seccomp_init(SCMP_ACT_ALLOW)) {
    // A filter of several hundred rules is searched as a tree, not in a row.
    if (context_) (void)seccomp_attr_set(context_, SCMP_FLTATR_CTL_OPTIMIZE, 2);
  }
  ~Filter() {
    if (context_) seccomp_release(context_);
  }
  bool ready() const { return context_ != nullptr && ok_; }

  void deny(int number, int answer) { add(number, answer, 0, nullptr); }
  void denyName(const char* name, int answer) {
    int number = seccomp_syscall_resolve_name(name);
    if (number == __NR_SCMP_ERROR) return fail(name, -ENOENT);
    deny(number, answer);
  }
  // The call answers when its argument (a C int) equals value.
  void denyWhen(const char* name, unsigned argument, int value, int answer) {
    int number = seccomp_syscall_resolve_name(name);
    struct scmp_arg_cmp comparison = {argument, SCMP_CMP_MASKED_EQ, 0xffffffffu, static_cast<uint32_t>(value)};
    add(number, answer, 1, &comparison);
  }
  // 0, or the error with which the system refused the filter.
  int load() { return -seccomp_load(context_); }

 private:
  void add(int number, int answer, unsigned count, const struct scmp_arg_cmp* comparisons) {
    if (!ok_) return;
    int result = seccomp_rule_add_array(context_, SCMP_ACT_ERRNO(answer), number, count, comparisons);
    // A number without a call on this machine's table is not an error.
    if (result != 0 && !(count == 0 && result == -EDOM)) fail(std::to_string(number).c_str(), result);
  }
  void fail(const char* what, int result) {
    std::fprintf(stderr, "deny_syscalls: cannot filter %s: %s\n", what, std::strerror(-result));
    ok_ = false;
  }

  scmp_filter_ctx context_;
  bool ok_ = true;
};

// Calls that other programs fall back from only when they answer ENOSYS:
// glibc from clone3 (pthread_create, posix_spawn, system) and faccessat2
// (faccessat), the JVM from statx (it stats its class path with it). Any
// other answer breaks the shell or the JVM in every container, whatever the
// launcher does; container profiles answer ENOSYS for them for that reason,
// and so does this filter in every mode.
bool needsEnosys(int number) {
  for (const char* name : {"clone3", "faccessat2", "statx"}) {
    if (number == seccomp_syscall_resolve_name(name)) return true;
  }
  return false;
}

void denyNewerCalls(Filter& filter, int answer) {
  for (int number = kFirstNewerCall; number <= kLastCallNumber; ++number) {
    filter.deny(number, needsEnosys(number) ? ENOSYS : answer);
  }
}

void denyNewerFlags(Filter& filter, int answer) {
  for (int advice : kNewerAdvice) filter.denyWhen("madvise", 2, advice, answer);
  for (int command : kNewerFcntl) filter.denyWhen("fcntl", 1, command, answer);
  filter.denyWhen("waitid", 0, kPidfdIdType, answer);
}

// Calls 3.10 had, which the launcher makes only to go faster and which a
// container's profile or an old file system may still refuse.
void denyOptionalCalls(Filter& filter, int answer) {
  filter.denyName("fallocate", answer);
  filter.denyWhen("fcntl", 1, F_SETPIPE_SZ, answer);
  filter.denyWhen("madvise", 2, MADV_HUGEPAGE, answer);
}

bool build(Filter& filter, const std::string& mode) {
  if (mode == "linux-3.10") {
    denyNewerCalls(filter, ENOSYS);
    denyNewerFlags(filter, EINVAL);
  } else if (mode == "enosys" || mode == "eperm" || mode == "einval") {
    int answer = mode == "enosys" ? ENOSYS : mode == "eperm" ? EPERM : EINVAL;
    denyNewerCalls(filter, answer);
    denyNewerFlags(filter, answer);
    denyOptionalCalls(filter, answer);
  } else if (mode == "zero") {
    filter.denyName("copy_file_range", 0);
    filter.denyName("getrandom", 0);
  } else {
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4 || std::strcmp(argv[2], "--") != 0) return usage();
  Filter filter;
  if (!filter.ready()) {
    std::fprintf(stderr, "deny_syscalls: libseccomp cannot make a filter\n");
    return kFilterNotMade;
  }
  if (!build(filter, argv[1])) return usage();
  if (!filter.ready()) return kFilterNotMade;
  if (int error = filter.load()) {
    std::fprintf(stderr, "deny_syscalls: the system refuses the filter: %s\n", std::strerror(error));
    return kNoSeccomp;
  }
  execvp(argv[3], argv + 3);
  std::fprintf(stderr, "deny_syscalls: cannot run %s: %s\n", argv[3], std::strerror(errno));
  return errno == ENOENT ? 127 : 126;
}
