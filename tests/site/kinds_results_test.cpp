// What the site of the database of column kinds finds and refuses, on SQLite, PostgreSQL and
// MariaDB: a range of days holds both its first and its last day and nothing beyond, a search
// finds text outside ASCII typed in another case, a record others refer to is not deleted and a
// key that is taken is not added, each with its own message, and a field the database fills is
// neither filled in nor asked for by the add form.
#include <gtest/gtest.h>

#include <regex>

#include "platform/text/unicode.hpp"
#include "site/host/asp_site.hpp"
#include "site/html_forms.hpp"
#include "site/kinds_site.hpp"
#include "site/shop_site.hpp"

namespace vantorel::test::site {
namespace {

using asp::AspSite;
using asp::PageRun;

class KindsResults : public DatabaseTest {};

const char kRecordForm[] = "<form class=\"record\" method=\"post\"";
const char kInUse[] = "The record is used by other records, or refers to one that does not exist.";
const char kDuplicate[] = "Another record already has this key or value.";

void logInAsAdmin(AspSite& site) {
  const std::string token = tokenOf(site, "login.asp");
  const PageRun run =
      site.post("login.asp", {{"vs_token", token}, {"login", "admin"}, {"password", "secret"}});
  ASSERT_EQ(run.response.statusCode(), 302) << run.text();
}

// The visits a list page shows, in their order.
std::vector<std::string> visitsShown(AspSite& site, const std::string& url) {
  const PageRun run = site.get(url);
  EXPECT_EQ(run.error, "") << url;
  EXPECT_EQ(run.response.statusCode(), 200) << url << run.text();
  std::vector<std::string> labels;
  static const std::regex label("v-[a-z]+");
  const std::string text = run.text();
  for (auto it = std::sregex_iterator(text.begin(), text.end(), label);
       it != std::sregex_iterator(); ++it) {
    labels.push_back(it->str());
  }
  return labels;
}

TEST_F(KindsResults, ARangeHoldsItsFirstAndLastDayAndNothingBeyond) {
  struct Search {
    const char* query;
    std::vector<std::string> shown;
  };
  const std::vector<std::string> march = {"v-first", "v-last"};
  const std::vector<Search> searches = {
      {"s_day_on=2024-03-01&s2_day_on=2024-03-31", march},
      {"s_seen_at=2024-03-01&s2_seen_at=2024-03-31", march},
      {"s_seen_at=2024-03-01", {"v-first", "v-last", "v-after"}},
      {"s_day_on=2024-03-31&s2_day_on=2024-03-31", {"v-last"}},
      {"s_seen_at=2024-03-01+00:00:00&s2_seen_at=2024-03-31+23:59:59", march},
  };
  for (const auto& [db, root] : freshKindsSites(databases())) {
    SCOPED_TRACE(db.label);
    AspSite site(root);
    logInAsAdmin(site);
    for (const Search& search : searches) {
      EXPECT_EQ(visitsShown(site, std::string("visitlist.asp?") + search.query), search.shown)
          << search.query;
    }
  }
}

TEST_F(KindsResults, ASearchFindsTextOutsideAsciiTypedInAnotherCase) {
  // SQLite folds only ASCII letters, so there a letter outside ASCII is found as it is typed.
  struct Search {
    const char* typed;
    bool foundOnSqlite;
  };
  const std::vector<Search> searches = {
      {"É que Nessa", true}, {"É QUE NESSA", true}, {"é que nessa", false},
      {"ENCARNAÇÃO", false}, {"encarnação", true},
  };
  for (const auto& [db, root] : freshKindsSites(databases())) {
    SCOPED_TRACE(db.label);
    AspSite site(root);
    logInAsAdmin(site);
    for (const Search& search : searches) {
      const PageRun run = site.get("tracklist.asp?q=" + asp::urlEncodeUtf8(fromUtf8(search.typed)));
      EXPECT_EQ(run.response.statusCode(), 200) << search.typed << run.text();
      EXPECT_EQ(contains(run.text(), "Encarnação"), db.dbms != Dbms::Sqlite || search.foundOnSqlite)
          << search.typed;
      EXPECT_FALSE(contains(run.text(), "Plain Song")) << search.typed;
    }
  }
}

TEST_F(KindsResults, AReferencedRecordStaysAndATakenKeyIsRefused) {
  for (const auto& [db, root] : freshKindsSites(databases())) {
    SCOPED_TRACE(db.label);
    AspSite site(root);
    logInAsAdmin(site);
    const std::string token = tokenOf(site, "genreadd.asp");
    // Tracks refer to genre 1.
    const PageRun used = site.post("genredelete.asp?k_genre_id=1", {{"vs_token", token}});
    EXPECT_EQ(used.error, "");
    EXPECT_TRUE(contains(used.text(), kInUse)) << used.text();
    EXPECT_EQ(scalar(db, "SELECT COUNT(*) FROM genre WHERE genre_id = 1"), "1");
    const PageRun unused = site.post("genredelete.asp?k_genre_id=2", {{"vs_token", token}});
    EXPECT_EQ(unused.response.statusCode(), 302) << unused.text();
    EXPECT_EQ(scalar(db, "SELECT COUNT(*) FROM genre"), "1");
    // A track whose genre is not there.
    const PageRun orphan = site.post(
        "trackadd.asp", {{"vs_token", token}, {"x_title", "Nowhere"}, {"x_genre_id", "9"}});
    EXPECT_TRUE(contains(orphan.text(), kInUse)) << orphan.text();
    EXPECT_EQ(scalar(db, "SELECT COUNT(*) FROM track"), "2");
    // The key of genre 1 again.
    const PageRun taken =
        site.post("genreadd.asp", {{"vs_token", token}, {"x_genre_id", "1"}, {"x_name", "Again"}});
    EXPECT_EQ(taken.error, "");
    EXPECT_TRUE(contains(taken.text(), kDuplicate)) << taken.text();
    EXPECT_FALSE(contains(taken.text(), kInUse));
    EXPECT_EQ(scalar(db, "SELECT name FROM genre WHERE genre_id = 1"), "Rock");
  }
}

TEST_F(KindsResults, AFieldTheDatabaseFillsIsNeitherFilledInNorAskedFor) {
  for (const auto& [db, root] : freshKindsSites(databases())) {
    SCOPED_TRACE(db.label);
    AspSite site(root);
    logInAsAdmin(site);
    const PageRun add = site.get("visitadd.asp");
    ASSERT_EQ(add.error, "");
    const std::string html = add.text();
    static const std::regex made("<input[^>]*name=\"x_made\"[^>]*>");
    std::smatch input;
    ASSERT_TRUE(std::regex_search(html, input, made)) << html;
    EXPECT_EQ(asp::inputValue(input.str(), "x_made"), "") << input.str();
    EXPECT_FALSE(contains(input.str(), "required")) << input.str();
    EXPECT_FALSE(contains(html, "now()"));
    EXPECT_FALSE(contains(html, "CURRENT_TIMESTAMP"));
    asp::FormFields fields = formAsSent(html, kRecordForm);
    for (auto& [name, value] : fields) {
      if (name == "x_label") value = "v-new";
    }
    const PageRun saved = site.post("visitadd.asp", fields);
    EXPECT_EQ(saved.response.statusCode(), 302) << saved.text();
    EXPECT_NE(scalar(db, "SELECT made FROM visit WHERE label = 'v-new'"), "");
    // A row that is there keeps its value: the edit form asks for it.
    const std::string edit = site.get("visitedit.asp?k_id=1").text();
    ASSERT_TRUE(std::regex_search(edit, input, made)) << edit;
    EXPECT_TRUE(contains(input.str(), "required")) << input.str();
  }
}

}  // namespace
}  // namespace vantorel::test::site
