// What the advanced search of the site of the database of column kinds finds, on SQLite,
// PostgreSQL and MariaDB, when every field offers every operator of its kind: each operator
// answers on each kind with the rows it names, a range of texts is a range of texts, a number
// beyond what a Double counts exactly is compared whole, a time of day is found on its own, and
// a text is compared as it is typed, blanks and all.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>

#include "platform/data/connection.hpp"
#include "platform/data/query.hpp"
#include "platform/text/unicode.hpp"
#include "site/host/asp_site.hpp"
#include "site/html_forms.hpp"
#include "site/kinds_site.hpp"
#include "site/shop_site.hpp"
#include "support/temp_home.hpp"

namespace vantorel::test::site {
namespace {

namespace fs = std::filesystem;
using asp::AspSite;
using asp::PageRun;
using Labels = std::vector<std::string>;

class KindsSearch : public DatabaseTest {};

// "finds": three rows whose values rise in every column ("f-low" < "f-mid" < "f-high"), and a
// row of Nulls but for its key ("f-none"). It lives beside the kinds database's own
// tables only while a test of this file runs, so that no other site is made with it.
void runAll(const ShopDatabase& db, const std::vector<std::string>& statements) {
  data::Connection c(db.connectionString);
  for (const std::string& sql : statements) data::execute(c, fromUtf8(sql));
}

void dropFinds(const ShopDatabase& db) {
  runAll(db, {"DROP TABLE IF EXISTS finds"});
  if (db.dbms == Dbms::Postgres) runAll(db, {"DROP TYPE IF EXISTS finds_mood"});
}

void resetFinds(const ShopDatabase& db) {
  dropFinds(db);
  std::string types;
  std::string extra;
  std::vector<std::string> extraValues(3);
  switch (db.dbms) {
    case Dbms::Sqlite:
      types = "ratio DOUBLE, flag BOOLEAN, seen DATETIME, data BLOB, rating VARCHAR(4)";
      break;
    case Dbms::Postgres:
      runAll(db, {"CREATE TYPE finds_mood AS ENUM ('G', 'PG', 'R')"});
      types = "ratio DOUBLE PRECISION, flag BOOLEAN, seen TIMESTAMP, data BYTEA, rating finds_mood";
      break;
    case Dbms::MariaDb:
      types =
          "ratio DOUBLE, flag TINYINT(1), seen DATETIME, data LONGBLOB, "
          "rating ENUM('G','PG','R')";
      extra = ", features SET('a','b','c')";
      extraValues = {", 'a'", ", 'a,b'", ", 'c'"};
      break;
  }
  const bool pg = db.dbms == Dbms::Postgres;
  const auto bytes = [&](const char* hex) {
    return pg ? std::string("'\\x") + hex + "'" : std::string("X'") + hex + "'";
  };
  const std::string no = pg ? "FALSE" : "0";
  const std::string yes = pg ? "TRUE" : "1";
  runAll(db, {"CREATE TABLE finds (id INTEGER PRIMARY KEY, label VARCHAR(20), word VARCHAR(40), "
              "spaced VARCHAR(40), note TEXT, code CHAR(4), small_n SMALLINT, big_n BIGINT, "
              "price DECIMAL(12,2), born DATE, at_time TIME, " +
                  types + extra + ")",
              "INSERT INTO finds VALUES (1, 'f-low', 'Alpha', ' lead', 'Alpha note', 'AA', -5, "
              "1000000000000001, 1.25, '2023-12-31', '08:15:00', -2.5, " +
                  no + ", '2024-01-01 00:00:00', " + bytes("01") + ", 'G'" + extraValues[0] + ")",
              "INSERT INTO finds VALUES (2, 'f-mid', 'Beta', ' both ', 'Beta note', 'BB', 0, "
              "1000000000000002, 19.25, '2024-02-29', '12:00:00', 0.5, " +
                  yes + ", '2024-03-01 10:30:00', " + bytes("02") + ", 'PG'" + extraValues[1] + ")",
              "INSERT INTO finds VALUES (3, 'f-high', 'Gamma', 'trail ', 'Gamma note', 'CC', 7, "
              "4000000000000000, 300.5, '2024-03-01', '23:59:59', 1000, " +
                  no + ", '2024-03-01 23:59:59', " + bytes("03") + ", 'R'" + extraValues[2] + ")",
              "INSERT INTO finds (id, label) VALUES (4, 'f-none')"});
}

// Drops "finds" again whichever way the test ends.
struct FindsKept {
  std::vector<ShopDatabase> databases;
  ~FindsKept() {
    for (const ShopDatabase& db : databases) {
      try {
        dropFinds(db);
      } catch (const std::exception& e) {
        ADD_FAILURE() << db.label << ": finds stays: " << e.what();
      }
    }
  }
};

// The site of the kinds database with "finds", every field of "kinds" and "finds" searched by
// the operator the visitor chooses; generated once per database and program.
const fs::path& generatedSearch(const ShopDatabase& db) {
  static TempDir folder;
  static std::map<std::string, fs::path> sites;
  fs::path& site = sites[db.kind];
  if (site.empty()) site = generateKindsSite(db, folder.path(), {"configure_search.vbs"});
  return site;
}

// One deployed site per database, the kinds database's rows and those of "finds" made afresh.
std::vector<std::pair<ShopDatabase, fs::path>> freshSearchSites(TestDatabases& databases,
                                                                FindsKept& kept) {
  std::vector<std::pair<ShopDatabase, fs::path>> all;
  for (const ShopDatabase& db : kindsDatabases(databases)) {
    resetKinds(db);
    kept.databases.push_back(db);
    resetFinds(db);
    const fs::path site = databases.folder() / "search-sites" / db.kind;
    deploySite(generatedSearch(db), db, site);
    all.emplace_back(db, site);
  }
  return all;
}

std::string urlPart(const std::string& text) {
  return asp::urlEncodeUtf8(fromUtf8(text));
}

std::string searchUrl(const std::string& table, const std::string& field, const std::string& op,
                      const std::string& value, const std::string& value2) {
  return table + "list.asp?o_" + field + "=" + urlPart(op) + "&s_" + field + "=" + urlPart(value) +
         "&s2_" + field + "=" + urlPart(value2);
}

// The rows of "finds" a list page shows, in their order; a page that fails fails the test.
Labels findsShown(AspSite& site, const std::string& url) {
  const PageRun run = site.get(url + "&size=0");
  EXPECT_EQ(run.error, "") << url;
  EXPECT_EQ(run.response.statusCode(), 200) << url << run.text();
  Labels labels;
  static const std::regex label(">(f-[a-z]+)<");
  const std::string text = run.text();
  for (auto it = std::sregex_iterator(text.begin(), text.end(), label);
       it != std::sregex_iterator(); ++it) {
    labels.push_back((*it)[1].str());
  }
  return labels;
}

// The operators the advanced search page offers each field, by field.
std::map<std::string, Labels> operatorsOffered(AspSite& site, const std::string& table) {
  const PageRun run = site.get(table + "search.asp");
  EXPECT_EQ(run.response.statusCode(), 200) << run.text();
  std::map<std::string, Labels> offered;
  static const std::regex select("<select name=\"o_([^\"]+)\">([\\s\\S]*?)</select>");
  static const std::regex option("<option value=\"([^\"]*)\"");
  const std::string text = run.text();
  for (auto it = std::sregex_iterator(text.begin(), text.end(), select);
       it != std::sregex_iterator(); ++it) {
    const std::string options = (*it)[2].str();
    Labels& ops = offered[(*it)[1].str()];
    for (auto o = std::sregex_iterator(options.begin(), options.end(), option);
         o != std::sregex_iterator(); ++o) {
      ops.push_back(htmlDecode((*o)[1].str()));
    }
  }
  return offered;
}

// The search page as a visitor leaves it before sending it: a value typed into the named box,
// or chosen in the named list.
std::string htmlAttribute(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '&')
      out += "&amp;";
    else if (c == '"')
      out += "&quot;";
    else
      out += c;
  }
  return out;
}

