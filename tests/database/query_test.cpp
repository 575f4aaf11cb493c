#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "database/backends.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/data/data_error.hpp"
#include "platform/data/query.hpp"
#include "platform/data/query_metadata.hpp"
#include "platform/data/read_only_transaction.hpp"
#include "platform/data/schema_rowsets.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel::test {
namespace {

using data::AdoType;
using data::Connection;
using data::FieldDescription;

class QueryMetadata : public DatabaseTest {};

TEST_F(QueryMetadata, FieldsCarryAdoTypesAndAttributes) {
  struct Field {
    std::string name;
    AdoType type;
    std::int32_t definedSize;
    bool autoIncrement;
    bool isUnsigned;
    bool isLong;
  };
  struct Case {
    Dbms dbms;
    std::u16string sql;
    std::vector<Field> expected;
  } cases[] = {
      {Dbms::Sqlite,
       u"SELECT o.id, o.customer AS who FROM orders o",
       {{"id", AdoType::Integer, 4, true, false, false},
        {"who", AdoType::VarChar, 40, false, false, false}}},
      {Dbms::Postgres,
       u"SELECT id, customer, total, note FROM public.orders",
       {{"id", AdoType::Integer, 4, true, false, false},
        {"customer", AdoType::VarWChar, 40, false, false, false},
        {"total", AdoType::Numeric, 19, false, false, false},
        {"note", AdoType::LongVarWChar, 8190, false, false, true}}},
      {Dbms::Postgres,
       u"WITH x AS (SELECT order_no FROM sales.orders) SELECT count(*) AS n FROM x",
       {{"n", AdoType::BigInt, 8, false, false, false}}},
      // MariaDB describes "int unsigned" as SQL_INTEGER and sets the unsigned attribute.
      {Dbms::MariaDb,
       u"SELECT id, customer, status FROM orders",
       {{"id", AdoType::UnsignedInt, 4, true, true, false},
        {"customer", AdoType::VarWChar, 40, false, false, false},
        {"status", AdoType::WChar, 4, false, false, false}}},
  };
  const auto all = backends(databases());
  for (const Case& c : cases) {
    const Backend& b = backend(all, c.dbms);
    Connection connection(b.connectionString);
    const std::vector<FieldDescription> fields = data::describeQuery(connection, c.sql);
    ASSERT_EQ(fields.size(), c.expected.size()) << b.label;
    for (std::size_t i = 0; i < fields.size(); ++i) {
      const Field& e = c.expected[i];
      const FieldDescription& f = fields[i];
      const std::string where = std::string(b.label) + " " + e.name;
      EXPECT_EQ(toUtf8(f.name), e.name) << where;
      EXPECT_EQ(f.type, e.type) << where;
      EXPECT_EQ(f.definedSize, e.definedSize) << where;
      EXPECT_EQ(f.autoIncrement, e.autoIncrement) << where;
      EXPECT_EQ(f.isUnsigned && (f.type == AdoType::UnsignedInt), e.isUnsigned) << where;
      EXPECT_EQ((f.attributes & data::kAdFldLong) != 0, e.isLong) << where;
    }
  }
}

TEST_F(QueryMetadata, NumbersKeepPrecisionAndScale) {
  Connection pg(backend(backends(databases()), Dbms::Postgres).connectionString);
  const auto fields = data::describeQuery(pg, u"SELECT total, customer FROM public.orders");
  ASSERT_EQ(fields.size(), 2u);
  EXPECT_EQ(fields[0].precision, 10);
  EXPECT_EQ(fields[0].scale, 2);
  EXPECT_EQ(fields[1].precision, 255);
  EXPECT_FALSE(fields[1].nullable);
  EXPECT_EQ(fields[1].attributes & (data::kAdFldIsNullable | data::kAdFldMayBeNull), 0);
  EXPECT_EQ(fields[1].octetLength, 80);
}

TEST_F(QueryMetadata, AFailingQueryRaisesTheProviderLines) {
  struct Case {
    Dbms dbms;
    std::u16string sql;
    std::u16string sqlState;  // empty: no provider record
  } cases[] = {
      {Dbms::Sqlite, u"SELECT nope FROM orders", u"HY000"},
      {Dbms::Postgres, u"SELECT nope FROM public.orders", u"42703"},
      {Dbms::MariaDb, u"SELECT nope FROM orders", u"42S22"},
      {Dbms::MariaDb, u"SELECT * FROM no_such_table", u"42S02"},
      // Only queries are described; anything else is refused before it reaches the server.
      {Dbms::Postgres, u"DELETE FROM public.orders", u""},
      {Dbms::MariaDb, u"  /* note */ DROP TABLE orders", u""},
  };
  const auto all = backends(databases());
  for (const Case& c : cases) {
    const Backend& b = backend(all, c.dbms);
    Connection connection(b.connectionString);
    try {
      data::describeQuery(connection, c.sql);
      ADD_FAILURE() << b.label << ": " << toUtf8(c.sql) << " was described";
    } catch (const data::DataError& e) {
      EXPECT_FALSE(e.loginRefused()) << b.label;
      EXPECT_EQ(e.number(), data::kProviderFailed) << b.label;
      if (c.sqlState.empty()) {
        EXPECT_TRUE(e.records().empty()) << b.label << ": " << e.what();
      } else {
        EXPECT_TRUE(e.hasSqlState(c.sqlState)) << b.label << ": " << e.what();
        EXPECT_NE(e.description().find(e.records().front().message), std::u16string::npos);
      }
    }
  }
  // The refused statements did not run.
  Connection maria(backend(all, Dbms::MariaDb).connectionString);
  EXPECT_EQ(data::listColumns(maria, {}, u"orders").size(), 5u);
}

// A data-modifying WITH is a query by its first word; describing it must change nothing:
// preparing describes it without a run, and a statement that gives no columns when prepared
// runs only as a derived table, which no server takes it in.
TEST_F(QueryMetadata, DescribingRunsNothingThatStays) {
  const auto all = backends(databases());
  Connection pg(backend(all, Dbms::Postgres).connectionString);
  data::execute(pg, u"INSERT INTO sales.orders VALUES (?, ?, ?)",
                {Variant(std::int32_t{1}), Variant(std::int32_t{1}), Variant(9.5)});
  const auto fields = data::describeQuery(
      pg, u"WITH gone AS (DELETE FROM sales.orders RETURNING order_no, amount) SELECT * FROM gone");
  ASSERT_EQ(fields.size(), 2u);
  EXPECT_EQ(fields[1].type, AdoType::Double);
  EXPECT_THROW(data::describeQuery(pg, u"WITH d AS (SELECT 1) DELETE FROM sales.orders"),
               data::DataError);
  const data::QueryResult left = data::runQuery(pg, u"SELECT count(*) AS n FROM sales.orders");
  EXPECT_EQ(toLong(left.value(0, u"n")), 1);
  // The connection is back in auto-commit and may write: this removal stays.
  data::execute(pg, u"DELETE FROM sales.orders");
  Connection other(backend(all, Dbms::Postgres).connectionString);
  EXPECT_TRUE(data::runQuery(other, u"SELECT * FROM sales.orders").rows.empty());
}

// What a description may run, it runs where the server refuses every change.
TEST_F(QueryMetadata, AReadOnlyTransactionRefusesChangesAndEnds) {
  const std::u16string table[] = {u"orders", u"public.orders", u"orders"};
  const auto all = backends(databases());
  for (const Dbms dbms : {Dbms::Sqlite, Dbms::Postgres, Dbms::MariaDb}) {
    const Backend& b = backend(all, dbms);
    const std::u16string& name = table[static_cast<int>(dbms)];
    Connection connection(b.connectionString);
    {
      data::ReadOnlyTransaction transaction(connection);
      EXPECT_THROW(data::execute(connection, u"DELETE FROM " + name), data::DataError) << b.label;
    }
    data::execute(connection, u"INSERT INTO " + name + u" (customer) VALUES ('ro')");
    Connection other(b.connectionString);
    const std::u16string count = u"SELECT count(*) AS n FROM " + name + u" WHERE customer = 'ro'";
    EXPECT_EQ(toLong(data::runQuery(other, count).value(0, u"n")), 1) << b.label;
    data::execute(connection, u"DELETE FROM " + name + u" WHERE customer = 'ro'");
  }
}

class CatalogueQueries : public DatabaseTest {};

TEST_F(CatalogueQueries, ValuesAreBoundAndNamesQuoted) {
  const auto all = backends(databases());
  Connection pg(backend(all, Dbms::Postgres).connectionString);
  const data::QueryResult defaults = data::runQuery(
      pg,
      u"SELECT a.attname, pg_get_expr(d.adbin, d.adrelid) AS def, a.attnum FROM pg_attrdef d "
      u"JOIN pg_attribute a ON a.attrelid = d.adrelid AND a.attnum = d.adnum "
      u"JOIN pg_class c ON c.oid = d.adrelid JOIN pg_namespace n ON n.oid = c.relnamespace "
      u"WHERE c.relname = ? AND n.nspname = ? ORDER BY a.attnum",
      {Variant(u"orders"), Variant(u"public")});
  ASSERT_EQ(defaults.rows.size(), 3u);
  EXPECT_EQ(toString(defaults.value(0, u"ATTNAME")), u"id");
  EXPECT_EQ(toString(defaults.value(1, u"def")), u"'none'::character varying");
  EXPECT_EQ(toString(defaults.value(2, u"def")), u"CURRENT_DATE");
  EXPECT_EQ(defaults.value(2, u"attnum").type(), VarType::Integer);
  EXPECT_TRUE(defaults.value(0, u"no such column").isEmpty());

  Connection maria(backend(all, Dbms::MariaDb).connectionString);
  const data::QueryResult fields =
      data::runQuery(maria, u"SHOW FIELDS FROM " + maria.quoteName(u"orders"));
  ASSERT_EQ(fields.rows.size(), 5u);
  EXPECT_EQ(toString(fields.value(0, u"Type")), u"int(10) unsigned");
  EXPECT_EQ(toString(fields.value(0, u"Key")), u"PRI");
  EXPECT_EQ(toString(fields.value(0, u"Extra")), u"auto_increment");
  EXPECT_EQ(toString(fields.value(2, u"Type")), u"enum('new','done')");
  EXPECT_TRUE(fields.value(4, u"Default").isNull());

  Connection lite(backend(all, Dbms::Sqlite).connectionString);
  const data::QueryResult tables = data::runQuery(
      lite, u"SELECT name, ? AS n, ? AS r, ? AS z FROM sqlite_master WHERE type = ? AND name = ?",
      {Variant(std::int32_t{7}), Variant(2.5), Variant::null(), Variant(u"table"),
       Variant(u"order_items")});
  ASSERT_EQ(tables.rows.size(), 1u);
  EXPECT_EQ(toString(tables.value(0, u"name")), u"order_items");
  EXPECT_EQ(toLong(tables.value(0, u"n")), 7);
  EXPECT_EQ(toDouble(tables.value(0, u"r")), 2.5);
  EXPECT_TRUE(tables.value(0, u"z").isNull());
}

}  // namespace
}  // namespace vantorel::test
