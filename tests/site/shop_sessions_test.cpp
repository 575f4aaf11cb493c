// The generated shop site's login under attack: a session id planted before the login is not
// logged in, the login cookie is the site's own and out of the pages' script, the way back after
// the login leads only into the site, no key is made up without the system's GUIDs, another
// site cannot log a visitor out, pages of records and forms are neither cached nor named to
// other sites, and the users table's passwords are never shown and are stored as the login
// compares them.
#include <gtest/gtest.h>

#include "site/host/asp_site.hpp"
#include "site/html_forms.hpp"
#include "site/shop_site.hpp"

namespace vantorel::test::site {

namespace {

using asp::AspSite;
using asp::kSessionCookie;
using asp::PageRun;

class ShopSessions : public DatabaseTest {};

// "secret" as its MD5 digest.
const char kSecretDigest[] = "5ebe2294ecd0e0f08eab7690d2a6ee69";

void addAnn(const ShopDatabase& db) {
  query(db, std::string("INSERT INTO \"Users\" (\"LoginName\", \"Password\") VALUES ('ann', '") +
                kSecretDigest + "')");
}

// The site with the login on SQLite alone, for what does not depend on the database.
std::filesystem::path secureSqliteSite(TestDatabases& databases) {
  for (const ShopDatabase& db : shopDatabases(databases)) {
    if (db.dbms != Dbms::Sqlite) continue;
    resetShop(db);
    addAnn(db);
    return deployShop(generatedShop(true), db, databases.folder());
  }
  throw std::runtime_error("no SQLite database");
}

bool loggedIn(AspSite& site) {
  return site.get("Productslist.asp").response.statusCode() == 200;
}

TEST_F(ShopSessions, APlantedSessionIdIsNotLoggedIn) {
  AspSite site(secureSqliteSite(databases()));
  // The attacker's own visit gives him a session id, which he plants in the visitor's browser.
  site.get("login.asp");
  const std::string planted = site.cookie(kSessionCookie);
  ASSERT_FALSE(planted.empty());
  const PageRun login = postLogin(site, "ann", "secret");
  ASSERT_EQ(login.response.statusCode(), 302) << login.text();
  // The server keeps the session id, as IIS does; the login cookie is what the login adds.
  ASSERT_EQ(site.cookie(kSessionCookie), planted);
  const std::string key = site.cookie("vs_login");
  EXPECT_EQ(key.size(), 64u);
  EXPECT_TRUE(loggedIn(site));

  // The attacker with the session id alone, or with a made-up login cookie, is not logged in.
  for (const std::string& guess : {std::string(), std::string("0"), std::string(64, '0')}) {
    site.forgetCookies();
    site.setCookie(kSessionCookie, planted);
    if (!guess.empty()) site.setCookie("vs_login", guess);
    EXPECT_FALSE(loggedIn(site)) << guess;
    EXPECT_FALSE(contains(site.get("default.asp").text(), "ann")) << guess;
  }
  // The visitor still is; a second login gives his browser a new login cookie.
  site.setCookie("vs_login", key);
  EXPECT_TRUE(loggedIn(site));
  ASSERT_EQ(postLogin(site, "ann", "secret").response.statusCode(), 302);
  EXPECT_NE(site.cookie("vs_login"), key);

  // The logout ends the session: its id and login cookie, kept by someone, open nothing.
  const std::string session = site.cookie(kSessionCookie);
  const std::string lastKey = site.cookie("vs_login");
  logOut(site);
  EXPECT_EQ(site.cookie("vs_login"), "");
  EXPECT_FALSE(loggedIn(site));
  site.setCookie(kSessionCookie, session);
  site.setCookie("vs_login", lastKey);
  EXPECT_FALSE(loggedIn(site));
}

// The login cookie is out of reach of the pages' script, named and scoped by the site's folder:
// a site in another folder of the host neither reads, replaces nor removes it.
TEST_F(ShopSessions, TheLoginCookieIsTheSitesOwnAndHiddenFromScript) {
  const std::filesystem::path root = secureSqliteSite(databases());
  AspSite top(root);
  AspSite shop(root, "/shop/");
  struct Site {
    AspSite& site;
    const char* cookie;
    const char* path;
  };
  for (const Site& s : {Site{top, "vs_login", "/"}, Site{shop, "vs_login_shop", "/shop/"}}) {
    const PageRun login = postLogin(s.site, "ann", "secret");
    ASSERT_EQ(login.response.statusCode(), 302) << login.text();
    const std::string key = s.site.cookie(s.cookie);
    ASSERT_EQ(key.size(), 64u) << s.cookie;
    EXPECT_EQ(login.response.header("Set-Cookie"),
              std::string(s.cookie) + "=" + key + "; path=" + s.path + "; HttpOnly");
    EXPECT_TRUE(loggedIn(s.site)) << s.cookie;
  }
  EXPECT_EQ(top.cookie("vs_login_shop"), "");
  EXPECT_EQ(shop.cookie("vs_login"), "");
  // The browser sends the root's cookie to the folder's pages too: each site reads its own.
  shop.setCookie("vs_login", top.cookie("vs_login"));
  EXPECT_TRUE(loggedIn(shop));
  const PageRun out = shop.post("login.asp?action=logout",
                                formAsSent(shop.get("default.asp").text(), "class=\"logout\""));
  EXPECT_EQ(out.response.header("Set-Cookie"),
            "vs_login_shop=; path=/shop/; expires=Thu, 01 Jan 1970 00:00:00 GMT; max-age=0; "
            "HttpOnly");
  EXPECT_EQ(shop.cookie("vs_login_shop"), "");
  EXPECT_NE(shop.cookie("vs_login"), "");
  EXPECT_TRUE(loggedIn(top));
}

// Form tokens and the login cookie come from the system's GUIDs; without the component that
// makes them, pages that need a key end with a message, and nobody is logged in on a weak one.
TEST_F(ShopSessions, WithoutTheGuidComponentNoKeyIsMadeUp) {
  AspSite site(secureSqliteSite(databases()));
  const std::string token = tokenOf(site, "login.asp");
  ASSERT_EQ(token.size(), 32u);
  site.removeComponent("Scriptlet.TypeLib");
  const PageRun login =
      site.post("login.asp", {{"vs_token", token}, {"login", "ann"}, {"password", "secret"}});
  ASSERT_EQ(login.error, "");
  EXPECT_EQ(login.response.statusCode(), 500);
  EXPECT_TRUE(contains(login.text(), "The server cannot make the secure keys this page needs."))
      << login.text();
  EXPECT_EQ(site.cookie("vs_login"), "");
  EXPECT_FALSE(loggedIn(site));
  site.forgetCookies();
  const PageRun form = site.get("login.asp");
  EXPECT_EQ(form.response.statusCode(), 500);
  EXPECT_FALSE(contains(form.text(), "vs_token"));
}

TEST_F(ShopSessions, TheWayBackLeadsOnlyIntoTheSite) {
  AspSite site(secureSqliteSite(databases()));
  struct Back {
    const char* sent;  // as the query string carries it
    const char* followed;
  };
  for (const Back& back :
       {Back{"%2FProductslist.asp%3Fq%3Da%3Ab", "/Productslist.asp?q=a:b"}, Back{"%2F", "/"},
        Back{"%2F%09%2Fevil.example", "default.asp"}, Back{"%2F%0A%2Fevil.example", "default.asp"},
        Back{"%2F%0D%0A%2Fevil.example", "default.asp"},
        Back{"%2F%00%2Fevil.example", "default.asp"}, Back{"%2F%7F%2Fevil.example", "default.asp"},
        Back{"%2F%5Cevil.example", "default.asp"}, Back{"%5C%5Cevil.example", "default.asp"},
        Back{"%2F%2Fevil.example", "default.asp"},
        Back{"%2FProductslist.asp%2F%2Fevil.example", "default.asp"},
        Back{"https%3A%2F%2Fevil.example%2F", "default.asp"}, Back{"evil.example", "default.asp"},
        Back{"", "default.asp"}}) {
    const std::string token = tokenOf(site, std::string("login.asp?back=") + back.sent);
    const PageRun login =
        site.post(std::string("login.asp?back=") + back.sent,
                  {{"vs_token", token}, {"login", "ann"}, {"password", "secret"}});
    ASSERT_EQ(login.error, "") << back.sent;
    EXPECT_EQ(login.response.statusCode(), 302) << back.sent;
    EXPECT_EQ(login.location(), back.followed) << back.sent;
    logOut(site);
  }
}

TEST_F(ShopSessions, OnlyThePostedLogoutFormLogsOut) {
  AspSite site(secureSqliteSite(databases()));
  ASSERT_EQ(postLogin(site, "ann", "secret").response.statusCode(), 302);
  // What another site can make the browser do: follow a link, or post without the token.
  EXPECT_EQ(site.get("login.asp?action=logout").response.statusCode(), 200);
  EXPECT_TRUE(loggedIn(site));
  for (const asp::FormFields& fields :
       {asp::FormFields{}, asp::FormFields{{"vs_token", "0"}}, asp::FormFields{{"vs_token", ""}}}) {
    EXPECT_EQ(site.post("login.asp?action=logout", fields).response.statusCode(), 403);
    EXPECT_TRUE(loggedIn(site));
  }
  // The menu's form carries the token, and logs out.
  const std::string home = site.get("default.asp").text();
  EXPECT_TRUE(
      contains(home, "<form class=\"logout\" method=\"post\" action=\"login.asp?action=logout\">"));
  EXPECT_FALSE(contains(home, "href=\"login.asp?action=logout\""));
  const PageRun out = site.post("login.asp?action=logout", formAsSent(home, "class=\"logout\""));
  EXPECT_EQ(out.response.statusCode(), 302);
  EXPECT_EQ(out.location(), "default.asp");
  EXPECT_FALSE(loggedIn(site));
}

TEST_F(ShopSessions, PagesOfRecordsAndFormsAreNotCachedNorNamedToOtherSites) {
  AspSite site(secureSqliteSite(databases()));
  ASSERT_EQ(postLogin(site, "ann", "secret").response.statusCode(), 302);
  for (const char* page :
       {"default.asp", "login.asp", "Productslist.asp", "Productslist.asp?export=csv",
        "Productssearch.asp", "Productsview.asp?k_ProductID=1", "Productsadd.asp",
        "Productsedit.asp?k_ProductID=1", "Productsdelete.asp?k_ProductID=1",
        "Productsview.asp?k_ProductID=999", "Shipperslist.asp", "Userslist.asp"}) {
    const PageRun run = site.get(page);
    ASSERT_EQ(run.error, "") << page;
    EXPECT_EQ(run.response.header("Referrer-Policy"), "same-origin") << page;
    EXPECT_EQ(run.response.header("Cache-Control"), "no-store") << page;
  }
}

// Runs on every database: the password is stored and compared through each one's text.
TEST_F(ShopSessions, PasswordsAreNeverShownAndStoredAsTheLoginComparesThem) {
  for (const auto& [db, root] : freshSites(databases(), true)) {
    SCOPED_TRACE(db.label);
    addAnn(db);
    AspSite site(root);
    ASSERT_EQ(postLogin(site, "ann", "secret").response.statusCode(), 302);
    const std::string id =
        scalar(db, "SELECT \"UserID\" FROM \"Users\" WHERE \"LoginName\" = 'ann'");
    for (const std::string& page :
         {std::string("Userslist.asp"), std::string("Userslist.asp?export=csv"),
          "Usersview.asp?k_UserID=" + id, "Usersedit.asp?k_UserID=" + id,
          "Usersdelete.asp?k_UserID=" + id}) {
      const PageRun run = site.get(page);
      ASSERT_EQ(run.error, "") << page;
      EXPECT_EQ(run.response.statusCode(), 200) << page;
      EXPECT_TRUE(contains(run.text(), "ann")) << page;
      EXPECT_FALSE(contains(run.text(), kSecretDigest)) << page;
      EXPECT_FALSE(contains(run.text(), "order=Password")) << page;
    }
    // Nor is it searched: its digest finds nobody.
    EXPECT_TRUE(contains(site.get("Userslist.asp?q=5ebe2294").text(), "No records found."));
    const std::string form = site.get("Usersedit.asp?k_UserID=" + id).text();
    EXPECT_TRUE(contains(form, "<input type=\"password\" name=\"x_Password\" value=\"\""));

    // A user added through the site logs in with the password typed for him.
    std::string token = tokenOf(site, "Usersadd.asp");
    PageRun add = site.post("Usersadd.asp", {{"vs_token", token},
                                             {"x_UserID", "7"},
                                             {"x_LoginName", "bob"},
                                             {"x_Password", "Pässword 1"}});
    ASSERT_EQ(add.error, "");
    EXPECT_EQ(add.response.statusCode(), 302) << add.text();
    const std::string bob =
        scalar(db, "SELECT \"UserID\" FROM \"Users\" WHERE \"LoginName\" = 'bob'");
    const std::string bobHash =
        scalar(db, "SELECT \"Password\" FROM \"Users\" WHERE \"UserID\" = " + bob);
    EXPECT_EQ(bobHash.size(), 32u);
    EXPECT_NE(bobHash, "Pässword 1");
    AspSite bobSite(root);
    EXPECT_EQ(postLogin(bobSite, "bob", "Pässword 1").response.statusCode(), 302);
    EXPECT_TRUE(loggedIn(bobSite));

    // An edit with the box left empty keeps the password; one with a new password stores it.
    const std::string edit = "Usersedit.asp?k_UserID=" + bob;
    asp::FormFields unchanged = formAsSent(site.get(edit).text(), "<form class=\"record\"");
    EXPECT_EQ(site.post(edit, unchanged).response.statusCode(), 302);
    EXPECT_EQ(scalar(db, "SELECT \"Password\" FROM \"Users\" WHERE \"UserID\" = " + bob), bobHash);
    token = tokenOf(site, edit);
    EXPECT_EQ(site.post(edit, {{"vs_token", token}, {"x_LoginName", "bobby"}, {"x_Password", ""}})
                  .response.statusCode(),
              302);
    EXPECT_EQ(
        query(db, "SELECT \"LoginName\", \"Password\" FROM \"Users\" WHERE \"UserID\" = " + bob),
        (std::vector<std::vector<std::string>>{{"bobby", bobHash}}));
    EXPECT_EQ(
        site.post(edit, {{"vs_token", token}, {"x_LoginName", "bobby"}, {"x_Password", "new one"}})
            .response.statusCode(),
        302);
    AspSite again(root);
    EXPECT_EQ(postLogin(again, "bobby", "Pässword 1").response.statusCode(), 200);
    EXPECT_EQ(postLogin(again, "bobby", "new one").response.statusCode(), 302);
  }
}

}  // namespace
}  // namespace vantorel::test::site