std::string chosenIn(const std::string& html, const std::string& name, const std::string& value) {
  const std::size_t select = html.find("<select name=\"" + name + "\"");
  const std::size_t end = html.find("</select>", select);
  static const std::regex option("<option value=\"([^\"]*)\"");
  if (select != std::string::npos) {
    for (auto it = std::sregex_iterator(html.begin() + select, html.begin() + end, option);
         it != std::sregex_iterator(); ++it) {
      if (htmlDecode((*it)[1].str()) != value) continue;
      const std::size_t at = select + it->position(0) + it->length(0);
      return html.substr(0, at) + " selected" + html.substr(at);
    }
  }
  ADD_FAILURE() << name << " offers no " << value;
  return html;
}

std::string typedInto(const std::string& html, const std::string& name, const std::string& value) {
  const std::regex input("<input[^>]*name=\"" + name + "\"[^>]*>");
  std::smatch m;
  if (!std::regex_search(html, m, input)) return value.empty() ? html : chosenIn(html, name, value);
  const std::string tag = std::regex_replace(m.str(), std::regex("value=\"[^\"]*\""),
                                             "value=\"" + htmlAttribute(value) + "\"");
  return m.prefix().str() + tag + m.suffix().str();
}

// A column of "finds" by its three rising values as a visitor types them, and the parts of the
// middle one that LIKE and STARTS WITH are given where the form offers them.
struct Column {
  const char* field;
  std::string low, mid, high;
  std::string part, start;
  bool noneHighest = false;  // the row of Nulls holds the highest value (its key)
};

