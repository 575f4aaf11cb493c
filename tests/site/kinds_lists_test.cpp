// What a list of the database of column kinds sends, on SQLite, PostgreSQL and MariaDB: the CSV
// export makes plain text of every cell a spreadsheet would take for a formula, and a page reads
// the labels of the lookup values it shows together, a few queries a field whatever its rows.
#include <gtest/gtest.h>

#include "platform/data/connection.hpp"
#include "platform/data/query.hpp"
#include "platform/text/unicode.hpp"
#include "site/host/asp_site.hpp"
#include "site/kinds_site.hpp"
#include "site/shop_site.hpp"

namespace vantorel::test::site {
namespace {

using asp::AspSite;
using asp::PageRun;

class KindsLists : public DatabaseTest {};

// Runs a statement as it is written.
void execute(const ShopDatabase& db, const std::string& sql) {
  data::Connection c(db.connectionString);
  data::execute(c, fromUtf8(sql));
}

TEST_F(KindsLists, ACsvCellThatASpreadsheetWouldTakeForAFormulaIsPlainText) {
  struct Cell {
    const char* stored;
    const char* written;
  };
  const std::vector<Cell> cells = {
      {"=1+2", "\"'=1+2\""},     {"+1+2", "\"'+1+2\""},
      {"-1+2", "\"'-1+2\""},     {"@SUM(A1)", "\"'@SUM(A1)\""},
      {"\t=1+2", "\"'\t=1+2\""}, {"\r=1+2", "\"'\r=1+2\""},
      {"\t7", "\"'\t7\""},       {"-5", "\"-5\""},
      {"a=b", "\"a=b\""},        {"say \"=\"", "\"say \"\"=\"\"\""},
  };
  for (const auto& [db, root] : freshKindsSites(databases())) {
    SCOPED_TRACE(db.label);
    for (const Cell& cell : cells) {
      std::string sql = "INSERT INTO kinds (name) VALUES ('";
      for (const char* c = cell.stored; *c; ++c) sql += *c == '\'' ? "''" : std::string(1, *c);
      execute(db, sql + "')");
    }
    AspSite site(root);
    const PageRun csv = site.get("kindslist.asp?export=csv");
    ASSERT_EQ(csv.error, "");
    EXPECT_EQ(csv.response.contentType, "text/csv");
    for (const Cell& cell : cells) {
      EXPECT_TRUE(contains(csv.text(), std::string(",") + cell.written + ","))
          << cell.stored << csv.text();
    }
  }
}

TEST_F(KindsLists, AListReadsTheLabelsOfItsRowsAFewQueriesALookupField) {
  // 650 places, each with a visit: a list of all rows holds 650 distinct places and two users.
  for (const auto& [db, root] : freshKindsSites(databases())) {
    SCOPED_TRACE(db.label);
    std::string places = "INSERT INTO places (id, label) VALUES ";
    std::string visits = "INSERT INTO visits (place_id, user_id, day, amount) VALUES ";
    for (int id = kPlaces + 1; id <= 650; ++id) {
      places +=
          (id > kPlaces + 1 ? ", (" : "(") + std::to_string(id) + ", '" + placeLabel(id) + "')";
    }
    for (int id = kVisits / 2 + 1; id <= 650; ++id) {
      visits += (id > kVisits / 2 + 1 ? ", (" : "(") + std::to_string(id) + ", " +
                std::to_string(1 + id % 2) + ", '2024-02-01', 1)";
    }
    execute(db, places);
    execute(db, visits);
    AspSite site(root);
    ASSERT_EQ(postLogin(site, "admin", "secret").response.statusCode(), 302);
    struct Page {
      const char* url;
      size_t placeReads;  // 500 values a query
      std::vector<int> shownPlaces;
    };
    for (const Page& page : {Page{"visitslist.asp?size=5", 1, {1, 3}},
                             Page{"visitslist.asp?size=0", 2, {1, 12, 13, 500, 501, 650}}}) {
      const PageRun run = site.get(page.url);
      ASSERT_EQ(run.error, "") << page.url;
      EXPECT_EQ(run.connectionsOpened, 1) << page.url;
      size_t placeReads = 0;
      size_t userReads = 0;
      for (const std::u16string& sql : run.statements) {
        const std::string text = toUtf8(sql);
        if (contains(text, "places")) ++placeReads;
        if (contains(text, "users")) ++userReads;
      }
      EXPECT_EQ(placeReads, page.placeReads) << page.url;
      EXPECT_EQ(userReads, 1u) << page.url;
      for (int place : page.shownPlaces) {
        EXPECT_TRUE(contains(run.text(), "<td>" + placeLabel(place) + "</td>"))
            << page.url << " " << place;
      }
      EXPECT_TRUE(contains(run.text(), "<td>bob</td>")) << page.url;
    }
  }
}

}  // namespace
}  // namespace vantorel::test::site
