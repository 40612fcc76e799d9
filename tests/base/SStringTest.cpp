#include "base/SString.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {
const SString::size_type npos = SString::npos;
}

TEST(SString, EmptyStringHasNoBufferButAValidCString) {
  SString s;
  EXPECT_EQ(0u, s.length());
  EXPECT_TRUE(s.empty());
  ASSERT_NE(nullptr, s.c_str());
  EXPECT_STREQ("", s.c_str());
  EXPECT_EQ(0u, s.capacity());
  EXPECT_EQ(npos, s.find("x", 0));
}

TEST(SString, NewBufferGetsTheMinimumReserve) {
  EXPECT_EQ(31u, SString("abc").capacity());
  EXPECT_EQ(63u, SString(std::string(40, 'x').c_str()).capacity());
  SString s("abc");
  s.append(std::string(30, 'y').c_str());  // 33 characters: 33 | 31 = 63
  EXPECT_EQ(63u, s.capacity());
  EXPECT_EQ(33u, s.length());
}

TEST(SString, FindCases) {
  const struct {
    const char* text;
    const char* pattern;
    SString::size_type pos;
    SString::size_type want;
  } cases[] = {
      {"N1=5", "=", 0, 2},   {"@N1@", "@", 4, npos}, {"abc", "", 3, 3},   {"abc", "", 4, npos},
      {"abcabc", "bc", 2, 4}, {"abc", "abcd", 0, npos}, {"aab", "ab", 0, 1}, {"abc", "c", 3, npos},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " / " + c.pattern);
    EXPECT_EQ(c.want, SString(c.text).find(c.pattern, c.pos));
  }
  EXPECT_EQ(2u, SString("N1=5").find('=', 0));
}

TEST(SString, RfindCases) {
  EXPECT_EQ(3u, SString("abc").rfind("", npos));
  EXPECT_EQ(1u, SString("abc").rfind("", 1));
  EXPECT_EQ(3u, SString("abcabc").rfind("abc", npos));
  EXPECT_EQ(0u, SString("abcabc").rfind("abc", 2));
  EXPECT_EQ(npos, SString("ab").rfind("abc", npos));
  EXPECT_EQ(3u, SString("a/b/c").rfind('/', npos));
  EXPECT_EQ(npos, SString("abc").rfind('/', npos));
}

TEST(SString, SetSearches) {
  const SString ws(" \t\n\r");
  SString blanks("   ");
  EXPECT_EQ(npos, blanks.find_last_not_of(ws.c_str(), npos));
  EXPECT_EQ(npos, blanks.find_first_not_of(ws.c_str(), 0));
  SString s("a b c");
  EXPECT_EQ(1u, s.find_first_of(" ", 0));
  EXPECT_EQ(3u, s.find_first_of(" ", 2));
  EXPECT_EQ(npos, s.find_first_of("", 0));
  EXPECT_EQ(npos, s.find_first_of(" ", 5));
  EXPECT_EQ(3u, s.find_last_of(" ", npos));
  EXPECT_EQ(1u, s.find_last_of(" ", 2));
  EXPECT_EQ(npos, SString().find_last_of(" ", npos));
  EXPECT_EQ(4u, s.find_last_not_of(" ", npos));
}

TEST(SString, EndsWithAndTrim) {
  EXPECT_EQ(3u, endsWith("abc", ""));
  EXPECT_EQ(npos, endsWith("ab", "abc"));
  EXPECT_EQ(1u, endsWith("abc", "bc"));
  EXPECT_EQ(SString(""), trim("   ", kWhiteSpace));
  EXPECT_EQ(SString("a b"), trim(" a b ", kWhiteSpace));
  EXPECT_EQ(SString("a\tb"), trim("\r\n a\tb\t\r\n", kWhiteSpace));
  EXPECT_EQ(SString("x"), trim("x", kWhiteSpace));
}

TEST(SString, RangeAndLengthErrorsLeaveTheStringUnchanged) {
  SString s("abc");
  EXPECT_EQ(SString(""), s.substr(3, npos));
  EXPECT_THROW(s.substr(4, 0), RangeException);
  EXPECT_THROW(s.insert(4, "x"), RangeException);
  EXPECT_THROW(s.erase(4, 1), RangeException);
  EXPECT_THROW(s.replace(4, 1, "x"), RangeException);
  EXPECT_THROW(s.append(SString("xy"), 3, 1), RangeException);
  EXPECT_THROW(s.compare(4, 1, SString("x")), RangeException);
  EXPECT_THROW(s.compare(0, 1, SString("x"), 2, 1), RangeException);
  EXPECT_THROW(s.assign(npos, 'x'), LengthException);
  EXPECT_EQ(SString("abc"), s);
  s.erase(3, 5);
  EXPECT_EQ(SString("abc"), s);
}

