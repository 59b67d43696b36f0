// Conversions between the program's CP936 texts and UTF-16. Narrow literals
// in this file are CP936 bytes at run time; the u"..." literals are UTF-16.

#include "runtime/text_codec.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>

namespace {

using pelvrin::cp936_to_utf16;
using pelvrin::utf16_to_cp936;

std::string hex(std::string_view bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    if (!out.empty()) out += ' ';
    out += kDigits[c >> 4];
    out += kDigits[c & 15];
  }
  return out;
}

std::string hex16(std::u16string_view text) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (char16_t c : text) {
    if (!out.empty()) out += ' ';
    for (int shift = 12; shift >= 0; shift -= 4) out += kDigits[(c >> shift) & 15];
  }
  return out;
}

struct Pair {
  std::string_view cp936;
  std::u16string_view utf16;
};

void PrintTo(const Pair& p, std::ostream* os) { *os << hex16(p.utf16); }

class RoundTrip : public ::testing::TestWithParam<Pair> {};

TEST_P(RoundTrip, BothWays) {
  const Pair& p = GetParam();
  EXPECT_EQ(hex16(cp936_to_utf16(p.cp936)), hex16(p.utf16));
  EXPECT_EQ(hex(utf16_to_cp936(p.utf16)), hex(p.cp936));
}

// The window's own texts, mixes of full-width and ASCII.
INSTANTIATE_TEST_SUITE_P(
    ProgramTexts, RoundTrip,
    ::testing::Values(
        Pair{"Pelvrin（支持后台）", u"Pelvrin（支持后台）"},
        Pair{"当前速度：", u"当前速度："},
        Pair{"当前速度：120毫秒/次", u"当前速度：120毫秒/次"},
        Pair{"←----勾选开启后台后将这个十字架拖到你要点击的位置即可",
             u"←----勾选开启后台后将这个十字架拖到你要点击的位置即可"},
        Pair{"开启后台功能后，将十字架拖到需要点击的位置，按F10，然后就可以去做其他的事情了。",
             u"开启后台功能后，将十字架拖到需要点击的位置，按F10，然后就可以去做其他的事情了。"},
        Pair{"F10开始  F11关闭", u"F10开始  F11关闭"},
        Pair{"1秒=1000毫秒", u"1秒=1000毫秒"},
        Pair{"自动点击已经开始", u"自动点击已经开始"},
        Pair{"错误", u"错误"},
        Pair{"plain ASCII ~!@#$%^&*()", u"plain ASCII ~!@#$%^&*()"}));

// The same characters pinned to their CP936 bytes, so that the codec is not
// only checked against the compiler's own idea of the code page.
INSTANTIATE_TEST_SUITE_P(
    KnownBytes, RoundTrip,
    ::testing::Values(Pair{"\xD6\xD0", u"中"},          // GB2312 hanzi
                      Pair{"\xA3\xA8\xA3\xA9", u"（）"},  // full-width parentheses
                      Pair{"\xA3\xBA", u"："},            // full-width colon
                      Pair{"\xA1\xFB", u"←"},             // left arrow
                      Pair{"\x81\x40", u"丂"},            // GBK extension, lowest lead
                      Pair{"\xA8\xA6", u"é"},             // pinyin letter
                      Pair{"\x80", u"€"},                 // the code page's single-byte euro
                      Pair{std::string_view("a\0b", 3), std::u16string_view(u"a\0b", 3)},
                      Pair{"", u""}));

// Bytes that are not CP936 never stop the conversion: each bad spot gives
// one replacement character and what follows is converted as usual.
struct BadBytes {
  const char* what;
  std::string_view cp936;
  std::u16string_view utf16;
};

void PrintTo(const BadBytes& b, std::ostream* os) { *os << b.what; }

class InvalidCp936 : public ::testing::TestWithParam<BadBytes> {};

