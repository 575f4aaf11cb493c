#pragma once
// The site of the database of column kinds, as a user makes it: a project loaded from the
// database by "vantorel new", set up by configure_kinds.vbs and generated with the bundled
// template set; once per database and program.
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "site/kinds_database.hpp"

namespace vantorel::test::site {

// Makes the project of the database in folder with "vantorel new", sets it up with
// configure_kinds.vbs and then each of moreScripts (files of tests/site), and generates its site
// into folder/KIND; the site's folder.
std::filesystem::path generateKindsSite(const ShopDatabase& db, const std::filesystem::path& folder,
                                        const std::vector<std::string>& moreScripts);

// One deployed site per database, its rows made afresh.
std::vector<std::pair<ShopDatabase, std::filesystem::path>> freshKindsSites(
    TestDatabases& databases);

}  // namespace vantorel::test::site
