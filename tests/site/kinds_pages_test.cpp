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
  const PageRun run = site.post("login.asp", {{"vs_token", token}, {"login", login}, {"password", "secret"}});
  ASSERT_EQ(run.response.statusCode(), 302) << login << run.text();
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
    for (const Table& table : {Table{"kinds", "id"}, Table{"notes", "id"}, Table{"users", "user_id"}}) {
      const std::string key = table.key;
      for (const auto& id : query(db, "SELECT " + key + " FROM " + table.name + " ORDER BY 1")) {
        const std::string where = " FROM " + std::string(table.name) + " WHERE " + key + " = " + id[0];
        const Rows before = query(db, "SELECT *" + where);
        const std::string page = std::string(table.name) + "edit.asp?k_" + key + "=" + id[0];
        const PageRun form = site.get(page);
        ASSERT_EQ(form.error, "") << page;
        ASSERT_EQ(form.response.statusCode(), 200) << page;
        const PageRun saved = site.post(page, formAsSent(form.text(), kRecordForm));
        ASSERT_EQ(saved.error, "") << page;
        EXPECT_EQ(saved.response.statusCode(), 302) << page << saved.text();
        EXPECT_EQ(query(db, "SELECT *" + where), before) << page;
        ++edits;
      }
    }
    EXPECT_EQ(edits, 7);
  }
}

}  // namespace
}  // namespace vantorel::test::site
