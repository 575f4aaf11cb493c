// Stored queries rebuilt from their MSysQueries rows: the SQL text, the join columns and the
// output columns, over hand-made rows and over random rows that must never crash the reader.
#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "platform/data/access_query_columns.hpp"
#include "platform/data/access_query_sql.hpp"
#include "platform/data/access_types.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel::data::access {
namespace {

TEST(AccessQuerySql, IdentifierPathsSplitOnlyPlainColumnReferences) {
  struct Case {
    std::u16string expression;
    std::optional<std::vector<std::u16string>> parts;
  } cases[] = {
      {u"col", std::vector<std::u16string>{u"col"}},
      {u"T.col", std::vector<std::u16string>{u"T", u"col"}},
      {u" T . col ", std::vector<std::u16string>{u"T", u"col"}},
      {u"[Order Details].[Unit Price]", std::vector<std::u16string>{u"Order Details", u"Unit Price"}},
      {u"T.*", std::vector<std::u16string>{u"T", u"*"}},
      {u"a.b.c", std::nullopt},
      {u"Sum(x)", std::nullopt},
      {u"[unclosed", std::nullopt},
      {u"T.", std::nullopt},
      {u"", std::nullopt},
      {u"a + b", std::nullopt},
      {u"[T]x", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(identifierPath(c.expression), c.parts) << toUtf8(c.expression);
  }
}

// Only a plain select without parameters is a view; a kind the reader does not know is none.
TEST(AccessQuerySql, CatalogueFlagsGiveTheKindAndOnlyPlainSelectsAreViews) {
  struct Case {
    std::int32_t flags;
    bool hasParameters;
    QueryKind kind;
    bool view;
  } cases[] = {
      {0x00, false, QueryKind::Select, true},  {0x08, false, QueryKind::Select, true},
      {0x00, true, QueryKind::Select, false},  {0x18, false, QueryKind::Crosstab, false},
      {0x80, false, QueryKind::Union, false},  {0x70, false, QueryKind::PassThrough, false},
      {0x90, false, QueryKind::Unknown, false}, {0xF3, false, QueryKind::Unknown, false},
  };
  for (const Case& c : cases) {
    const QueryInfo info{u"Q", queryKindOf(c.flags), c.hasParameters};
    EXPECT_EQ(info.kind, c.kind) << c.flags;
    EXPECT_EQ(info.isView(), c.view) << c.flags;
  }
}

QueryRow row(std::int32_t attribute, std::u16string name1, std::u16string name2 = {},
             std::u16string expression = {}, std::int32_t flag = 0) {
  return {attribute, std::move(name1), std::move(name2), std::move(expression), flag};
}

TEST(AccessQuerySql, RowsBecomeTheSqlAccessShows) {
  struct Case {
    const char* what;
    QueryKind kind;
    bool hasParameters;
    std::vector<QueryRow> rows;
    std::u16string sql;
  } cases[] = {
      {"aliases, top percent, descending order",
       QueryKind::Select,
       false,
       {row(3, u"10", {}, {}, 0x30), row(5, u"Order Details", u"od"),
        row(6, u"Total", {}, u"od.Qty*2"), row(11, u"D", {}, u"od.Qty")},
       u"SELECT TOP 10 PERCENT od.Qty*2 AS Total\r\nFROM [Order Details] AS od\r\n"
       u"ORDER BY od.Qty DESC;"},
      {"a parameter",
       QueryKind::Select,
       true,
       {row(2, u"Since", {}, {}, 8), row(5, u"T"), row(6, {}, {}, u"T.a"),
        row(8, {}, {}, u"T.d>[Since]")},
       u"PARAMETERS Since DateTime;\r\nSELECT T.a\r\nFROM T\r\nWHERE T.d>[Since];"},
      {"one inner join, grouped",
       QueryKind::Select,
       false,
       {row(5, u"A"), row(5, u"B"), row(6, {}, {}, u"A.k"), row(6, u"n", {}, u"Count(B.x)"),
        row(7, u"A", u"B", u"A.k = B.k", 1), row(9, {}, {}, u"A.k")},
       u"SELECT A.k, Count(B.x) AS n\r\nFROM A INNER JOIN B ON A.k = B.k\r\nGROUP BY A.k;"},
      {"a delete with a star",
       QueryKind::Delete,
       false,
       {row(3, {}, {}, {}, 0x01), row(5, u"T"), row(8, {}, {}, u"T.a=1")},
       u"DELETE *\r\nFROM T\r\nWHERE T.a=1;"},
  };
  for (const Case& c : cases) {
    const ParsedQuery q = parseQuery(c.kind, c.rows);
    EXPECT_EQ(q.sql, c.sql) << c.what << ": " << toUtf8(q.sql);
    EXPECT_EQ(q.hasParameters, c.hasParameters) << c.what;
  }
}

TEST(AccessQuerySql, JoinColumnsComeFromOneEqualityInEitherOrder) {
  struct Case {
    std::u16string condition;
    std::u16string leftColumn, rightColumn;
  } cases[] = {
      {u"A.k = B.k", u"k", u"k"},
      {u"(B.ak=A.id)", u"id", u"ak"},
      {u"[A].[the id] = [B].[a id]", u"the id", u"a id"},
      {u"A.k = B.k AND A.j = B.j", u"", u""},
      {u"A.k >= B.k", u"", u""},
      {u"A.k = C.k", u"", u""},
  };
  for (const Case& c : cases) {
    const ParsedQuery q = parseQuery(
        QueryKind::Select, {row(5, u"A"), row(5, u"B"), row(7, u"A", u"B", c.condition, 2)});
    ASSERT_EQ(q.joins.size(), 1u);
    EXPECT_EQ(q.joins[0].type, JoinType::Left);
    EXPECT_EQ(q.joins[0].leftColumn, c.leftColumn) << toUtf8(c.condition);
    EXPECT_EQ(q.joins[0].rightColumn, c.rightColumn) << toUtf8(c.condition);
  }
}

// Random clause rows, names and expressions from a small alphabet rich in the characters the
// rebuilder looks at, against every query kind: the reader must answer, never crash.
TEST(AccessQuerySql, RandomRowsAlwaysGiveAnAnswer) {
  std::mt19937 random(14);
  const std::u16string alphabet = u"AB k.*[]()=, \r\n'\"01é";
  auto text = [&](int longest) {
    std::u16string s(random() % (longest + 1), u' ');
    for (char16_t& ch : s) ch = alphabet[random() % alphabet.size()];
    return s;
  };
  const std::vector<AccessColumn> columns = {{u"k"}, {u"A"}};
  const ColumnSource source = [&](const std::u16string& name) {
    return name == u"A" || name == u"B" ? &columns : nullptr;
  };
  const QueryKind kinds[] = {QueryKind::Select,    QueryKind::Crosstab, QueryKind::Delete,
                             QueryKind::Update,    QueryKind::Append,   QueryKind::MakeTable,
                             QueryKind::DataDefinition, QueryKind::PassThrough, QueryKind::Union};
  for (int round = 0; round < 4000; ++round) {
    std::vector<QueryRow> rows(random() % 12);
    for (QueryRow& r : rows) {
      r = row(static_cast<std::int32_t>(random() % 13), random() % 3 ? text(3) : u"A",
              random() % 2 ? text(3) : u"B", text(12), static_cast<std::int32_t>(random() % 4));
    }
    ParsedQuery q = parseQuery(kinds[round % std::size(kinds)], rows);
    const std::vector<AccessColumn> out = describeOutputs(q, source);
    for (std::size_t i = 0; i < out.size(); ++i) {
      EXPECT_EQ(out[i].ordinalPosition, static_cast<std::int32_t>(i));
    }
    const std::optional<std::vector<std::u16string>> path = identifierPath(text(10));
    if (path) {
      EXPECT_TRUE(path->size() == 1 || path->size() == 2);
    }
  }
}

}  // namespace
}  // namespace vantorel::data::access