TEST_P(InvalidCp936, GivesReplacementsAndKeepsTheRest) {
  const BadBytes& b = GetParam();
  EXPECT_EQ(hex16(cp936_to_utf16(b.cp936)), hex16(b.utf16)) << hex(b.cp936);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InvalidCp936,
    ::testing::Values(
        BadBytes{"lone lead byte", "\x81", u"\uFFFD"},
        BadBytes{"lead byte at the end", "a\xD6", u"a\uFFFD"},
        BadBytes{"0xFF between letters", "a\xFFz", u"a\uFFFDz"},
        BadBytes{"two 0xFF", "\xFF\xFF", u"\uFFFD\uFFFD"},
        BadBytes{"lead byte before a space", "\x81 z", u"\uFFFD z"},
        BadBytes{"lead byte before a zero", std::string_view("\xD6\0z", 3),
                 std::u16string_view(u"\uFFFD\0z", 3)},
        BadBytes{"0xFF before a good pair", "\xFF\xD6\xD0", u"\uFFFD中"}));

// A character without a CP936 form becomes '?'; a character outside the
// basic plane is two UTF-16 units, and each may give its own '?'.
struct Unmappable {
  const char* what;
  std::u16string_view utf16;
  const char* pattern;  // regular expression for the CP936 result
};

void PrintTo(const Unmappable& u, std::ostream* os) { *os << u.what; }

class UnmappableUtf16 : public ::testing::TestWithParam<Unmappable> {};

TEST_P(UnmappableUtf16, BecomesQuestionMarks) {
  const Unmappable& u = GetParam();
  EXPECT_THAT(utf16_to_cp936(u.utf16), ::testing::MatchesRegex(u.pattern)) << hex16(u.utf16);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnmappableUtf16,
    ::testing::Values(
        Unmappable{"capital A grave", u"A\u00C0B", "A\\?B"},
        Unmappable{"emoji as a surrogate pair", u"A\U0001F600B", "A\\?\\??B"},
        Unmappable{"lone high surrogate inside", std::u16string_view(u"A\xD800Z", 3), "A\\?Z"},
        Unmappable{"lone high surrogate at the end", std::u16string_view(u"A\xD800", 2), "A\\?"},
        Unmappable{"lone low surrogate", std::u16string_view(u"A\xDC00Z", 3), "A\\?Z"}));

TEST(TextCodec, MixedTextKeepsItsMappableParts) {
  // The hanzi on both sides of the emoji survive with their own bytes.
  const std::string out = utf16_to_cp936(u"中\U0001F600中");
  ASSERT_GE(out.size(), 5u);
  EXPECT_EQ(hex(out.substr(0, 2)), "D6 D0");
  EXPECT_EQ(hex(out.substr(out.size() - 2)), "D6 D0");
  EXPECT_EQ(out.substr(2, out.size() - 4).find_first_not_of('?'), std::string::npos);
}

// Texts far longer than any internal buffer, with two-byte characters and
// replacements falling on every boundary.
TEST(TextCodec, LongTextsConvertWhole) {
  std::string cp936;
  std::u16string utf16;
  for (int i = 0; i < 700; ++i) {
    cp936 += (i % 3 == 0) ? "x" : "中";
    utf16 += (i % 3 == 0) ? u"x" : u"中";
  }
  EXPECT_EQ(cp936_to_utf16(cp936), utf16);
  EXPECT_EQ(utf16_to_cp936(utf16), cp936);

  const std::string bad(1000, '\xFF');
  EXPECT_EQ(cp936_to_utf16(bad), std::u16string(1000, u'\uFFFD'));

  std::u16string emojis;
  for (int i = 0; i < 300; ++i) emojis += u"\U0001F600a";
  const std::string out = utf16_to_cp936(emojis);
  EXPECT_EQ(static_cast<std::size_t>(std::count(out.begin(), out.end(), 'a')), 300u);
  EXPECT_EQ(out.find_first_not_of("?a"), std::string::npos);
}

}  // namespace
