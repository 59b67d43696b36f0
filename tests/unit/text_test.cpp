// Decimal conversions between texts and 32-bit integers, and the end of a
// zero-terminated text.

#include "runtime/text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <ostream>
#include <string>
#include <string_view>

namespace {

using pelvrin::int_to_text;
using pelvrin::text_to_int;

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

struct ParseCase {
  std::string_view text;
  std::int32_t expected;
};

void PrintTo(const ParseCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class TextToInt : public ::testing::TestWithParam<ParseCase> {};

TEST_P(TextToInt, Parses) {
  const ParseCase& c = GetParam();
  EXPECT_EQ(text_to_int(c.text), c.expected) << '"' << c.text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextToInt,
    ::testing::Values(
        ParseCase{"0", 0}, ParseCase{"120", 120}, ParseCase{"-5", -5},
        // Leading white space, an optional sign, digits up to the first other
        // character.
        ParseCase{" +12abc", 12}, ParseCase{"\t\n\r\v\f 7", 7}, ParseCase{"12 34", 12},
        ParseCase{"007", 7}, ParseCase{"-0", 0}, ParseCase{"0x1F", 0},
        // No leading digits.
        ParseCase{"", 0}, ParseCase{"abc", 0}, ParseCase{"  -", 0}, ParseCase{"+", 0},
        ParseCase{"- 5", 0}, ParseCase{"+-5", 0}, ParseCase{"--5", 0}, ParseCase{"a12", 0},
        // Wrapping modulo 2^32.
        ParseCase{"2147483647", kMax}, ParseCase{"2147483648", kMin},
        ParseCase{"-2147483648", kMin}, ParseCase{"-2147483649", kMax},
        ParseCase{"4294967295", -1}, ParseCase{"4294967296", 0}, ParseCase{"4294967297", 1},
        ParseCase{"-4294967295", 1}, ParseCase{"99999999999999999999", 1661992959}));

TEST(TextToInt, StopsAtAnEmbeddedZeroByte) {
  EXPECT_EQ(text_to_int(std::string_view("42\0" "7", 4)), 42);
}

TEST(TextToInt, FullWidthDigitsAndSpacesAreNotDecimal) {
  // CP936 bytes of "１２" and of a full-width space before "5".
  EXPECT_EQ(text_to_int("１２"), 0);
  EXPECT_EQ(text_to_int("　5"), 0);
}

TEST(IntToText, IsPlainDecimalWithALeadingMinus) {
  struct Case {
    std::int32_t value;
    std::string_view text;
  };
  for (const Case& c : {Case{0, "0"}, Case{7, "7"}, Case{-1, "-1"}, Case{-45, "-45"},
                        Case{30000, "30000"}, Case{kMax, "2147483647"},
                        Case{kMin, "-2147483648"}}) {
    EXPECT_EQ(int_to_text(c.value), c.text);
  }
}

TEST(IntToText, RoundTripsThroughTextToInt) {
  for (std::int32_t v : {kMin, kMin + 1, -65536, -1, 0, 1, 65535, kMax}) {
    EXPECT_EQ(text_to_int(int_to_text(v)), v);
  }
}

TEST(TextUntilZero, EndsAtTheFirstZeroByte) {
  EXPECT_EQ(pelvrin::text_until_zero(std::string_view("ab\0cd", 5)), "ab");
  EXPECT_EQ(pelvrin::text_until_zero(std::string_view("\0x", 2)), "");
  EXPECT_EQ(pelvrin::text_until_zero("标题"), "标题");
  EXPECT_EQ(pelvrin::text_until_zero(""), "");
}

}  // namespace
