#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "foundation/captions.hpp"
#include "foundation/project_context.hpp"
#include "foundation/system_info.hpp"
#include "foundation/template_lookup.hpp"
#include "foundation/value_conversion.hpp"
#include "foundation/value_format.hpp"
#include "foundation/variant_description.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/fs/path.hpp"
#include "platform/sys/folders.hpp"
#include "platform/text/unicode.hpp"
#include "support/temp_home.hpp"

namespace vantorel {
namespace {

using test::describe;

Variant str(const char16_t* s) {
  return Variant(std::u16string(s));
}

TEST(SharedProcedures, ConvertSettingAndConvertValue) {
  struct Case {
    Variant value;
    const char16_t* type;
    const char* setting;  // ConvertSetting
    const char* value2;   // ConvertValue
  };
  const Case cases[] = {
      {str(u"abc"), u"integer", "Empty", "Empty"},
      {str(u"1"), u"BOOLEAN", "Boolean:True", "Boolean:True"},
      {str(u"tRuE"), u"Boolean", "Boolean:True", "Boolean:True"},
      {str(u"0"), u"boolean", "Boolean:False", "Boolean:False"},
      {str(u"maybe"), u"boolean", "Empty", "Empty"},
      {Variant(3.5), u"integer", "Integer:4", "Integer:4"},
      {Variant(2.5), u"integer", "Integer:2", "Integer:2"},
      {str(u"40000"), u"Integer", "Empty", "Empty"},
      {str(u"40000"), u"Long", "Long:40000", "Long:40000"},
      {str(u"1.5"), u"single", "Single:1.5", "Single:1.5"},
      {str(u"1.25"), u"DOUBLE", "Double:1.25", "Double:1.25"},
      {str(u"\"quoted\""), u"string", "String:quoted", "String:\"quoted\""},
      {str(u" \" 'twice' \" "), u"String", "String:twice", "String: \" 'twice' \" "},
      {str(u"\"mixed'"), u"string", "String:\"mixed'", "String:\"mixed'"},
      {str(u"x"), u"date", "String:x", "String:x"},
      {Variant(std::int32_t{7}), u"", "Long:7", "Long:7"},
      {Variant::null(), u"string", "Empty", "Null"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(describe(c.value) + " as " + toUtf8(c.type));
    EXPECT_EQ(describe(ConvertSetting(c.value, str(c.type))), c.setting);
    EXPECT_EQ(describe(ConvertValue(c.value, str(c.type))), c.value2);
  }
  EXPECT_EQ(describe(ConvertSetting(str(u"5"), Variant::null())), "String:5");
}

TEST(SharedProcedures, CaptionsFromNames) {
  struct Case {
    const char16_t* name;
    const char16_t* caption;
  };
  const Case cases[] = {
      {u"ORDER_DETAILS", u"ORDER DETAILS"},
      {u"OrderDetails", u"Order Details"},
      {u"unit-price", u"unit price"},
      {u"a___b", u"a b"},
      {u"a - _b", u"a b"},
      {u"_x_", u" x "},
      {u"  CustomerID  ", u"Customer ID"},
      {u"Field2Name", u"Field 2Name"},
      {u"Price(USD)", u"Price (USD)"},
      {u"x<y>[z]{w}", u"x <y> [z] {w}"},
      {u"ID", u"ID"},
      {u"", u""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NameToCaption(c.name), c.caption) << toUtf8(c.name);
  }
  EXPECT_EQ(describe(SplitCamelWord(str(u"lowerUpper9"))), "String:lower Upper 9");
  EXPECT_EQ(describe(SplitCamelWord(Variant(std::int16_t{12}))), "String:12");
  EXPECT_EQ(StripSpacesAndSlashes(u" A/B c// d "), u"ABcd");
}

TEST(SharedProcedures, SortLines) {
  struct Case {
    const char16_t* list;
    const char16_t* sorted;
  };
  const Case cases[] = {
      {u"", u""},
      {u"   ", u""},
      {u"b\r\na", u"a\r\nb"},
      {u"b\r\na\r\n", u"\r\na\r\nb"},
      {u" c\r\n a\r\nb ", u"a\r\nb\r\nc"},  // moved entries are stored trimmed
      {u" a\r\n b", u" a\r\n b"},           // entries that stay keep their blanks
      {u"B\r\na\r\nA", u"A\r\nB\r\na"},     // ordinal: capitals first
      {u"one", u"one"},
      {u"x\ny\r\nw", u"w\r\nx\ny"},  // only CR LF separates entries
  };
  for (const Case& c : cases) {
    EXPECT_EQ(describe(SortLines(str(c.list))), "String:" + toUtf8(c.sorted)) << toUtf8(c.list);
  }
}

TEST(SharedProcedures, GetPercent) {
  struct Case {
    std::int32_t current, total;
    std::int16_t percent;
  };
  const Case cases[] = {{0, 0, 0},       {5, 0, 100},   {1, 8, 12}, {27, 200, 14},
                        {150, 100, 100}, {50, 100, 50}, {1, 3, 33}, {2, 3, 67}};
  for (const Case& c : cases) {
    EXPECT_EQ(GetPercent(c.current, c.total), c.percent) << c.current << "/" << c.total;
  }
}

TEST(SharedProcedures, FormatDateStampAndPadZero) {
  const Variant date = Variant::date(*makeDate(2009, 3, 5, 7, 8, 9));
  EXPECT_EQ(describe(FormatDateStamp(date)), "String:2009/03/05 07:08:09");
  EXPECT_EQ(describe(FormatDateStamp(str(u"3/5/2009 7:08:09 PM"))), "String:2009/03/05 19:08:09");
  EXPECT_EQ(describe(FormatDateStamp(Variant::date(*makeDate(812, 12, 31, 0, 0, 0)))),
            "String:0812/12/31 00:00:00");
  EXPECT_EQ(describe(FormatDateStamp(str(u"not a date"))), "String:not a date");
  EXPECT_EQ(describe(FormatDateStamp(Variant(std::int32_t{42}))), "String:42");
  EXPECT_EQ(describe(FormatDateStamp(Variant::null())), "Null");

  EXPECT_EQ(describe(PadZero(Variant(std::int32_t{7}), Variant(std::int32_t{3}))), "String:007");
  EXPECT_EQ(describe(PadZero(str(u"abc"), Variant(std::int32_t{3}))), "String:abc");
  EXPECT_EQ(describe(PadZero(str(u""), Variant(std::int32_t{2}))), "String:00");
  try {
    PadZero(Variant(std::int32_t{1234}), Variant(std::int32_t{3}));
    ADD_FAILURE() << "no error for a value longer than the width";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), vberr::kInvalidProcedureCall);
  }
}

TEST(SharedProcedures, StripQuotesAndAddBackslash) {
  const std::pair<const char16_t*, const char16_t*> quotes[] = {
      {u"\"abc\"", u"abc"},
      {u"  'abc'  ", u"abc"},
      {u"\"'abc'\"", u"abc"},
      {u"\" ' abc ' \"", u"abc"},
      {u"\"abc'", u"\"abc'"},
      {u"\"", u"\""},
      {u"\"\"", u""},
      {u"a\"b\"", u"a\"b\""},
      {u"", u""},
  };
  for (const auto& [text, stripped] : quotes) EXPECT_EQ(StripQuotes(text), stripped);

  const std::pair<const char16_t*, const char16_t*> paths[] = {
      {u"", u""},       {u"   ", u""},          {u"a/", u"a/"},
      {u"a\\", u"a\\"}, {u" /x/y ", u"/x/y\\"}, {u"c:\\t", u"c:\\t\\"},
  };
  for (const auto& [path, result] : paths) EXPECT_EQ(AddBackslash(path), result);
}

TEST(SharedProcedures, SpecialFolderAndVersion) {
  EXPECT_EQ(GetSpecialFolderPath(0, kFolderIdDocuments), sys::documentsFolder());
  EXPECT_FALSE(GetSpecialFolderPath(0, kFolderIdDocuments).empty());
  EXPECT_EQ(GetSpecialFolderPath(0, 26), u"");

  WinVersionInfo info;
  EXPECT_EQ(GetWinVersion(info), u"");
  EXPECT_EQ(info.PlatformId, 2);
  EXPECT_EQ(info.Name, u"Linux");
  const auto digits = [](std::u16string_view s) {
    return !s.empty() && s.find_first_not_of(u"0123456789") == std::u16string_view::npos;
  };
  const std::size_t dot = info.Version.find(u'.');
  ASSERT_NE(dot, std::u16string::npos);
  EXPECT_TRUE(digits(std::u16string_view(info.Version).substr(0, dot)));
  EXPECT_TRUE(digits(std::u16string_view(info.Version).substr(dot + 1)));
  EXPECT_TRUE(digits(info.Build));
}

}  // namespace
}  // namespace vantorel
