#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "jvm/Sha256.h"

namespace {

// The standard's test vectors, and lengths around the block and padding
// boundaries fed in uneven pieces.
TEST(Sha256, GivesTheKnownDigests) {
  const struct {
    std::string message;
    const char* digest;
  } cases[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message.substr(0, 20));
    EXPECT_EQ(c.digest, sha256Hex(SString(c.message.data(), static_cast<SString::size_type>(c.message.size()))));
    Sha256 pieces;
    for (size_t at = 0, step = 1; at < c.message.size(); at += step, step = step * 3 % 97 + 1) {
      pieces.update(c.message.data() + at, std::min(step, c.message.size() - at));
    }
    EXPECT_EQ(c.digest, pieces.hexDigest());
  }
}

}  // namespace
