#include <gtest/gtest.h>

#include <map>
#include <string>

#include "database/backends.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/data/query.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel::test {
namespace {

using data::Connection;

class ValueReading : public DatabaseTest {};

// What a Date or a Decimal cannot hold exactly reads back as the server's text.
TEST_F(ValueReading, ValuesADateOrDecimalCannotHoldStayExact) {
  using enum Dbms;
  using enum VarType;
  const std::u16string manyDigits = u"12345678901234567890.0123456789";
  const std::u16string fraction = u"2024-01-02 10:30:00.123456";
  const struct {
    Dbms dbms;
    std::u16string column, literal;
    VarType type;
    std::u16string text;  // by CStr's rules
  } cases[] = {
      {MariaDb, u"bigint unsigned", u"18446744073709551615", Decimal, u"18446744073709551615"},
      {MariaDb, u"bigint unsigned", u"70000", Long, u"70000"},
      {MariaDb, u"time", u"'838:59:59'", String, u"838:59:59"},
      {MariaDb, u"time", u"'-01:30:00'", String, u"-01:30:00"},
      {MariaDb, u"time", u"'08:15:30'", Date, u"8:15:30 AM"},
      {MariaDb, u"time(3)", u"'08:15:30.123'", String, u"08:15:30.123"},
      {MariaDb, u"datetime(6)", u"'" + fraction + u"'", String, fraction},
      {Postgres, u"numeric(30,10)", manyDigits, String, manyDigits},
      {Postgres, u"numeric(10,2)", u"12.50", Decimal, u"12.5"},
      // Zeros ending the fraction give way before the value turns to text.
      {Postgres, u"numeric", u"1.500000000000000000000000000000000", Decimal, u"1.5"},
      {Postgres, u"timestamp", u"'" + fraction + u"'", String, fraction},
      {Postgres, u"timestamp(3)", u"'2024-01-02 10:30:00.5'", String, u"2024-01-02 10:30:00.5"},
      {Postgres, u"timestamp", u"'2024-01-02 10:30:00'", Date, u"1/2/2024 10:30:00 AM"},
      {Sqlite, u"TIMESTAMP", u"'2024-01-02T10:30:00'", Date, u"1/2/2024 10:30:00 AM"},
      {Sqlite, u"TIME", u"'25:00:00'", String, u"25:00:00"},
  };
  std::map<Dbms, std::u16string> ownDatabase;
  int n = 0;
  for (const auto& c : cases) {
    if (!ownDatabase.count(c.dbms)) ownDatabase[c.dbms] = freshDatabase(databases(), c.dbms);
    Connection connection(ownDatabase[c.dbms]);
    const std::u16string table = u"t" + fromUtf8(std::to_string(++n));
    data::execute(connection, u"CREATE TABLE " + table + u" (v " + c.column + u")");
    data::execute(connection, u"INSERT INTO " + table + u" VALUES (" + c.literal + u")");
    const auto v = data::runQuery(connection, u"SELECT v FROM " + table).value(0, u"v");
    EXPECT_EQ(v.type(), c.type) << toUtf8(c.literal);
    EXPECT_EQ(toString(v), c.text) << toUtf8(c.literal);
  }
}

// MariaDB Connector/ODBC 3.1 miscounts wide text holding a unit whose low byte is 0xD8..0xDB
// ("Ø", "Ù", many CJK letters): it reads such a value short, cuts it without a word where the
// result holds a long value, and stores a NUL or worse after such a parameter. Its UTF-8 and
// latin1 connections read bytes; others (cp1257) still read wide text.
TEST_F(ValueReading, MariaDbLatin1TextGoesInAndReadsBackExactly) {
  std::u16string longText;
  for (int i = 0; i < 1000; ++i) longText += u"ÆØÅ";
  const std::u16string values[] = {u"ÆØÅ", u"ØxØx", u"Grüße aus Køge", longText};
  const std::u16string database = freshDatabase(databases(), Dbms::MariaDb);
  Connection connection(database);
  data::execute(connection, u"CREATE TABLE letters (n int, body text CHARACTER SET latin1)");
  for (std::int32_t i = 0; i < 4; ++i) {
    data::execute(connection, u"INSERT INTO letters VALUES (?, ?)", {Variant(i), values[i]});
  }
  const struct {
    const char16_t* options;
    std::int32_t rows;  // without the long value, which wide text would lose
  } readers[] = {{u"", 4}, {u";CHARSET=latin1", 4}, {u";CHARSET=cp1257", 3}};
  for (const auto& r : readers) {
    Connection reader(database + r.options);
    const data::QueryResult result = data::runQuery(
        reader, u"SELECT body AS `Størrelse`, HEX(body) AS hex FROM letters WHERE n < ? ORDER BY n",
        {Variant(r.rows)});
    ASSERT_EQ(result.rows.size(), static_cast<std::size_t>(r.rows)) << toUtf8(r.options);
    EXPECT_EQ(result.columns[0], u"Størrelse");
    EXPECT_EQ(toString(result.value(0, u"hex")), u"C6D8C5");  // no NUL stored after it
    for (std::size_t i = 0; i < result.rows.size(); ++i) {
      EXPECT_EQ(toString(result.rows[i][0]), values[i]) << toUtf8(r.options) << i;
    }
  }
}

}  // namespace
}  // namespace vantorel::test
