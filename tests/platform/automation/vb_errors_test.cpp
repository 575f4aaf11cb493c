#include "platform/automation/vb_errors.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>

namespace vantorel::vberr {
namespace {

TEST(VbsErrors, TableAndTextByNumber) {
  std::set<std::int32_t> seen;
  for (const ErrorEntry& e : kErrorTable) {
    SCOPED_TRACE(e.number);
    EXPECT_TRUE(seen.insert(e.number).second);
    EXPECT_FALSE(e.text.empty());
  }

  struct Case {
    std::int32_t number;
    ErrorKind kind;
    std::u16string text;
  };
  const Case cases[] = {
      {kTypeMismatch, ErrorKind::Runtime, u"Type mismatch"},
      {424, ErrorKind::Runtime, u"Object required"},
      {kElementNotFound, ErrorKind::Runtime, u"Element not found"},
      {5008, ErrorKind::Runtime, u"Illegal assignment"},
      {kSyntaxError, ErrorKind::Compile, u"Syntax error"},
      {1051, ErrorKind::Compile,
       u"Number of arguments must be consistent across property declarations"},
      {1057, ErrorKind::Compile, u"'Default' must be declared together with 'Public'"},
      {1058, ErrorKind::Compile, u"'Default' is allowed only on Property Get"},
      {kUserInterrupt, ErrorKind::Host, u"User interrupt occurred"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.number);
    EXPECT_EQ(errorText(c.number), c.text);
    EXPECT_EQ(errorText(c.number, c.kind), c.text);
  }
  // Each description knows its own kind only: Err.Raise of these numbers has no standard text.
  EXPECT_EQ(vbErrorDescription(1025), u"");
  EXPECT_EQ(vbErrorDescription(kUserInterrupt), u"");
  EXPECT_EQ(vbs::compileErrorDescription(13), u"");
  EXPECT_EQ(errorText(12), u"");
}

}  // namespace
}  // namespace vantorel::vberr
