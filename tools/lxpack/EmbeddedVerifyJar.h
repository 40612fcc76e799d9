// The verification jar (java/verify, built at build time), carried inside
// lxpack so that a launcher made from a jar in one command needs no file of
// the build tree.
#pragma once

#include <cstddef>

extern const unsigned char kVerifyJar[];
extern const size_t kVerifyJarSize;
