#pragma once
// The example shop's site as the tests run it: the project made by its script, generated with
// the bundled template set once per program, and set up per database the way a user sets up a
// server: by editing the connection file.
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "site/host/asp_site.hpp"
#include "site/shop_database.hpp"

namespace vantorel::test::site {

// The generated site's folder; generated on first use. secure adds the login (see
// configure_shop.vbs). Raises std::runtime_error with the tool's output when a step fails.
const std::filesystem::path& generatedShop(bool secure);

// A copy of the generated site whose connection file points at the database.
std::filesystem::path deployShop(const std::filesystem::path& generated, const ShopDatabase& db,
                                 const std::filesystem::path& folder);
// The same into the folder site, made afresh.
void deploySite(const std::filesystem::path& generated, const ShopDatabase& db,
                const std::filesystem::path& site);
// Runs the command line tool with the arguments; std::runtime_error with its output on a failure.
void runTool(const std::string& arguments);

// One deployed site per database, its rows made afresh.
std::vector<std::pair<ShopDatabase, std::filesystem::path>> freshSites(TestDatabases& databases,
                                                                       bool secure);
bool contains(const std::string& text, const std::string& part);
// The page's form token, after a GET of the form.
std::string tokenOf(asp::AspSite& site, const std::string& url);
// The login page's form posted with the login and password, its token read first.
asp::PageRun postLogin(asp::AspSite& site, const std::string& login, const std::string& password);
// The menu's logout form posted as drawn on the home page; a logout that is not answered with
// its redirect fails the test.
void logOut(asp::AspSite& site);

}  // namespace vantorel::test::site
