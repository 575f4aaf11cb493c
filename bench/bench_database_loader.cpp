// Whole-database loads of the shared samples (Chinook on SQLite, PostgreSQL and MariaDB; Sakila
// on PostgreSQL and MariaDB) into a database object, each against a raw catalogue pass over a
// connection to the same database: connect, SQLTables, then SQLColumns, SQLPrimaryKeys and
// SQLStatistics for every table and view, each row fetched and every column read, nothing built.
// The servers are private ones started here; without the shared test data folder, or without
// the server programs, the program says so and measures nothing.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "foundation/project_context.hpp"
#include "model/database.hpp"
#include "platform/data/connection.hpp"
#include "platform/data/odbc_api.hpp"
#include "platform/text/unicode.hpp"
#include "ratio.hpp"
#include "sample_servers.hpp"
#include "support/sample_databases.hpp"

namespace vantorel {
namespace {

using test::SampleDatabase;

// A statement handle freed at the end of its scope.
class RawStatement {
 public:
  explicit RawStatement(SQLHDBC dbc) { SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt_); }
  ~RawStatement() { SQLFreeHandle(SQL_HANDLE_STMT, stmt_); }
  RawStatement(const RawStatement&) = delete;
  RawStatement& operator=(const RawStatement&) = delete;
  SQLHSTMT get() const { return stmt_; }

 private:
  SQLHSTMT stmt_ = SQL_NULL_HSTMT;
};

// Fetches every row and reads every column as text, as a loader must before it can use them.
// Each row's columns 2 to 4 (schema, name, type) go to the callback.
template <class Row>
void drain(SQLHSTMT stmt, Row row) {
  SQLSMALLINT columns = 0;
  SQLNumResultCols(stmt, &columns);
  SQLWCHAR buffer[4][512];
  while (data::succeeded(SQLFetch(stmt))) {
    for (SQLSMALLINT i = 1; i <= columns; ++i) {
      SQLWCHAR scratch[512];
      SQLWCHAR* target = i >= 2 && i <= 4 ? buffer[i - 1] : scratch;
      SQLLEN length = 0;
      if (!data::succeeded(SQLGetData(stmt, static_cast<SQLUSMALLINT>(i), SQL_C_WCHAR, target,
                                sizeof buffer[0], &length)) ||
          length == SQL_NULL_DATA) {
        target[0] = 0;
      }
    }
    row(buffer[1], buffer[2], buffer[3]);
  }
}

std::u16string_view view(const SQLWCHAR* text) {
  return std::u16string_view(reinterpret_cast<const char16_t*>(text));
}

struct Name {
  std::u16string schema, table;
};

// The reference: the catalogue calls of a whole load, with nothing built.
void rawCataloguePass(const std::u16string& connectionString) {
  data::Connection cnn(connectionString);
  // MariaDB's driver lists every database unless told the current one.
  std::u16string catalog = cnn.isMySqlKind() ? cnn.properties().currentCatalog : u"";
  SQLWCHAR* cat = catalog.empty() ? nullptr : data::sqlText(catalog);
  const SQLSMALLINT catLength = data::sqlLength(catalog);
  std::vector<Name> names;
  {
    RawStatement tables(cnn.handle());
    SQLTablesW(tables.get(), cat, catLength, nullptr, 0, nullptr, 0, nullptr, 0);
    drain(tables.get(), [&](const SQLWCHAR* schema, const SQLWCHAR* name, const SQLWCHAR* type) {
      if (view(type) == u"TABLE" || view(type) == u"VIEW") {
        names.push_back({std::u16string(view(schema)), std::u16string(view(name))});
      }
    });
  }
  const auto ignore = [](const SQLWCHAR*, const SQLWCHAR*, const SQLWCHAR*) {};
  for (Name& n : names) {
    SQLWCHAR* schema = n.schema.empty() ? nullptr : data::sqlText(n.schema);
    const SQLSMALLINT schemaLength = data::sqlLength(n.schema);
    SQLWCHAR* table = data::sqlText(n.table);
    const SQLSMALLINT tableLength = data::sqlLength(n.table);
    {
      RawStatement s(cnn.handle());
      SQLColumnsW(s.get(), cat, catLength, schema, schemaLength, table, tableLength, nullptr, 0);
      drain(s.get(), ignore);
    }
    {
      RawStatement s(cnn.handle());
      SQLPrimaryKeysW(s.get(), cat, catLength, schema, schemaLength, table, tableLength);
      drain(s.get(), ignore);
    }
    {
      RawStatement s(cnn.handle());
      SQLStatisticsW(s.get(), cat, catLength, schema, schemaLength, table, tableLength,
                     SQL_INDEX_ALL, SQL_QUICK);
      drain(s.get(), ignore);
    }
  }
}

// One connection string per sample, in the order of test::sampleDatabases(); set by main
// before the benchmarks run.
std::vector<std::u16string> connectionStrings;

void BM_Load(benchmark::State& state, std::size_t sample) {
  const std::u16string& connectionString = connectionStrings.at(sample);
  while (state.KeepRunning()) {
    Ref<AGPDatabase> db = makeRef<AGPDatabase>();
    projectContext().currentDynamicLoadDB = false;
    const std::int16_t result =
        db->LoadADODB({u"DB", u"", u"", u"", connectionString, u"", u""});
    if (result != 0) {
      static std::string error;
      error = toUtf8(projectContext().lastErrorText);
      state.SkipWithError(error.c_str());
      break;
    }
    benchmark::DoNotOptimize(db->tables().count());
  }
}

void BM_Raw(benchmark::State& state, std::size_t sample) {
  const std::u16string& connectionString = connectionStrings.at(sample);
  while (state.KeepRunning()) rawCataloguePass(connectionString);
}

// In the order of test::sampleDatabases().
BENCHMARK_CAPTURE(BM_Load, ChinookSQLite, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Raw, ChinookSQLite, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Load, ChinookPostgreSQL, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Raw, ChinookPostgreSQL, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Load, ChinookMariaDB, 2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Raw, ChinookMariaDB, 2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Load, SakilaPostgreSQL, 3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Raw, SakilaPostgreSQL, 3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Load, SakilaMariaDB, 4)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Raw, SakilaMariaDB, 4)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vantorel

int main(int argc, char** argv) {
  using namespace vantorel;
  const std::unique_ptr<bench::SampleServers> servers =
      bench::SampleServers::start("bench_database_loader");
  if (!servers) return 0;
  connectionStrings = servers->connectionStrings();
  return bench::runWithRatios(
      argc, argv,
      {{"BM_Load/ChinookSQLite", "BM_Raw/ChinookSQLite", 2.0},
       {"BM_Load/ChinookPostgreSQL", "BM_Raw/ChinookPostgreSQL", 2.0},
       {"BM_Load/ChinookMariaDB", "BM_Raw/ChinookMariaDB", 2.0},
       {"BM_Load/SakilaPostgreSQL", "BM_Raw/SakilaPostgreSQL", 2.0},
       {"BM_Load/SakilaMariaDB", "BM_Raw/SakilaMariaDB", 2.0}});
}
