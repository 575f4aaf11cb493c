// Files uploaded to the generated shop site, on SQLite, PostgreSQL and MariaDB: a picture stored
// in the database and an employee's photo saved in the upload folder come back byte for byte;
// a file too large, a name that climbs out of the folder or names a script, and a post without
// the form token store nothing unsafe.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "support/site_pages.hpp"
#include "site/host/asp_site.hpp"
#include "site/shop_site.hpp"

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
  return {{"vs_token", token}, {"x_ProductName", "Product 03"}, {"x_CategoryID", "1"},
          {"x_SupplierID", "2"}, {"x_UnitPrice", "3.5"}, {"x_UnitsInStock", "30"}};
}

FormFields employeeFields(const std::string& token) {
  return {{"vs_token", token}, {"x_FirstName", "Nancy"}, {"x_LastName", "Davolio"}};
}

// The files of the site's upload folder, by name.
std::vector<std::string> uploadedFiles(const fs::path& root) {
  std::vector<std::string> names;
  if (!fs::exists(root / "upload")) return names;
  for (const auto& entry : fs::directory_iterator(root / "upload")) {
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
    PageRun edit = site.postMultipart("Productsedit.asp?k_ProductID=3", productFields(tokenOf(site, "Productsedit.asp?k_ProductID=3")),
                                      {{"x_Picture", {"photo.png", picture}}});
    ASSERT_EQ(edit.error, "");
    EXPECT_EQ(edit.response.statusCode(), 302) << edit.text();
    EXPECT_EQ(site.get("Products_Picturedownload.asp?k_ProductID=3").response.body, picture);
    EXPECT_EQ(scalar(db, "SELECT \"UnitsInStock\" FROM \"Products\" WHERE \"ProductID\" = 3"), "30");
    edit = site.postMultipart("Productsedit.asp?k_ProductID=3", productFields(tokenOf(site, "Productsedit.asp?k_ProductID=3")),
                              {{"x_Picture", {"", ""}}});
    EXPECT_EQ(edit.response.statusCode(), 302) << edit.text();
    EXPECT_EQ(site.get("Products_Picturedownload.asp?k_ProductID=3").response.body, picture);
    EXPECT_TRUE(contains(site.get("Productsedit.asp?k_ProductID=3").text(), "x_Picture_remove"));
    FormFields remove = productFields(tokenOf(site, "Productsedit.asp?k_ProductID=3"));
    remove.emplace_back("x_Picture_remove", "1");
    EXPECT_EQ(site.postMultipart("Productsedit.asp?k_ProductID=3", remove, {}).response.statusCode(), 302);
    EXPECT_EQ(site.get("Products_Picturedownload.asp?k_ProductID=3").response.statusCode(), 404);

    // A new product with its picture.
    FormFields product = productFields(tokenOf(site, "Productsadd.asp"));
    product[1].second = "Pictured";
    EXPECT_EQ(site.postMultipart("Productsadd.asp", product, {{"x_Picture", {"p.png", picture}}})
                  .response.statusCode(), 302);
    const std::string id = scalar(db, "SELECT \"ProductID\" FROM \"Products\" WHERE \"ProductName\" = 'Pictured'");
    EXPECT_EQ(site.get("Products_Picturedownload.asp?k_ProductID=" + id).response.body, picture);

    // A photo saved in the upload folder under its own name, in UTF-8, the field holding it.
    const std::string photo = awkwardBytes(3000);
    edit = site.postMultipart("Employeesedit.asp?k_EmployeeID=1", employeeFields(tokenOf(site, "Employeesedit.asp?k_EmployeeID=1")),
                              {{"x_Photo", {"Grüße 東京.png", photo}}});
    ASSERT_EQ(edit.error, "");
    EXPECT_EQ(edit.response.statusCode(), 302) << edit.text();
    EXPECT_EQ(scalar(db, "SELECT \"Photo\" FROM \"Employees\" WHERE \"EmployeeID\" = 1"), "Grüße_東京.png");
    EXPECT_EQ(readFile(root / "upload" / "Grüße_東京.png"), photo);
    // The fields of its type and size are filled in by the upload, not typed in the form.
    EXPECT_EQ(query(db, "SELECT \"PhotoType\", \"PhotoSize\" FROM \"Employees\" WHERE \"EmployeeID\" = 1"),
              (std::vector<std::vector<std::string>>{{"application/octet-stream", "3000"}}));
    EXPECT_FALSE(contains(site.get("Employeesedit.asp?k_EmployeeID=1").text(), "x_PhotoSize"));
    EXPECT_TRUE(contains(site.get("Employeesview.asp?k_EmployeeID=1").text(),
                         "upload/Gr%C3%BC%C3%9Fe_%E6%9D%B1%E4%BA%AC.png"));
  }
}

