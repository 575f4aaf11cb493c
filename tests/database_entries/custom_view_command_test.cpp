// A project file whose custom view holds statements that change data: `vantorel check` checks
// the custom view against the database (AutoSync) on each server, and every row is still there.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "database_entries/shop_schema.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/data/connection.hpp"
#include "platform/data/query.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"
#include "support/site_pages.hpp"
#include "support/temp_home.hpp"
#include "support/test_files.hpp"

namespace vantorel::test {
namespace {

namespace fs = std::filesystem;

const std::string kCli = VANTOREL_CLI_PATH;
constexpr int kRows = 20;

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

class CustomViewCommand : public DatabaseTest {};

TEST_F(CustomViewCommand, CheckingAStoredCustomViewChangesNoRow) {
  for (const Dbms kind : {Dbms::Sqlite, Dbms::Postgres, Dbms::MariaDb}) {
    SCOPED_TRACE(dbmsName(kind));
    const std::u16string cs = connectionStringFor(databases(), kind);
    data::Connection connection(cs);
    data::execute(connection, u"CREATE TABLE cv_keep (id INTEGER PRIMARY KEY)");
    for (int id = 1; id <= kRows; ++id) {
      data::execute(connection, u"INSERT INTO cv_keep VALUES (" + toU16(id) + u")");
    }
    const auto rows = [&] {
      return toLong(
          data::runQuery(connection, u"SELECT count(*) AS n FROM cv_keep").value(0, u"n"));
    };

    TempDir dir;
    const std::string project = (dir.path() / "p.vtp").string();
    const fs::path script = dir.path() / "add_view.vbs";
    std::ofstream(script) << "Set proj = CreateObject(\"vantorel4.AGP\")\n"
                             "proj.Load WScript.Arguments(0)\n"
                             "proj.LoadCustomView \"cv\", \"SELECT id FROM cv_keep\", False\n"
                             "If proj.ProjErr <> \"\" Then WScript.Quit 1\n"
                             "proj.Save WScript.Arguments(0)\n";
    std::string output;
    ASSERT_EQ(
        runCommand(kCli + " new " + project + " --connect '" + toUtf8(cs) + "' </dev/null 2>&1",
                   output),
        0)
        << output;
    ASSERT_EQ(
        runCommand(kCli + " run " + script.string() + " " + project + " </dev/null 2>&1", output),
        0)
        << output;
    const std::string stored = readFile(project);
    ASSERT_NE(stored.find("AutoSync=\"1\""), std::string::npos);

    for (const char* text :
         {"WITH d AS (SELECT 1) DELETE FROM cv_keep WHERE id &lt;= 10; COMMIT; DELETE FROM cv_keep",
          "WITH d AS (SELECT 1) DELETE FROM cv_keep", "SELECT 1 AS a; DROP TABLE cv_keep",
          "SELECT 1 AS a /*!; DELETE FROM cv_keep */"}) {
      std::ofstream(project, std::ios::trunc)
          << replaced(stored, "TblCustomSQL=\"SELECT id FROM cv_keep\"",
                      std::string("TblCustomSQL=\"") + text + "\"");
      runCommand(kCli + " check " + project + " </dev/null 2>&1", output);
      EXPECT_EQ(rows(), kRows) << text << "\n" << output;
    }
    data::execute(connection, u"DROP TABLE cv_keep");
  }
}

}  // namespace
}  // namespace vantorel::test
