#pragma once
// A database of every column kind the loaders give a site: numbers of each size, money, yes/no,
// dates and times, fixed and long text, bytes, PostgreSQL's enum type and MariaDB's ENUM and SET,
// text outside ASCII, defaults and enum values meant to break out of a page's script; a table
// whose rows belong to users, with the users table the login reads and a view of it; visits of
// places, a lookup table too large for a list; genres that tracks refer to, visits on the edges
// of a month, and rows alike but for their key.
#include <string>
#include <vector>

#include "site/shop_database.hpp"

namespace vantorel::test::site {

// The three databases, each holding the tables in the database (or file) "kinds".
std::vector<ShopDatabase> kindsDatabases(TestDatabases& databases);

// Drops and creates the tables, then fills them.
void resetKinds(const ShopDatabase& db);

// The rows of "places" (ids from 1, labelled "Place 001", ...) and of "visits": visit i (from 1)
// is of place 1 + (i - 1) / 2 and user 1 + i % 2, on 2024-01-i, of amount i.
inline constexpr int kPlaces = 150;
inline constexpr int kVisits = 24;
std::string placeLabel(int id);

// The rows of "tie": ids 1 to kTies, each word "same", each body tieBody(id) ("tie-01", ...).
inline constexpr int kTies = 23;
std::string tieBody(int id);

// The columns of the table "kinds" on that database, in their order.
std::vector<std::string> kindsColumns(const ShopDatabase& db);

// The default of the column "motto": script that would run if a page wrote it as it is.
inline constexpr char kHostileDefault[] = "%><% Response.Write 1 %><%";
// The default configure_kinds.vbs gives the field "note".
inline constexpr char kHostileNote[] = "Say \"hi\" %>\r\n<% Response.Write 2 %>";

}  // namespace vantorel::test::site
