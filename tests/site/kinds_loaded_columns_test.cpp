// Column kinds as "vantorel new" loads them, seen on the generated site: a SQLite BLOB takes a
// file and its key is left to the database, a PostgreSQL enum is chosen from its values in their
// order, an array is shown as its text and kept by an edit, and addresses are typed as text and
// checked by the server.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>

#include "platform/data/connection.hpp"
#include "platform/data/query.hpp"
#include "platform/text/unicode.hpp"
#include "site/host/asp_site.hpp"
#include "site/html_forms.hpp"
#include "site/shop_site.hpp"
#include "support/temp_home.hpp"

namespace vantorel::test::site {
namespace {

namespace fs = std::filesystem;
using asp::AspSite;
using asp::PageRun;
using Rows = std::vector<std::vector<std::string>>;

class KindsLoadedColumns : public DatabaseTest {};

const char kRecordForm[] = "<form class=\"record\" method=\"post\"";

// SQLite's file of a BLOB and a key of INTEGER PRIMARY KEY, and PostgreSQL's table of an enum
// given a value after it was made, an array and two address types; each with a row.
ShopDatabase made(TestDatabases& databases, Dbms dbms) {
  const std::u16string name = u"loaded_columns";
  std::u16string connection;
  std::vector<std::u16string> script;
  if (dbms == Dbms::Sqlite) {
    const fs::path file = databases.folder() / "loaded_columns.sqlite";
    std::ofstream(file).close();
    connection = u"Driver=SQLite3;Database=" + fromUtf8(file.string()) + u";";
    script = {u"CREATE TABLE files (id INTEGER PRIMARY KEY, name VARCHAR(40), body BLOB)",
              u"INSERT INTO files VALUES (1, 'one', X'0102')"};
  } else {
    data::Connection server(databases.postgres().connectionString(u"postgres"));
    data::execute(server, u"CREATE DATABASE " + name + u" ENCODING 'UTF8' TEMPLATE template0");
    connection = databases.postgres().connectionString(name);
    script = {u"CREATE TYPE hue AS ENUM ('red', 'green', 'blue')",
              u"ALTER TYPE hue ADD VALUE 'amber' BEFORE 'green'",
              u"CREATE TABLE things (id serial PRIMARY KEY, name varchar(40), hue hue, "
              u"tags text[], ip inet, net cidr)",
              u"INSERT INTO things (name, hue, tags, ip, net) VALUES "
              u"('one', 'blue', '{a,\"b c\"}', '10.0.0.1', '10.0.0.0/8')"};
  }
  data::Connection c(connection);
  for (const std::u16string& sql : script) data::execute(c, sql);
  if (dbms == Dbms::Sqlite) return {dbms, "SQLite", connection, u"\"", u"\"", "sqlite"};
  return {dbms, "PostgreSQL", connection, u"\"", u"\"", "postgresql"};
}

// The site "vantorel new" and "generate" make of the database, with the bundled template set.
fs::path siteOf(TestDatabases& databases, const ShopDatabase& db, const fs::path& folder) {
  const fs::path project = folder / (std::string(db.kind) + ".vtp");
  const fs::path generated = folder / db.kind;
  const fs::path script = folder / "template.vbs";
  std::ofstream(script) << "Set proj = CreateObject(\"vantorel4.AGP\")\n"
                           "proj.Load WScript.Arguments(0)\n"
                           "proj.SetV \"Template\", WScript.Arguments(1)\n"
                           "proj.Save WScript.Arguments(0)\n";
  runTool("new " + project.string() + " --connect '" + toUtf8(db.connectionString) +
          "' </dev/null 2>&1");
  runTool("run " + script.string() + " " + project.string() + " " +
          std::string(VANTOREL_SAMPLE_ZIP));
  runTool("generate " + project.string() + " --destination " + generated.string());
  const fs::path site = databases.folder() / "loaded-sites" / db.kind;
  deploySite(generated, db, site);
  return site;
}

// The values of the options of the page's select of that name, in their order.
std::vector<std::string> optionsOf(const std::string& html, const std::string& name) {
  const std::size_t start = html.find("<select name=\"" + name + "\"");
  if (start == std::string::npos) return {};
  const std::string select = html.substr(start, html.find("</select>", start) - start);
  std::vector<std::string> values;
  const std::regex option("<option value=\"([^\"]*)\"");
  for (std::sregex_iterator it(select.begin(), select.end(), option), end; it != end; ++it) {
    values.push_back((*it)[1]);
  }
  return values;
}

TEST_F(KindsLoadedColumns, ASqliteBlobTakesAFileAndItsRowidKeyIsLeftToTheDatabase) {
  TempDir folder;
  const ShopDatabase db = made(databases(), Dbms::Sqlite);
  AspSite site(siteOf(databases(), db, folder.path()));
  for (const char* page : {"filesadd.asp", "filesedit.asp?k_id=1"}) {
    const PageRun form = site.get(page);
    ASSERT_EQ(form.error, "") << page;
    EXPECT_TRUE(contains(form.text(), "<input type=\"file\" name=\"x_body\"")) << page;
  }
  EXPECT_FALSE(contains(site.get("filesadd.asp").text(), "name=\"x_id\""));
  const std::string bytes("\x89PNG\r\n\x1a\n\0\xff", 10);
  const PageRun add = site.postMultipart(
      "filesadd.asp", {{"vs_token", tokenOf(site, "filesadd.asp")}, {"x_name", "two"}},
      {{"x_body", {"two.png", bytes}}});
  ASSERT_EQ(add.error, "");
  EXPECT_EQ(add.response.statusCode(), 302) << add.text();
  EXPECT_EQ(query(db, "SELECT id, hex(body) FROM files WHERE name = 'two'"),
            (Rows{{"2", "89504E470D0A1A0A00FF"}}));
  EXPECT_EQ(site.get("files_bodydownload.asp?k_id=2").response.body, bytes);
  EXPECT_TRUE(contains(site.get("filesview.asp?k_id=1").text(), "files_bodydownload.asp?k_id=1"));
}

TEST_F(KindsLoadedColumns, APostgresEnumIsChosenArraysShownAndAddressesTyped) {
  TempDir folder;
  const ShopDatabase db = made(databases(), Dbms::Postgres);
  AspSite site(siteOf(databases(), db, folder.path()));
  for (const char* page : {"thingsadd.asp", "thingsedit.asp?k_id=1"}) {
    const PageRun form = site.get(page);
    ASSERT_EQ(form.error, "") << page;
    const std::string html = form.text();
    EXPECT_EQ(optionsOf(html, "x_hue"),
              (std::vector<std::string>{"", "red", "amber", "green", "blue"}))
        << page;
    EXPECT_FALSE(contains(html, "name=\"x_tags\"")) << page;
    EXPECT_TRUE(contains(html, "name=\"x_ip\"")) << page;
    EXPECT_TRUE(contains(html, "name=\"x_net\"")) << page;
  }
  for (const char* page : {"thingslist.asp", "thingsview.asp?k_id=1"}) {
    const std::string html = htmlDecode(site.get(page).text());
    EXPECT_TRUE(contains(html, "{a,\"b c\"}")) << page;
    EXPECT_TRUE(contains(html, "10.0.0.0/8")) << page;
  }

  // An edit posted as drawn keeps the array it does not show.
  const std::string edit = "thingsedit.asp?k_id=1";
  EXPECT_EQ(site.post(edit, formAsSent(site.get(edit).text(), kRecordForm)).response.statusCode(),
            302);
  EXPECT_EQ(query(db, "SELECT hue, tags, ip, net FROM things WHERE id = 1"),
            (Rows{{"blue", "{a,\"b c\"}", "10.0.0.1", "10.0.0.0/8"}}));

  const auto added = [&](const std::string& name, const std::string& ip) {
    return site.post("thingsadd.asp", {{"vs_token", tokenOf(site, "thingsadd.asp")},
                                       {"x_name", name},
                                       {"x_hue", "amber"},
                                       {"x_ip", ip},
                                       {"x_net", "192.168.0.0/24"}});
  };
  EXPECT_EQ(added("two", "192.168.0.7").response.statusCode(), 302);
  EXPECT_EQ(query(db,
                  "SELECT hue, ip, net, COALESCE(tags::text, 'none') FROM things "
                  "WHERE name = 'two'"),
            (Rows{{"amber", "192.168.0.7", "192.168.0.0/24", "none"}}));
  // The server checks an address; the page answers with its message for a failed write.
  const PageRun refused = added("three", "192.168.0.300");
  EXPECT_NE(refused.response.statusCode(), 302);
  EXPECT_TRUE(contains(refused.text(), "The database could not complete the request."));
  EXPECT_EQ(query(db, "SELECT count(*) FROM things WHERE name = 'three'"), (Rows{{"0"}}));
}

}  // namespace
}  // namespace vantorel::test::site