std::vector<Column> findsColumns(Dbms dbms) {
  std::vector<Column> columns = {
      {"id", "1", "2", "3", "", "", true},
      {"word", "Alpha", "Beta", "Gamma", "ET", "be"},
      {"note", "Alpha note", "Beta note", "Gamma note", "TA N", "beta"},
      {"code", "AA", "BB", "CC", "b", "B"},
      {"small_n", "-5", "0", "7"},
      {"big_n", "1000000000000001", "1000000000000002", "4000000000000000"},
      {"price", "1.25", "19.25", "300.50", "9.2", "19"},
      {"ratio", "-2.5", "0.5", "1000"},
      {"born", "2023-12-31", "2024-02-29", "2024-03-01"},
      {"seen", "2024-01-01 00:00:00", "2024-03-01 10:30:00", "2024-03-01 23:59:59"},
      {"at_time", "08:15:00", "12:00:00", "23:59:59"},
      {"rating", "G", "PG", "R", "p", "P"},
  };
  if (dbms == Dbms::MariaDb) columns.push_back({"features", "a", "a,b", "c", "B", "a,"});
  return columns;
}

// What an operator is given and finds among rows of rising values: the middle value (the low
// and middle ones for BETWEEN, the parts of the middle one for LIKE and STARTS WITH).
struct Expected {
  std::string value, value2;
  Labels shown;
};

Expected expectedOf(const Column& c, const std::string& op) {
  const std::map<std::string, Expected> byOperator = {
      {"=", {c.mid, "", {"f-mid"}}},
      {"<>", {c.mid, "", {"f-low", "f-high"}}},
      {"<", {c.mid, "", {"f-low"}}},
      {"<=", {c.mid, "", {"f-low", "f-mid"}}},
      {">", {c.mid, "", {"f-high"}}},
      {">=", {c.mid, "", {"f-mid", "f-high"}}},
      {"BETWEEN", {c.low, c.mid, {"f-low", "f-mid"}}},
      {"LIKE", {c.part, "", {"f-mid"}}},
      {"NOT LIKE", {c.part, "", {"f-low", "f-high"}}},
      {"STARTS WITH", {c.start, "", {"f-mid"}}},
  };
  const auto found = byOperator.find(op);
  if (found == byOperator.end()) {
    ADD_FAILURE() << "an operator no test knows: " << op;
    return {};
  }
  Expected e = found->second;
  if (c.noneHighest && !e.shown.empty() && e.shown.back() == "f-high") e.shown.push_back("f-none");
  return e;
}

TEST_F(KindsSearch, EveryOperatorFindsItsRowsInEveryKind) {
  FindsKept kept;
  for (const auto& [db, root] : freshSearchSites(databases(), kept)) {
    SCOPED_TRACE(db.label);
    AspSite site(root);
    const std::map<std::string, Labels> offered = operatorsOffered(site, "finds");
    std::set<std::string> driven;
    for (const Column& c : findsColumns(db.dbms)) {
      ASSERT_TRUE(offered.count(c.field)) << c.field;
      for (const std::string& op : offered.at(c.field)) {
        const Expected e = expectedOf(c, op);
        const std::string url = searchUrl("finds", c.field, op, e.value, e.value2);
        EXPECT_EQ(findsShown(site, url), e.shown) << url;
        driven.insert(op);
      }
    }
    EXPECT_EQ(driven, (std::set<std::string>{"=", "<>", "<", "<=", ">", ">=", "BETWEEN", "LIKE",
                                             "NOT LIKE", "STARTS WITH"}));
  }
}

