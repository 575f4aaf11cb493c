#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "database/ado_database_loader.hpp"
#include "database/connection_details.hpp"
#include "database/database_load.hpp"
#include "database_loading/loading_schema.hpp"
#include "fields/field_settings.hpp"
#include "foundation/project_context.hpp"
#include "model/database.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel::test {
namespace {

constexpr Dbms S = Dbms::Sqlite, P = Dbms::Postgres, M = Dbms::MariaDb;
const std::u16string kLoginFailed =
    u"Vantorel: Unable to connect to Data Source! User ID / Password not valid!";

struct Load {
  DatabaseLoad settings;
  Ref<AGPDatabase> db = makeRef<AGPDatabase>();
  std::int16_t result = -1;
  std::u16string error;

  AGPTable* table(const std::u16string& name) {
    return db->tables().tableExist(Variant(name)) ? db->tables().item(Variant(name)).get()
                                                  : nullptr;
  }
  std::u16string setting(DatabaseSetting row) { return toString(db->properties().setting(row)); }
  // TblName:TblType of every table, sorted.
  std::vector<std::u16string> names() {
    std::vector<std::u16string> out;
    for (std::int16_t i = 1; i <= db->tables().count(); ++i) {
      Ref<AGPTable> t = db->tables().seq(i);
      out.push_back(t->tblName() + u":" + t->tblType());
    }
    std::sort(out.begin(), out.end());
    return out;
  }
};

class DatabaseLoader : public DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    projectContext().lastErrorText.clear();
  }

  void run(Load& load, const AdoLoadArguments& arguments) {
    load.result = reportLoad(load.settings, loadAdoDatabase(load.settings, *load.db, arguments));
    load.error = projectContext().lastErrorText;
  }
  Load whole(Dbms dbms, bool dynamic = false) {
    Load load;
    load.settings.dynamicLoad = dynamic;
    run(load, {u"DB", u"", u"", u"", connectionStringFor(databases(), dbms), u"", u""});
    return load;
  }
};

std::u16string text(AGPTable* table, TableSetting row) {
  return table ? toString(table->properties().setting(row)) : u"<no table>";
}

