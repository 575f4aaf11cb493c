// `vantorel new` as a user runs it: a project made from each kind of database, its site
// generated and every page compiled by our VBScript engine; and the failures that must leave no
// project file behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "database_entries/shop_schema.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"
#include "support/db_servers.hpp"
#include "support/site_pages.hpp"
#include "support/temp_home.hpp"
#include "support/test_files.hpp"

namespace vantorel::test {
namespace {

namespace fs = std::filesystem;

const std::string kCli = VANTOREL_CLI_PATH;

// A shell word: the text in single quotes.
std::string quoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

class NewCommand : public DatabaseTest {
 protected:
  std::string project(const char* name) const { return (dir_.path() / name).string(); }
  std::string writePassword(const std::string& password) const {
    const fs::path file = dir_.path() / "password";
    std::ofstream(file) << password << "\n";
    return file.string();
  }
  // PostgreSQL's connection string without the user and password, which come apart.
  std::string postgresWithoutLogin() {
    return "Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=" +
           std::to_string(databases().postgres().port()) + ";Database=vantorel";
  }

  TempDir dir_;
};

TEST_F(NewCommand, MakesAProjectFromEachKindWhoseSiteCompiles) {
  struct Case {
    const char* label;
    std::string arguments;
    std::string table;  // a table the project file must hold
  } cases[] = {
      {"SQLite", "--connect " + quoted(toUtf8(connectionStringFor(databases(), Dbms::Sqlite))),
       "orders"},
      {"PostgreSQL",
       "--connect " + quoted(postgresWithoutLogin()) + " --user test --password-file " +
           writePassword("test"),
       "orders"},
      {"PostgreSQL DSN", "--connect vantorel_pg --type odbc --user test", "orders"},
      {"MariaDB", "--connect " + quoted(toUtf8(connectionStringFor(databases(), Dbms::MariaDb))),
       "orders"},
      {"Access",
       "--connect " +
           quoted((fs::path(VANTOREL_TEST_DATA) / "access" / "queryTestV2000.mdb").string()),
       "Table1"},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const std::string file = project(("shop" + std::to_string(++n) + ".vtp").c_str());
    std::string output;
    ASSERT_EQ(
        runCommand("VANTOREL_PASSWORD=test " + kCli + " new " + quoted(file) + " " + c.arguments,
                   output),
        0)
        << output;
    EXPECT_EQ(output.rfind("Created " + file + " with ", 0), 0U) << output;
    const std::string saved = readFile(file);
    EXPECT_NE(saved.find("\"" + c.table + "\""), std::string::npos);
    // The password is never shown.
    EXPECT_EQ(output.find("test\n"), std::string::npos);

    const fs::path site = dir_.path() / ("site" + std::to_string(n));
    output.clear();
    ASSERT_EQ(
        runCommand(kCli + " generate " + quoted(file) + " --destination " + quoted(site.string()),
                   output),
        0)
        << output;
    const auto pages = pageProblems(site);
    for (const auto& [name, problem] : pages) EXPECT_EQ(problem, "") << name;
    EXPECT_GT(pages.size(), 3U);
  }
}

// The README's main job: the example SQLite database made into a project and its site.
TEST_F(NewCommand, TheExampleShopDatabaseBecomesASite) {
  const fs::path source = fs::path(VANTOREL_TEST_DATA).parent_path().parent_path();
  const fs::path site = dir_.path() / "shop-site";
  const std::string file = project("shop-db.vtp");
  std::string output;
  ASSERT_EQ(runCommand("VANTOREL=" + kCli + " " + (source / "examples/shop/shop-site").string() +
                           " " + quoted(site.string()) + " " + quoted(file),
                       output),
            0)
      << output;
  const std::string saved = readFile(file);
  for (const char* table :
       {"Categories", "Products", "Customers", "Orders", "OrderDetails", "OrderTotals"}) {
    EXPECT_NE(saved.find(std::string("\"") + table + "\""), std::string::npos) << table;
  }
  for (const char* page : {"default.asp", "Orderslist.asp", "OrderDetailsedit.asp"}) {
    EXPECT_TRUE(fs::is_regular_file(site / page)) << page;
  }
  for (const auto& [name, problem] : pageProblems(site)) EXPECT_EQ(problem, "") << name;
}

TEST_F(NewCommand, FailuresEndWithAMessageAndNoProjectFile) {
  const std::string unreachable =
      "Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=" + std::to_string(freeLocalPort()) +
      ";Database=vantorel";
  struct Case {
    const char* label;
    std::string arguments;
    int exitCode;
    std::string message;
  } cases[] = {
      {"wrong password",
       "--connect " + quoted(postgresWithoutLogin()) + " --user test --password-file " +
           writePassword("wrong"),
       1,
       "vantorel new: Vantorel: Unable to connect to Data Source! User ID / Password not valid!"},
      {"unreachable server", "--connect " + quoted(unreachable) + " --user test", 1,
       "vantorel new: Vantorel: "},
      {"missing file", "--connect /no/such/shop.mdb", 1, "vantorel new: \r\nError # "},
      {"unreadable password file", "--connect x --user u --password-file /no/such/file", 1,
       "vantorel new: cannot read the password file /no/such/file"},
      {"no connection", "", 2,
       "vantorel new: missing --connect CONNECTION\nUsage: vantorel new PROJECT.vtp --connect "
       "CONNECTION"},
      {"unknown kind", "--connect x --type oracle", 2,
       "vantorel new: unknown value 'oracle' of --type (access, odbc or string)\nUsage: vantorel "
       "new"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const std::string file = project("failed.vtp");
    std::string output;
    EXPECT_EQ(runCommand(kCli + " new " + quoted(file) + " " + c.arguments, output), c.exitCode)
        << output;
    EXPECT_NE(output.find(c.message), std::string::npos) << output;
    EXPECT_FALSE(fs::exists(file));
    EXPECT_EQ(output.find("wrong"), std::string::npos);
  }
}

}  // namespace
}  // namespace vantorel::test
