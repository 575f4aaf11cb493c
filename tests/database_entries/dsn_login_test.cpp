// A data source reached with the login its odbc.ini entry stores, or with a password that needs
// brace-quoting: the load, its custom views and the check all reach it, on PostgreSQL and
// MariaDB; and `vantorel new` with a data source name alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "agp/agp.hpp"
#include "database/load_entries.hpp"
#include "database_entries/shop_schema.hpp"
#include "foundation/project_context.hpp"
#include "model/database.hpp"
#include "platform/text/unicode.hpp"
#include "project/menus.hpp"
#include "schema/custom_views.hpp"
#include "schema/difference_check.hpp"
#include "support/site_pages.hpp"
#include "support/temp_home.hpp"

namespace vantorel::test {
namespace {

const std::string kCli = VANTOREL_CLI_PATH;

class DsnLogin : public DatabaseTest {
 protected:
  void TearDown() override {
    AGPMenus& menus = SharedMenus();
    while (menus.Count() > 0) menus.DeleteMenu(menus.Item(1)->MenuId());
  }
  static std::u16string err() { return projectContext().lastErrorText; }
};

TEST_F(DsnLogin, TheStoredLoginOrABracedPasswordReachesLoadCustomViewsAndCheck) {
  struct Case {
    const char* label;
    Dbms kind;
    std::u16string uid, pwd, connStr;
  } cases[] = {
      {"PostgreSQL, stored login", Dbms::Postgres, u"", u"", u"dsn=vantorel_pg"},
      {"MariaDB, stored login", Dbms::MariaDb, u"", u"", u"dsn=vantorel_mariadb"},
      {"PostgreSQL, braced password", Dbms::Postgres, kBracedUser, kBracedPassword,
       u"dsn=vantorel_pg;uid=semi;pwd={se;mi}}{=x}"},
      {"MariaDB, braced password", Dbms::MariaDb, kBracedUser, kBracedPassword,
       u"dsn=vantorel_mariadb;uid=semi;pwd={se;mi}}{=x}"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const Ref<AGP> p = makeRef<AGP>();
    p->AddProj(u"Shop");
    DatabaseLoadArguments a = loadArgumentsFor(databases(), c.kind, true, u"ODBC");
    a.sUID = c.uid;
    a.sPwd = c.pwd;
    projectContext().lastErrorText.clear();
    LoadDB(*p, a);
    ASSERT_EQ(toUtf8(err()), "");
    ASSERT_TRUE(p->DB());
    EXPECT_EQ(CustomViewConnStr(*p), c.connStr);
    LoadCustomView(*p, u"big_orders", u"SELECT id, total FROM orders WHERE total > 10", false);
    EXPECT_EQ(toUtf8(err()), "");
    AGPTable* view = p->DB()->tables().find(u"big_orders");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->fields().count(), 2);
    EXPECT_EQ(CheckDB(*p), 0) << toUtf8(err());
    p->UnLoadDB();
  }
}

TEST_F(DsnLogin, NewTakesTheDataSourcesStoredLogin) {
  TempDir dir;
  for (const char* dsn : {"vantorel_pg", "vantorel_mariadb"}) {
    SCOPED_TRACE(dsn);
    const std::string file = (dir.path() / (std::string(dsn) + ".vtp")).string();
    std::string output;
    EXPECT_EQ(runCommand("env -u VANTOREL_PASSWORD " + kCli + " new " + file + " --connect " + dsn +
                             " </dev/null 2>&1",
                         output),
              0)
        << output;
    EXPECT_NE(output.find("with 3 tables and views"), std::string::npos) << output;
    EXPECT_TRUE(std::filesystem::exists(file));
  }
}

}  // namespace
}  // namespace vantorel::test
