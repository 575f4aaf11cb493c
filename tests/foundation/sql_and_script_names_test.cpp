#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "foundation/field_kind.hpp"
#include "foundation/keyword_list.hpp"
#include "foundation/project_context.hpp"
#include "foundation/script_text.hpp"
#include "foundation/sql_quoting.hpp"
#include "foundation/variant_description.hpp"
#include "platform/fs/path.hpp"
#include "platform/text/unicode.hpp"
#include "support/temp_home.hpp"

namespace vantorel {
namespace {

using test::describe;

Variant str(const char16_t* s) {
  return Variant(std::u16string(s));
}

// Module data is per thread; a fresh thread starts from the engine's initial state.
template <class F>
void onFreshThread(F f) {
  std::thread(f).join();
}

TEST(DbmsKind, GetDbmsType) {
  const std::pair<const char16_t*, std::int16_t> cases[] = {
      {u"ACCESS", 1},
      {u"MS Jet", 1},
      {u"access", 99},
      {u"ms jet", 99},
      {u"Microsoft SQL Server", 2},
      {u"microsoft sql", 2},
      {u"SQL Server", 99},
      {u"MySQL", 3},
      {u"mysql", 3},
      {u"MariaDB", 3},
      {u"Oracle", 4},
      {u"PostgreSQL", 5},
      {u"Corporate Store", 4},  // any name holding "ora" counts as Oracle
      {u"Informix", 99},
      {u"SQLite", 99},
      {u"", 99},
  };
  for (const auto& [name, kind] : cases) EXPECT_EQ(GetDbmsType(name), kind) << toUtf8(name);
}

TEST(DbmsKind, QuotingBySettingAndDbms) {
  struct Case {
    const char16_t* setting;
    const char16_t* dbms;
    const char16_t* name;
    const char16_t* quoted;
    const char16_t* raw;
  };
  const Case cases[] = {
      {u"", u"ACCESS", u"Order]Items", u"[Order]]Items]", u"[Order]Items]"},
      {u"", u"Microsoft SQL Server", u"a b", u"[a b]", u"[a b]"},
      {u"", u"MySQL", u"we`ird", u"`we``ird`", u"`we`ird`"},
      {u"", u"PostgreSQL", u"say \"hi\"", u"\"say \"\"hi\"\"\"", u"\"say \"hi\"\""},
      {u"", u"Oracle", u"T", u"T", u"T"},
      {u"", u"SQLite", u"T", u"T", u"T"},
      {u"square bracket", u"MySQL", u"T", u"`T`", u"`T`"},  // unknown setting: by DBMS
      {u"Square Bracket", u"MySQL", u"a]b", u"[a]]b]", u"[a]b]"},
      {u"Double Quote", u"ACCESS", u"T", u"\"T\"", u"\"T\""},
      {u"Single Quote", u"ACCESS", u"O'Neil", u"'O''Neil'", u"'O'Neil'"},
      {u"Backquote", u"PostgreSQL", u"T", u"`T`", u"`T`"},
      {u"None", u"ACCESS", u"Order]Items", u"Order]Items", u"Order]Items"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(toUtf8(c.setting) + " / " + toUtf8(c.dbms));
    const SqlQuote quote = SetSqlQuote(c.setting, c.dbms);
    EXPECT_EQ(QuoteSqlName(quote, str(c.name)), c.quoted);
    EXPECT_EQ(QuoteSqlNameRaw(quote, str(c.name)), c.raw);
  }
  EXPECT_EQ(QuoteSqlName({}, str(u"Order]Items")), u"Order]Items");  // no quote characters
  // No closing quote: nothing doubled or closed.
  EXPECT_EQ(QuoteSqlName({u"[", u""}, str(u"x")), u"[x");
}

TEST(DbmsKind, GetQuoteChars) {
  struct Case {
    const char16_t* setting;
    const char16_t* dbms;
    const char16_t* kind;
    const char* quote;
  };
  const Case cases[] = {
      {u"", u"", u"", "`"},  // an empty name counts as MySQL
      {u"", u"MySQL", u"ODBC", "`"},
      {u"", u"MySQL", u"JDBC", "NA"},
      {u"", u"PostgreSQL", u"", "\""},
      {u"Backquote", u"PostgreSQL", u"", "\""},
      {u"None", u"PostgreSQL", u"", ""},
      {u"double quote", u"MySQL", u"", "\""},
      {u"Square Bracket", u"MySQL", u"", "`"},
      {u"", u"Microsoft SQL Server", u"", ""},
      {u"BACKQUOTE", u"Microsoft SQL Server", u"", "`"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(describe(GetQuoteChars(c.setting, c.dbms, c.kind)), std::string("String:") + c.quote)
        << toUtf8(c.setting) << " / " << toUtf8(c.dbms);
  }
}

TEST(FieldKind, KindsAndTypeNames) {
  const std::pair<int, std::int16_t> kinds[] = {
      {20, 1},  {3, 1},   {2, 1},   {16, 1},  {4, 1},   {5, 1},   {131, 1}, {6, 1},
      {7, 2},   {133, 2}, {134, 2}, {135, 2}, {201, 3}, {203, 3}, {129, 3}, {130, 3},
      {200, 3}, {202, 3}, {11, 4},  {72, 5},  {14, 6},  {17, 6},  {18, 6},  {19, 6},
      {21, 6},  {128, 6}, {204, 6}, {205, 6}, {0, 6},
  };
  for (const auto& [code, kind] : kinds) {
    EXPECT_EQ(GetFldKind(Variant(static_cast<std::int32_t>(code))), kind) << code;
  }
  EXPECT_EQ(GetFldKind(str(u"not a code")), 6);

  struct Name {
    int code, size;
    const char* name;
  };
  const Name names[] = {
      {135, 16, "String:SMALLDATETIME"},
      {135, 23, "String:DATETIME"},
      {135, 27, "String:DATETIME2"},
      {135, 8, "String:TIMESTAMP"},
      {7, 0, "String:DATE"},
      {133, 0, "String:DATE"},
      {145, 0, "String:TIME"},
      {8, 0, "String:BSTR"},
      {146, 0, "String:DATETIMEOFFSET"},
      {21, 0, "String:UNSIGNEDBIGINT"},
      {128, 0, "Empty"},
      {999, 0, "Empty"},
  };
  for (const Name& n : names) {
    EXPECT_EQ(describe(AdoTypeName(Variant(static_cast<std::int32_t>(n.code)),
                                   Variant(static_cast<std::int32_t>(n.size)))),
              n.name)
        << n.code;
  }

  for (const char16_t* t : {u"bit", u"BOX", u"array", u"circle", u"line", u"lseg", u"path",
                            u"point", u"polygon", u"inet"}) {
    EXPECT_FALSE(IsSupportedPgType(str(t))) << toUtf8(t);
  }
  for (const char16_t* t : {u"", u"integer", u"varbit", u"text", u"cidr"}) {
    EXPECT_TRUE(IsSupportedPgType(str(t))) << toUtf8(t);
  }
}

TEST(ScriptNames, GetVarName) {
  onFreshThread([] {
    test::TempDir dir;
    const auto file = dir.path() / "k.xml";
    std::ofstream(file) << "<Vantorel.keyword><keyword value=\"Date\"/><keyword value=\"Datez\"/>"
                           "<keyword value=\"Order Details\"/></Vantorel.keyword>";
    ASSERT_TRUE(SharedKeywords().call(u"Load", {Variant(fs::fromNative(file))}).boolValue());

    struct Case {
      const char16_t* name;
      const char16_t* prefix;
      const char16_t* result;
    };
    const Case cases[] = {
        {u"Unit Price", u"", u"Unit_Price"},
        {u"9 Sales", u"", u"z9_Sales"},
        {u"Unit-Price", u"", u"Unit2DPrice"},
        {u"a.b", u"x_", u"x_a2Eb"},
        {u"", u"", u""},
        {u"", u"fld", u"fld"},
        {u"_id", u"", u"z_id"},
        {u"date", u"", u"datezz"},  // Date and Datez are both reserved
        {u"Order Details", u"tbl", u"tblOrder_Detailsz"},
        {u"Order_Details", u"", u"Order_Details"},  // reserved words match the raw name only
        {u"Caf\u00E9", u"", u"CafE9"},              // é is E9 in Windows-1252
        {u"\u20AC", u"", u"z80"},                   // € is 80 in Windows-1252
        {u"\u4E2D", u"", u"z4E2D"},                 // not in the code page: its code unit
        {u"?", u"", u"z3F"},
    };
    for (const Case& c : cases) {
      EXPECT_EQ(describe(GetVarName(str(c.name), str(c.prefix))), "String:" + toUtf8(c.result))
          << toUtf8(c.name);
    }
  });
}

TEST(ScriptNames, QuoteStr) {
  struct Case {
    Variant text;
    Variant level;
    const char* result;
  };
  const Case cases[] = {
      {str(u"'abc'"), Variant(std::int32_t{1}), "String:\"abc\""},
      {str(u" \"abc\" "), Variant(std::int32_t{0}), "String:abc"},
      {str(u"say \"hi\""), Variant(std::int32_t{1}), "String:\"say \"\"hi\"\"\""},
      {str(u"x"), Variant(std::int32_t{2}), "String:\"\"x\"\""},
      {str(u"x"), Variant(std::int32_t{-1}), "String:x"},
      {str(u"x"), str(u"not a number"), "String:x"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(describe(QuoteStr(c.text, c.level)), c.result) << describe(c.text);
  }
}

TEST(ScriptNames, TextToVbsExpr) {
  struct Case {
    const char16_t* text;
    const char16_t* joiner;
    const char16_t* expr;
  };
  const Case cases[] = {
      {u"", u"", u""},
      {u"a", u"", u"\"a\""},
      {u"a\r\nb", u"", u"\"a\"&vbCrLf&\"b\""},
      {u"a\r\nb", u"J", u"\"a\"&vbCrLf&J&\"b\""},
      {u"a\r\n", u"", u"\"a\"&vbCrLf&\"\""},
      {u"say \"hi\"", u"", u"\"say \"\"hi\"\"\""},
      {u"a\nb", u"", u"\"a\"&vbLf&\"b\""},
      {u"a\rb", u"", u"\"a\"&vbCr&\"b\""},
      {u"a\n\r\nb\r", u"J", u"\"a\"&vbLf&J&\"\"&vbCrLf&J&\"b\"&vbCr&J&\"\""},
      {u"\n", u"", u"\"\"&vbLf&\"\""},
  };
  for (const Case& c : cases) {
    const std::u16string expr = TextToVbsExpr(c.text, c.joiner);
    EXPECT_EQ(expr, c.expr) << toUtf8(c.text);
    EXPECT_EQ(expr.find_first_of(u"\r\n"), std::u16string::npos);
  }
}

}  // namespace
}  // namespace vantorel
