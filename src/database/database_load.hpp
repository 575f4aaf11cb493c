#pragma once
// The working state of one database load, handed from the entry that starts it to every loader
// it runs: the project's settings the load reads, the quote characters chosen for the database,
// the PostgreSQL connection details, and what the user is to be told once the load is over. It
// lives for one load; nothing of it outlives the load or reaches the next one.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "database/connection_details.hpp"
#include "foundation/sql_quoting.hpp"

namespace vantorel {

class AGPDatabase;

struct DatabaseLoad {
  // The project's SQLQuote setting at the load; empty quotes by the database's kind.
  std::u16string sqlQuoteSetting;
  // The project's DynamicLoadDB: a whole-database load only registers the tables, each is read
  // when it is wanted.
  bool dynamicLoad = false;
  // Whole-database loads and snapshots read the catalogue of PostgreSQL and MariaDB in a few
  // queries for all tables; off, every table is read on its own (the tests compare the two).
  bool catalogueInBulk = true;
  // The quote characters of the database's SQL: chosen by a whole-database load, those the
  // database was loaded with for anything read later.
  SqlQuote quote;
  PgConnectionDetails pg;
  // Messages the load went on past, for the entry that started it to show.
  std::vector<std::u16string> notices;
};

// How a loader ended: code 0 loaded, else the loader's failure code and the reason the project's
// LastErrorText is to say (empty when the loader has none to give).
struct LoadOutcome {
  std::int16_t code = 0;
  std::u16string reason;

  bool loaded() const noexcept { return code == 0; }
  static LoadOutcome failed(std::int16_t code, std::u16string reason = {}) {
    return {code, std::move(reason)};
  }
};

// The quote characters the database's last whole load chose (its QuoteS and QuoteE).
SqlQuote recordedSqlQuote(AGPDatabase& db);
// The SQLQuote setting that chose them, so that a load started without the project quotes as
// the last one did; empty (quote by kind) before any load.
std::u16string recordedSqlQuoteSetting(AGPDatabase& db);

// Shows the notices the load went on past, once it is over.
void showLoadNotices(const DatabaseLoad& load);
// The end of a load whose entry is the load alone (the database object's own loaders): shows
// the load's notices, puts the outcome's reason (when it has one) into the project's
// LastErrorText, and gives the outcome's code.
std::int16_t reportLoad(const DatabaseLoad& load, const LoadOutcome& outcome);

}  // namespace vantorel
