#include <gtest/gtest.h>

#include <string>

#include "database/custom_sql_statement.hpp"
#include "foundation/sql_quoting.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel::test {
namespace {

TEST(CustomQueryCheck, OneQueryPassesAndAnythingMoreIsRefusedWithItsPlace) {
  struct Case {
    std::int16_t kind;
    std::u16string sql;
    std::u16string statement;  // what is described; empty when refused
    std::u16string where;      // the refusal's place
  } cases[] = {
      {kDbmsOther, u"SELECT a FROM t", u"SELECT a FROM t", u""},
      {kDbmsOther, u"SELECT a FROM t;  ", u"SELECT a FROM t", u""},
      {kDbmsOther, u"((SELECT 1)) UNION (SELECT 2)", u"((SELECT 1)) UNION (SELECT 2)", u""},
      {kDbmsPostgreSql, u"SELECT ';', \";\", $x$;$x$ /* ; /* ; */ ; */",
       u"SELECT ';', \";\", "
       u"$x$;$x$ /* ; /* ; */ ; */",
       u""},
      {kDbmsOther, u"DELETE FROM t", u"", u"line 1, column 1"},
      {kDbmsOther, u"SELECT 1;\n  DELETE FROM t", u"", u"line 1, column 9"},
      {kDbmsOther, u"SELECT 1;;", u"", u"line 1, column 9"},
      // Not nested outside PostgreSQL: the second "*/" leaves the ";" outside.
      {kDbmsOther, u"SELECT 1 /* /* */ ; */", u"", u"line 1, column 19"},
      // A backslash that the server's settings may or may not take as an escape.
      {kDbmsMySql, u"SELECT 'a\\'; DELETE FROM t; -- '", u"", u"line 1, column 12"},
      {kDbmsPostgreSql, u"SELECT 'a\\'; DELETE FROM t; -- '", u"", u"line 1, column 12"},
      {kDbmsPostgreSql, u"SELECT E'\\''; DELETE FROM t; SELECT '", u"", u"line 1, column 13"},
      // A "$" tag the server does not take is no string.
      {kDbmsPostgreSql, u"SELECT $a#$; DELETE FROM t; $a#$", u"", u"line 1, column 12"},
      {kDbmsMySql, u"SELECT 1 --1; DELETE FROM t", u"", u"line 1, column 13"},
      {kDbmsMySql, u"SELECT 1 -- 1; DELETE FROM t", u"SELECT 1 -- 1; DELETE FROM t", u""},
      {kDbmsMySql, u"SELECT 1 #'\n; DELETE FROM t; -- '", u"", u"line 2, column 1"},
      {kDbmsMySql, u"SELECT 1 /*!50000 ; DELETE FROM t */", u"", u"line 1, column 10"},
      {kDbmsMySql, u"SELECT 1 /*M! DELETE FROM t */", u"", u"line 1, column 10"},
  };
  for (const Case& c : cases) {
    const CustomQueryText checked = checkCustomQuery(c.sql, c.kind);
    if (c.where.empty()) {
      EXPECT_FALSE(checked.problem) << toUtf8(c.sql) << ": " << toUtf8(*checked.problem);
      EXPECT_EQ(toUtf8(checked.statement), toUtf8(c.statement));
    } else {
      ASSERT_TRUE(checked.problem) << toUtf8(c.sql);
      EXPECT_NE(checked.problem->find(c.where), std::u16string::npos)
          << toUtf8(c.sql) << ": " << toUtf8(*checked.problem);
    }
  }
}

}  // namespace
}  // namespace vantorel::test
