// Rows a user reaches through his master rows, on SQLite, PostgreSQL and MariaDB: invoices are
// their users', and their lines, and the notes of the lines, have no user id field of their own.
// A user then sees, in lists, exports, reports, record pages and changes, only the lines of his
// own invoices and the notes of those lines; the administrator sees them all.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <memory>

#include "platform/data/connection.hpp"
#include "platform/data/query.hpp"
#include "platform/text/unicode.hpp"
#include "site/host/asp_site.hpp"
#include "site/shop_site.hpp"
#include "support/temp_home.hpp"

namespace vantorel::test::site {
namespace {

namespace fs = std::filesystem;
using asp::AspSite;
using asp::PageRun;

const fs::path kSource = fs::path(VANTOREL_TEST_DATA).parent_path().parent_path();

// The databases "rights" of the three, made once a program.
std::vector<ShopDatabase> rightsDatabases(TestDatabases& databases) {
  static bool made = false;
  if (!made) {
    std::ofstream(databases.folder() / "rights.sqlite").close();
    data::Connection postgres(databases.postgres().connectionString(u"postgres"));
    data::execute(postgres, u"CREATE DATABASE rights ENCODING 'UTF8' TEMPLATE template0");
    data::Connection maria(databases.mariadb().connectionString(u""));
    data::execute(maria, u"CREATE DATABASE rights CHARACTER SET utf8mb4");
    made = true;
  }
  return databasesNamed(databases, "rights");
}

// Ann's invoice 1 with line 1 and its note, Bob's invoice 2 with line 2 and its note, and a line
// of no invoice.
void resetRights(const ShopDatabase& db) {
  data::Connection c(db.connectionString);
  for (const char* sql :
       {"DROP TABLE IF EXISTS line_note", "DROP TABLE IF EXISTS invoice_line",
        "DROP TABLE IF EXISTS invoice", "DROP TABLE IF EXISTS users",
        "CREATE TABLE users (user_id INTEGER PRIMARY KEY, login VARCHAR(40), pwd VARCHAR(64))",
        "INSERT INTO users VALUES (1, 'ann', '5ebe2294ecd0e0f08eab7690d2a6ee69'), "
        "(2, 'bob', '5ebe2294ecd0e0f08eab7690d2a6ee69')",
        "CREATE TABLE invoice (id INTEGER PRIMARY KEY, user_id INTEGER, title VARCHAR(40))",
        "INSERT INTO invoice VALUES (1, 1, 'ann-invoice'), (2, 2, 'bob-invoice')",
        "CREATE TABLE invoice_line (id INTEGER PRIMARY KEY, invoice_id INTEGER, item VARCHAR(40))",
        "INSERT INTO invoice_line VALUES (1, 1, 'ann-line'), (2, 2, 'bob-line'), "
        "(3, NULL, 'stray-line')",
        "CREATE TABLE line_note (id INTEGER PRIMARY KEY, line_id INTEGER, body VARCHAR(40))",
        "INSERT INTO line_note VALUES (1, 1, 'ann-note'), (2, 2, 'bob-note')"}) {
    data::execute(c, fromUtf8(sql));
  }
}

// The site of the database, generated on first use, deployed afresh with fresh rows.
std::vector<std::pair<ShopDatabase, fs::path>> freshRightsSites(TestDatabases& databases) {
  static TempDir folder;
  static std::map<std::string, fs::path> generated;
  std::vector<std::pair<ShopDatabase, fs::path>> all;
  for (const ShopDatabase& db : rightsDatabases(databases)) {
    resetRights(db);
    fs::path& out = generated[db.kind];
    if (out.empty()) {
      const fs::path project = folder.path() / (std::string(db.kind) + ".vtp");
      runTool("new " + project.string() + " --connect '" + toUtf8(db.connectionString) +
              "' </dev/null 2>&1");
      runTool("run " + (kSource / "tests/site/configure_rights.vbs").string() + " " +
              project.string() + " " + std::string(VANTOREL_SAMPLE_ZIP));
      runTool("generate " + project.string() + " --destination " +
              (folder.path() / db.kind).string());
      out = folder.path() / db.kind;
    }
    const fs::path site = databases.folder() / "rights-sites" / db.kind;
    deploySite(out, db, site);
    all.emplace_back(db, site);
  }
  return all;
}

class KindsRights : public DatabaseTest {};

const std::vector<std::string> kAllRows = {"ann-line", "bob-line", "stray-line", "ann-note",
                                           "bob-note"};

TEST_F(KindsRights, AUserReachesOnlyTheDetailRowsOfHisOwnMasterRows) {
  struct Visit {
    const char* visitor;  // "" for a visitor not logged in
    const char* url;
    int status;
    std::vector<std::string> shown;  // of kAllRows; the others must not show
  };
  const std::vector<Visit> visits = {
      {"ann", "invoice_linelist.asp", 200, {"ann-line"}},
      {"ann", "invoice_linelist.asp?master=1", 200, {"ann-line"}},
      {"ann", "invoice_linelist.asp?master=2", 200, {}},
      {"ann", "invoice_linelist.asp?size=0&export=csv", 200, {"ann-line"}},
      {"ann", "line_reportreport.asp", 200, {"ann-line"}},
      {"ann", "invoice_lineview.asp?k_id=1", 200, {"ann-line"}},
      {"ann", "invoice_lineview.asp?k_id=2", 404, {}},
      {"ann", "invoice_lineview.asp?k_id=3", 404, {}},
      {"ann", "invoice_lineedit.asp?k_id=2", 404, {}},
      {"ann", "invoice_linedelete.asp?k_id=2", 404, {}},
      {"ann", "line_notelist.asp", 200, {"ann-note"}},
      {"ann", "line_notelist.asp?master=2", 200, {}},
      {"ann", "line_noteview.asp?k_id=2", 404, {}},
      {"bob", "invoice_linelist.asp", 200, {"bob-line"}},
      {"bob", "line_notelist.asp", 200, {"bob-note"}},
      {"bob", "invoice_lineview.asp?k_id=1", 404, {}},
      {"admin", "invoice_linelist.asp", 200, {"ann-line", "bob-line", "stray-line"}},
      {"admin", "line_notelist.asp", 200, {"ann-note", "bob-note"}},
      {"admin", "invoice_lineview.asp?k_id=2", 200, {"bob-line"}},
      // A visitor not logged in may list lines, and owns no invoice.
      {"", "invoice_linelist.asp", 200, {}},
  };
  for (const auto& [db, root] : freshRightsSites(databases())) {
    SCOPED_TRACE(db.label);
    std::map<std::string, std::unique_ptr<AspSite>> sites;
    for (const Visit& visit : visits) {
      std::unique_ptr<AspSite>& site = sites[visit.visitor];
      if (!site) {
        site = std::make_unique<AspSite>(root);
        if (*visit.visitor) {
          ASSERT_EQ(postLogin(*site, visit.visitor, "secret").response.statusCode(), 302);
        }
      }
      const PageRun run = site->get(visit.url);
      const std::string at = std::string(visit.visitor) + " " + visit.url;
      ASSERT_EQ(run.error, "") << at;
      EXPECT_EQ(run.response.statusCode(), visit.status) << at << run.text();
      EXPECT_EQ(run.connectionsOpened, 1) << at;
      for (const std::string& row : kAllRows) {
        const bool expected =
            std::find(visit.shown.begin(), visit.shown.end(), row) != visit.shown.end();
        EXPECT_EQ(contains(run.text(), row), expected) << at << " " << row;
      }
    }
  }
}

TEST_F(KindsRights, AUserChangesOnlyTheDetailRowsOfHisOwnMasterRows) {
  struct Change {
    const char* url;
    asp::FormFields fields;  // besides the token
    int status;
    const char* table;
    const char* rowsAfter;  // the table's ids and texts, in the order of the ids
  };
  const std::vector<Change> changes = {
      {"invoice_lineedit.asp?k_id=2",
       {{"x_invoice_id", "2"}, {"x_item", "taken"}},
       404,
       "invoice_line",
       "1 ann-line,2 bob-line,3 stray-line"},
      // A line is neither moved nor added into another user's invoice; into his own it is.
      {"invoice_lineedit.asp?k_id=1",
       {{"x_invoice_id", "2"}, {"x_item", "ann-line"}},
       200,
       "invoice_line",
       "1 ann-line,2 bob-line,3 stray-line"},
      {"invoice_lineadd.asp",
       {{"x_id", "4"}, {"x_invoice_id", "2"}, {"x_item", "planted"}},
       200,
       "invoice_line",
       "1 ann-line,2 bob-line,3 stray-line"},
      {"invoice_lineadd.asp",
       {{"x_id", "4"}, {"x_invoice_id", "1"}, {"x_item", "ann-extra"}},
       302,
       "invoice_line",
       "1 ann-line,2 bob-line,3 stray-line,4 ann-extra"},
      {"invoice_linedelete.asp?k_id=2",
       {},
       404,
       "invoice_line",
       "1 ann-line,2 bob-line,3 stray-line,4 ann-extra"},
      {"invoice_linedelete.asp?k_id=3",
       {},
       404,
       "invoice_line",
       "1 ann-line,2 bob-line,3 stray-line,4 ann-extra"},
      {"line_notedelete.asp?k_id=2", {}, 404, "line_note", "1 ann-note,2 bob-note"},
      {"line_notedelete.asp?k_id=1", {}, 302, "line_note", "2 bob-note"},
      {"invoice_linedelete.asp?k_id=1",
       {},
       302,
       "invoice_line",
       "2 bob-line,3 stray-line,4 ann-extra"},
  };
  for (const auto& [db, root] : freshRightsSites(databases())) {
    SCOPED_TRACE(db.label);
    AspSite ann(root);
    ASSERT_EQ(postLogin(ann, "ann", "secret").response.statusCode(), 302);
    const std::string token = tokenOf(ann, "invoice_lineadd.asp");
    for (const Change& change : changes) {
      asp::FormFields fields = change.fields;
      fields.emplace_back("vs_token", token);
      const PageRun run = ann.post(change.url, fields);
      EXPECT_EQ(run.response.statusCode(), change.status) << change.url << run.text();
      std::string rows;
      const std::string text = std::string(change.table) == "line_note" ? "body" : "item";
      for (const auto& row :
           query(db, "SELECT id, " + text + " FROM " + change.table + " ORDER BY id")) {
        rows += (rows.empty() ? "" : ",") + row[0] + " " + row[1];
      }
      EXPECT_EQ(rows, change.rowsAfter) << change.url;
    }
  }
}

}  // namespace
}  // namespace vantorel::test::site
