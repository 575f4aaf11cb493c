// A data source reached with the login its odbc.ini entry stores, or with a password that needs
// brace-quoting: the load, its custom views and the check all reach it, on PostgreSQL and
// MariaDB; and `vantorel new` with a data source name alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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
#include "support/test_files.hpp"

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

// Without --user a data source logs in as its entry says: a password in the environment, meant
// for another login, is not taken, and a password file alone is refused.
TEST_F(DsnLogin, NewWithoutAUserTakesTheDataSourcesLoginOnly) {
  TempDir dir;
  const std::filesystem::path passwordFile = dir.path() / "password";
  std::ofstream(passwordFile) << "test\n";
  const struct {
    const char* label;
    std::string words;
    int code;
    std::string said;      // in the output
    std::string uid, pwd;  // the stored login; unused for a refused run
  } cases[] = {
      {"a wrong password in the environment", "VANTOREL_PASSWORD=wrong", 0,
       "with 3 tables and views", "", ""},
      {"the right one, for the user named", "VANTOREL_PASSWORD=test", 0, "with 3 tables and views",
       "test", "test"},
      {"a password file without a user", "", 2,
       "vantorel new: --password-file needs --user: a data source named without a user logs in "
       "with the login its entry stores",
       "", ""},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    for (const char* dsn : {"vantorel_pg", "vantorel_mariadb"}) {
      SCOPED_TRACE(dsn);
      const std::string file = (dir.path() / ("p" + std::to_string(++n) + ".vtp")).string();
      std::string extra;
      if (std::string(c.label).find("user named") != std::string::npos) extra = " --user test";
      if (c.code == 2) extra = " --password-file " + passwordFile.string();
      std::string output;
      EXPECT_EQ(runCommand("env -u VANTOREL_PASSWORD " + c.words + " " + kCli + " new " + file +
                               " --connect " + dsn + extra + " </dev/null 2>&1",
                           output),
                c.code)
          << output;
      EXPECT_NE(output.find(c.said), std::string::npos) << output;
      if (c.code != 0) {
        EXPECT_FALSE(std::filesystem::exists(file));
        continue;
      }
      const std::string saved = readFile(file);
      EXPECT_NE(saved.find(" DBUID=\"" + c.uid + "\" DBPwd=\"" + c.pwd + "\" "), std::string::npos)
          << saved.substr(saved.find("<Database"), 300);
    }
  }
}

// A stored login the server refuses: check and generate end with exit code 1, unattended, and
// write nothing.
TEST_F(DsnLogin, ARefusedLoginFailsCheckAndGenerate) {
  TempDir dir;
  for (const char* dsn : {"vantorel_pg", "vantorel_mariadb"}) {
    SCOPED_TRACE(dsn);
    const std::filesystem::path file = dir.path() / (std::string(dsn) + ".vtp");
    std::string output;
    ASSERT_EQ(runCommand("VANTOREL_PASSWORD=test " + kCli + " new " + file.string() +
                             " --connect " + dsn + " --user test </dev/null 2>&1",
                         output),
              0)
        << output;
    std::string text = readFile(file);
    const std::string stored = " DBPwd=\"test\" ";
    ASSERT_NE(text.find(stored), std::string::npos);
    text.replace(text.find(stored), stored.size(), " DBPwd=\"wrong\" ");
    writeFile(file, text);
    for (const char* command : {"check", "generate"}) {
      SCOPED_TRACE(command);
      const std::filesystem::path site = dir.path() / (std::string(dsn) + "-site");
      output.clear();
      EXPECT_EQ(runCommand(kCli + " " + command + " " + file.string() + " --destination " +
                               site.string() + " </dev/null 2>&1",
                           output),
                1)
          << output;
      EXPECT_NE(output.find("Unable to load database information!"), std::string::npos) << output;
      EXPECT_NE(output.find("vantorel " + std::string(command) +
                            ": the project's database could not be read; nothing was done"),
                std::string::npos)
          << output;
      EXPECT_FALSE(std::filesystem::exists(site));
    }
  }
}

}  // namespace
}  // namespace vantorel::test
