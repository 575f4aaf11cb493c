#include <gtest/gtest.h>

#include "platform/data/connection_string.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel::data {
namespace {

TEST(ConnectionStrings, ValuesAreBraceQuotedOnlyWhenTheyNeedIt) {
  struct Case {
    std::u16string value;
    std::u16string quoted;
  } cases[] = {
      {u"", u""},
      {u"secret", u"secret"},
      {u"two words", u"two words"},
      {u"O'Brien \"x\"", u"O'Brien \"x\""},
      {u"a;b", u"{a;b}"},
      {u"a=b", u"{a=b}"},
      {u"{a", u"{{a}"},
      {u"a}b", u"{a}}b}"},
      {u"}}", u"{}}}}}"},
      {u" lead", u"{ lead}"},
      {u"trail\t", u"{trail\t}"},
      {u"se;mi}{=x", u"{se;mi}}{=x}"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(quoteConnectionValue(c.value), c.quoted) << toUtf8(c.value);
  }
}

TEST(ConnectionStrings, PlainValuesGiveTheFamiliarText) {
  EXPECT_EQ(dsnConnectionString(u"Northwind", u"sa", u"pw"), u"dsn=Northwind;uid=sa;pwd=pw");
  // An empty user or password is left to the data source's stored login.
  EXPECT_EQ(dsnConnectionString(u"My Data", u"", u""), u"dsn=My Data");
  EXPECT_EQ(dsnConnectionString(u"d", u"u", u""), u"dsn=d;uid=u");
  EXPECT_EQ(dsnConnectionString(u"d", u"", u"p"), u"dsn=d;pwd=p");
  EXPECT_EQ(dsnConnectionString(u"d", u"u", u"p;q"), u"dsn=d;uid=u;pwd={p;q}");
  EXPECT_EQ(ConnectionString()
                .add(u"Driver", u"PostgreSQL Unicode")
                .add(u"Server", u"127.0.0.1")
                .add(u"PWD", u"a}b")
                .text(),
            u"Driver=PostgreSQL Unicode;Server=127.0.0.1;PWD={a}}b}");
  EXPECT_EQ(ConnectionString().text(), u"");
}

}  // namespace
}  // namespace vantorel::data
