#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/syscall.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "base/SString.h"
#include "support/DeniedSystemCall.h"
#include "support/Processes.h"

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
      {"N1=5", "=", 0, 2},    {"@N1@", "@", 4, npos},   {"abc", "", 3, 3},   {"abc", "", 4, npos},
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

// The quotes go one at each end and independently of each other: a value
// that lost its closing quote still loses the opening one, and quotes
// inside stay.
TEST(SString, StripOuterQuotesTakesOneQuoteFromEachEnd) {
  const struct {
    const char* text;
    const char* want;
  } cases[] = {
      {"", ""},
      {"\"", ""},
      {"\"\"", ""},
      {"\"\"\"", "\""},
      {"\"a b\"", "a b"},
      {"\"\"a\"\"", "\"a\""},
      {"\"open", "open"},
      {"close\"", "close"},
      {"in\"side", "in\"side"},
      {" \"a\" ", " \"a\" "},
      {"'a'", "'a'"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(SString(c.want), stripOuterQuotes(c.text));
  }
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

// Appending grows a buffer only to the new length rounded up by the
// minimum reserve, whether the buffer is fresh, private or frozen; a grown
// frozen buffer has one owner again and may be shared.
TEST(SString, AppendingOneCharacterAtATimeKeepsTheMinimumReserve) {
  for (bool frozen : {false, true}) {
    SCOPED_TRACE(frozen ? "frozen" : "private");
    SString s("a");
    if (frozen) s[0] = 'A';
    std::string want = frozen ? "A" : "a";
    for (int i = 0; i < 5000; ++i) {
      const char c = static_cast<char>('a' + i % 26);
      s += c;
      want += c;
      ASSERT_EQ(s.length() | 31u, s.capacity()) << "after " << s.length() << " characters";
    }
    EXPECT_EQ(SString(want.c_str()), s);
    EXPECT_EQ('\0', s.c_str()[s.length()]);
    EXPECT_EQ(0u, s.shareCount());
    SString copy = s;
    EXPECT_EQ(s.c_str(), copy.c_str());
  }
}

// A text gathered from many small pieces, each appended after
// reserveForAppend, changes its buffer a number of times that grows with the
// logarithm of its length, each time to at least twice the room it had.
TEST(SString, ReserveForAppendGrowsInDoublingSteps) {
  SString s;
  std::string want;
  int growths = 0;
  for (int i = 0; i < 20000; ++i) {
    const std::string piece(1 + i % 7, static_cast<char>('a' + i % 26));
    const SString::size_type before = s.capacity();
    s.reserveForAppend(static_cast<SString::size_type>(piece.size()));
    ASSERT_LE(s.length() + piece.size(), s.capacity());
    if (s.capacity() != before) {
      ++growths;
      if (before > 0) {
        EXPECT_LE(2 * before, s.capacity());
      }
    }
    const char* buffer = s.c_str();
    s.append(piece.c_str(), static_cast<SString::size_type>(piece.size()));
    ASSERT_EQ(buffer, s.c_str()) << "append found no room after reserveForAppend";
    want += piece;
  }
  EXPECT_EQ(SString(want.c_str()), s);
  int doublings = 1;
  for (size_t room = 31; room < want.size(); room *= 2) ++doublings;
  EXPECT_LE(growths, doublings);
}

TEST(SString, ReserveForAppendKeepsTheRulesOfReserve) {
  // Enough room already: nothing moves.
  SString s("abc");
  s.reserve(100);
  const char* before = s.c_str();
  s.reserveForAppend(100);
  EXPECT_EQ(before, s.c_str());
  EXPECT_EQ(127u, s.capacity());

  // A shared buffer is left to the other owner; this one gets its own.
  SString copy = s;
  s.reserveForAppend(1);
  EXPECT_NE(copy.c_str(), s.c_str());
  EXPECT_EQ(0u, copy.shareCount());
  EXPECT_EQ(SString("abc"), s);
  EXPECT_EQ(SString("abc"), copy);

  // More than doubling when the piece needs it.
  s.reserveForAppend(1000);
  EXPECT_EQ((3u + 1000u) | 31u, s.capacity());

  EXPECT_THROW(s.reserveForAppend(SString::max_size), LengthException);
  EXPECT_EQ(SString("abc"), s);
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

namespace {

// Buffers with room for this many characters or more are mappings of their
// own whose characters start on a cache line; smaller ones come from malloc
// and start one byte past its aligned block, so never on a line. Whether a
// buffer is mapped thus shows in its address.
const SString::size_type kMappedCapacity = 8u * 1024 * 1024;

bool isMapped(const SString& s) { return reinterpret_cast<uintptr_t>(s.c_str()) % 64 == 0; }

// A text whose every position differs from its neighbours, to catch a copy
// or a move that shifts or loses characters.
std::string largeText(size_t n) {
  std::string text(n, '\0');
  for (size_t i = 0; i < n; ++i) text[i] = static_cast<char>('a' + i % 251 % 26);
  return text;
}

void expectText(const std::string& want, const SString& s) {
  ASSERT_EQ(want.size(), s.length());
  EXPECT_EQ(0, std::memcmp(want.data(), s.c_str(), want.size()));
  EXPECT_EQ('\0', s.c_str()[s.length()]);
}

}  // namespace

// Each way of making a buffer puts it where its capacity says, and each way
// of resizing or freeing one finds it there (under ASan a buffer given to the
// wrong allocator is reported).
TEST(SString, BuffersFromTheThresholdUpAreMappedAndSmallerOnesAreNot) {
  SString below;
  below.reserve(kMappedCapacity - 32);  // rounded up by the minimum reserve: one short
  EXPECT_EQ(kMappedCapacity - 1, below.capacity());
  EXPECT_FALSE(isMapped(below));
  SString at;
  at.reserve(kMappedCapacity);
  EXPECT_LE(kMappedCapacity, at.capacity());
  EXPECT_TRUE(isMapped(at));

  const std::string text = largeText(kMappedCapacity + 1000);
  // Made whole from characters, and by appending to a small buffer.
  SString made(text.c_str(), static_cast<SString::size_type>(text.size()));
  EXPECT_TRUE(isMapped(made));
  expectText(text, made);
  SString grown("ab");
  grown.append(text.c_str() + 2, static_cast<SString::size_type>(text.size() - 2));
  grown.replace(0, 2, SString(text.c_str(), 2));
  EXPECT_TRUE(isMapped(grown));
  expectText(text, grown);

  // A copy shares; changing a shared buffer makes a private mapped copy.
  SString shared = made;
  EXPECT_EQ(made.c_str(), shared.c_str());
  shared.erase(0, 1);
  EXPECT_TRUE(isMapped(shared));
  expectText(text.substr(1), shared);
  expectText(text, made);

  // A frozen buffer is copied, not shared; the copy is mapped too.
  made[0] = 'A';
  SString copied = made;
  EXPECT_NE(made.c_str(), copied.c_str());
  EXPECT_TRUE(isMapped(copied));
  EXPECT_EQ(255u, made.shareCount());
  EXPECT_EQ('A', copied[0]);

  // Assigning a short text into a large buffer gives it up for a small one.
  copied = "short";
  EXPECT_FALSE(isMapped(copied));
  EXPECT_EQ(SString("short"), copied);
}

TEST(SString, ReserveAndShrinkToFitMoveABufferAcrossTheThreshold) {
  const std::string text = largeText(3 * kMappedCapacity / 2);
  SString s("start|");
  std::string want = "start|";
  s.reserve(4096);
  EXPECT_FALSE(isMapped(s));
  // Up from malloc into a mapping, then a mapping resized in doubling steps.
  for (SString::size_type room = 8192; room <= 4 * kMappedCapacity; room *= 2) {
    s.reserve(room);
    EXPECT_LE(room, s.capacity());
    EXPECT_EQ(room >= kMappedCapacity, isMapped(s));
    SString::size_type add = room / 3;
    if (add > text.size()) add = static_cast<SString::size_type>(text.size());
    s.append(text.c_str(), add);
    want.append(text, 0, add);
  }
  expectText(want, s);
  SString::size_type before = s.capacity();
  s.shrinkToFit();  // still large: the mapping shrinks
  EXPECT_LT(s.capacity(), before);
  EXPECT_EQ(s.length() | 31u, s.capacity());
  EXPECT_TRUE(isMapped(s));
  expectText(want, s);

  // A frozen large buffer shrinks into malloc and stays frozen.
  s[0] = 'S';
  s.erase(100);
  s.shrinkToFit();
  EXPECT_EQ(127u, s.capacity());
  EXPECT_FALSE(isMapped(s));
  EXPECT_EQ(255u, s.shareCount());
  want[0] = 'S';
  expectText(want.substr(0, 100), s);

  // A shared large buffer is left alone by shrinkToFit.
  SString big(text.c_str(), static_cast<SString::size_type>(text.size()));
  big.reserve(2 * kMappedCapacity);
  big.erase(10);
  SString other = big;
  big.shrinkToFit();
  EXPECT_LE(2 * kMappedCapacity, big.capacity());
  EXPECT_EQ(big.c_str(), other.c_str());
}

TEST(SString, AppendProducedFillsAMappedBuffer) {
  SString s;
  std::string want;
  for (int i = 0; i < 3; ++i) {
    s.appendProduced(kMappedCapacity / 2, [&](char* where, SString::size_type room) {
      std::memset(where, 'p' + i, room);
      return static_cast<long>(room) - 7;
    });
    want.append(kMappedCapacity / 2 - 7, static_cast<char>('p' + i));
  }
  EXPECT_TRUE(isMapped(s));
  expectText(want, s);
}

// A mapped buffer grows where it lies as characters are appended one at a
// time, keeping the minimum-reserve rule and every character.
TEST(SString, AppendingToAMappedBufferKeepsItsText) {
  std::string want = largeText(kMappedCapacity + 10);
  SString s(want.c_str(), static_cast<SString::size_type>(want.size()));
  for (int i = 0; i < 10000; ++i) {
    const char c = static_cast<char>('A' + i % 26);
    s += c;
    want += c;
    ASSERT_EQ(s.length() | 31u, s.capacity());
  }
  EXPECT_TRUE(isMapped(s));
  expectText(want, s);
}

// Where the system refuses to remap pages or to advise on them (a
// container's filter may), mapped buffers still grow and shrink with their
// text intact: copied and cut instead of remapped.
TEST(SString, MappedBuffersKeepTheirTextWhereRemappingIsRefused) {
  const std::string text = largeText(3 * kMappedCapacity);
  for (int answer : {ENOSYS, EPERM, EINVAL}) {
    SCOPED_TRACE(answer);
    int status = InForkedProcess([&] {
      if (!DenySystemCall(SYS_mremap, answer) || !DenySystemCall(SYS_madvise, answer)) return 2;
      SString s;
      s.reserve(kMappedCapacity);
      for (SString::size_type room = kMappedCapacity; room <= 4 * kMappedCapacity; room *= 2) {
        s.reserve(room);
        if (s.capacity() < room || !isMapped(s)) return 10;
        s.append(text.c_str() + s.length(), room / 2 - s.length());
      }
      s.erase(kMappedCapacity + 5);
      s.shrinkToFit();
      if (s.capacity() != (s.length() | 31u) || !isMapped(s)) return 11;
      return s.length() == kMappedCapacity + 5 && std::memcmp(s.c_str(), text.data(), s.length()) == 0 &&
                     s.c_str()[s.length()] == '\0'
                 ? 0
                 : 12;
    });
    EXPECT_NE(2, status) << "this system does not let a process filter its system calls";
    EXPECT_EQ(0, status) << "10: growth, 11: shrinking, 12: the text";
  }
}
