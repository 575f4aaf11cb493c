// Files uploaded to the generated shop site, on SQLite, PostgreSQL and MariaDB: a picture stored
// in the database and an employee's photo saved in the upload folder come back byte for byte;
// a file too large, a name that climbs out of the folder or names a script, and a post without
// the form token store nothing unsafe; a saved file goes with its record or when replaced, is
// not served by its own address, and is downloaded only with the table's rights.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "site/host/asp_site.hpp"
#include "site/shop_site.hpp"
#include "support/site_pages.hpp"
#include "support/test_files.hpp"

namespace vantorel::test::site {

namespace {

namespace fs = std::filesystem;
using asp::AspSite;
using asp::FormFields;
using asp::PageRun;
using Files = std::vector<std::pair<std::string, std::pair<std::string, std::string>>>;

class ShopUploads : public DatabaseTest {};

// Every byte value, and the line breaks and dashes a multipart reader looks for.
std::string awkwardBytes(std::size_t size) {
  std::string bytes = "\x89PNG\r\n\x1a\n\r\n--\r\n\r\n----vantorel";
  for (std::size_t i = 0; bytes.size() < size; ++i) bytes += static_cast<char>(i * 7 % 256);
  return bytes;
}

FormFields productFields(const std::string& token) {
  return {{"vs_token", token},   {"x_ProductName", "Product 03"}, {"x_CategoryID", "1"},
          {"x_SupplierID", "2"}, {"x_UnitPrice", "3.5"},          {"x_UnitsInStock", "30"}};
}

FormFields employeeFields(const std::string& token) {
  return {{"vs_token", token}, {"x_FirstName", "Nancy"}, {"x_LastName", "Davolio"}};
}

// Where the site keeps uploaded files: below App_Data, which IIS does not serve.
fs::path uploadFolder(const fs::path& root) {
  return root / "App_Data" / "upload";
}

// The files of the site's upload folder, by name.
std::vector<std::string> uploadedFiles(const fs::path& root) {
  std::vector<std::string> names;
  if (!fs::exists(uploadFolder(root))) return names;
  for (const auto& entry : fs::directory_iterator(uploadFolder(root))) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST_F(ShopUploads, FilesComeBackByteForByte) {
  for (const auto& [db, root] : freshSites(databases(), false)) {
    SCOPED_TRACE(db.label);
    AspSite site(root);
    // A picture stored in the database by the edit page, kept by an edit that sends none,
    // removed by its box.
    PageRun form = site.get("Productsedit.asp?k_ProductID=3");
    EXPECT_TRUE(contains(form.text(), "enctype=\"multipart/form-data\""));
    const std::string picture = awkwardBytes(70000);
    PageRun edit =
        site.postMultipart("Productsedit.asp?k_ProductID=3",
                           productFields(tokenOf(site, "Productsedit.asp?k_ProductID=3")),
                           {{"x_Picture", {"photo.png", picture}}});
    ASSERT_EQ(edit.error, "");
    EXPECT_EQ(edit.response.statusCode(), 302) << edit.text();
    EXPECT_EQ(site.get("Products_Picturedownload.asp?k_ProductID=3").response.body, picture);
    EXPECT_EQ(scalar(db, "SELECT \"UnitsInStock\" FROM \"Products\" WHERE \"ProductID\" = 3"),
              "30");
    edit = site.postMultipart("Productsedit.asp?k_ProductID=3",
                              productFields(tokenOf(site, "Productsedit.asp?k_ProductID=3")),
                              {{"x_Picture", {"", ""}}});
    EXPECT_EQ(edit.response.statusCode(), 302) << edit.text();
    EXPECT_EQ(site.get("Products_Picturedownload.asp?k_ProductID=3").response.body, picture);
    EXPECT_TRUE(contains(site.get("Productsedit.asp?k_ProductID=3").text(), "x_Picture_remove"));
    FormFields remove = productFields(tokenOf(site, "Productsedit.asp?k_ProductID=3"));
    remove.emplace_back("x_Picture_remove", "1");
    EXPECT_EQ(
        site.postMultipart("Productsedit.asp?k_ProductID=3", remove, {}).response.statusCode(),
        302);
    EXPECT_EQ(site.get("Products_Picturedownload.asp?k_ProductID=3").response.statusCode(), 404);

    // A new product with its picture.
    FormFields product = productFields(tokenOf(site, "Productsadd.asp"));
    product[1].second = "Pictured";
    EXPECT_EQ(site.postMultipart("Productsadd.asp", product, {{"x_Picture", {"p.png", picture}}})
                  .response.statusCode(),
              302);
    const std::string id =
        scalar(db, "SELECT \"ProductID\" FROM \"Products\" WHERE \"ProductName\" = 'Pictured'");
    EXPECT_EQ(site.get("Products_Picturedownload.asp?k_ProductID=" + id).response.body, picture);

    // A photo saved in the upload folder under its own name, in UTF-8, the field holding it.
    const std::string photo = awkwardBytes(3000);
    edit = site.postMultipart("Employeesedit.asp?k_EmployeeID=1",
                              employeeFields(tokenOf(site, "Employeesedit.asp?k_EmployeeID=1")),
                              {{"x_Photo", {"Grüße 東京.png", photo}}});
    ASSERT_EQ(edit.error, "");
    EXPECT_EQ(edit.response.statusCode(), 302) << edit.text();
    EXPECT_EQ(scalar(db, "SELECT \"Photo\" FROM \"Employees\" WHERE \"EmployeeID\" = 1"),
              "Grüße_東京.png");
    EXPECT_EQ(readFile(uploadFolder(root) / "Grüße_東京.png"), photo);
    // The fields of its type and size are filled in by the upload, not typed in the form.
    EXPECT_EQ(
        query(db,
              "SELECT \"PhotoType\", \"PhotoSize\" FROM \"Employees\" WHERE \"EmployeeID\" = 1"),
        (std::vector<std::vector<std::string>>{{"application/octet-stream", "3000"}}));
    EXPECT_FALSE(contains(site.get("Employeesedit.asp?k_EmployeeID=1").text(), "x_PhotoSize"));
    EXPECT_TRUE(contains(site.get("Employeesview.asp?k_EmployeeID=1").text(),
                         "<img src=\"Employees_Photodownload.asp?k_EmployeeID=1\" alt=\"\">"));
    const PageRun download = site.get("Employees_Photodownload.asp?k_EmployeeID=1");
    EXPECT_EQ(download.response.body, photo);
    EXPECT_EQ(download.response.header("Content-Disposition"),
              "attachment; filename=\"Employees_Photo.bin\"; "
              "filename*=UTF-8''Gr%C3%BC%C3%9Fe_%E6%9D%B1%E4%BA%AC.png");
  }
}

TEST_F(ShopUploads, UnsafeUploadsStoreNothingUnsafe) {
  for (const auto& [db, root] : freshSites(databases(), false)) {
    SCOPED_TRACE(db.label);
    AspSite site(root);
    // The project takes files of up to 100000 bytes: one byte more, or a post far larger, is
    // refused with the form and a message, and nothing is stored.
    for (const std::size_t size : {100001u, 400000u}) {
      const PageRun big =
          site.postMultipart("Productsedit.asp?k_ProductID=4",
                             productFields(tokenOf(site, "Productsedit.asp?k_ProductID=4")),
                             {{"x_Picture", {"big.png", awkwardBytes(size)}}});
      ASSERT_EQ(big.error, "") << size;
      EXPECT_EQ(big.response.statusCode(), 413) << size;
      EXPECT_TRUE(contains(big.text(), "The file is too large (at most 97 KB)")) << size;
      EXPECT_TRUE(contains(big.text(), "name=\"x_ProductName\" value=\"Product 04\"")) << size;
    }
    EXPECT_EQ(scalar(db, "SELECT COUNT(*) FROM \"Products\" WHERE \"Picture\" IS NOT NULL"), "0");
    EXPECT_EQ(scalar(db, "SELECT \"UnitsInStock\" FROM \"Products\" WHERE \"ProductID\" = 4"),
              "40");

    // Names the site would run, or that climb out of the folder, are made harmless. Each upload
    // replaces employee 2's file, whose old file goes; employee 1 keeps "x_asp.bin", which a
    // later file of that name does not replace.
    struct Name {
      const char* employee;
      const char* sent;
      const char* stored;
    };
    for (const Name& name :
         {Name{"1", "../../x.asp", "x_asp.bin"}, Name{"2", "..\\..\\web.config", "web_config.bin"},
          Name{"2", "C:\\site\\photo.png.aspx", "photo_png_aspx.bin"},
          Name{"2", "page.html", "page_html.bin"}, Name{"2", "a;b <x>.jpg", "a_b__x_.jpg"},
          Name{"2", ".htaccess", "file_htaccess.bin"}, Name{"2", "CON.png", "_CON.png"},
          Name{"2", "x_asp.bin", "x_asp_2.bin"}}) {
      const std::string page = std::string("Employeesedit.asp?k_EmployeeID=") + name.employee;
      const PageRun run = site.postMultipart(page, employeeFields(tokenOf(site, page)),
                                             {{"x_Photo", {name.sent, "<% Response.Write 1 %>"}}});
      ASSERT_EQ(run.error, "") << name.sent;
      EXPECT_EQ(run.response.statusCode(), 302) << name.sent;
      EXPECT_EQ(
          scalar(db, std::string("SELECT \"Photo\" FROM \"Employees\" WHERE \"EmployeeID\" = ") +
                         name.employee),
          name.stored);
      EXPECT_TRUE(fs::exists(uploadFolder(root) / name.stored)) << name.sent;
    }
    EXPECT_EQ(uploadedFiles(root), (std::vector<std::string>{"x_asp.bin", "x_asp_2.bin"}));
    EXPECT_FALSE(fs::exists(root / "x.asp"));
    EXPECT_FALSE(fs::exists(root.parent_path() / "x.asp"));
    EXPECT_FALSE(fs::exists(root.parent_path().parent_path() / "x.asp"));

    // Without the form's token nothing is stored and no file is saved.
    const std::vector<std::string> before = uploadedFiles(root);
    for (const FormFields& fields : {FormFields{{"x_LastName", "Forged"}},
                                     FormFields{{"vs_token", "0"}, {"x_LastName", "Forged"}}}) {
      const PageRun forged = site.postMultipart("Employeesedit.asp?k_EmployeeID=1", fields,
                                                {{"x_Photo", {"forged.png", "x"}}});
      EXPECT_EQ(forged.response.statusCode(), 403);
      const PageRun added =
          site.postMultipart("Employeesadd.asp", fields, {{"x_Photo", {"forged.png", "x"}}});
      EXPECT_EQ(added.response.statusCode(), 403);
    }
    // A post that says it sends files but is no such form.
    for (const std::string& body :
         {std::string("garbage"),
          std::string("--b\r\nContent-Disposition: form-data\r\n\r\nx\r\n--b--\r\n")}) {
      asp::HttpRequest request;
      request.method = "POST";
      request.path = "/Employeesedit.asp";
      request.queryString = "k_EmployeeID=1";
      request.contentType = "multipart/form-data; boundary=b";
      request.body = body;
      const PageRun bad = site.send(request);
      EXPECT_EQ(bad.response.statusCode(), 400) << body;
      EXPECT_TRUE(contains(bad.text(), "The form could not be read.")) << body;
    }
    EXPECT_EQ(uploadedFiles(root), before);
    EXPECT_EQ(scalar(db, "SELECT COUNT(*) FROM \"Employees\" WHERE \"LastName\" = 'Forged'"), "0");

    // A folder the site cannot write to: a short message, and nothing of the post is stored.
    fs::remove_all(uploadFolder(root));
    std::ofstream(uploadFolder(root)) << "no folder";
    FormFields changed = employeeFields(tokenOf(site, "Employeesedit.asp?k_EmployeeID=2"));
    changed[2].second = "Changed";
    const PageRun failed = site.postMultipart("Employeesedit.asp?k_EmployeeID=2", changed,
                                              {{"x_Photo", {"y.png", "y"}}});
    EXPECT_EQ(failed.response.statusCode(), 500);
    EXPECT_TRUE(contains(failed.text(), "The file could not be saved."));
    EXPECT_EQ(scalar(db, "SELECT \"Photo\" FROM \"Employees\" WHERE \"EmployeeID\" = 2"),
              "x_asp_2.bin");
    EXPECT_EQ(scalar(db, "SELECT COUNT(*) FROM \"Employees\" WHERE \"LastName\" = 'Changed'"), "0");
  }
}

TEST_F(ShopUploads, FilesGoWithTheirRecordsAndLeaveOnlyThroughTheDownloadPage) {
  for (const auto& [db, root] : freshSites(databases(), false)) {
    SCOPED_TRACE(db.label);
    AspSite site(root);
    const auto upload = [&site](const std::string& id, const std::string& name) {
      const std::string page = "Employeesedit.asp?k_EmployeeID=" + id;
      const PageRun run = site.postMultipart(page, employeeFields(tokenOf(site, page)),
                                             {{"x_Photo", {name, "photo " + name}}});
      EXPECT_EQ(run.response.statusCode(), 302) << name << run.text();
    };
    const auto remove = [&site](const std::string& page, FormFields fields) {
      fields.emplace_back("vs_token", tokenOf(site, page));
      const PageRun run = site.postMultipart(page, fields, {});
      EXPECT_EQ(run.response.statusCode(), 302) << page << run.text();
    };
    using Names = std::vector<std::string>;

    upload("1", "a.png");
    EXPECT_EQ(uploadedFiles(root), Names{"a.png"});
    EXPECT_EQ(site.get("Employees_Photodownload.asp?k_EmployeeID=1").response.body, "photo a.png");
    // No address of the file's own serves it.
    for (const char* url : {"App_Data/upload/a.png", "app_data/upload/a.png",
                            "APP_DATA/upload/a.png", "upload/a.png", "a.png"}) {
      const PageRun direct = site.get(url);
      EXPECT_EQ(direct.response.statusCode(), 404) << url;
      EXPECT_FALSE(contains(direct.response.body, "photo a.png")) << url;
    }

    // A replaced file goes; one that another row names too stays until no row does.
    upload("1", "b.png");
    EXPECT_EQ(uploadedFiles(root), Names{"b.png"});
    query(db, "UPDATE \"Employees\" SET \"Photo\" = 'b.png' WHERE \"EmployeeID\" = 2");
    remove("Employeesedit.asp?k_EmployeeID=1",
           {{"x_FirstName", "Nancy"}, {"x_LastName", "Davolio"}, {"x_Photo_remove", "1"}});
    EXPECT_EQ(scalar(db, "SELECT \"Photo\" FROM \"Employees\" WHERE \"EmployeeID\" = 1"), "");
    EXPECT_EQ(uploadedFiles(root), Names{"b.png"});
    EXPECT_EQ(site.get("Employees_Photodownload.asp?k_EmployeeID=2").response.body, "photo b.png");

    // A deleted record's file goes with it.
    EXPECT_EQ(site.post("Employeesdelete.asp?k_EmployeeID=2",
                        {{"vs_token", tokenOf(site, "Employeesadd.asp")}})
                  .response.statusCode(),
              302);
    EXPECT_EQ(uploadedFiles(root), Names{});
    FormFields added = employeeFields(tokenOf(site, "Employeesadd.asp"));
    EXPECT_EQ(site.postMultipart("Employeesadd.asp", added, {{"x_Photo", {"c.png", "c"}}})
                  .response.statusCode(),
              302);
    EXPECT_EQ(uploadedFiles(root), Names{"c.png"});
    const std::string id =
        scalar(db, "SELECT \"EmployeeID\" FROM \"Employees\" WHERE \"Photo\" = 'c.png'");
    EXPECT_EQ(site.post("Employeesdelete.asp?k_EmployeeID=" + id,
                        {{"vs_token", tokenOf(site, "Employeesadd.asp")}})
                  .response.statusCode(),
              302);
    EXPECT_EQ(uploadedFiles(root), Names{});
    EXPECT_EQ(scalar(db, "SELECT COUNT(*) FROM \"Employees\""), "1");

    // A stored name that leads out of the folder is neither sent nor removed.
    for (const char* name : {"../../config.asp", "..\\..\\config.asp", "..", "C:config.asp"}) {
      query(db, std::string("UPDATE \"Employees\" SET \"Photo\" = '") + name +
                    "' WHERE \"EmployeeID\" = 1");
      const PageRun download = site.get("Employees_Photodownload.asp?k_EmployeeID=1");
      EXPECT_EQ(download.response.statusCode(), 404) << name;
      EXPECT_FALSE(contains(download.response.body, "vsConnectionString")) << name;
    }
    EXPECT_EQ(site.post("Employeesdelete.asp?k_EmployeeID=1",
                        {{"vs_token", tokenOf(site, "Employeesadd.asp")}})
                  .response.statusCode(),
              302);
    EXPECT_TRUE(fs::exists(root / "config.asp"));
  }
}

// Employees' photos and shippers' logos lie in the same folder: a file stays while any row of
// either table names it, and each download page sends only the file its own record names.
TEST_F(ShopUploads, AFileNamedByAnotherTablesRowStays) {
  for (const auto& [db, root] : freshSites(databases(), false)) {
    SCOPED_TRACE(db.label);
    AspSite site(root);
    const PageRun run =
        site.postMultipart("Employeesedit.asp?k_EmployeeID=1",
                           employeeFields(tokenOf(site, "Employeesedit.asp?k_EmployeeID=1")),
                           {{"x_Photo", {"shared.png", "shared photo"}}});
    ASSERT_EQ(run.response.statusCode(), 302) << run.text();
    query(db, "UPDATE \"Shippers\" SET \"Logo\" = 'shared.png' WHERE \"ShipperID\" = 1");
    EXPECT_EQ(site.get("Shippers_Logodownload.asp?k_ShipperID=2").response.statusCode(), 404);
    EXPECT_EQ(site.get("Employees_Photodownload.asp?k_EmployeeID=2").response.statusCode(), 404);

    const auto drop = [&site](const std::string& page) {
      const PageRun run = site.post(page, {{"vs_token", tokenOf(site, "Employeesadd.asp")}});
      EXPECT_EQ(run.response.statusCode(), 302) << page << run.text();
    };
    drop("Employeesdelete.asp?k_EmployeeID=1");
    EXPECT_EQ(uploadedFiles(root), std::vector<std::string>{"shared.png"});
    EXPECT_EQ(site.get("Shippers_Logodownload.asp?k_ShipperID=1").response.body, "shared photo");
    drop("Shippersdelete.asp?k_ShipperID=1");
    EXPECT_EQ(uploadedFiles(root), std::vector<std::string>{});
  }
}

TEST_F(ShopUploads, DownloadsNeedTheTablesRights) {
  for (const auto& [db, root] : freshSites(databases(), true)) {
    SCOPED_TRACE(db.label);
    // "secret" as its MD5 digest.
    query(db,
          "INSERT INTO \"Users\" (\"LoginName\", \"Password\") VALUES ('ann', "
          "'5ebe2294ecd0e0f08eab7690d2a6ee69')");
    AspSite site(root);
    ASSERT_EQ(postLogin(site, "ann", "secret").response.statusCode(), 302);
    // Users may change employees but not view them, nor so download their photos.
    PageRun edit =
        site.postMultipart("Employeesedit.asp?k_EmployeeID=1",
                           employeeFields(tokenOf(site, "Employeesedit.asp?k_EmployeeID=1")),
                           {{"x_Photo", {"p.png", "private photo"}}});
    ASSERT_EQ(edit.error, "");
    EXPECT_EQ(edit.response.statusCode(), 302) << edit.text();
    EXPECT_EQ(uploadedFiles(root), std::vector<std::string>{"p.png"});
    PageRun download = site.get("Employees_Photodownload.asp?k_EmployeeID=1");
    EXPECT_EQ(download.response.statusCode(), 403);
    EXPECT_FALSE(contains(download.response.body, "private photo"));
    // Products they may view: the picture comes.
    const std::string picture = awkwardBytes(500);
    edit = site.postMultipart("Productsedit.asp?k_ProductID=3",
                              productFields(tokenOf(site, "Productsedit.asp?k_ProductID=3")),
                              {{"x_Picture", {"photo.png", picture}}});
    EXPECT_EQ(edit.response.statusCode(), 302) << edit.text();
    EXPECT_EQ(site.get("Products_Picturedownload.asp?k_ProductID=3").response.body, picture);
    // A visitor who is not logged in gets neither, but the way to the login.
    AspSite visitor(root);
    for (const char* url : {"Employees_Photodownload.asp?k_EmployeeID=1",
                            "Products_Picturedownload.asp?k_ProductID=3"}) {
      download = visitor.get(url);
      EXPECT_EQ(download.response.statusCode(), 302) << url;
      EXPECT_EQ(download.response.body.find("photo"), std::string::npos) << url;
    }
  }
}

}  // namespace
}  // namespace vantorel::test::site