TEST(SString, Compare) {
  EXPECT_LT(SString("ab").compare("abc"), 0);
  EXPECT_GT(SString("abc").compare("ab"), 0);
  EXPECT_EQ(0, SString("abc").compare(0, 2, SString("ab")));
  EXPECT_EQ(0, SString("xabc").compare(1, npos, SString("zabc"), 1, 3));
  // Bytes compare unsigned: 0xE9 sorts after 'z'.
  EXPECT_GT(SString("\xE9").compare("z"), 0);
}

TEST(SString, EditingOperations) {
  SString s("hello world");
  s.replace(6, 5, SString("there"));
  EXPECT_EQ(SString("hello there"), s);
  s.replace(0, 5, SString("hi"));
  EXPECT_EQ(SString("hi there"), s);
  s.insert(2, ",");
  EXPECT_EQ(SString("hi, there"), s);
  s.insert(s.length(), "!");
  EXPECT_EQ(SString("hi, there!"), s);
  s.erase(0, 4);
  EXPECT_EQ(SString("there!"), s);
  s.replace(5, npos, SString(""));
  EXPECT_EQ(SString("there"), s);
}

TEST(SString, AppendingToItselfDoubles) {
  SString s("ab");
  s.append(s);
  EXPECT_EQ(SString("abab"), s);
  SString t("xyz");
  t += t.c_str() + 1;
  EXPECT_EQ(SString("xyzyz"), t);
  SString u("12");
  u.replace(1, 1, u);
  EXPECT_EQ(SString("112"), u);
}

TEST(SString, CopiesShareUntilOneChanges) {
  SString b("shared text");
  SString a = b;
  EXPECT_EQ(b.c_str(), a.c_str());
  EXPECT_EQ(1u, b.shareCount());
  a.append("!");
  EXPECT_EQ(SString("shared text"), b);
  EXPECT_EQ(SString("shared text!"), a);
  EXPECT_EQ(0u, b.shareCount());

  SString c = b;
  c.erase(0, 7);
  EXPECT_EQ(SString("shared text"), b);
  SString d = b;
  d.replace(0, 6, SString("common"));
  EXPECT_EQ(SString("shared text"), b);
  EXPECT_EQ(SString("common text"), d);
}

TEST(SString, AWritableReferenceFreezesTheBuffer) {
  SString b("abc");
  SString shared = b;
  b[0] = 'x';  // un-shares b, then freezes it
  EXPECT_EQ(SString("abc"), shared);
  EXPECT_EQ(SString("xbc"), b);
  EXPECT_EQ(255u, b.shareCount());
  SString c = b;
  EXPECT_NE(b.c_str(), c.c_str());
  EXPECT_EQ(SString("xbc"), c);
  SString empty;
  char& outside = empty[5];
  EXPECT_EQ('\0', outside);
}

TEST(SString, At254SharesTheNextCopyGetsItsOwnBuffer) {
  SString original("text");
  std::vector<SString> copies(254, original);
  EXPECT_EQ(254u, original.shareCount());
  SString extra = original;
  EXPECT_NE(original.c_str(), extra.c_str());
  EXPECT_EQ(SString("text"), extra);
  copies.clear();
  EXPECT_EQ(0u, original.shareCount());
}

TEST(SString, AssigningShortTextShrinksALargePrivateBuffer) {
  SString s(std::string(100, 'x').c_str());
  EXPECT_EQ(127u, s.capacity());
  s = "short";
  EXPECT_EQ(31u, s.capacity());
  s = "";
  EXPECT_EQ(0u, s.capacity());
}

TEST(SString, AssignSubrangeOfItself) {
  SString s("abcdef");
  s.assign(s, 2, 3);
  EXPECT_EQ(SString("cde"), s);
  SString t("abcdef");
  SString u;
  u.assign(t, 0, npos);  // whole string: shared
  EXPECT_EQ(t.c_str(), u.c_str());
}

