#include "database/custom_sql_analyzer.hpp"

#include <gtest/gtest.h>

#include "foundation/sql_quoting.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel {
namespace {

struct Case {
  std::int16_t kind;
  bool alias;
  const char16_t* sql;
  const char16_t* column;  // as the loader asks for it
  const char16_t* sourceName;
  const char16_t* sourceTable;
  const char16_t* sourceField;
};

constexpr std::int16_t kAccess = kDbmsAccess;
constexpr std::int16_t kMsSql = kDbmsSqlServer;
constexpr std::int16_t kMySql = kDbmsMySql;
constexpr std::int16_t kOracle = kDbmsOracle;
constexpr std::int16_t kPg = kDbmsPostgreSql;

// One row per thing the loader relies on: the DBMS kind, the alias flag and the source that
// describeColumn gives for one output column of one query.
const Case kCases[] = {
    // Plain columns, qualified columns, FROM-clause aliases with and without AS.
    {kAccess, false, u"SELECT Qty FROM Orders", u"Qty", u"Orders.Qty", u"Orders", u"Qty"},
    {kAccess, false, u"SELECT o.Qty FROM Orders o", u"Qty", u"Orders.Qty", u"Orders", u"Qty"},
    {kMsSql, false, u"SELECT o.Qty FROM Orders AS o", u"Qty", u"Orders.Qty", u"Orders", u"Qty"},
    {kAccess, false, u"SELECT Orders.Qty FROM Orders", u"Qty", u"Orders.Qty", u"Orders", u"Qty"},
    // Column aliases: AS, bare, quoted, string, and SQL Server's name = expr.
    {kAccess, true, u"SELECT Qty AS Amount FROM Orders", u"Amount", u"Orders.Qty", u"Orders",
     u"Qty"},
    {kMySql, true, u"SELECT o.Qty Amount FROM Orders o", u"Amount", u"Orders.Qty", u"Orders",
     u"Qty"},
    {kMsSql, true, u"SELECT Amount = o.Qty FROM Orders o", u"Amount", u"Orders.Qty", u"Orders",
     u"Qty"},
    {kMsSql, true, u"SELECT Qty 'My Qty' FROM Orders", u"My Qty", u"Orders.Qty", u"Orders", u"Qty"},
    {kPg, true, u"SELECT qty AS \"Order Qty\" FROM orders", u"Order Qty", u"orders.qty", u"orders",
     u"qty"},
    // Quoted names per kind, with doubled quotes inside; the source keeps the text's quotes.
    {kAccess, false, u"SELECT [Order Details].[Unit Price] FROM [Order Details]", u"Unit Price",
     u"[Order Details].[Unit Price]", u"Order Details", u"Unit Price"},
    {kMsSql, false, u"SELECT [a]]b] FROM [t]", u"a]b", u"[t].[a]]b]", u"t", u"a]b"},
    {kMySql, false, u"SELECT `o`.`Qty` FROM `Orders` `o`", u"Qty", u"`Orders`.`Qty`", u"Orders",
     u"Qty"},
    {kPg, false, u"SELECT \"Q\"\"x\" FROM \"T\"", u"Q\"x", u"\"T\".\"Q\"\"x\"", u"T", u"Q\"x"},
    {kOracle, false, u"SELECT o.\"Qty\" FROM \"Orders\" o", u"Qty", u"\"Orders\".\"Qty\"",
     u"Orders", u"Qty"},
    // The loader's second question, the name between the current quotes.
    {kAccess, false, u"SELECT [Unit Price] FROM Items", u"[Unit Price]", u"Items.[Unit Price]",
     u"Items", u"Unit Price"},
    {kOracle, true, u"SELECT Qty \"Order Qty\" FROM t", u"'Order Qty'", u"t.Qty", u"t", u"Qty"},
    // PostgreSQL and Oracle fold unquoted names in the result set.
    {kPg, false, u"SELECT OrderID FROM Orders", u"orderid", u"Orders.OrderID", u"Orders",
     u"OrderID"},
    {kOracle, false, u"SELECT o.qty FROM orders o", u"QTY", u"orders.qty", u"orders", u"qty"},
    // Schema-qualified tables and columns.
    {kMsSql, false, u"SELECT o.Qty FROM dbo.Orders o", u"Qty", u"dbo.Orders.Qty", u"Orders",
     u"Qty"},
    {kMsSql, false, u"SELECT dbo.Orders.Qty FROM dbo.Orders", u"Qty", u"dbo.Orders.Qty", u"Orders",
     u"Qty"},
    {kPg, false, u"SELECT Orders.qty FROM public.Orders", u"qty", u"public.Orders.qty", u"Orders",
     u"qty"},
    {kMsSql, false, u"SELECT Qty FROM Shop..Orders", u"Qty", u"Shop.Orders.Qty", u"Orders", u"Qty"},
    // Joins of every form; a lone column among several tables has no source.
    {kAccess, false,
     u"SELECT c.Name, o.Qty FROM (Customers AS c INNER JOIN Orders AS o ON c.ID = o.CustID) "
     u"LEFT JOIN Items i ON i.ID = o.ItemID",
     u"Qty", u"Orders.Qty", u"Orders", u"Qty"},
    {kMySql, false, u"SELECT c.Name FROM Orders o RIGHT OUTER JOIN Customers c USING (ID)", u"Name",
     u"Customers.Name", u"Customers", u"Name"},
    {kPg, false, u"SELECT b.y FROM a FULL JOIN b ON a.x = b.x CROSS JOIN c", u"y", u"b.y", u"b",
     u"y"},
    {kOracle, false, u"SELECT b.y FROM a, b WHERE a.x = b.x", u"y", u"b.y", u"b", u"y"},
    {kOracle, false, u"SELECT y FROM a, b", u"y", u"", u"", u""},
    {kMsSql, false, u"SELECT o.Qty FROM Orders o WITH (NOLOCK) CROSS APPLY f(o.ID) x", u"Qty",
     u"Orders.Qty", u"Orders", u"Qty"},
    // Expressions, functions, subqueries and literals have no source.
    {kAccess, true, u"SELECT Qty * Price AS Total FROM Orders", u"Total", u"", u"", u""},
    {kMySql, true, u"SELECT COUNT(*) n FROM Orders", u"n", u"", u"", u""},
    {kMsSql, false, u"SELECT (SELECT MAX(Qty) FROM Orders) AS m, Name FROM Customers", u"Name",
     u"Customers.Name", u"Customers", u"Name"},
    {kMsSql, true, u"SELECT (SELECT MAX(Qty) FROM Orders) AS m FROM Customers", u"m", u"", u"",
     u""},
    {kPg, false, u"SELECT CASE WHEN a > 1 THEN b ELSE c END FROM t", u"?column?", u"", u"", u""},
    {kPg, false, u"SELECT a::text FROM t", u"a", u"", u"", u""},
    {kMySql, false, u"SELECT CURRENT_DATE FROM t", u"CURRENT_DATE", u"", u"", u""},
    {kMySql, true, u"SELECT 'x' y FROM t", u"y", u"", u"", u""},
    {kMySql, false, u"SELECT a+b FROM t", u"a+b", u"", u"", u""},
    // DISTINCT, TOP, ALL and MySQL's modifiers before the list.
    {kMsSql, false, u"SELECT DISTINCT TOP 10 PERCENT WITH TIES Qty FROM Orders", u"Qty",
     u"Orders.Qty", u"Orders", u"Qty"},
    {kAccess, false, u"SELECT TOP (5) DISTINCTROW Qty FROM Orders", u"Qty", u"Orders.Qty",
     u"Orders", u"Qty"},
    {kPg, false, u"SELECT DISTINCT ON (a) b FROM t", u"b", u"t.b", u"t", u"b"},
    {kMySql, false, u"SELECT ALL SQL_NO_CACHE b FROM t", u"b", u"t.b", u"t", u"b"},
    // Comments and strings that look like SQL.
    {kMsSql, false, u"SELECT /* o.X, */ o.Qty -- , o.Y\r\n FROM Orders o", u"Qty", u"Orders.Qty",
     u"Orders", u"Qty"},
    {kMySql, false, u"SELECT 'a'',FROM x' AS s, b FROM t # , c", u"b", u"t.b", u"t", u"b"},
    {kMySql, false, u"SELECT 'it\\'s, FROM' AS s, b FROM t", u"b", u"t.b", u"t", u"b"},
    {kAccess, false, u"SELECT \"a, FROM x\" AS s, b FROM t", u"b", u"t.b", u"t", u"b"},
    {kPg, false, u"SELECT $q$ , FROM x $q$ AS s, b FROM t", u"b", u"t.b", u"t", u"b"},
    {kPg, false, u"SELECT /* outer /* inner */ , x */ b FROM t", u"b", u"t.b", u"t", u"b"},
    {kOracle, false, u"SELECT q'[it's, FROM]' AS s, b FROM t", u"b", u"t.b", u"t", u"b"},
    // CTEs and derived tables are the query's own: no base source.
    {kPg, false, u"WITH r AS (SELECT a FROM t) SELECT r.a FROM r", u"a", u"", u"", u""},
    {kMsSql, false, u"WITH r (a) AS (SELECT a FROM t), s AS (SELECT 1 x) SELECT a, u.b FROM r, u",
     u"b", u"u.b", u"u", u"b"},
    {kMySql, false, u"SELECT d.a FROM (SELECT a FROM t) AS d", u"a", u"", u"", u""},
    {kPg, false, u"SELECT g FROM generate_series(1, 3) g", u"g", u"", u"", u""},
    // The first SELECT of a UNION decides; INTO ends the list.
    {kPg, false, u"(SELECT a FROM t) UNION (SELECT b FROM u)", u"a", u"t.a", u"t", u"a"},
    {kMsSql, false, u"SELECT a FROM t UNION ALL SELECT b FROM u", u"b", u"", u"", u""},
    {kMsSql, false, u"SELECT a INTO #copy FROM t", u"a", u"t.a", u"t", u"a"},
    // Stars: an unknown name comes from the one table a single star names.
    {kAccess, false, u"SELECT * FROM Orders", u"Qty", u"Orders.Qty", u"Orders", u"Qty"},
    {kAccess, false, u"SELECT o.*, c.Name AS CName FROM Orders o, Customers c", u"Unit Price",
     u"Orders.[Unit Price]", u"Orders", u"Unit Price"},
    {kPg, true, u"SELECT o.*, c.name AS cname FROM orders o, customers c", u"cname",
     u"customers.name", u"customers", u"name"},
    {kPg, false, u"SELECT * FROM orders o JOIN customers c ON o.c = c.id", u"qty", u"", u"", u""},
    {kPg, false, u"SELECT a.*, b.* FROM a, b", u"x", u"", u"", u""},
    {kAccess, false, u"SELECT o.*, Qty * 2 FROM Orders o", u"Expr1001", u"", u"", u""},
    {kAccess, false, u"SELECT o.*, Qty * 2 AS Twice FROM Orders o", u"Price", u"Orders.Price",
     u"Orders", u"Price"},
    // A name the query does not give.
    {kAccess, false, u"SELECT Qty FROM Orders", u"Price", u"", u"", u""},
};

TEST(CustomSqlAnalyzer, DescribesEachOutputColumn) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(toUtf8(c.sql) + " / " + toUtf8(c.column));
    CustomSqlAnalyzer analyzer;
    ASSERT_TRUE(analyzer.analyse(c.sql, c.kind)) << toUtf8(analyzer.problem());
    const CustomSqlColumn column = analyzer.describeColumn(c.column);
    EXPECT_EQ(toUtf8(column.sourceName), toUtf8(c.sourceName));
    EXPECT_EQ(toUtf8(column.sourceTable), toUtf8(c.sourceTable));
    EXPECT_EQ(toUtf8(column.sourceField), toUtf8(c.sourceField));
    EXPECT_EQ(column.alias, c.alias);
  }
}

