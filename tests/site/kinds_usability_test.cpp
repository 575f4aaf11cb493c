// The site of the database of column kinds at scale and in use, on SQLite, PostgreSQL and
// MariaDB: a lookup table too large for a list is a box with the key's label beside it and is
// never read whole, reports come a page of groups at a time, a list of all rows stops at the
// configured most, dates show as the project says (the shop's site: day first), each change
// leaves a notice, and an edit of a row another visitor changed meanwhile is refused.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>

#include "platform/text/unicode.hpp"
#include "site/host/asp_site.hpp"
#include "site/html_forms.hpp"
#include "site/kinds_site.hpp"
#include "site/shop_site.hpp"
#include "support/site_pages.hpp"
#include "support/test_files.hpp"

namespace vantorel::test::site {
namespace {

using asp::AspSite;
using asp::PageRun;
using Rows = std::vector<std::vector<std::string>>;

class KindsUsability : public DatabaseTest {};

// A report's row of sums whose one summed column holds the sum.
std::regex sumRow(const std::string& label, int sum) {
  return std::regex("<tr class=\"sum\"><td>" + label + " </td>(<td></td>)*<td>" +
                    std::to_string(sum) + "</td>");
}

const char kRecordForm[] = "<form class=\"record\" method=\"post\"";

void logInAsAdmin(AspSite& site) {
  const std::string token = tokenOf(site, "login.asp");
  const PageRun run =
      site.post("login.asp", {{"vs_token", token}, {"login", "admin"}, {"password", "secret"}});
  ASSERT_EQ(run.response.statusCode(), 302) << run.text();
}

// The SQL statements of a page run that name the table.
std::vector<std::string> statementsOn(const PageRun& run, const std::string& table) {
  std::vector<std::string> found;
  for (const std::u16string& sql : run.statements) {
    const std::string text = toUtf8(sql);
    if (contains(text, table)) found.push_back(text);
  }
  return found;
}

// The posted fields with one of them changed.
asp::FormFields with(asp::FormFields fields, const std::string& name, const std::string& value) {
  for (auto& [field, sent] : fields) {
    if (field == name) sent = value;
  }
  return fields;
}

TEST_F(KindsUsability, ALargeLookupIsABoxWithItsLabelAndIsNeverReadWhole) {
  for (const auto& [db, root] : freshKindsSites(databases())) {
    SCOPED_TRACE(db.label);
    AspSite site(root);
    logInAsAdmin(site);
    const std::string where = " FROM visits WHERE id = 3";
    const Rows before = query(db, "SELECT *" + where);
    const PageRun form = site.get("visitsedit.asp?k_id=3");
    ASSERT_EQ(form.error, "");
    const std::string html = form.text();
    // Place 2 of 150: a box holding the key, its label beside it; the two users stay a list.
    EXPECT_TRUE(std::regex_search(
        html, std::regex("<input type=\"number\"[^>]* name=\"x_place_id\" value=\"2\"[^>]*> "
                         "<span class=\"lookuplabel\">Place 002</span>")))
        << html;
    EXPECT_FALSE(contains(html, "<select name=\"x_place_id\""));
    EXPECT_TRUE(contains(html, "<option value=\"2\" selected>bob</option>")) << html;
    for (const std::string& sql : statementsOn(form, "places")) {
      EXPECT_TRUE(contains(sql, "WHERE") || contains(sql, "LIMIT 101")) << sql;
    }
    // Posted as drawn, the row stays as it was.
    const PageRun saved = site.post("visitsedit.asp?k_id=3", formAsSent(html, kRecordForm));
    EXPECT_EQ(saved.response.statusCode(), 302) << saved.text();
    EXPECT_EQ(query(db, "SELECT *" + where), before);
    // A list reads the labels of the rows it shows, in one query, and nothing more of the table.
    const PageRun list = site.get("visitslist.asp?size=5");
    ASSERT_EQ(list.error, "");
    EXPECT_TRUE(contains(list.text(), "<td>Place 001</td>"));
    EXPECT_TRUE(contains(list.text(), "<td>Place 003</td>"));
    EXPECT_FALSE(contains(list.text(), "Place 004"));
    const std::vector<std::string> reads = statementsOn(list, "places");
    EXPECT_EQ(reads.size(), 1u);
    for (const std::string& sql : reads) EXPECT_TRUE(contains(sql, "WHERE")) << sql;
    // The view shows the label, and the report labels its groups.
    EXPECT_TRUE(contains(site.get("visitsview.asp?k_id=3").text(), "Place 002"));
  }
}

TEST_F(KindsUsability, AReportComesAPageOfGroupsAtATime) {
  for (const auto& [db, root] : freshKindsSites(databases())) {
    SCOPED_TRACE(db.label);
    AspSite site(root);
    logInAsAdmin(site);
    // Twelve places of two visits each, five places a page; the grand total (1 + ... + 24)
    // closes the last page only.
    struct Page {
      const char* url;
      int firstPlace, lastPlace;
      bool total;
    };
    for (const Page& page : {Page{"visits_reportreport.asp", 1, 5, false},
                             Page{"visits_reportreport.asp?start=6", 6, 10, false},
                             Page{"visits_reportreport.asp?start=11", 11, 12, true}}) {
      const PageRun run = site.get(page.url);
      ASSERT_EQ(run.error, "") << page.url;
      const std::string text = run.text();
      for (int place = 1; place <= kPlaces / 10; ++place) {
        const bool shown = place >= page.firstPlace && place <= page.lastPlace;
        EXPECT_EQ(contains(text, ">" + placeLabel(place) + "</td>"), shown)
            << page.url << " " << place;
      }
      EXPECT_EQ(std::regex_search(text, sumRow("Total", 300)), page.total) << page.url;
      EXPECT_TRUE(contains(text, "class=\"pager\"")) << page.url;
    }
    // A group's rows and sum: place 6 holds visits 11 and 12.
    const std::string second = site.get("visits_reportreport.asp?start=6").text();
    EXPECT_TRUE(std::regex_search(second, sumRow("Group total", 23))) << second;
  }
}

// The texts of a page that match the pattern, in their order.
std::vector<std::string> shownOn(AspSite& site, const std::string& url,
                                 const std::string& pattern) {
  const PageRun run = site.get(url);
  EXPECT_EQ(run.error, "") << url;
  EXPECT_EQ(run.response.statusCode(), 200) << url << run.text();
  std::vector<std::string> found;
  const std::regex re(pattern);
  const std::string text = run.text();
  for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator();
       ++it) {
    found.push_back(it->str());
  }
  return found;
}

TEST_F(KindsUsability, AReportByTimeShowsEveryGroupWhateverFormItsTimeIsKeptIn) {
  // On SQLite the times are kept as "2024-02-29 23:59:59.999", "2024-03-01", "2024-03-31T23:59:59"
  // and "2024-04-01 00:00:00"; two groups a page.
  for (const auto& [db, root] : freshKindsSites(databases())) {
    SCOPED_TRACE(db.label);
    AspSite site(root);
    logInAsAdmin(site);
    EXPECT_EQ(shownOn(site, "visit_reportreport.asp", "v-[a-z]+"),
              (std::vector<std::string>{"v-before", "v-first"}));
    EXPECT_EQ(shownOn(site, "visit_reportreport.asp?start=3", "v-[a-z]+"),
              (std::vector<std::string>{"v-last", "v-after"}));
  }
}

TEST_F(KindsUsability, ReportPagesOfRowsAlikeNeitherRepeatNorSkipAny) {
  for (const auto& [db, root] : freshKindsSites(databases())) {
    SCOPED_TRACE(db.label);
    AspSite site(root);
    logInAsAdmin(site);
    std::vector<std::string> shown;
    for (int start = 1; start <= kTies; start += 5) {
      const std::vector<std::string> page =
          shownOn(site, "tie_reportreport.asp?start=" + std::to_string(start), "tie-[0-9]+");
      EXPECT_EQ(page.size(), static_cast<size_t>(std::min(5, kTies - start + 1))) << start;
      shown.insert(shown.end(), page.begin(), page.end());
    }
    // In the key's order, which the report does not show.
    std::vector<std::string> all;
    for (int id = 1; id <= kTies; ++id) all.push_back(tieBody(id));
    EXPECT_EQ(shown, all);
  }
}

TEST_F(KindsUsability, AListOfAllRowsStopsAtTheConfiguredMost) {
  for (const auto& [db, root] : freshKindsSites(databases())) {
    SCOPED_TRACE(db.label);
    // The most a list of all rows shows is config.asp's to set: 1000 as generated, and for a
    // config.asp written before it had the setting.
    const std::filesystem::path config = root / "config.asp";
    const std::string generated = readFile(config);
    ASSERT_TRUE(contains(generated, "vsAllRowsMax = 1000"));
    for (const char* setting : {"vsAllRowsMax = 1000", "", "vsAllRowsMax = 20"}) {
      std::ofstream(config, std::ios::binary)
          << std::regex_replace(generated, std::regex("vsAllRowsMax = 1000"), setting);
      AspSite site(root);
      logInAsAdmin(site);
      const PageRun all = site.get("visitslist.asp?size=0");
      ASSERT_EQ(all.error, "") << setting;
      const bool capped = contains(setting, "20");
      EXPECT_TRUE(contains(all.text(), "2024-01-20")) << setting;
      EXPECT_EQ(contains(all.text(), "2024-01-21"), !capped) << setting;
      EXPECT_EQ(contains(all.text(), "Only the first 20 of 24 records are shown."), capped)
          << setting;
      // A page size below the most is left as it is.
      EXPECT_FALSE(contains(site.get("visitslist.asp?size=10").text(), "Only the first"));
    }
  }
}

TEST_F(KindsUsability, DatesShowAsTheFormsTakeThemWhenTheProjectSaysNothing) {
  for (const auto& [db, root] : freshKindsSites(databases())) {
    SCOPED_TRACE(db.label);
    AspSite site(root);
    const std::string view = site.get("kindsview.asp?k_id=1").text();
    for (const char* shown : {"2024-02-29", "2024-03-01 10:30:00", "08:15:00"}) {
      EXPECT_TRUE(
          std::regex_search(view, std::regex(std::string("<td>\\s*") + shown + "\\s*</td>")))
          << shown << view;
    }
    EXPECT_FALSE(contains(view, "2/29/2024"));
  }
}

TEST_F(KindsUsability, DatesShowInTheProjectsFormatWhileFormsKeepTheirs) {
  // The shop's project orders dates day first.
  for (const auto& [db, root] : freshSites(databases(), false)) {
    SCOPED_TRACE(db.label);
    AspSite site(root);
    const std::string orders = site.get("Orderslist.asp").text();
    EXPECT_TRUE(contains(orders, "01/03/2024 10:30:00")) << orders;
    EXPECT_TRUE(contains(orders, "02/03/2024 16:45:00"));
    EXPECT_TRUE(std::regex_search(site.get("Employeesview.asp?k_EmployeeID=1").text(),
                                  std::regex("<td>\\s*01/05/1992\\s*</td>")));
    EXPECT_EQ(asp::inputValue(site.get("Ordersedit.asp?k_OrderID=1").text(), "x_OrderDate"),
              "2024-03-01T10:30:00");

    // A date typed as the list shows it is that date, in a search and in a form; the form's own
    // order is taken too.
    const std::string first = site.get("Orderslist.asp?s_OrderDate=01/03/2024").text();
    EXPECT_TRUE(contains(first, "Berlin")) << first;
    EXPECT_TRUE(contains(first, "Marseille"));
    const std::string second =
        site.get("Orderslist.asp?s_OrderDate=02/03/2024&s2_OrderDate=02%2F03%2F2024").text();
    EXPECT_TRUE(contains(second, "Marseille")) << second;
    EXPECT_FALSE(contains(second, "Berlin"));
    EXPECT_TRUE(contains(site.get("Orderslist.asp?s_OrderDate=31/02/2024").text(), "No records"));
    struct Typed {
      const char* typed;
      const char* stored;  // as the form's date and time input then shows it
    };
    for (const Typed& typed : {Typed{"05/03/2024 09:00:00", "2024-03-05T09:00:00"},
                               Typed{"12/01/2024", "2024-01-12T00:00:00"},
                               Typed{"2024-03-07 08:00:00", "2024-03-07T08:00:00"}}) {
      const asp::FormFields drawn =
          formAsSent(site.get("Ordersedit.asp?k_OrderID=1").text(), kRecordForm);
      const PageRun saved =
          site.post("Ordersedit.asp?k_OrderID=1", with(drawn, "x_OrderDate", typed.typed));
      EXPECT_EQ(saved.response.statusCode(), 302) << typed.typed << saved.text();
      EXPECT_EQ(asp::inputValue(site.get("Ordersedit.asp?k_OrderID=1").text(), "x_OrderDate"),
                typed.stored);
    }
    // A date that is not one is refused, not moved to another day.
    const asp::FormFields drawn =
        formAsSent(site.get("Ordersedit.asp?k_OrderID=1").text(), kRecordForm);
    const PageRun refused =
        site.post("Ordersedit.asp?k_OrderID=1", with(drawn, "x_OrderDate", "13/13/2024"));
    EXPECT_EQ(refused.response.statusCode(), 200);
    EXPECT_EQ(asp::inputValue(site.get("Ordersedit.asp?k_OrderID=1").text(), "x_OrderDate"),
              "2024-03-07T08:00:00");
  }
}

TEST_F(KindsUsability, EachChangeLeavesANoticeOnTheList) {
  for (const auto& [db, root] : freshKindsSites(databases())) {
    SCOPED_TRACE(db.label);
    AspSite site(root);
    logInAsAdmin(site);
    const std::string token = tokenOf(site, "visitsadd.asp");
    struct Change {
      std::string url;
      asp::FormFields fields;
      const char* notice;
    };
    const asp::FormFields visit = {{"vs_token", token}, {"x_place_id", "140"},
                                   {"x_user_id", "1"},  {"x_day", "2024-02-01"},
                                   {"x_amount", "7"},   {"x_note", "new"}};
    for (const Change& change :
         {Change{"visitsadd.asp", visit, "Record added."},
          Change{"visitsedit.asp?k_id=1", with(visit, "x_note", "changed"), "Record saved."},
          Change{"visitsdelete.asp?k_id=2", {{"vs_token", token}}, "Record deleted."}}) {
      const PageRun run = site.post(change.url, change.fields);
      ASSERT_EQ(run.response.statusCode(), 302) << change.url << run.text();
      EXPECT_EQ(run.location(), "visitslist.asp");
      const std::string list = site.get("visitslist.asp").text();
      EXPECT_TRUE(contains(list, std::string("<p class=\"notice\">") + change.notice + "</p>"))
          << change.url;
      // Once.
      EXPECT_FALSE(contains(site.get("visitslist.asp").text(), change.notice)) << change.url;
    }
    EXPECT_EQ(scalar(db, "SELECT note FROM visits WHERE id = 1"), "changed");
    EXPECT_EQ(scalar(db, "SELECT COUNT(*) FROM visits WHERE id = 2"), "0");
    EXPECT_EQ(scalar(db, "SELECT COUNT(*) FROM visits WHERE place_id = 140"), "2");
  }
}

TEST_F(KindsUsability, AnEditOfARowChangedMeanwhileIsRefused) {
  for (const auto& [db, root] : freshKindsSites(databases())) {
    SCOPED_TRACE(db.label);
    AspSite first(root);
    AspSite second(root);
    logInAsAdmin(first);
    logInAsAdmin(second);
    const asp::FormFields drawn =
        formAsSent(first.get("visitsedit.asp?k_id=5").text(), kRecordForm);
    // The other visitor saves first.
    const asp::FormFields other =
        formAsSent(second.get("visitsedit.asp?k_id=5").text(), kRecordForm);
    ASSERT_EQ(
        second.post("visitsedit.asp?k_id=5", with(other, "x_amount", "50")).response.statusCode(),
        302);
    const PageRun refused = first.post("visitsedit.asp?k_id=5", with(drawn, "x_note", "mine"));
    ASSERT_EQ(refused.error, "");
    EXPECT_EQ(refused.response.statusCode(), 409);
    EXPECT_TRUE(contains(refused.text(), "Another visitor changed this record")) << refused.text();
    EXPECT_EQ(query(db, "SELECT amount, note FROM visits WHERE id = 5"), (Rows{{"50", ""}}));
    // The form now shows the row as it is, and saving it again goes through.
    const asp::FormFields again = formAsSent(refused.text(), kRecordForm);
    const PageRun saved = first.post("visitsedit.asp?k_id=5", with(again, "x_note", "mine"));
    EXPECT_EQ(saved.response.statusCode(), 302) << saved.text();
    EXPECT_EQ(query(db, "SELECT amount, note FROM visits WHERE id = 5"), (Rows{{"50", "mine"}}));
  }
}

}  // namespace
}  // namespace vantorel::test::site