TEST_F(KindsSearch, TextsRangesTimesAndBigNumbersAreFoundAsTyped) {
  struct Search {
    const char* field;
    const char* op;
    const char* value;
    const char* value2;
    Labels shown;
  };
  const Labels all = {"f-low", "f-mid", "f-high", "f-none"};
  const std::vector<Search> searches = {
      // A range of texts, its ends as typed.
      {"word", "BETWEEN", "A", "C", {"f-low", "f-mid"}},
      {"word", "BETWEEN", "B", "", {"f-mid", "f-high"}},
      {"note", "BETWEEN", "Beta", "Gamma note", {"f-mid", "f-high"}},
      {"code", "BETWEEN", "AB", "BZ", {"f-mid"}},
      // Whole numbers beyond 1E+15.
      {"big_n", "BETWEEN", "1000000000000001", "1000000000000001", {"f-low"}},
      {"big_n", "BETWEEN", "1000000000000002", "4000000000000000", {"f-mid", "f-high"}},
      {"big_n", "=", "4000000000000000", "", {"f-high"}},
      {"big_n", ">", "1000000000000001", "", {"f-mid", "f-high"}},
      // Times of day, alone and in a range.
      {"at_time", "=", "08:15:00", "", {"f-low"}},
      {"at_time", "=", "23:59:59", "", {"f-high"}},
      {"at_time", "BETWEEN", "12:00:00", "23:59:59", {"f-mid", "f-high"}},
      // A range of days holds its last day whole; a time given ends it there.
      {"seen", "BETWEEN", "2024-03-01", "2024-03-01", {"f-mid", "f-high"}},
      {"seen", "BETWEEN", "2024-01-01", "2024-03-01 10:30:00", {"f-low", "f-mid"}},
      {"born", "BETWEEN", "2024-02-29", "2024-03-01", {"f-mid", "f-high"}},
      // Blanks are part of what is typed; only blanks are no condition.
      {"spaced", "=", " lead", "", {"f-low"}},
      {"spaced", "=", " both ", "", {"f-mid"}},
      {"spaced", "=", "trail ", "", {"f-high"}},
      {"spaced", "<>", " both ", "", {"f-low", "f-high"}},
      {"spaced", "LIKE", "h ", "", {"f-mid"}},
      {"spaced", "STARTS WITH", " b", "", {"f-mid"}},
      {"spaced", "NOT LIKE", "l ", "", {"f-low", "f-mid"}},
      {"spaced", "=", "   ", "", all},
      {"word", "BETWEEN", " ", " ", all},
      // A value that is none of the field's kind finds nothing.
      {"big_n", "BETWEEN", "many", "more", {}},
      {"at_time", "=", "noon", "", {}},
      {"data", "=", "01", "", {}},
      // A yes/no field.
      {"flag", "=", "1", "", {"f-mid"}},
      {"flag", "<>", "1", "", {"f-low", "f-high"}},
      {"flag", "=", "0", "", {"f-low", "f-high"}},
  };
  FindsKept kept;
  for (const auto& [db, root] : freshSearchSites(databases(), kept)) {
    SCOPED_TRACE(db.label);
    AspSite site(root);
    for (const Search& s : searches) {
      const std::string url = searchUrl("finds", s.field, s.op, s.value, s.value2);
      EXPECT_EQ(findsShown(site, url), s.shown) << url;
    }
  }
}

