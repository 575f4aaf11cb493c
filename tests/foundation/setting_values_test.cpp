#include "foundation/setting_values.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/safe_array.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel {
namespace {

// What a setting reads as, whatever a project file or a script left in it.
struct TextCase {
  const char* what;
  Variant value;
  std::optional<std::u16string> asText;  // nullopt: settingAsText raises
  std::u16string text;                   // settingText never raises
};

TEST(SettingValues, TextOfEveryKindOfValue) {
  const TextCase cases[] = {
      {"empty", Variant(), u"", u""},
      {"null", Variant::null(), u"", u""},
      {"text", Variant(u"id\r\nno"), u"id\r\nno", u"id\r\nno"},
      {"long", Variant(std::int32_t{7}), u"7", u"7"},
      {"boolean", Variant(true), u"True", u"True"},
      {"error value", Variant::error(5), std::nullopt, u""},
      {"array", Variant(SafeArray::fromValues({Variant(1)})), std::nullopt, u""},
      {"nothing", Variant::nothing(), std::nullopt, u""},
  };
  for (const TextCase& c : cases) {
    if (c.asText) {
      EXPECT_EQ(toUtf8(settingAsText(c.value)), toUtf8(*c.asText)) << c.what;
    } else {
      EXPECT_THROW(settingAsText(c.value), AutomationError) << c.what;
    }
    EXPECT_EQ(toUtf8(settingText(c.value)), toUtf8(c.text)) << c.what;
  }
}

// The numbers and Booleans of the schema settings: what cannot be read is 0 or False, never an
// error.
struct NumberCase {
  const char* what;
  Variant value;
  std::int32_t asLong;
  std::int16_t asInteger;
  bool asBool;
};

TEST(SettingValues, NumbersOfEveryKindOfValue) {
  const NumberCase cases[] = {
      {"empty", Variant(), 0, 0, false},
      {"null", Variant::null(), 0, 0, false},
      {"long", Variant(std::int32_t{255}), 255, 255, true},
      {"integer text", Variant(u"12"), 12, 12, true},
      {"half rounds to even", Variant(2.5), 2, 2, true},
      {"boolean", Variant(true), -1, -1, true},
      {"no number", Variant(u"wide"), 0, 0, false},
      {"too large for an Integer", Variant(std::int32_t{70000}), 70000, 0, true},
      {"too large for a Long", Variant(1e12), 0, 0, true},
      {"array", Variant(SafeArray::fromValues({Variant(1)})), 0, 0, false},
      {"nothing", Variant::nothing(), 0, 0, false},
  };
  for (const NumberCase& c : cases) {
    EXPECT_EQ(settingAsLong(c.value), c.asLong) << c.what;
    EXPECT_EQ(settingAsInteger(c.value), c.asInteger) << c.what;
    EXPECT_EQ(settingAsBool(c.value), c.asBool) << c.what;
  }
}

}  // namespace
}  // namespace vantorel
