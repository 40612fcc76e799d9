// Verifications remember their answers in the user's cache directory. Each
// test gets a cache directory of its own, so that no test depends on what
// an earlier one (or anything else on the machine) left there.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "support/TempDir.h"

namespace {

class IsolatedStore : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override {
    cache_.reset(new TempDir);
    setenv("XDG_CACHE_HOME", cache_->path().c_str(), 1);
  }
  void OnTestEnd(const ::testing::TestInfo&) override {
    unsetenv("XDG_CACHE_HOME");
    cache_.reset();
  }

  std::unique_ptr<TempDir> cache_;
};

const bool kStoreIsolated = (::testing::UnitTest::GetInstance()->listeners().Append(new IsolatedStore), true);

}  // namespace