TEST(CustomSqlAnalyzer, ListsTheSelectItemsInOrder) {
  CustomSqlAnalyzer analyzer;
  ASSERT_TRUE(analyzer.analyse(
      u"SELECT o.*, [Name] AS Who, Qty * 2, s.dbo.T.c FROM s.dbo.T, Orders o", kMsSql));
  const auto& columns = analyzer.columns();
  ASSERT_EQ(columns.size(), 4U);
  EXPECT_TRUE(columns[0].star);
  EXPECT_EQ(toUtf8(columns[0].sourceName), "Orders.*");
  EXPECT_EQ(toUtf8(columns[1].name), "Who");
  EXPECT_TRUE(columns[1].sourceName.empty());  // two tables: [Name] is ambiguous
  EXPECT_EQ(toUtf8(columns[2].name), "Qty * 2");
  EXPECT_EQ(toUtf8(columns[3].sourceName), "s.dbo.T.c");
  EXPECT_EQ(toUtf8(columns[3].sourceSchema), "dbo");
  EXPECT_EQ(toUtf8(columns[3].sourceTable), "T");
}

TEST(CustomSqlAnalyzer, RefusesTextWithoutSelectList) {
  const std::pair<const char16_t*, const char16_t*> cases[] = {
      {u"", u"The query is empty."},
      {u"  -- nothing\n /* at all */", u"The query is empty."},
      {u"EXEC dbo.GetOrders", u"The query has no SELECT list."},
      {u"WITH r AS (SELECT 1) DELETE FROM r", u"The query has no SELECT list."},
  };
  for (const auto& [sql, problem] : cases) {
    CustomSqlAnalyzer analyzer;
    EXPECT_FALSE(analyzer.analyse(sql, kMsSql)) << toUtf8(sql);
    EXPECT_EQ(toUtf8(analyzer.problem()), toUtf8(problem));
    EXPECT_TRUE(analyzer.describeColumn(u"a").sourceName.empty());
  }
}

TEST(CustomSqlAnalyzer, AnalysingAgainForgetsTheEarlierQuery) {
  CustomSqlAnalyzer analyzer;
  ASSERT_TRUE(analyzer.analyse(u"SELECT * FROM Orders", kAccess));
  ASSERT_TRUE(analyzer.analyse(u"SELECT Qty FROM Items", kAccess));
  EXPECT_TRUE(analyzer.describeColumn(u"Price").sourceName.empty());
  EXPECT_EQ(toUtf8(analyzer.describeColumn(u"Qty").sourceName), "Items.Qty");
}

}  // namespace
}  // namespace vantorel