TEST_F(KindsSearch, ASearchTypedIntoTheFormFindsItsRows) {
  // What a browser sends: a time input's time without its seconds, a date input's day, a big
  // number in a box that takes its digits, a text with its blanks, an enum value from its list.
  struct Search {
    const char* field;
    const char* op;
    const char* value;
    const char* value2;
    Labels shown;
  };
  const std::vector<Search> searches = {
      {"at_time", "=", "08:15", "", {"f-low"}},
      {"at_time", "BETWEEN", "12:00", "23:59:59", {"f-mid", "f-high"}},
      {"born", "BETWEEN", "2024-02-29", "2024-03-01", {"f-mid", "f-high"}},
      {"seen", "BETWEEN", "2024-03-01", "2024-03-01", {"f-mid", "f-high"}},
      {"big_n", "BETWEEN", "1000000000000001", "1000000000000002", {"f-low", "f-mid"}},
      {"big_n", "=", "4000000000000000", "", {"f-high"}},
      {"small_n", "<", "0", "", {"f-low"}},
      {"price", "=", "19.25", "", {"f-mid"}},
      {"ratio", ">", "0.5", "", {"f-high"}},
      {"word", "BETWEEN", "A", "C", {"f-low", "f-mid"}},
      {"spaced", "=", " both ", "", {"f-mid"}},
      {"rating", "=", "PG", "", {"f-mid"}},
  };
  FindsKept kept;
  for (const auto& [db, root] : freshSearchSites(databases(), kept)) {
    SCOPED_TRACE(db.label);
    AspSite site(root);
    const PageRun form = site.get("findssearch.asp");
    ASSERT_EQ(form.response.statusCode(), 200) << form.text();
    for (const Search& s : searches) {
      const std::string field = s.field;
      std::string html = chosenIn(form.text(), "o_" + field, s.op);
      html = typedInto(html, "s_" + field, s.value);
      html = typedInto(html, "s2_" + field, s.value2);
      std::vector<std::string> problems;
      const asp::FormFields fields = formAsSent(html, "<form class=\"record\"", problems);
      EXPECT_EQ(problems, std::vector<std::string>()) << field;
      std::string url = "findslist.asp?";
      for (const auto& [name, value] : fields) url += name + "=" + urlPart(value) + "&";
      EXPECT_EQ(findsShown(site, url.substr(0, url.size() - 1)), s.shown) << url;
    }
  }
}

TEST_F(KindsSearch, EveryOperatorOnTheKindsTableFindsTheRowItIsGiven) {
  // The first row of "kinds", each field's value as it is typed; an operator that holds for a
  // value equal to the row's shows the row, any other does not.
  const std::map<std::string, std::string> typed = {
      {"id", "1"},
      {"name", "Ærøskøbing – 東京 – Ελλάδα"},
      {"note", "A note, with \"quotes\" & <b>marks</b>"},
      {"motto", "plain"},
      {"small_n", "12"},
      {"big_n", "5000000000"},
      {"price", "19.25"},
      {"ratio", "2.5"},
      {"born", "2024-02-29"},
      {"seen", "2024-03-01 10:30:00"},
      {"at_time", "08:15:00"},
      {"code", "AB"},
      {"data", "0102ff"},
  };
  const std::set<std::string> holding = {"=", "<=", ">=", "BETWEEN", "LIKE", "STARTS WITH"};
  FindsKept kept;
  for (const auto& [db, root] : freshSearchSites(databases(), kept)) {
    SCOPED_TRACE(db.label);
    AspSite site(root);
    std::map<std::string, std::string> values = typed;
    // MariaDB's TINYINT(1) is a number; elsewhere yes is "true" (which PostgreSQL's driver
    // gives as the text of its booleans).
    values["flag"] = db.dbms == Dbms::MariaDb ? "1" : "true";
    if (db.dbms == Dbms::Postgres) values["rating"] = "PG";
    if (db.dbms == Dbms::MariaDb) {
      values["rating"] = "Say \"hi\"";
      values["features"] = "Trailers,Deleted Scenes";
    }
    const std::map<std::string, Labels> offered = operatorsOffered(site, "kinds");
    for (const std::string& field : kindsColumns(db)) {
      ASSERT_TRUE(offered.count(field)) << field;
      for (const std::string& op : offered.at(field)) {
        const std::string& v = values.at(field);
        const std::string url = searchUrl("kinds", field, op, v, op == "BETWEEN" ? v : "");
        const PageRun run = site.get(url);
        EXPECT_EQ(run.error, "") << url;
        EXPECT_EQ(run.response.statusCode(), 200) << url << run.text();
        EXPECT_EQ(contains(run.text(), "Ærøskøbing"), field != "data" && holding.count(op) > 0)
            << url;
      }
    }
  }
}

}  // namespace
}  // namespace vantorel::test::site
