#include "fsutil/PseudoFileSystems.h"

#include <cstdint>

namespace {

// Magic numbers as the kernel reports them in f_type. tmpfs (also behind
// devtmpfs), ramfs, overlay, fuse and the disk and network file systems are
// not here: they can hold real files.
const uint32_t kPseudoTypes[] = {
    0x00009fa0,  // proc
    0x62656572,  // sysfs
    0x00001cd1,  // devpts
    0x0027e0eb,  // cgroup
    0x63677270,  // cgroup2
    0x64626720,  // debugfs
    0x74726163,  // tracefs
    0x73636673,  // securityfs
    0x6165676c,  // pstore
    0xcafe4a11,  // bpf
    0x62656570,  // configfs
    0x65735543,  // fusectl
    0x19800202,  // mqueue
    0x958458f6,  // hugetlbfs
    0x42494e4d,  // binfmt_misc
    0xf97cff8c,  // selinuxfs
    0x43415d53,  // smackfs
    0xde5e81e4,  // efivarfs
    0x00000187,  // autofs
    0x6e736673,  // nsfs
    0x67596969,  // rpc_pipefs
    0x6e667364,  // nfsd
    0x00009fa2,  // usbdevfs
    0xabba1974,  // xenfs
};

}  // namespace

bool IsPseudoFileSystem(long fileSystemType) {
  // f_type is a signed word whose width differs between platforms; the
  // magic numbers are 32-bit patterns.
  uint32_t type = static_cast<uint32_t>(fileSystemType);
  for (uint32_t pseudo : kPseudoTypes) {
    if (type == pseudo) return true;
  }
  return false;
}
