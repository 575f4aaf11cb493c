// The site of a database of every column kind, loaded by "vantorel new", on SQLite, PostgreSQL
// and MariaDB: an edit form posted as it is drawn leaves its row as it was, a user sees and
// changes only his own rows, every column can be searched, a failed read answers as a failed
// write does, and names, defaults and enum values cannot end a page's script.
#include <gtest/gtest.h>

#include "platform/text/unicode.hpp"
#include "site/host/asp_site.hpp"
#include "site/html_forms.hpp"
#include "site/kinds_site.hpp"
#include "site/shop_site.hpp"
#include "support/site_pages.hpp"

namespace vantorel::test::site {
namespace {

using asp::AspSite;
using asp::PageRun;

class KindsPages : public DatabaseTest {};

using Rows = std::vector<std::vector<std::string>>;

const char kRecordForm[] = "<form class=\"record\" method=\"post\"";

void logIn(AspSite& site, const std::string& login) {
  const std::string token = tokenOf(site, "login.asp");
  const PageRun run =
      site.post("login.asp", {{"vs_token", token}, {"login", login}, {"password", "secret"}});
  ASSERT_EQ(run.response.statusCode(), 302) << login << run.text();
}

// A SELECT of the columns of "kinds" as SQLite stores them, which keeps a date as the text it was
// written as; of nothing else for the other tables and databases.
std::string storedText(const ShopDatabase& db, const std::string& table) {
  if (db.dbms != Dbms::Sqlite || table != "kinds") return "SELECT 1";
  std::string select;
  for (const std::string& column : kindsColumns(db)) {
    select += (select.empty() ? "SELECT " : ", ") + column + " || ''";
  }
  return select;
}

TEST_F(KindsPages, AnEditFormPostedAsDrawnLeavesItsRowAsItWas) {
  for (const auto& [db, root] : freshKindsSites(databases())) {
    SCOPED_TRACE(db.label);
    AspSite site(root);
    logIn(site, "admin");
    struct Table {
      const char* name;
      const char* key;
    };
    int edits = 0;
    for (const Table& table :
         {Table{"kinds", "id"}, Table{"notes", "id"}, Table{"users", "user_id"}}) {
      const std::string key = table.key;
      for (const auto& id : query(db, "SELECT " + key + " FROM " + table.name + " ORDER BY 1")) {
        const std::string where =
            " FROM " + std::string(table.name) + " WHERE " + key + " = " + id[0];
        const Rows before = query(db, "SELECT *" + where);
        const Rows stored = query(db, storedText(db, table.name) + where);
        const std::string page = std::string(table.name) + "edit.asp?k_" + key + "=" + id[0];
        const PageRun form = site.get(page);
        ASSERT_EQ(form.error, "") << page;
        ASSERT_EQ(form.response.statusCode(), 200) << page;
        const PageRun saved = site.post(page, formAsSent(form.text(), kRecordForm));
        ASSERT_EQ(saved.error, "") << page;
        EXPECT_EQ(saved.response.statusCode(), 302) << page << saved.text();
        EXPECT_EQ(query(db, "SELECT *" + where), before) << page;
        EXPECT_EQ(query(db, storedText(db, table.name) + where), stored) << page;
        ++edits;
      }
    }
    EXPECT_EQ(edits, 7);
  }
}

TEST_F(KindsPages, AUserSeesAndChangesOnlyHisOwnRows) {
  for (const auto& [db, root] : freshKindsSites(databases())) {
    SCOPED_TRACE(db.label);
    const auto bodies = [&notes = db] {
      return query(notes, "SELECT owner_id, body FROM notes ORDER BY id");
    };
    AspSite ann(root);
    // Before the login there is no user, and no row is anybody's.
    EXPECT_EQ(ann.get("noteslist.asp").response.statusCode(), 200);
    EXPECT_FALSE(contains(ann.get("noteslist.asp").text(), "ann first"));
    EXPECT_EQ(ann.get("notesview.asp?k_id=1").response.statusCode(), 302);
    logIn(ann, "ann");
    const Rows before = bodies();
    for (const char* page : {"noteslist.asp", "noteslist.asp?export=csv", "notes_reportreport.asp",
                             "notesview.asp?k_id=1", "notesedit.asp?k_id=2"}) {
      const PageRun run = ann.get(page);
      ASSERT_EQ(run.error, "") << page;
      EXPECT_EQ(run.response.statusCode(), 200) << page;
      EXPECT_FALSE(contains(run.text(), "bob private")) << page;
    }
    const std::string list = ann.get("noteslist.asp").text();
    EXPECT_TRUE(contains(list, "ann first"));
    EXPECT_TRUE(contains(list, "ann second"));
    EXPECT_TRUE(contains(ann.get("notes_reportreport.asp").text(), "ann second"));
    // Another user's key is a key that is not there, for reading and for changing.
    for (const char* page :
         {"notesview.asp?k_id=3", "notesedit.asp?k_id=3", "notesdelete.asp?k_id=3"}) {
      EXPECT_EQ(ann.get(page).response.statusCode(), 404) << page;
    }
    std::string token = tokenOf(ann, "notesadd.asp");
    EXPECT_EQ(ann.post("notesedit.asp?k_id=3",
                       {{"vs_token", token}, {"x_owner_id", "1"}, {"x_body", "taken"}})
                  .response.statusCode(),
              404);
    EXPECT_EQ(ann.post("notesdelete.asp?k_id=3", {{"vs_token", token}}).response.statusCode(), 404);
    EXPECT_EQ(bodies(), before);
    // What is added or changed is the user's whatever the form says.
    PageRun add = ann.post("notesadd.asp",
                           {{"vs_token", token}, {"x_owner_id", "2"}, {"x_body", "ann third"}});
    EXPECT_EQ(add.response.statusCode(), 302) << add.text();
    EXPECT_EQ(scalar(db, "SELECT owner_id FROM notes WHERE body = 'ann third'"), "1");
    PageRun edit = ann.post("notesedit.asp?k_id=1",
                            {{"vs_token", token}, {"x_owner_id", "2"}, {"x_body", "ann edited"}});
    EXPECT_EQ(edit.response.statusCode(), 302) << edit.text();
    EXPECT_EQ(query(db, "SELECT owner_id, body FROM notes WHERE id = 1"),
              (Rows{{"1", "ann edited"}}));
    // The project's administrator sees every row.
    AspSite admin(root);
    logIn(admin, "admin");
    EXPECT_TRUE(contains(admin.get("noteslist.asp").text(), "bob private"));
    EXPECT_EQ(admin.get("notesview.asp?k_id=3").response.statusCode(), 200);
  }
}

// The session keeps the last login's user id; a visitor who has the session id but not the
// login cookie is not logged in and gets neither the rows nor the id of that user.
TEST_F(KindsPages, APlantedSessionLendsNothingOfTheUserWhoLoggedInThrough) {
  for (const auto& [db, root] : freshKindsSites(databases())) {
    if (db.dbms != Dbms::Sqlite) continue;
    AspSite site(root);
    site.get("noteslist.asp");
    const std::string planted = site.cookie(asp::kSessionCookie);
    ASSERT_FALSE(planted.empty());
    logIn(site, "ann");
    ASSERT_EQ(site.cookie(asp::kSessionCookie), planted);
    ASSERT_TRUE(contains(site.get("noteslist.asp").text(), "ann first"));

    site.forgetCookies();
    site.setCookie(asp::kSessionCookie, planted);
    for (const char* page : {"noteslist.asp", "noteslist.asp?export=csv"}) {
      const PageRun run = site.get(page);
      ASSERT_EQ(run.error, "") << page;
      EXPECT_EQ(run.response.statusCode(), 200) << page;
      EXPECT_FALSE(contains(run.text(), "ann ")) << page;
    }
    const std::string token = tokenOf(site, "notesadd.asp");
    for (const asp::FormFields& fields :
         {asp::FormFields{{"vs_token", token}, {"x_body", "planted one"}},
          asp::FormFields{{"vs_token", token}, {"x_owner_id", "1"}, {"x_body", "planted two"}}}) {
      const PageRun add = site.post("notesadd.asp", fields);
      EXPECT_EQ(add.response.statusCode(), 302) << add.text();
    }
    EXPECT_EQ(query(db,
                    "SELECT body, COALESCE(owner_id, 0) FROM notes WHERE body LIKE 'planted%' "
                    "ORDER BY body"),
              (Rows{{"planted one", "0"}, {"planted two", "0"}}));
  }
}

TEST_F(KindsPages, AViewOfTheUsersTableShowsNoPassword) {
  for (const auto& [db, root] : freshKindsSites(databases())) {
    SCOPED_TRACE(db.label);
    AspSite site(root);
    logIn(site, "admin");
    for (const char* page : {"user_listlist.asp", "user_listlist.asp?export=csv"}) {
      const PageRun run = site.get(page);
      ASSERT_EQ(run.error, "") << page;
      EXPECT_EQ(run.response.statusCode(), 200) << page;
      EXPECT_TRUE(contains(run.text(), "bob")) << page;
      EXPECT_FALSE(contains(run.text(), "5ebe2294")) << page;
      EXPECT_FALSE(contains(run.text(), "order=pwd")) << page;
    }
    EXPECT_TRUE(contains(site.get("user_listlist.asp?q=5ebe2294").text(), "No records found."));
  }
}

TEST_F(KindsPages, EveryColumnCanBeSearched) {
  for (const auto& [db, root] : freshKindsSites(databases())) {
    SCOPED_TRACE(db.label);
    AspSite site(root);
    const std::vector<std::string> columns = kindsColumns(db);
    const Rows first = query(db, "SELECT * FROM kinds WHERE id = 1");
    ASSERT_EQ(first.size(), 1u);
    ASSERT_EQ(first[0].size(), columns.size());
    for (std::size_t i = 0; i < columns.size(); ++i) {
      const std::string& column = columns[i];
      const std::string value = asp::urlEncodeUtf8(fromUtf8(first[0][i]));
      for (const std::string& url :
           {"kindslist.asp?q=" + value,
            "kindslist.asp?o_" + column + "=%3D&s_" + column + "=" + value}) {
        const PageRun run = site.get(url);
        EXPECT_EQ(run.error, "") << url;
        EXPECT_EQ(run.response.statusCode(), 200) << url << run.text();
      }
    }
    // Texts and the enum find their row by the basic search.
    for (const char* text : {"Ærøskøbing", "quotes"}) {
      const PageRun run = site.get("kindslist.asp?q=" + asp::urlEncodeUtf8(fromUtf8(text)));
      EXPECT_TRUE(contains(run.text(), "Ærøskøbing")) << text;
      EXPECT_FALSE(contains(run.text(), ">Empty<")) << text;
    }
    if (db.dbms != Dbms::Sqlite) {
      const PageRun rating =
          site.get(db.dbms == Dbms::Postgres ? "kindslist.asp?q=pg" : "kindslist.asp?q=hi");
      EXPECT_TRUE(contains(rating.text(), "Ærøskøbing"));
      EXPECT_FALSE(contains(rating.text(), ">Empty<"));
    }
  }
}

TEST_F(KindsPages, AFailedReadAnswersAsAFailedWriteDoes) {
  for (const auto& [db, root] : freshKindsSites(databases())) {
    SCOPED_TRACE(db.label);
    AspSite site(root);
    query(db, "DROP TABLE gone");
    for (const char* page : {"gonelist.asp", "goneview.asp?k_id=1", "goneedit.asp?k_id=1"}) {
      const PageRun run = site.get(page);
      EXPECT_EQ(run.error, "") << page;
      EXPECT_EQ(run.response.statusCode(), 500) << page;
      EXPECT_TRUE(contains(run.text(), "The database could not complete the request.")) << page;
      EXPECT_FALSE(contains(run.text(), "gone")) << page;
      ASSERT_EQ(run.response.log.size(), 1u) << page;
      EXPECT_TRUE(contains(run.response.log[0], "gone")) << run.response.log[0];
    }
    const std::string token = tokenOf(site, "goneadd.asp");
    const PageRun write =
        site.post("goneadd.asp", {{"vs_token", token}, {"x_id", "1"}, {"x_label", "a"}});
    EXPECT_EQ(write.error, "");
    EXPECT_TRUE(contains(write.text(), "The database could not complete the request."));
    ASSERT_EQ(write.response.log.size(), 1u);
    EXPECT_TRUE(contains(write.response.log[0], "gone")) << write.response.log[0];
  }
}

TEST_F(KindsPages, NamesDefaultsAndChoicesStayText) {
  for (const auto& [db, root] : freshKindsSites(databases())) {
    SCOPED_TRACE(db.label);
    int pages = 0;
    for (const auto& [page, problem] : pageProblems(root)) {
      EXPECT_EQ(problem, "") << page;
      ++pages;
    }
    EXPECT_GT(pages, 20);
    AspSite site(root);
    const PageRun add = site.get("kindsadd.asp");
    ASSERT_EQ(add.error, "");
    const std::string text = add.text();
    EXPECT_FALSE(contains(text, "<% Response.Write"));
    EXPECT_TRUE(contains(text, "Kinds %&gt;&lt;% Response.Write &quot;HACKED&quot; %&gt;"));
    EXPECT_TRUE(
        contains(text, "Name &quot;%&gt;&quot; &lt;% Response.Write &quot;HACKED&quot; %&gt;"));
    // The project's default, and the database's where the loader reads it.
    std::string note;
    std::string motto;
    for (const auto& [name, value] : formAsSent(text, kRecordForm)) {
      if (name == "x_note") note = value;
      if (name == "x_motto") motto = value;
    }
    EXPECT_EQ(note, kHostileNote);
    EXPECT_EQ(motto, db.dbms == Dbms::Postgres ? kHostileDefault : "");
    if (db.dbms == Dbms::MariaDb) {
      // Enum values with a quote and with the end of a script block are choices like any other.
      const auto fields = formAsSent(site.get("kindsedit.asp?k_id=1").text(), kRecordForm);
      asp::FormFields changed;
      for (const auto& [name, value] : fields) {
        if (name == "x_rating") {
          EXPECT_EQ(value, "Say \"hi\"");
        }
        changed.emplace_back(name, name == "x_rating" ? "a%>b" : value);
      }
      EXPECT_EQ(site.post("kindsedit.asp?k_id=1", changed).response.statusCode(), 302);
      EXPECT_EQ(scalar(db, "SELECT rating FROM kinds WHERE id = 1"), "a%>b");
    }
  }
}

}  // namespace
}  // namespace vantorel::test::site
