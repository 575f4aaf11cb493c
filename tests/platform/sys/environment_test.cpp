#include "platform/sys/environment.hpp"

#include <gtest/gtest.h>

#include "support/scoped_env.hpp"

namespace vantorel::sys {
namespace {

TEST(Environment, ExpandsOnlyVariablesThatAreSet) {
  test::ScopedEnv greeting("VT_GREETING", "hello");
  test::ScopedEnv empty("VT_EMPTY", "");
  test::ScopedEnv percent("VT_PERCENT", "100%");
  test::ScopedEnv missing("VT_MISSING", nullptr);
  const struct {
    std::u16string_view in, out;
  } cases[] = {
      {u"%VT_GREETING%, world", u"hello, world"},
      {u"%vt_greeting%", u"hello"},  // names match without regard to case, as on Windows
      {u"%VT_GREETING%%VT_GREETING%", u"hellohello"},
      {u"[%VT_EMPTY%]", u"[]"},
      {u"%VT_PERCENT%%VT_GREETING%", u"100%hello"},  // values are not expanded again
      {u"50% of 100%", u"50% of 100%"},
      {u"50% of %VT_GREETING%", u"50% of hello"},
      {u"%VT_MISSING%x", u"%VT_MISSING%x"},
      {u"%VT_MISSING%VT_GREETING%", u"%VT_MISSINGhello"},
      {u"%%", u"%%"},
      {u"%", u"%"},
      {u"100%", u"100%"},
      {u"%VT_GREETING", u"%VT_GREETING"},
      {u"%=%", u"%=%"},
      {u"", u""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(expandEnvironment(c.in), c.out) << testing::PrintToString(std::u16string(c.in));
  }
}

TEST(Environment, ReadsVariables) {
  test::ScopedEnv value("VT_VALUE", "caf\xC3\xA9");
  EXPECT_EQ(environmentVariable(u"VT_VALUE"), u"caf\u00E9");
  EXPECT_FALSE(environmentVariable(u"VT_NOT_SET_ANYWHERE"));
  EXPECT_FALSE(environmentVariable(u""));
  EXPECT_FALSE(environmentVariable(u"A=B"));
}

}  // namespace
}  // namespace vantorel::sys
