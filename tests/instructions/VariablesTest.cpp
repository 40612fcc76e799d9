#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "base/LauncherException.h"
#include "instructions/Variables.h"

namespace {

class VariablesTest : public ::testing::Test {
 protected:
  void SetUp() override { resetVariables(); }
  void TearDown() override { resetVariables(); }
};

}  // namespace

TEST_F(VariablesTest, ValidNumbersAreOneToTenForStringsAndOneToFiveForNumbers) {
  const struct {
    long n;
    bool string;
    bool numeric;
  } cases[] = {
      {-1, false, false}, {0, false, false}, {1, true, true},    {5, true, true},
      {6, true, false},   {10, true, false}, {11, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.n);
    EXPECT_EQ(c.string, isValidStringVariable(c.n));
    EXPECT_EQ(c.numeric, isValidNumericVariable(c.n));
  }
}

TEST_F(VariablesTest, StartEmptyAndKeepWhatIsSet) {
  for (long n = 1; n <= 10; ++n) EXPECT_EQ(SString(), getStringVariable(n));
  for (long n = 1; n <= 5; ++n) EXPECT_EQ(0, getNumericVariable(n));

  setStringVariable(1, "first");
  setStringVariable(10, "last");
  setNumericVariable(1, -7);
  setNumericVariable(5, 123456789L);
  EXPECT_EQ(SString("first"), getStringVariable(1));
  EXPECT_EQ(SString("last"), getStringVariable(10));
  EXPECT_EQ(SString(), getStringVariable(2));
  EXPECT_EQ(-7, getNumericVariable(1));
  EXPECT_EQ(123456789L, getNumericVariable(5));
  EXPECT_EQ(0, getNumericVariable(2));
}

TEST_F(VariablesTest, ValuesAreCopiesOfTheCallersText) {
  SString text = "original";
  setStringVariable(3, text);
  text += " changed";
  SString copy = getStringVariable(3);
  copy[0] = 'O';
  EXPECT_EQ(SString("original"), getStringVariable(3));
}

TEST_F(VariablesTest, InvalidNumbersFailNamingTheNumber) {
  const struct {
    std::function<void()> call;
    const char* message;
  } cases[] = {
      {[] { getStringVariable(0); }, "Invalid string variable number: 0"},
      {[] { setStringVariable(11, "x"); }, "Invalid string variable number: 11"},
      {[] { getNumericVariable(6); }, "Invalid numeric variable number: 6"},
      {[] { setNumericVariable(-1, 3); }, "Invalid numeric variable number: -1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    try {
      c.call();
      ADD_FAILURE() << "no exception";
    } catch (const LauncherException& e) {
      EXPECT_EQ(SString(c.message), e.getMessage());
    }
  }
}

TEST_F(VariablesTest, ResetRestoresTheStartOfRun) {
  setStringVariable(4, "x");
  setNumericVariable(3, 9);
  resetVariables();
  EXPECT_EQ(SString(), getStringVariable(4));
  EXPECT_EQ(0, getNumericVariable(3));
}
