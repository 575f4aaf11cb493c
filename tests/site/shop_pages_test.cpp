// The generated shop site run page by page against SQLite, PostgreSQL and MariaDB: lists with
// paging, sorting and search; add, edit and delete with the database checked after each;
// master/detail navigation; the report; the download of a file field; the CSV export.
#include <gtest/gtest.h>

#include "platform/text/unicode.hpp"
#include "site/host/asp_site.hpp"
#include "site/html_forms.hpp"
#include "site/shop_site.hpp"

namespace vantorel::test::site {

using asp::AspSite;
using asp::PageRun;

std::vector<std::pair<ShopDatabase, std::filesystem::path>> freshSites(TestDatabases& databases,
                                                                       bool secure) {
  std::vector<std::pair<ShopDatabase, std::filesystem::path>> all;
  for (const ShopDatabase& db : shopDatabases(databases)) {
    resetShop(db);
    all.emplace_back(db, deployShop(generatedShop(secure), db, databases.folder()));
  }
  return all;
}

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

std::string tokenOf(AspSite& site, const std::string& url) {
  const PageRun form = site.get(url);
  EXPECT_EQ(form.error, "") << url;
  return asp::inputValue(form.text(), "vs_token");
}

PageRun postLogin(AspSite& site, const std::string& login, const std::string& password) {
  const std::string token = tokenOf(site, "login.asp");
  return site.post("login.asp", {{"vs_token", token}, {"login", login}, {"password", password}});
}

void logOut(AspSite& site) {
  const PageRun home = site.get("default.asp");
  const PageRun out =
      site.post("login.asp?action=logout", formAsSent(home.text(), "class=\"logout\""));
  EXPECT_EQ(out.error, "");
  EXPECT_EQ(out.response.statusCode(), 302) << out.text();
}

namespace {

class ShopPages : public DatabaseTest {};

TEST_F(ShopPages, ListPagesBySearchesAndSorts) {
  for (const auto& [db, root] : freshSites(databases(), false)) {
    SCOPED_TRACE(db.label);
    AspSite site(root);
    // Ten rows a page, by product name: page 1 holds 01 to 10, page 3 holds 21 to 25.
    PageRun list = site.get("Productslist.asp");
    ASSERT_EQ(list.error, "");
    EXPECT_EQ(list.response.statusCode(), 200);
    EXPECT_TRUE(contains(list.text(), "Product 01"));
    EXPECT_TRUE(contains(list.text(), "Product 10"));
    EXPECT_FALSE(contains(list.text(), "Product 11"));
    EXPECT_TRUE(contains(list.text(), "of 25"));
    // A lookup shows its label, not the stored id.
    EXPECT_TRUE(contains(list.text(), "Condiments"));
    PageRun third = site.get("Productslist.asp?start=21");
    ASSERT_EQ(third.error, "");
    EXPECT_TRUE(contains(third.text(), "Product 25"));
    EXPECT_FALSE(contains(third.text(), "Product 20"));
    // The list reads its page in SQL, never the file column.
    for (const std::u16string& sql : third.statements) {
      EXPECT_EQ(sql.find(u"Picture"), std::u16string::npos);
      EXPECT_EQ(sql.find(u"SELECT *"), std::u16string::npos);
    }
    // Sorting by a column, both ways.
    PageRun desc = site.get("Productslist.asp?order=UnitPrice&dir=DESC");
    ASSERT_EQ(desc.error, "");
    EXPECT_LT(desc.text().find("Product 25"), desc.text().find("Product 24"));
    EXPECT_FALSE(contains(desc.text(), "Product 01"));
    // An unknown sort column is ignored.
    EXPECT_EQ(site.get("Productslist.asp?order=1;DROP&dir=DESC").error, "");
    // The basic search, without regard to case; the advanced search by range.
    PageRun search = site.get("Productslist.asp?q=product+0");
    ASSERT_EQ(search.error, "");
    EXPECT_TRUE(contains(search.text(), "of 9") || contains(search.text(), "Product 09"));
    EXPECT_FALSE(contains(search.text(), "Product 10"));
    PageRun range = site.get("Productslist.asp?s_UnitPrice=3&s2_UnitPrice=5");
    ASSERT_EQ(range.error, "");
    EXPECT_TRUE(contains(range.text(), "Product 03"));
    EXPECT_TRUE(contains(range.text(), "Product 04"));
    EXPECT_FALSE(contains(range.text(), "Product 05"));
    // A date range takes the whole of its last day.
    PageRun dates = site.get("Orderslist.asp?s_OrderDate=2024-03-02&s2_OrderDate=2024-03-02");
    ASSERT_EQ(dates.error, "");
    EXPECT_TRUE(contains(dates.text(), "Marseille")) << dates.text();
    EXPECT_FALSE(contains(dates.text(), "Berlin"));
    // "%" and "_" typed into a search are plain characters.
    PageRun percent = site.get("Productslist.asp?q=%25");
    ASSERT_EQ(percent.error, "");
    EXPECT_TRUE(contains(percent.text(), "No records"));
    // A page size the visitor chooses.
    PageRun all = site.get("Productslist.asp?size=0");
    ASSERT_EQ(all.error, "");
    EXPECT_TRUE(contains(all.text(), "Product 25"));
    PageRun five = site.get("Productslist.asp?size=5&start=6");
    EXPECT_TRUE(contains(five.text(), "Product 06"));
    EXPECT_FALSE(contains(five.text(), "Product 11"));
    // The other lists, the view and the report run too.
    for (const char* page : {"Categorieslist.asp", "Customerslist.asp", "Orderslist.asp",
                             "Product_Listlist.asp", "Stockreport.asp", "default.asp",
                             "Customerssearch.asp", "Productsview.asp?k_ProductID=3", "menu.asp"}) {
      const PageRun run = site.get(page);
      EXPECT_EQ(run.error, "") << page;
      EXPECT_EQ(run.response.statusCode(), 200) << page;
    }
  }
}

TEST_F(ShopPages, AddEditAndDeleteChangeTheDatabase) {
  for (const auto& [db, root] : freshSites(databases(), false)) {
    SCOPED_TRACE(db.label);
    AspSite site(root);
    std::string token = tokenOf(site, "Categoriesadd.asp");
    ASSERT_FALSE(token.empty());
    PageRun add = site.post("Categoriesadd.asp", {{"vs_token", token},
                                                   {"x_CategoryName", "Produce"},
                                                   {"x_Description", "Fruit and vegetables"}});
    ASSERT_EQ(add.error, "");
    EXPECT_EQ(add.response.statusCode(), 302);
    EXPECT_EQ(scalar(db, "SELECT \"Description\" FROM \"Categories\" WHERE \"CategoryName\" = 'Produce'"),
              "Fruit and vegetables");
    const std::string id =
        scalar(db, "SELECT \"CategoryID\" FROM \"Categories\" WHERE \"CategoryName\" = 'Produce'");

    token = tokenOf(site, "Categoriesedit.asp?k_CategoryID=" + id);
    PageRun edit = site.post("Categoriesedit.asp?k_CategoryID=" + id,
                             {{"vs_token", token}, {"x_CategoryName", "Greens"}, {"x_Description", ""}});
    ASSERT_EQ(edit.error, "");
    EXPECT_EQ(edit.response.statusCode(), 302);
    EXPECT_EQ(query(db, "SELECT \"CategoryName\", \"Description\" FROM \"Categories\" WHERE "
                        "\"CategoryID\" = " + id),
              (std::vector<std::vector<std::string>>{{"Greens", ""}}));

    // Numbers, dates and Booleans of the products and orders.
    token = tokenOf(site, "Productsedit.asp?k_ProductID=2");
    PageRun product = site.post("Productsedit.asp?k_ProductID=2",
                                {{"vs_token", token}, {"x_ProductName", "Chang"}, {"x_CategoryID", "1"},
                                 {"x_SupplierID", "2"}, {"x_UnitPrice", "19.25"},
                                 {"x_UnitsInStock", "17"}, {"x_Discontinued", "1"}});
    ASSERT_EQ(product.error, "");
    EXPECT_EQ(product.response.statusCode(), 302) << product.text();
    const auto row = query(db, "SELECT \"ProductName\", \"UnitPrice\", \"UnitsInStock\" FROM "
                               "\"Products\" WHERE \"ProductID\" = 2");
    ASSERT_EQ(row.size(), 1u);
    EXPECT_EQ(row[0][0], "Chang");
    EXPECT_EQ(std::stod(row[0][1]), 19.25);
    EXPECT_EQ(row[0][2], "17");
    EXPECT_EQ(scalar(db, "SELECT COUNT(*) FROM \"Products\" WHERE \"Discontinued\" = " +
                             std::string(db.dbms == Dbms::Postgres ? "TRUE" : "1") +
                             " AND \"ProductID\" = 2"),
              "1");
    token = tokenOf(site, "Ordersadd.asp");
    PageRun order = site.post("Ordersadd.asp", {{"vs_token", token}, {"x_CustomerID", "ALFKI"},
                                                {"x_EmployeeID", "2"}, {"x_OrderDate", "2024-04-05 08:15:00"},
                                                {"x_ShipVia", "1"}, {"x_ShipCity", "Köln"}});
    ASSERT_EQ(order.error, "");
    EXPECT_EQ(order.response.statusCode(), 302) << order.text();
    EXPECT_EQ(scalar(db, "SELECT COUNT(*) FROM \"Orders\" WHERE \"ShipCity\" = 'Köln' AND "
                         "\"OrderDate\" > '2024-04-05 08:00:00' AND \"OrderDate\" < '2024-04-05 08:30:00'"),
              "1");

    // The edit form of a record that is not there is no form.
    PageRun missing = site.get("Categoriesedit.asp?k_CategoryID=999");
    EXPECT_EQ(missing.response.statusCode(), 404);
    EXPECT_FALSE(contains(missing.text(), "x_CategoryName"));

    token = tokenOf(site, "Categoriesdelete.asp?k_CategoryID=" + id);
    PageRun del = site.post("Categoriesdelete.asp?k_CategoryID=" + id, {{"vs_token", token}});
    ASSERT_EQ(del.error, "");
    EXPECT_EQ(del.response.statusCode(), 302);
    EXPECT_EQ(scalar(db, "SELECT COUNT(*) FROM \"Categories\" WHERE \"CategoryID\" = " + id), "0");
    EXPECT_EQ(scalar(db, "SELECT COUNT(*) FROM \"Categories\""), "3");
  }
}

TEST_F(ShopPages, MasterAndDetailStayTogether) {
  for (const auto& [db, root] : freshSites(databases(), false)) {
    SCOPED_TRACE(db.label);
    AspSite site(root);
    PageRun view = site.get("Ordersview.asp?k_OrderID=1");
    ASSERT_EQ(view.error, "");
    EXPECT_TRUE(contains(view.text(), "Order_Detailslist.asp?master=1"));
    PageRun lines = site.get("Order_Detailslist.asp?master=1");
    ASSERT_EQ(lines.error, "");
    // The master record heads the list; only its lines are listed; links keep the master.
    EXPECT_TRUE(contains(lines.text(), "class=\"record master\""));
    // It shows the labels of its lookups, not the stored ids.
    EXPECT_TRUE(contains(lines.text(), "<td>Alfreds Futterkiste</td>"));
    EXPECT_TRUE(contains(lines.text(), "of 2") || !contains(lines.text(), "pager"));
    EXPECT_TRUE(contains(lines.text(), "Order_Detailsadd.asp?master=1"));
    EXPECT_TRUE(contains(lines.text(), "master=1"));
    // The master key is not a box to type into on the add page.
    PageRun addForm = site.get("Order_Detailsadd.asp?master=1");
    ASSERT_EQ(addForm.error, "");
    EXPECT_TRUE(contains(addForm.text(), "type=\"hidden\" name=\"x_OrderID\" value=\"1\""));
    const std::string token = asp::inputValue(addForm.text(), "vs_token");
    PageRun add = site.post("Order_Detailsadd.asp?master=1",
                            {{"vs_token", token}, {"x_OrderID", "1"}, {"x_ProductID", "7"},
                             {"x_UnitPrice", "4.5"}, {"x_Quantity", "3"}});
    ASSERT_EQ(add.error, "");
    EXPECT_EQ(add.location(), "Order_Detailslist.asp?master=1");
    EXPECT_EQ(scalar(db, "SELECT \"Quantity\" FROM \"Order Details\" WHERE \"OrderID\" = 1 AND \"ProductID\" = 7"), "3");
    // Deleting an order that still has lines is refused by the database: a friendly message.
    const std::string orderToken = tokenOf(site, "Ordersdelete.asp?k_OrderID=2");
    PageRun del = site.post("Ordersdelete.asp?k_OrderID=2", {{"vs_token", orderToken}});
    if (db.dbms != Dbms::Sqlite) {  // SQLite checks foreign keys only when asked to
      ASSERT_EQ(del.error, "");
      EXPECT_EQ(del.response.statusCode(), 200);
      EXPECT_TRUE(contains(del.text(), "used by other records"));
      EXPECT_FALSE(contains(del.text(), "SQLSTATE"));
      EXPECT_EQ(scalar(db, "SELECT COUNT(*) FROM \"Orders\" WHERE \"OrderID\" = 2"), "1");
    }
  }
}

TEST_F(ShopPages, DownloadsAFileSafely) {
  for (const auto& [db, root] : freshSites(databases(), false)) {
    SCOPED_TRACE(db.label);
    AspSite site(root);
    // No picture: the view shows no image and the download answers 404.
    PageRun view = site.get("Productsview.asp?k_ProductID=1");
    ASSERT_EQ(view.error, "");
    EXPECT_FALSE(contains(view.text(), "Products_Picturedownload.asp"));
    EXPECT_EQ(site.get("Products_Picturedownload.asp?k_ProductID=1").response.statusCode(), 404);
    // A PNG stored in the database comes back byte for byte, as an image, not sniffable.
    const std::string hex = db.dbms == Dbms::Postgres ? "'\\x89504e470d0a1a0a0001'"
                                                       : "X'89504e470d0a1a0a0001'";
    query(db, "UPDATE \"Products\" SET \"Picture\" = " + hex + " WHERE \"ProductID\" = 1");
    EXPECT_TRUE(contains(site.get("Productsview.asp?k_ProductID=1").text(),
                         "Products_Picturedownload.asp?k_ProductID=1"));
    PageRun file = site.get("Products_Picturedownload.asp?k_ProductID=1");
    ASSERT_EQ(file.error, "");
    EXPECT_EQ(file.response.body, std::string("\x89PNG\r\n\x1a\n\x00\x01", 10));
    EXPECT_EQ(file.response.contentType, "image/png");
    EXPECT_EQ(file.response.header("X-Content-Type-Options"), "nosniff");
    EXPECT_TRUE(contains(file.response.header("Content-Disposition"), "filename=\"Products_Picture.png\""));
  }
}

TEST_F(ShopPages, ReportGroupsByTheLookedUpLabel) {
  for (const auto& [db, root] : freshSites(databases(), false)) {
    SCOPED_TRACE(db.label);
    AspSite site(root);
    const PageRun report = site.get("Stockreport.asp");
    ASSERT_EQ(report.error, "");
    const std::string text = report.text();
    // The report's category has no lookup of its own: the products' category field lends its.
    const std::size_t beverages = text.find("<tr class=\"group\"><td colspan=\"3\">Beverages</td>");
    const std::size_t condiments = text.find("<tr class=\"group\"><td colspan=\"3\">Condiments</td>");
    const std::size_t seafood = text.find("<tr class=\"group\"><td colspan=\"3\">Seafood</td>");
    ASSERT_NE(beverages, std::string::npos) << text;
    EXPECT_LT(beverages, condiments);
    EXPECT_LT(condiments, seafood);
    EXPECT_NE(seafood, std::string::npos);
    EXPECT_FALSE(contains(text, "<td colspan=\"3\">1</td>"));
    EXPECT_FALSE(contains(text, "<td>2</td>"));
    // Within a group the rows come by name; the stock of product i is 10 i.
    EXPECT_LT(text.find("Product 03"), text.find("Product 06"));
    for (const char* sum : {"<td>1080</td>", "<td>1170</td>", "<td>1000</td>", "<td>3250</td>"}) {
      EXPECT_TRUE(contains(text, sum)) << sum;
    }
  }
}

TEST_F(ShopPages, ExportsCsvWhenTheProjectAsks) {
  for (const auto& [db, root] : freshSites(databases(), false)) {
    SCOPED_TRACE(db.label);
    AspSite site(root);
    query(db, "UPDATE \"Customers\" SET \"CompanyName\" = '=1+2' WHERE \"CustomerID\" = 'ALFKI'");
    EXPECT_TRUE(contains(site.get("Customerslist.asp").text(), "export=csv"));
    PageRun csv = site.get("Customerslist.asp?q=a&export=csv");
    ASSERT_EQ(csv.error, "");
    EXPECT_EQ(csv.response.contentType, "text/csv");
    EXPECT_TRUE(contains(csv.response.header("Content-Disposition"), "Customers.csv"));
    // Every matching row, not a page; a formula arrives as text.
    EXPECT_TRUE(contains(csv.text(), "\"'=1+2\""));
    EXPECT_TRUE(contains(csv.text(), "\"Bon app'\""));
    EXPECT_FALSE(contains(csv.text(), "<html"));
  }
}

}  // namespace
}  // namespace vantorel::test::site