TEST_F(DatabaseLoader, WholeLoadListsTablesAndViewsAndRecordsTheProvider) {
  struct Case {
    Dbms dbms;
    const char16_t* dbmsName;
    const char16_t* quote;
    std::vector<std::u16string> names;
  } cases[] = {
      // SQLite's own sqlite_sequence is left out; SetSqlQuote quotes nothing for its kind.
      {S, u"SQLite", u"", {u"Order Details:TABLE", u"order_view:VIEW", u"select:TABLE"}},
      {P,
       u"PostgreSQL",
       u"\"",
       {u"Clash:TABLE", u"Order Details:TABLE", u"it's:TABLE", u"order_view:VIEW", u"orders:TABLE",
        u"select:TABLE"}},
      // The other database's tables stay out, "Order Details" included.
      {M,
       u"MariaDB",
       u"`",
       {u"Clash:TABLE", u"Order Details:TABLE", u"it`s:TABLE", u"order_view:VIEW",
        u"select:TABLE"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(toUtf8(c.dbmsName));
    Load load = whole(c.dbms);
    EXPECT_EQ(load.result, 0);
    EXPECT_EQ(load.error, u"");
    EXPECT_EQ(load.names(), c.names);
    EXPECT_EQ(load.setting(kDBType), u"DB");
    EXPECT_EQ(load.setting(kDBConnstr), connectionStringFor(databases(), c.dbms));
    EXPECT_EQ(load.setting(kDBDBMSName), c.dbmsName);
    EXPECT_FALSE(load.setting(kDBDBMSVer).empty());
    EXPECT_FALSE(load.setting(kDBProviderName).empty());
    EXPECT_EQ(load.setting(kDBQuoteS), c.quote);
    EXPECT_EQ(load.setting(kDBQuoteE), c.quote);
    EXPECT_EQ(text(load.table(u"Order Details"), kTblLoaded), u"True");
    EXPECT_EQ(load.table(u"Order Details")->fields().count(), 4);
    EXPECT_EQ(projectContext().currentDbmsName, c.dbmsName);
  }
}

TEST_F(DatabaseLoader, ANameTakenIgnoringCaseIsReadOnceAndNoted) {
  struct Case {
    Dbms dbms;
    const char16_t* name;
    const char16_t* field;  // the first field of the row that was read
    const char16_t* error;
  } cases[] = {
      {P, u"orders", u"id",
       u"Vantorel: TABLE archive.orders not loaded: its name is taken by TABLE public.orders!\r\n"
       u"Vantorel: TABLE sales.orders not loaded: its name is taken by TABLE public.orders!"},
      {P, u"clash", u"a",
       u"Vantorel: TABLE public.clash not loaded: its name is taken by TABLE public.Clash!"},
      {M, u"clash", u"a", u"Vantorel: TABLE clash not loaded: its name is taken by TABLE Clash!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(toUtf8(c.name));
    Load load = whole(c.dbms);
    AGPTable* table = load.table(c.name);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->fields().at(0).FldName(), c.field);
    EXPECT_EQ(text(table, kTblError), c.error);
  }
  // Of the PostgreSQL orders the current schema's, with its 16 columns.
  EXPECT_EQ(whole(P).table(u"orders")->fields().count(), 16);
}

TEST_F(DatabaseLoader, DynamicLoadRegistersAndASingleTableLoadReadsIt) {
  for (Dbms dbms : {S, P, M}) {
    Load load = whole(dbms, /*dynamic=*/true);
    ASSERT_EQ(load.result, 0);
    AGPTable* table = load.table(u"Order Details");
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(text(table, kTblLoaded), u"False");
    EXPECT_EQ(table->fields().count(), 0);

    const std::u16string connStr = connectionStringFor(databases(), dbms);
    run(load, {u"DB", u"", u"", u"", connStr, u"Order Details", u""});
    EXPECT_EQ(load.result, 0);
    EXPECT_EQ(text(table, kTblLoaded), u"True");
    EXPECT_EQ(table->fields().count(), 4);
    // A name missing from the catalogue reads nothing and adds nothing.
    const auto count = load.db->tables().count();
    run(load, {u"DB", u"", u"", u"", connStr, u"nowhere", u""});
    EXPECT_EQ(load.result, 0);
    EXPECT_EQ(load.db->tables().count(), count);
  }
}

TEST_F(DatabaseLoader, OnlyRefusedLoginsTakeTheLoginFailedPath) {
  struct Case {
    const char16_t* label;
    const char16_t* dsn;
    const char16_t* pwd;
    std::u16string error;
  } cases[] = {
      {u"PostgreSQL", kPostgresDsn, u"wrong", kLoginFailed},
      {u"MariaDB", kMariaDbDsn, u"wrong", kLoginFailed},
      // Anything else is told in the provider's own lines.
      {u"unknown data source", u"no_such_dsn", u"test",
       u"Vantorel: \r\nError #1:\r\n   ADO Error   #-2147467259\r\n   Description  SQLSTATE "
       u"IM002, native error 0: [unixODBC][Driver Manager]Data source name not found and no "
       u"default driver specified\r\n   Source       ODBC"},
      // Nothing named is refused before the driver manager could open a default.
      {u"empty data source name", u"", u"test", u"invalid DBName specified!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(toUtf8(c.label));
    Load load;
    run(load, {u"ODBC", c.dsn, u"test", c.pwd, u"", u"", u""});
    EXPECT_EQ(load.result, 3);
    EXPECT_EQ(load.error, c.error);
  }
}

TEST_F(DatabaseLoader, DataSourceLoginsQuoteThePasswordAndGiveThePostgreSqlDetails) {
  for (const char16_t* dsn : {kPostgresDsn, kMariaDbDsn}) {
    SCOPED_TRACE(toUtf8(dsn));
    Load load;
    run(load, {u"ODBC", dsn, kSemicolonUser, kSemicolonPassword, u"", u"", u""});
    EXPECT_EQ(load.result, 0) << toUtf8(load.error);
    EXPECT_EQ(load.setting(kDBPwd), kSemicolonPassword);
    EXPECT_EQ(load.setting(kDBConnstr), u"");
    EXPECT_NE(load.table(u"Order Details"), nullptr);
    const PgConnectionDetails& pg = load.settings.pg;
    const bool postgres = std::u16string_view(dsn) == kPostgresDsn;
    EXPECT_EQ(toString(pg.server), postgres ? u"127.0.0.1" : u"");
    EXPECT_EQ(toString(pg.database), postgres ? u"vantorel" : u"");
    EXPECT_EQ(toString(pg.user), postgres ? u"test" : u"");
    EXPECT_EQ(toString(pg.port), postgres ? toU16(databases().postgres().port()) : u"");
  }
}

TEST_F(DatabaseLoader, CustomViewsAddATableOrReportWhyNot) {
  struct Case {
    Dbms dbms;
    std::int16_t result;
    const char16_t* name;
    const char16_t* sql;
    const char16_t* fields;         // joined by ","; or a part of the error text
    const char16_t* sources = u"";  // each field's source table "." source column
  } cases[] = {
      {S, 0, u"cv",
       u"SELECT d.order_id, d.qty, s.code FROM \"Order Details\" d "
       u"JOIN \"select\" s ON s.\"from\" = d.order_id",
       u"order_id,qty,code", u"Order Details.order_id,Order Details.qty,select.code"},
      {P, 0, u"cv",
       u"SELECT o.id, o.customer, d.qty FROM orders o "
       u"JOIN \"Order Details\" d ON d.order_id = o.id",
       u"id,customer,qty", u"orders.id,orders.customer,Order Details.qty"},
      {M, 0, u"cv",
       u"SELECT d.order_id, d.qty, s.code FROM `Order Details` d "
       u"JOIN `select` s ON s.`from` = d.order_id",
       u"order_id,qty,code", u"Order Details.order_id,Order Details.qty,select.code"},
      {S, 1, u"bad", u"SELECT nope FROM \"Order Details\"", u"nope"},
      {P, 1, u"bad", u"SELECT nope FROM orders", u"nope"},
      {M, 1, u"bad", u"SELECT nope FROM `select`", u"nope"},
      {P, 1, u"ORDERS", u"SELECT 1 AS one", u"Vantorel: Table/View ORDERS already exists!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(toUtf8(c.sql));
    Load load = whole(c.dbms);
    projectContext().lastErrorText = u"left by an earlier call";
    const std::int16_t result =
        LoadADOCustomView(*load.db, connectionStringFor(databases(), c.dbms), c.name, c.sql);
    EXPECT_EQ(result, c.result);
    const std::u16string& error = projectContext().lastErrorText;
    AGPTable* table = load.table(c.name);
    if (c.result != 0) {
      EXPECT_NE(error.find(c.fields), std::u16string::npos) << toUtf8(error);
      if (std::u16string(c.name) == u"bad") {
        EXPECT_EQ(table, nullptr);
      }
      continue;
    }
    EXPECT_EQ(error, u"");
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(text(table, kTblType), u"CUSTOMVIEW");
    EXPECT_EQ(text(table, kTblCustomSQL), c.sql);
    EXPECT_EQ(text(table, kTblCustomError), u"");
    std::u16string names;
    std::u16string sources;
    for (std::int32_t i = 0; i < table->fields().count(); ++i) {
      AGPField& field = table->fields().at(static_cast<std::size_t>(i));
      names += (i ? u"," : u"") + field.FldName();
      AGProperties& bag = field.properties();
      sources += (i ? u"," : u"") + toString(bag.setting(kFldSourceTable)) + u"." +
                 toString(bag.setting(kFldSourceField));
    }
    EXPECT_EQ(names, c.fields);
    EXPECT_EQ(sources, c.sources);
  }
}

TEST(PgConnectionString, RecognisedKeysAreTakenTrimmedAndQuotedValuesKept) {
  struct Case {
    const char16_t* connStr;
    const char16_t* server;
    const char16_t* user;
    const char16_t* password;
    const char16_t* port;
  } cases[] = {
      {u" Server = db1 ; ;junk; UID=ann;pwd= x ;port=5433", u"db1", u"ann", u"x", u"5433"},
      {u"server=a;SERVER=b", u"b", u"(kept)", u"(kept)", u"(kept)"},
      {u"Driver=PostgreSQL;UID=bob;PWD={se;mi}}x};Database=d", u"(kept)", u"bob", u"se;mi}x",
       u"(kept)"},
      {u"   ", u"(kept)", u"(kept)", u"(kept)", u"(kept)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(toUtf8(c.connStr));
    PgConnectionDetails pg;
    for (Variant* detail : {&pg.server, &pg.user, &pg.password, &pg.port}) {
      *detail = Variant(u"(kept)");
    }
    ParsePgConnStr(c.connStr, pg);
    EXPECT_EQ(toString(pg.server), c.server);
    EXPECT_EQ(toString(pg.user), c.user);
    EXPECT_EQ(toString(pg.password), c.password);
    EXPECT_EQ(toString(pg.port), c.port);
  }
  EXPECT_EQ(QuoteBracketName(u" [dbo] ", u"t.[id]"), u"[dbo].[id]");
  EXPECT_EQ(QuoteBracketName(u"orders", u" key "), u"[orders].[key]");
}

}  // namespace
}  // namespace vantorel::test
