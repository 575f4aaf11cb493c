#include "foundation/setting_values.hpp"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace vantorel