TEST_F(ShopUploads, UnsafeUploadsStoreNothingUnsafe) {
  for (const auto& [db, root] : freshSites(databases(), false)) {
    SCOPED_TRACE(db.label);
    AspSite site(root);
    // The project takes files of up to 100000 bytes: one byte more, or a post far larger, is
    // refused with the form and a message, and nothing is stored.
    for (const std::size_t size : {100001u, 400000u}) {
      const PageRun big = site.postMultipart("Productsedit.asp?k_ProductID=4", productFields(tokenOf(site, "Productsedit.asp?k_ProductID=4")),
                                             {{"x_Picture", {"big.png", awkwardBytes(size)}}});
      ASSERT_EQ(big.error, "") << size;
      EXPECT_EQ(big.response.statusCode(), 413) << size;
      EXPECT_TRUE(contains(big.text(), "The file is too large (at most 97 KB)")) << size;
      EXPECT_TRUE(contains(big.text(), "name=\"x_ProductName\" value=\"Product 04\"")) << size;
    }
    EXPECT_EQ(scalar(db, "SELECT COUNT(*) FROM \"Products\" WHERE \"Picture\" IS NOT NULL"), "0");
    EXPECT_EQ(scalar(db, "SELECT \"UnitsInStock\" FROM \"Products\" WHERE \"ProductID\" = 4"), "40");

    // Names the site would run, or that climb out of the folder, are made harmless.
    struct Name {
      const char* sent;
      const char* stored;
    };
    for (const Name& name : {Name{"../../x.asp", "x_asp.bin"}, Name{"..\\..\\web.config", "web_config.bin"},
                             Name{"C:\\site\\photo.png.aspx", "photo_png_aspx.bin"},
                             Name{"page.html", "page_html.bin"}, Name{"a;b <x>.jpg", "a_b__x_.jpg"},
                             Name{".htaccess", "file_htaccess.bin"}, Name{"CON.png", "_CON.png"},
                             Name{"x_asp.bin", "x_asp_2.bin"}}) {
      const PageRun run = site.postMultipart("Employeesedit.asp?k_EmployeeID=2", employeeFields(tokenOf(site, "Employeesedit.asp?k_EmployeeID=2")),
                                             {{"x_Photo", {name.sent, "<% Response.Write 1 %>"}}});
      ASSERT_EQ(run.error, "") << name.sent;
      EXPECT_EQ(run.response.statusCode(), 302) << name.sent;
      EXPECT_EQ(scalar(db, "SELECT \"Photo\" FROM \"Employees\" WHERE \"EmployeeID\" = 2"), name.stored);
      EXPECT_TRUE(fs::exists(root / "upload" / name.stored)) << name.sent;
    }
    EXPECT_FALSE(fs::exists(root / "x.asp"));
    EXPECT_FALSE(fs::exists(root.parent_path() / "x.asp"));
    EXPECT_FALSE(fs::exists(root.parent_path().parent_path() / "x.asp"));

    // Without the form's token nothing is stored and no file is saved.
    const std::vector<std::string> before = uploadedFiles(root);
    for (const FormFields& fields : {FormFields{{"x_LastName", "Forged"}}, FormFields{{"vs_token", "0"}, {"x_LastName", "Forged"}}}) {
      const PageRun forged = site.postMultipart("Employeesedit.asp?k_EmployeeID=1", fields,
                                                {{"x_Photo", {"forged.png", "x"}}});
      EXPECT_EQ(forged.response.statusCode(), 403);
      const PageRun added = site.postMultipart("Employeesadd.asp", fields, {{"x_Photo", {"forged.png", "x"}}});
      EXPECT_EQ(added.response.statusCode(), 403);
    }
    // A post that says it sends files but is no such form.
    for (const std::string& body : {std::string("garbage"), std::string("--b\r\nContent-Disposition: form-data\r\n\r\nx\r\n--b--\r\n")}) {
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
    fs::remove_all(root / "upload");
    std::ofstream(root / "upload") << "no folder";
    FormFields changed = employeeFields(tokenOf(site, "Employeesedit.asp?k_EmployeeID=2"));
    changed[2].second = "Changed";
    const PageRun failed = site.postMultipart("Employeesedit.asp?k_EmployeeID=2", changed, {{"x_Photo", {"y.png", "y"}}});
    EXPECT_EQ(failed.response.statusCode(), 500);
    EXPECT_TRUE(contains(failed.text(), "The file could not be saved."));
    EXPECT_EQ(scalar(db, "SELECT \"Photo\" FROM \"Employees\" WHERE \"EmployeeID\" = 2"), "x_asp_2.bin");
    EXPECT_EQ(scalar(db, "SELECT COUNT(*) FROM \"Employees\" WHERE \"LastName\" = 'Changed'"), "0");
  }
}

}  // namespace
}  // namespace vantorel::test::site
