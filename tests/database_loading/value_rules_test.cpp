// The text rules of the loaders: MySQL value lists and PostgreSQL default expressions.
#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>

#include "database/mysql_fields.hpp"
#include "database/postgresql_fields.hpp"
#include "fields/field_settings.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel {
namespace {

TEST(MySqlValueLists, TagValuesAndTheBooleanPairs) {
  struct Case {
    const char16_t* typeRest;  // the type text after "enum" or "set"
    const char16_t* tagValues;
    bool isBool;
  } cases[] = {
      {u"('N','Y')", u"\"N\",\"N\"\r\n\"Y\",\"Y\"\r\n", true},
      {u"('1','0')", u"\"1\",\"1\"\r\n\"0\",\"0\"\r\n", true},
      {u"('y','n')", u"\"y\",\"y\"\r\n\"n\",\"n\"\r\n", false},
      {u"('0','1','2')", u"\"0\",\"0\"\r\n\"1\",\"1\"\r\n\"2\",\"2\"\r\n", false},
      // Commas and ")" inside a value stay in it; a doubled quote is one quote.
      {u"('a,b', 'c)d','it''s')", u"\"a,b\",\"a,b\"\r\n\"c)d\",\"c)d\"\r\n\"it's\",\"it's\"\r\n",
       false},
      {u"('say \"hi\"')", u"\"say &quot;hi&quot;\",\"say &quot;hi&quot;\"\r\n", false},
      {u"('')", u"\"\",\"\"\r\n", false},
      // Not a list of literals: up to the first ")", quotes dropped, split at commas.
      {u"(a,b)", u"\"a\",\"a\"\r\n\"b\",\"b\"\r\n", false},
      {u"('a','b'", u"", false},
      {u"", u"", false},
      {u"')('", u"", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(toUtf8(c.typeRest));
    const std::u16string values = MySQLTagValues(c.typeRest);
    EXPECT_EQ(toUtf8(values), toUtf8(c.tagValues));
    Ref<AGPField> field = makeRef<AGPField>();
    field->properties().setting(kFldTagValues) = Variant(values);
    EXPECT_EQ(IsBoolTagValues(*field), c.isBool);
    // The same list without its last line end.
    if (values.size() >= 2) {
      field->properties().setting(kFldTagValues) = Variant(values.substr(0, values.size() - 2));
      EXPECT_EQ(IsBoolTagValues(*field), c.isBool);
    }
  }
}

TEST(PostgreSqlDefaults, ExpressionsGiveTheFieldDefault) {
  struct Case {
    const char16_t* def;
    std::optional<std::u16string> value;
  } cases[] = {
      {u"nextval('orders_id_seq'::regclass)", u""},
      {u"'none'::character varying", u"none"},
      {u"'it''s'::text", u"it's"},
      {u"'a::b'::text", u"a::b"},
      {u"'x'", u"x"},
      {u"'-1'::integer", u"-1"},
      {u"42", u"42"},
      {u"now()", u"now()"},
      {u"CURRENT_DATE", u"CURRENT_DATE"},
      {u"(0)::numeric", u"(0)"},
      // A cast inside parentheses goes with them; brackets and "::" inside literals stay.
      {u"('now'::text)::date", u"now"},
      {u"(('2006-02-15'::text)::date)::timestamp without time zone", u"2006-02-15"},
      {u"('a)::b'::text)::character varying", u"a)::b"},
      {u"'(x'::text", u"(x"},
      {u"(now() - (1)::interval)", u"(now() - (1)::interval)"},
      {u"NULL::character varying", std::nullopt},
      {u"NULL", std::nullopt},
      {u"''::text", std::nullopt},
      {u"", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(toUtf8(c.def));
    EXPECT_EQ(postgreSqlDefault(c.def), c.value);
  }
}

// Texts made of the characters the rule looks at, quotes and brackets left unbalanced too: the
// rule answers each without failing, never with more than it was given.
TEST(PostgreSqlDefaults, AnyTextGivesAnAnswer) {
  const std::u16string alphabet = u"'\"():: a1N";
  std::mt19937 random(13);
  for (int round = 0; round < 20000; ++round) {
    std::u16string def;
    const auto length = random() % 16;
    for (std::size_t i = 0; i < length; ++i) def += alphabet[random() % alphabet.size()];
    SCOPED_TRACE(toUtf8(def));
    const std::optional<std::u16string> value = postgreSqlDefault(def);
    if (value) {
      EXPECT_LE(value->size(), def.size());
    }
  }
}

}  // namespace
}  // namespace vantorel
