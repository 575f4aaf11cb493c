#pragma once
// The site of the database of column kinds, as a user makes it: a project loaded from the
// database by "vantorel new", set up by configure_kinds.vbs and generated with the bundled
// template set; once per database and program.
#include <filesystem>
#include <utility>
#include <vector>

#include "site/kinds_database.hpp"

namespace vantorel::test::site {

// One deployed site per database, its rows made afresh.
std::vector<std::pair<ShopDatabase, std::filesystem::path>> freshKindsSites(
    TestDatabases& databases);

}  // namespace vantorel::test::site