TEST(SString, ConversionsFollowTheCScan) {
  long n = -7;
  EXPECT_TRUE(toLong(" 42x", n));
  EXPECT_EQ(42, n);
  n = -7;
  EXPECT_FALSE(toLong("x42", n));
  EXPECT_EQ(-7, n);
  EXPECT_TRUE(toLong("12abc", n));
  EXPECT_EQ(12, n);
  EXPECT_TRUE(toLong("-3", n));
  EXPECT_EQ(-3, n);
  short sh = 0;
  EXPECT_TRUE(toShort("7", sh));
  EXPECT_EQ(7, sh);
  EXPECT_EQ(SString("-1"), fromLong(-1));
  EXPECT_EQ(SString("0"), fromLong(0));
}

TEST(SString, KeepsNulBytes) {
  SString s("a\0b", 3);
  EXPECT_EQ(3u, s.length());
  EXPECT_EQ(1u, s.find(SString("\0", 1), 0));
}

TEST(SString, ReserveKeepsTheTextAndMakesTheBufferPrivate) {
  SString s("abc");
  SString copy = s;
  s.reserve(100);
  EXPECT_EQ(127u, s.capacity());  // 100 | 31
  EXPECT_EQ(SString("abc"), s);
  EXPECT_NE(copy.c_str(), s.c_str());
  EXPECT_EQ(0u, s.shareCount());
  EXPECT_EQ(0u, copy.shareCount());
  EXPECT_EQ(SString("abc"), copy);

  const char* before = s.c_str();
  s.reserve(50);  // enough room already: nothing moves
  EXPECT_EQ(before, s.c_str());
  EXPECT_EQ(127u, s.capacity());

  SString empty;
  empty.reserve(0);
  EXPECT_EQ(0u, empty.capacity());
  EXPECT_THROW(empty.reserve(SString::max_size + 1), LengthException);
  EXPECT_EQ(0u, empty.capacity());
}

TEST(SString, ReserveGrowsALargeTextWithoutLosingIt) {
  std::string text;
  for (int i = 0; i < 100000; ++i) text += static_cast<char>('a' + i % 26);
  SString s(text.c_str());
  for (SString::size_type n = 200000; n <= 3200000; n *= 2) {
    s.reserve(n);
    EXPECT_LE(n, s.capacity());
  }
  EXPECT_TRUE(SString(text.c_str()) == s);
  EXPECT_EQ('\0', s.c_str()[s.length()]);
}

TEST(SString, AFrozenBufferStaysFrozenThroughReserve) {
  SString s("abc");
  s[0] = 'x';
  s.reserve(1000);
  EXPECT_EQ(255u, s.shareCount());
  SString c = s;
  EXPECT_NE(s.c_str(), c.c_str());
  EXPECT_EQ(SString("xbc"), c);
}

TEST(SString, ShrinkToFitGivesBackReservedRoom) {
  SString s("abc");
  s.reserve(1000);
  s.shrinkToFit();
  EXPECT_EQ(31u, s.capacity());
  EXPECT_EQ(SString("abc"), s);

  SString big(std::string(100, 'x').c_str());
  big.reserve(5000);
  SString shared = big;
  big.shrinkToFit();  // shared: left alone
  EXPECT_EQ(5023u, big.capacity());
  EXPECT_EQ(big.c_str(), shared.c_str());
}

TEST(SString, AppendProducedTakesWhatTheProducerWrote) {
  SString s("ab");
  SString copy = s;
  long got = s.appendProduced(10, [](char* where, SString::size_type room) {
    EXPECT_EQ(10u, room);
    std::memcpy(where, "cde", 3);
    return 3L;
  });
  EXPECT_EQ(3, got);
  EXPECT_EQ(SString("abcde"), s);
  EXPECT_EQ(std::strlen(s.c_str()), s.length());
  EXPECT_EQ(SString("ab"), copy);

  // Nothing written, or a failure: the text stays as it was.
  for (long result : {0L, -1L}) {
    EXPECT_EQ(result, s.appendProduced(4, [result](char* where, SString::size_type) {
      where[0] = 'z';
      return result;
    }));
    EXPECT_EQ(SString("abcde"), s);
    EXPECT_EQ('\0', s.c_str()[s.length()]);
  }
  EXPECT_THROW(s.appendProduced(1, [](char*, SString::size_type) { return 2L; }), LengthException);
  EXPECT_EQ(SString("abcde"), s);
  EXPECT_THROW(s.appendProduced(SString::max_size, [](char*, SString::size_type) { return 0L; }), LengthException);
}
