// The generated shop site under attack, on SQLite, PostgreSQL and MariaDB: injection strings in
// every parameter change nothing and leak nothing, a search operator is one of the list, a post
// without the form token is refused, text outside ASCII survives, a value too long gives a
// friendly message, and a site with a login refuses what its rights do not allow.
#include <gtest/gtest.h>

#include "platform/text/unicode.hpp"
#include "site/host/asp_site.hpp"
#include "site/shop_site.hpp"

namespace vantorel::test::site {

namespace {

using asp::AspSite;
using asp::PageRun;
using asp::urlEncodeUtf8;

class ShopAttacks : public DatabaseTest {};

// The strings of the review: MySQL's backslash escape, and the PostgreSQL and standard forms.
const char* const kInjections[] = {
    "\\' OR 1=1 #",
    "\\') UNION SELECT 1,user(),version(),4 #",
    "' OR '1'='1",
    "1 OR 1=1",
    "1; DELETE FROM \"Products\" --",
    "') UNION SELECT current_user, version() --",
    "1' AND pg_sleep(0) IS NULL --",
};

std::string counts(const ShopDatabase& db) {
  std::string all;
  for (const char* table : {"Categories", "Products", "Orders", "Order Details", "Customers"}) {
    all += scalar(db, std::string("SELECT COUNT(*) FROM \"") + table + "\"") + ",";
  }
  return all;
}

// What must never reach a visitor: the database's account, version or error text.
void expectNoLeak(const PageRun& run, const std::string& what) {
  const std::string text = run.text();
  EXPECT_EQ(run.error, "") << what;
  for (const char* secret : {"SQLSTATE", "MariaDB", "PostgreSQL", "test@", "syntax", "ODBC"}) {
    EXPECT_FALSE(contains(text, secret)) << what << " leaks " << secret;
  }
}

TEST_F(ShopAttacks, InjectionStringsChangeNothingAndLeakNothing) {
  for (const auto& [db, root] : freshSites(databases(), false)) {
    SCOPED_TRACE(db.label);
    AspSite site(root);
    const std::string before = counts(db);
    for (const char* attack : kInjections) {
      const std::string a = urlEncodeUtf8(fromUtf8(attack));
      for (const std::string& url :
           {"Productslist.asp?q=" + a, "Productslist.asp?s_UnitPrice=" + a + "&s2_UnitPrice=" + a,
            "Productslist.asp?s_CategoryID=" + a, "Productslist.asp?order=" + a + "&dir=" + a,
            "Productslist.asp?start=" + a + "&size=" + a, "Customerslist.asp?s_City=" + a,
            "Customerslist.asp?o_Country=" + a + "&s_Country=" + a,
            "Orderslist.asp?s_OrderDate=" + a, "Order_Detailslist.asp?master=" + a,
            "Productsview.asp?k_ProductID=" + a, "Customersview.asp?k_CustomerID=" + a,
            "Productsedit.asp?k_ProductID=" + a, "Products_Picturedownload.asp?k_ProductID=" + a,
            "Order_Detailsview.asp?k_OrderID=" + a + "&k_ProductID=" + a}) {
        const PageRun run = site.get(url);
        expectNoLeak(run, url);
        EXPECT_NE(run.response.statusCode(), 500) << url;
      }
      // The posts of the review: a delete by a forged key, and a search posted in a form.
      for (const char* page : {"Productsdelete.asp?k_ProductID=", "Customersdelete.asp?k_CustomerID=",
                                      "Order_Detailsdelete.asp?k_OrderID=1&k_ProductID="}) {
        const std::string url = std::string(page) + a;
        const std::string token = tokenOf(site, "Productsadd.asp");
        const PageRun run = site.post(url, {{"vs_token", token}});
        expectNoLeak(run, url);
      }
      const std::string token = tokenOf(site, "Customersadd.asp");
      const PageRun add = site.post("Customersadd.asp", {{"vs_token", token}, {"x_CustomerID", "ZZ"},
                                                         {"x_CompanyName", attack}, {"x_City", "Bern"}});
      expectNoLeak(add, "add");
      EXPECT_EQ(scalar(db, "SELECT \"CompanyName\" FROM \"Customers\" WHERE \"CustomerID\" = 'ZZ'"), attack);
      query(db, "DELETE FROM \"Customers\" WHERE \"CustomerID\" = 'ZZ'");
    }
    EXPECT_EQ(counts(db), before);
  }
}

// A search operator is one of the list, whole; any other text, pieces of the list included,
// searches for equality.
TEST_F(ShopAttacks, ASearchOperatorIsOneOfTheListWhole) {
  struct Search {
    const char* op;  // as the query string carries it
    bool berlin, marseille;
  };
  for (const auto& [db, root] : freshSites(databases(), false)) {
    SCOPED_TRACE(db.label);
    AspSite site(root);
    for (const Search& search : {Search{"%3C%3E", false, true}, Search{"%3C%3E%2C%3C", true, false},
                                 Search{"%3E%2C%3C%3D", true, false}, Search{"%2C", true, false},
                                 Search{"%3C%3E%2C", true, false}, Search{"LIKE", true, false}}) {
      const std::string url =
          std::string("Customerslist.asp?o_Country=") + search.op + "&s_Country=Germany";
      const PageRun run = site.get(url);
      ASSERT_EQ(run.error, "") << url;
      EXPECT_EQ(run.response.statusCode(), 200) << url << run.text();
      EXPECT_EQ(contains(run.text(), "Berlin"), search.berlin) << url;
      EXPECT_EQ(contains(run.text(), "Marseille"), search.marseille) << url;
    }
  }
}

TEST_F(ShopAttacks, PostsWithoutTheFormTokenAreRefused) {
  for (const auto& [db, root] : freshSites(databases(), false)) {
    SCOPED_TRACE(db.label);
    AspSite site(root);
    const std::string before = counts(db);
    const std::string token = tokenOf(site, "Categoriesadd.asp");
    ASSERT_EQ(token.size(), 32u);
    struct Post {
      std::string url;
      asp::FormFields fields;
    };
    for (const Post& post : {Post{"Categoriesadd.asp", {{"x_CategoryName", "Forged"}}},
                             Post{"Categoriesadd.asp", {{"vs_token", "0"}, {"x_CategoryName", "Forged"}}},
                             Post{"Categoriesadd.asp", {{"vs_token", token + "0"}, {"x_CategoryName", "Forged"}}},
                             Post{"Categoriesedit.asp?k_CategoryID=1", {{"x_CategoryName", "Forged"}}},
                             Post{"Categoriesdelete.asp?k_CategoryID=3", {}},
                             Post{"Categoriesdelete.asp?k_CategoryID=3", {{"vs_token", ""}}}}) {
      const PageRun run = site.post(post.url, post.fields);
      EXPECT_EQ(run.response.statusCode(), 403) << post.url;
      EXPECT_EQ(run.error, "") << post.url;
    }
    // Another visitor's token is no token of this one.
    AspSite other(root);
    EXPECT_EQ(other.post("Categoriesdelete.asp?k_CategoryID=3", {{"vs_token", token}}).response.statusCode(), 403);
    EXPECT_EQ(counts(db), before);
    EXPECT_EQ(scalar(db, "SELECT \"CategoryName\" FROM \"Categories\" WHERE \"CategoryID\" = 1"), "Beverages");
  }
}

TEST_F(ShopAttacks, TextOutsideAsciiSurvivesARoundTrip) {
  const std::string names[] = {"Crème brûlée", "Ærøskøbing – 東京 – Ελλάδα", "Emoji 🍰 pie"};
  for (const auto& [db, root] : freshSites(databases(), false)) {
    SCOPED_TRACE(db.label);
    AspSite site(root);
    for (const std::string& name : names) {
      // The SQLite ODBC driver does not carry characters beyond the Basic Multilingual Plane.
      if (db.dbms == Dbms::Sqlite && contains(name, "🍰")) continue;
      const std::string token = tokenOf(site, "Categoriesadd.asp");
      const PageRun add = site.post("Categoriesadd.asp", {{"vs_token", token}, {"x_CategoryName", name}});
      ASSERT_EQ(add.error, "");
      EXPECT_EQ(add.response.statusCode(), 302) << name;
      EXPECT_EQ(scalar(db, "SELECT COUNT(*) FROM \"Categories\" WHERE \"CategoryName\" = '" + name + "'"), "1") << name;
      const PageRun list = site.get("Categorieslist.asp?q=" + urlEncodeUtf8(fromUtf8(name)));
      EXPECT_EQ(list.response.charset, "utf-8");
      EXPECT_TRUE(contains(list.text(), name)) << name;
    }
  }
}

TEST_F(ShopAttacks, BadValuesGetFriendlyMessages) {
  for (const auto& [db, root] : freshSites(databases(), false)) {
    SCOPED_TRACE(db.label);
    AspSite site(root);
    const std::string before = counts(db);
    struct Bad {
      asp::FormFields fields;
      const char* message;
    };
    for (const Bad& bad : {Bad{{{"x_ProductName", std::string(61, 'x')}}, "too long"},
                           Bad{{{"x_ProductName", "Tea"}, {"x_CategoryID", "1.5"}}, "not a whole number"},
                           Bad{{{"x_ProductName", ""}}, "required"}}) {
      const std::string token = tokenOf(site, "Productsadd.asp");
      asp::FormFields fields = bad.fields;
      fields.emplace_back("vs_token", token);
      const PageRun run = site.post("Productsadd.asp", fields);
      expectNoLeak(run, bad.message);
      EXPECT_EQ(run.response.statusCode(), 200);
      EXPECT_TRUE(contains(run.text(), bad.message)) << bad.message;
    }
    const std::string token = tokenOf(site, "Productsadd.asp");
    const PageRun numbers = site.post("Productsadd.asp", {{"vs_token", token}, {"x_ProductName", "N"},
                                                          {"x_UnitsInStock", "99999999999"},
                                                          {"x_UnitPrice", "abc"}});
    expectNoLeak(numbers, "numbers");
    EXPECT_TRUE(contains(numbers.text(), "not a number"));
    EXPECT_TRUE(contains(numbers.text(), "out of range"));
    EXPECT_EQ(counts(db), before);
  }
}

TEST_F(ShopAttacks, LoginAndTableRights) {
  for (const auto& [db, root] : freshSites(databases(), true)) {
    SCOPED_TRACE(db.label);
    // "secret" as its MD5 digest.
    query(db, "INSERT INTO \"Users\" (\"LoginName\", \"Password\") VALUES ('ann', "
              "'5ebe2294ecd0e0f08eab7690d2a6ee69')");
    AspSite site(root);
    // Before the login: categories may be listed and viewed, nothing else.
    EXPECT_EQ(site.get("Categorieslist.asp").response.statusCode(), 200);
    EXPECT_FALSE(contains(site.get("Categorieslist.asp").text(), "Categoriesadd.asp"));
    const PageRun products = site.get("Productslist.asp");
    EXPECT_EQ(products.response.statusCode(), 302);
    EXPECT_EQ(products.location(), "login.asp?back=%2FProductslist.asp%3F");
    EXPECT_EQ(site.get("Categoriesadd.asp").response.statusCode(), 302);
    EXPECT_FALSE(contains(site.get("default.asp").text(), "Productslist.asp"));
    // A wrong password, then the right one.
    std::string token = tokenOf(site, "login.asp");
    PageRun wrong = site.post("login.asp", {{"vs_token", token}, {"login", "ann"}, {"password", "Secret"}});
    ASSERT_EQ(wrong.error, "");
    EXPECT_TRUE(contains(wrong.text(), "wrong"));
    PageRun injected = site.post("login.asp", {{"vs_token", token}, {"login", "' OR '1'='1"}, {"password", "' OR '1'='1"}});
    EXPECT_TRUE(contains(injected.text(), "wrong"));
    PageRun login = site.post("login.asp?back=%2FProductslist.asp%3F",
                              {{"vs_token", token}, {"login", "ann"}, {"password", "secret"}});
    ASSERT_EQ(login.error, "");
    EXPECT_EQ(login.location(), "/Productslist.asp?");
    // The token of the visit before the login is worth nothing after it.
    EXPECT_EQ(site.post("Categoriesdelete.asp?k_CategoryID=3", {{"vs_token", token}}).response.statusCode(), 403);
    EXPECT_EQ(site.get("Productslist.asp").response.statusCode(), 200);
    // Shippers are refused to users; orders may be listed and viewed but not changed.
    EXPECT_EQ(site.get("Shipperslist.asp").response.statusCode(), 403);
    EXPECT_FALSE(contains(site.get("default.asp").text(), "Shipperslist.asp"));
    EXPECT_EQ(site.get("Ordersview.asp?k_OrderID=1").response.statusCode(), 200);
    EXPECT_EQ(site.get("Ordersedit.asp?k_OrderID=1").response.statusCode(), 403);
    const std::string userToken = tokenOf(site, "Productsadd.asp");
    EXPECT_EQ(site.post("Ordersdelete.asp?k_OrderID=1", {{"vs_token", userToken}}).response.statusCode(), 403);
    EXPECT_EQ(scalar(db, "SELECT COUNT(*) FROM \"Orders\""), "2");
    // A way back out of the site is not followed.
    logOut(site);
    token = tokenOf(site, "login.asp");
    PageRun away = site.post("login.asp?back=https%3A%2F%2Fevil.example%2F",
                             {{"vs_token", token}, {"login", "ann"}, {"password", "secret"}});
    EXPECT_EQ(away.location(), "default.asp");
    // After the logout the pages ask for the login again.
    logOut(site);
    EXPECT_EQ(site.get("Productslist.asp").response.statusCode(), 302);
  }
}

}  // namespace
}  // namespace vantorel::test::site
