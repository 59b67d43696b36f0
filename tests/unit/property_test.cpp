// Which property numbers each control kind has, and the form of their values.
// Numbers are written out literally so that a wrong constant shows up here.

#include "runtime/property.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

namespace {

using pelvrin::Kind;
using pelvrin::property_type;
using pelvrin::ValueType;

constexpr Kind kAllKinds[] = {Kind::window,    Kind::picture_box, Kind::group_box,
                              Kind::label,     Kind::hyperlink,   Kind::check_box,
                              Kind::slider,    Kind::edit_box,    Kind::timer};

std::string kind_name(Kind k) {
  switch (k) {
    case Kind::window: return "window";
    case Kind::picture_box: return "picture_box";
    case Kind::group_box: return "group_box";
    case Kind::label: return "label";
    case Kind::hyperlink: return "hyperlink";
    case Kind::check_box: return "check_box";
    case Kind::slider: return "slider";
    case Kind::edit_box: return "edit_box";
    case Kind::timer: return "timer";
  }
  return "?";
}

std::string type_name(std::optional<ValueType> t) {
  if (!t) return "nothing";
  switch (*t) {
    case ValueType::integer: return "integer";
    case ValueType::text: return "text";
    case ValueType::bytes: return "bytes";
  }
  return "?";
}

// The numbers every kind shares.
std::optional<ValueType> common(int number) {
  switch (number) {
    case 0:  // left
    case 1:  // top
    case 2:  // width
    case 3:  // height
    case 5:  // visible
    case 6:  // disabled
      return ValueType::integer;
    case 4:  // tag
      return ValueType::text;
    case 7:  // mouse pointer
      return ValueType::bytes;
    default:
      return std::nullopt;
  }
}

struct Specific {
  Kind kind;
  int number;
  ValueType type;
};

constexpr Specific kSpecific[] = {
    {Kind::edit_box, 8, ValueType::text},      // text
    {Kind::label, 8, ValueType::text},         // caption
    {Kind::timer, 8, ValueType::integer},      // period
    {Kind::picture_box, 10, ValueType::bytes}, // picture
    {Kind::check_box, 11, ValueType::text},    // caption
    {Kind::check_box, 18, ValueType::integer}, // ticked state
    {Kind::slider, 19, ValueType::integer},    // position
};

std::optional<ValueType> expected(Kind kind, int number) {
  if (auto t = common(number)) return t;
  for (const Specific& s : kSpecific) {
    if (s.kind == kind && s.number == number) return s.type;
  }
  return std::nullopt;
}

// Every kind against every number around the used range: the common ones
// everywhere, the kind-specific ones only on their kind, nothing otherwise
// (8 on a slider, 19 on a label, 10 on a label, -1, 20, ...).
TEST(PropertyType, EveryKindHasExactlyItsOwnNumbers) {
  for (Kind kind : kAllKinds) {
    for (int number = -2; number <= 21; ++number) {
      EXPECT_EQ(type_name(property_type(kind, number)), type_name(expected(kind, number)))
          << kind_name(kind) << " property " << number;
    }
  }
}

TEST(PropertyType, FarOutNumbersHaveNothing) {
  for (Kind kind : kAllKinds) {
    for (int number : {-2147483647 - 1, -8, 100, 2147483647}) {
      EXPECT_FALSE(property_type(kind, number).has_value())
          << kind_name(kind) << " property " << number;
    }
  }
}

}  // namespace
