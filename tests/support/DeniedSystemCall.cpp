#include "support/DeniedSystemCall.h"

#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>

#include <cstddef>
#include <vector>

namespace {

#if defined(__x86_64__)
const unsigned kThisArchitecture = AUDIT_ARCH_X86_64;
#elif defined(__aarch64__)
const unsigned kThisArchitecture = AUDIT_ARCH_AARCH64;
#else
#error "DenySystemCall needs the audit architecture of this machine"
#endif

// Both architectures are little-endian: an int argument is the low word.
unsigned argumentLowWord(int argument) {
  return static_cast<unsigned>(offsetof(struct seccomp_data, args) + 8 * argument);
}

bool install(long number, int argument, int value, int answer) {
  // Calls of another architecture and every other call pass; the chosen
  // one, with the chosen argument when there is one, gets the answer.
  // Steps to skip from the two tests to the final "allow".
  const unsigned char pastArchitecture = argument < 0 ? 3 : 5;
  const unsigned char pastNumber = argument < 0 ? 1 : 3;
  std::vector<struct sock_filter> steps = {
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(struct seccomp_data, arch)),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, kThisArchitecture, 0, pastArchitecture),
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(struct seccomp_data, nr)),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, static_cast<unsigned>(number), 0, pastNumber),
  };
  if (argument >= 0) {
    steps.push_back(BPF_STMT(BPF_LD | BPF_W | BPF_ABS, argumentLowWord(argument)));
    steps.push_back(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, static_cast<unsigned>(value), 0, 1));
  }
  steps.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | (static_cast<unsigned>(answer) & SECCOMP_RET_DATA)));
  steps.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
  struct sock_fprog program = {static_cast<unsigned short>(steps.size()), steps.data()};
  // Without privileges a filter may only be installed by a process that
  // can gain none.
  if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0) return false;
  return prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program, 0, 0) == 0;
}

}  // namespace

bool DenySystemCall(long number, int answer) { return install(number, -1, 0, answer); }

bool DenySystemCallWhen(long number, int argument, int value, int answer) {
  return install(number, argument, value, answer);
}
