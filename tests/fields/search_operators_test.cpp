#include "fields/search_operators.hpp"

#include <gtest/gtest.h>

#include <string>

namespace vantorel {
namespace {

TEST(SearchOperatorsTest, ListPerKind) {
  const std::u16string numeric = u"USER SELECT\r\n=\r\n<>\r\n<\r\n<=\r\n>\r\n>=\r\nBETWEEN";
  const std::u16string text = numeric + u"\r\nLIKE\r\nNOT LIKE\r\nSTARTS WITH";
  const struct {
    std::int16_t type;
    std::u16string expected;
  } cases[] = {
      {11, u"USER SELECT\r\n=\r\n<>"},
      {202, text},
      {200, text},
      {201, text},
      {203, text},
      {129, text},
      {130, text},
      {3, numeric},
      {7, numeric},
      {135, numeric},
      {72, numeric},
      {14, numeric},
      {17, numeric},
      {139, numeric},
      {146, numeric},
      {-1, numeric},
      {8, numeric},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.type);
    const std::u16string got = FldSrchOprs(c.type);
    EXPECT_EQ(got, c.expected);
    EXPECT_NE(got.substr(got.size() - 2), u"\r\n");
  }
}

}  // namespace
}  // namespace vantorel
