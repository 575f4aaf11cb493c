// Every edit form of the site of the database of column kinds, posted as a browser sends it
// without a change, on SQLite, PostgreSQL and MariaDB: the browser has nothing to refuse, the
// save is answered with its redirect, and every row stays byte for byte as it was, edge values
// and all (see the table "edges").
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "platform/data/connection.hpp"
#include "platform/data/query.hpp"
#include "platform/text/unicode.hpp"
#include "site/host/asp_site.hpp"
#include "site/html_forms.hpp"
#include "site/kinds_site.hpp"
#include "site/shop_site.hpp"

namespace vantorel::test::site {
namespace {

using asp::AspSite;
using asp::PageRun;

class KindsUnchangedEdit : public DatabaseTest {};

const char kRecordForm[] = "<form class=\"record\" method=\"post\"";

// The tables with an edit page, and their keys.
const std::map<std::string, std::string> kEditedTables = {
    {"kinds", "id"},       {"edges", "id"},  {"notes", "id"},  {"users", "user_id"},
    {"gone", "id"},        {"places", "id"}, {"visits", "id"}, {"genre", "genre_id"},
    {"track", "track_id"}, {"visit", "id"},  {"tie", "id"},
};

std::vector<std::string> column(const std::vector<std::vector<std::string>>& rows) {
  std::vector<std::string> out;
  for (const auto& row : rows) out.push_back(row.at(0));
  return out;
}

// Each row of the table as one text in which every value, its kind and its bytes show: the
// database's own text of the row (PostgreSQL), or each value as an SQL literal (SQLite, with
// its storage class; MariaDB, in hexadecimal).
std::vector<std::string> rowsAsStored(const ShopDatabase& db, const std::string& table,
                                      const std::string& key) {
  if (db.dbms == Dbms::Postgres) {
    return column(query(db, "SELECT CAST(t AS TEXT) FROM " + table + " t ORDER BY " + key));
  }
  data::Connection c(db.connectionString);
  const data::QueryResult shape =
      data::runQuery(c, fromUtf8("SELECT * FROM " + table + " WHERE 1 = 0"));
  std::string values;
  for (const std::u16string& name : shape.columns) {
    const std::string quotedName = quoted(db, "\"" + toUtf8(name) + "\"");
    if (!values.empty()) values += db.dbms == Dbms::Sqlite ? " || '|' || " : ", ";
    values += db.dbms == Dbms::Sqlite ? "quote(" + quotedName + ") || typeof(" + quotedName + ")"
                                      : "HEX(QUOTE(" + quotedName + "))";
  }
  if (db.dbms == Dbms::MariaDb) values = "CONCAT_WS('|', " + values + ")";
  return column(query(db, "SELECT " + values + " FROM " + table + " ORDER BY " + key));
}

void logInAsAdmin(AspSite& site) {
  const std::string token = tokenOf(site, "login.asp");
  const PageRun run =
      site.post("login.asp", {{"vs_token", token}, {"login", "admin"}, {"password", "secret"}});
  ASSERT_EQ(run.response.statusCode(), 302) << run.text();
}

TEST_F(KindsUnchangedEdit, EveryRowSavedUnchangedStaysByteForByte) {
  for (const auto& [db, root] : freshKindsSites(databases())) {
    SCOPED_TRACE(db.label);
    // Every edit page of the site is one of the tables walked here.
    for (const auto& entry : std::filesystem::directory_iterator(root)) {
      const std::string file = entry.path().filename().string();
      if (file.size() > 8 && file.ends_with("edit.asp")) {
        EXPECT_TRUE(kEditedTables.contains(file.substr(0, file.size() - 8))) << file;
      }
    }
    AspSite site(root);
    logInAsAdmin(site);
    for (const auto& [table, key] : kEditedTables) {
      SCOPED_TRACE(table);
      const std::vector<std::string> before = rowsAsStored(db, table, key);
      // The first rows of a long table are enough.
      const auto keys = query(db, "SELECT " + key + " FROM " + table + " ORDER BY " + key);
      for (std::size_t i = 0; i < keys.size() && i < 4; ++i) {
        const std::string url = table + "edit.asp?k_" + key + "=" + keys[i][0];
        const PageRun form = site.get(url);
        ASSERT_EQ(form.response.statusCode(), 200) << url << form.error << form.text();
        const std::string html = form.text();
        std::vector<std::string> refused;
        const asp::FormFields fields = formAsSent(html, kRecordForm, refused);
        EXPECT_EQ(refused, std::vector<std::string>()) << url;
        const bool multipart = contains(html, "enctype=\"multipart/form-data\"");
        const PageRun saved =
            multipart ? site.postMultipart(url, fields, {}) : site.post(url, fields);
        EXPECT_EQ(saved.response.statusCode(), 302) << url << saved.error << saved.text();
      }
      EXPECT_EQ(rowsAsStored(db, table, key), before);
    }
  }
}

// The text a database gives of a stored value.
std::string storedText(const ShopDatabase& db, const std::string& field, int id) {
  const char* type = db.dbms == Dbms::MariaDb ? "CHAR" : "TEXT";
  return scalar(db, "SELECT CAST(" + quoted(db, "\"" + field + "\"") + " AS " + type +
                        ") FROM edges WHERE id = " + std::to_string(id));
}

// The edit form of a row of "edges" posted with one field changed; the page run.
PageRun saveWith(AspSite& site, int id, const std::string& field, const std::string& value) {
  const std::string url = "edgesedit.asp?k_id=" + std::to_string(id);
  asp::FormFields fields = formAsSent(site.get(url).text(), kRecordForm);
  bool found = false;
  for (auto& [name, sent] : fields) {
    if (name == "x_" + field) {
      sent = value;
      found = true;
    }
  }
  EXPECT_TRUE(found) << field;
  return site.post(url, fields);
}

TEST_F(KindsUnchangedEdit, TheFormShowsTheValueStoredInAnInputThatKeepsIt) {
  struct Shown {
    Dbms dbms;
    int id;
    const char* input;  // a part of the field's input
  };
  const std::vector<Shown> cases = {
      {Dbms::Postgres, 1, "name=\"x_num\" value=\"12345678901234567890.0123456789\""},
      {Dbms::MariaDb, 1, "name=\"x_num\" value=\"12345678901234567890.0123456789\""},
      {Dbms::Postgres, 1, "<input type=\"date\" name=\"x_on_day\" value=\"0099-01-01\""},
      {Dbms::Postgres, 1, "name=\"x_stamp\" value=\"2024-01-02 10:30:00.123456\""},
      {Dbms::Postgres, 2,
       "<input type=\"datetime-local\" step=\"0.001\" name=\"x_stamp\" "
       "value=\"2024-02-29T23:59:59.999\""},
      {Dbms::Postgres, 1,
       "<input type=\"time\" step=\"0.001\" name=\"x_tod\" value=\"08:15:30.5\""},
      {Dbms::Postgres, 1,
       "name=\"x_uid\" value=\"A0EEBC99-9C0B-4EF8-BB6D-6BB9BD380A11\" size=\"38\" "
       "maxlength=\"38\""},
      {Dbms::Postgres, 1, "name=\"x_big\" value=\"9223372036854775807\""},
      {Dbms::Postgres, 1, "min=\"-32768\" max=\"32767\" name=\"x_small\" value=\"-32768\""},
      {Dbms::MariaDb, 1, "<input type=\"text\" name=\"x_tod\" value=\"-01:30:00.000\""},
      {Dbms::MariaDb, 2, "<input type=\"text\" name=\"x_tod\" value=\"838:59:59.000\""},
      {Dbms::MariaDb, 1, "name=\"x_ubig\" value=\"18446744073709551615\""},
      {Dbms::MariaDb, 1, "name=\"x_stamp\" value=\"2024-01-02 10:30:00.123456\""},
      {Dbms::Sqlite, 1, "name=\"x_stamp\" value=\"2024-01-02T10:30:00.123Z\""},
      {Dbms::Sqlite, 1, "name=\"x_on_day\" value=\"2460311.5\""},
      {Dbms::Sqlite, 2, "<input type=\"date\" name=\"x_on_day\" value=\"0099-01-01\""},
  };
  for (const auto& [db, root] : freshKindsSites(databases())) {
    SCOPED_TRACE(db.label);
    AspSite site(root);
    logInAsAdmin(site);
    for (const Shown& shown : cases) {
      if (shown.dbms != db.dbms) continue;
      const std::string html = site.get("edgesedit.asp?k_id=" + std::to_string(shown.id)).text();
      EXPECT_TRUE(contains(html, shown.input)) << shown.input << "\n" << html;
    }
    // List and view pages show times past a day, below nought or with a fraction as stored,
    // and a time of day as itself.
    const PageRun list = site.get("edgeslist.asp");
    EXPECT_EQ(list.response.statusCode(), 200) << list.error << list.text();
    EXPECT_FALSE(contains(list.text(), "1899")) << list.text();
    for (int id : {1, 2}) {
      const PageRun view = site.get("edgesview.asp?k_id=" + std::to_string(id));
      EXPECT_EQ(view.response.statusCode(), 200) << view.error << view.text();
      EXPECT_FALSE(contains(view.text(), "1899")) << view.text();
    }
    if (db.dbms == Dbms::MariaDb) {
      EXPECT_TRUE(contains(list.text(), "838:59:59")) << list.text();
      EXPECT_TRUE(contains(list.text(), "-01:30:00")) << list.text();
    }
    // A new row's times are typed with their seconds.
    const std::string add = site.get("edgesadd.asp").text();
    EXPECT_TRUE(contains(add, "<input type=\"datetime-local\" step=\"1\" name=\"x_stamp\"")) << add;
    EXPECT_TRUE(contains(add, "<input type=\"time\" step=\"1\" name=\"x_tod\"")) << add;
    EXPECT_TRUE(contains(add, "<input type=\"date\" name=\"x_on_day\"")) << add;
  }
}

TEST_F(KindsUnchangedEdit, AChangedValueIsStoredExactly) {
  struct Change {
    const char* field;
    const char* typed;
    const char* sqlite;
    const char* postgres;
    const char* mariadb;
  };
  const std::vector<Change> changes = {
      // SQLite's NUMERIC columns keep a number as REAL when its first 15 digits survive.
      {"num", "98765432109876543210.0123456789", "9.87654321098765e+19",
       "98765432109876543210.0123456789", "98765432109876543210.0123456789"},
      {"exact", "0.1", "0.1", "0.10", "0.10"},
      {"big", "9007199254740993", "9007199254740993", "9007199254740993", "9007199254740993"},
      {"small", "-32768", "-32768", "-32768", "-32768"},
      {"stamp", "2024-05-06T07:08:09.25", "2024-05-06 07:08:09.25", "2024-05-06 07:08:09.25",
       "2024-05-06 07:08:09.250000"},
      {"stamp", "2024-05-06T07:08", "2024-05-06 07:08:00", "2024-05-06 07:08:00",
       "2024-05-06 07:08:00.000000"},
      {"on_day", "0099-01-01", "0099-01-01", "0099-01-01", "0099-01-01"},
      {"tod", "07:05:00.5", "07:05:00.5", "07:05:00.5", "07:05:00.500"},
      {"t_null", " blanks kept ", " blanks kept ", " blanks kept ", " blanks kept "},
      // MariaDB's driver miscounts wide text holding "Ø" and the like.
      {"t_null", "ÆØÅ Køge Ù 東京", "ÆØÅ Køge Ù 東京", "ÆØÅ Køge Ù 東京", "ÆØÅ Køge Ù 東京"},
  };
  for (const auto& [db, root] : freshKindsSites(databases())) {
    SCOPED_TRACE(db.label);
    AspSite site(root);
    logInAsAdmin(site);
    for (const Change& change : changes) {
      const PageRun saved = saveWith(site, 2, change.field, change.typed);
      EXPECT_EQ(saved.response.statusCode(), 302) << change.field << saved.text();
      const char* expected = db.dbms == Dbms::Sqlite     ? change.sqlite
                             : db.dbms == Dbms::Postgres ? change.postgres
                                                         : change.mariadb;
      EXPECT_EQ(storedText(db, change.field, 2), expected) << change.field;
    }
    if (db.dbms == Dbms::MariaDb) {
      EXPECT_EQ(saveWith(site, 2, "tod", "-02:15:00").response.statusCode(), 302);
      EXPECT_EQ(storedText(db, "tod", 2), "-02:15:00.000");
      EXPECT_EQ(saveWith(site, 2, "ubig", "18446744073709551614").response.statusCode(), 302);
      EXPECT_EQ(storedText(db, "ubig", 2), "18446744073709551614");
    }
    // Out of the column's range, or text the database would cut at a NUL: refused, kept.
    struct Refused {
      const char* field;
      std::string typed;
      const char* message;
    };
    for (const Refused& refused :
         {Refused{"small", "-32769", "the number is out of range"},
          Refused{"big", "9223372036854775808", "the number is out of range"},
          Refused{"t_null", std::string("a\0b", 3), "cannot be stored"},
          Refused{"t_req", "", "a value is required"}}) {
      const std::string before = storedText(db, refused.field, 2);
      const PageRun run = saveWith(site, 2, refused.field, refused.typed);
      EXPECT_EQ(run.response.statusCode(), 200) << refused.field;
      EXPECT_TRUE(contains(run.text(), refused.message)) << refused.field << run.text();
      EXPECT_EQ(storedText(db, refused.field, 2), before) << refused.field;
    }
  }
}

}  // namespace
}  // namespace vantorel::test::site
