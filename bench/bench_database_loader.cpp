// Whole-database loads of the shared samples (Chinook on SQLite, PostgreSQL and MariaDB; Sakila
// on PostgreSQL and MariaDB) into a database object, each against a raw catalogue pass over a
// connection to the same database: connect, SQLTables, then SQLColumns, SQLPrimaryKeys and
// SQLStatistics for every table and view, each row fetched and every column read, nothing built.
// Then wide databases of 100 and 1,000 tables x 20 columns on both servers: the whole load, the
// check of a project's database (AGP.CheckDB) and, for 100 tables, the load reading every table
// on its own, each against the plain catalogue queries that read the same facts for all tables
// at once; for 1,000 tables AGP.LoadDB (the entry a host calls) against the same queries run by
// the server's own command-line client; and the peak memory of a 1,000-table load against the
// model it leaves.
// The servers are private ones started here; without the shared test data folder, or without
// the server programs, the program says so and measures nothing.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "agp/agp.hpp"
#include "database/ado_database_loader.hpp"
#include "database/load_entries.hpp"
#include "foundation/project_context.hpp"
#include "memory_use.hpp"
#include "model/database.hpp"
#include "platform/data/connection.hpp"
#include "platform/data/odbc_api.hpp"
#include "platform/sys/folders.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"
#include "ratio.hpp"
#include "sample_servers.hpp"
#include "schema/difference_check.hpp"
#include "support/sample_databases.hpp"
#include "wide_schema.hpp"

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
    const std::int16_t result = LoadADODB(*db, {u"DB", u"", u"", u"", connectionString, u"", u""});
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

// The wide databases: PostgreSQL with 100 and 1,000 tables, then MariaDB; set by main.
struct Wide {
  bench::Server server;
  std::u16string connectionString;
  std::string database;
  int port = 0;  // the server's, for its own client
};
std::vector<Wide> wide;

// The catalogue read plainly: one query for each kind of fact for all tables of the schema
// (columns with types and defaults, constraints, indexes).
const char16_t* const kPostgresCatalogue[] = {
    u"SELECT c.relname, a.attnum, a.attname, format_type(a.atttypid, a.atttypmod),"
    u" a.attnotnull, pg_get_expr(d.adbin, d.adrelid)"
    u" FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace"
    u" JOIN pg_attribute a ON a.attrelid = c.oid AND a.attnum > 0 AND NOT a.attisdropped"
    u" LEFT JOIN pg_attrdef d ON d.adrelid = c.oid AND d.adnum = a.attnum"
    u" WHERE n.nspname = 'public' AND c.relkind IN ('r', 'v') ORDER BY c.relname, a.attnum",
    u"SELECT conrelid::regclass, conname, contype, pg_get_constraintdef(oid)"
    u" FROM pg_constraint WHERE connamespace = 'public'::regnamespace",
    u"SELECT t.relname, i.relname, x.indisunique, x.indisprimary,"
    u" pg_get_indexdef(x.indexrelid) FROM pg_index x JOIN pg_class i ON i.oid = x.indexrelid"
    u" JOIN pg_class t ON t.oid = x.indrelid JOIN pg_namespace n ON n.oid = t.relnamespace"
    u" WHERE n.nspname = 'public'"};
const char16_t* const kMariaDbCatalogue[] = {
    u"SELECT TABLE_NAME, ORDINAL_POSITION, COLUMN_NAME, COLUMN_TYPE, IS_NULLABLE,"
    u" COLUMN_DEFAULT, COLUMN_KEY, EXTRA FROM information_schema.COLUMNS"
    u" WHERE TABLE_SCHEMA = DATABASE() ORDER BY TABLE_NAME, ORDINAL_POSITION",
    u"SELECT TABLE_NAME, CONSTRAINT_NAME, CONSTRAINT_TYPE"
    u" FROM information_schema.TABLE_CONSTRAINTS WHERE TABLE_SCHEMA = DATABASE()",
    u"SELECT TABLE_NAME, INDEX_NAME, NON_UNIQUE, SEQ_IN_INDEX, COLUMN_NAME"
    u" FROM information_schema.STATISTICS WHERE TABLE_SCHEMA = DATABASE()"};

// The reference: those queries over ODBC, every row fetched and read, nothing built.
void plainCatalogueQueries(const Wide& w) {
  data::Connection cnn(w.connectionString);
  const auto ignore = [](const SQLWCHAR*, const SQLWCHAR*, const SQLWCHAR*) {};
  for (const char16_t* sql :
       w.server == bench::Server::PostgreSQL ? kPostgresCatalogue : kMariaDbCatalogue) {
    RawStatement s(cnn.handle());
    std::u16string text(sql);
    SQLExecDirectW(s.get(), data::sqlText(text), SQL_NTS);
    drain(s.get(), ignore);
  }
}

Ref<AGPDatabase> loadWhole(benchmark::State& state, const std::u16string& connectionString,
                           bool inBulk = true) {
  Ref<AGPDatabase> db = makeRef<AGPDatabase>();
  projectContext().lastErrorText.clear();
  DatabaseLoad load;
  load.catalogueInBulk = inBulk;
  if (reportLoad(load, loadAdoDatabase(load, *db,
                                       {u"DB", u"", u"", u"", connectionString, u"", u""})) != 0 ||
      !projectContext().lastErrorText.empty()) {
    static std::string error;
    error = toUtf8(projectContext().lastErrorText);
    state.SkipWithError(error.c_str());
    return {};
  }
  return db;
}

void BM_WideLoad(benchmark::State& state, std::size_t i) {
  while (state.KeepRunning()) {
    if (!loadWhole(state, wide.at(i).connectionString)) break;
  }
}

// The same load reading every table on its own, as before the bulk reading.
void BM_WideLoadPerTable(benchmark::State& state, std::size_t i) {
  while (state.KeepRunning()) {
    if (!loadWhole(state, wide.at(i).connectionString, false)) break;
  }
}

// AGP.LoadDB, the entry a host calls: the load, then the extensions and the menu of every table.
void BM_WideLoadDB(benchmark::State& state, std::size_t i) {
  DatabaseLoadArguments arguments;
  arguments.sDbType = u"DB";
  arguments.sConnStr = wide.at(i).connectionString;
  for (auto _ : state) {
    // A new project each time, as a host's; its making and the unloading are not timed.
    state.PauseTiming();
    Ref<AGP> project = makeRef<AGP>();
    project->AddProj(u"Bench");
    projectContext().lastErrorText.clear();
    state.ResumeTiming();
    LoadDB(*project, arguments);
    state.PauseTiming();
    if (!projectContext().lastErrorText.empty()) {
      static std::string error;
      error = toUtf8(projectContext().lastErrorText);
      state.SkipWithError(error.c_str());
      break;
    }
    project->UnLoadDB();
    project = nullptr;
    state.ResumeTiming();
  }
}

void BM_WideQueries(benchmark::State& state, std::size_t i) {
  while (state.KeepRunning()) plainCatalogueQueries(wide.at(i));
}

// The reference a user has at hand: the server's own command-line client, started for the
// same queries, their rows written to /dev/null (the program's start included, as a load's
// connection is).
bool clientPass(const Wide& w) {
  std::string queries;
  for (const char16_t* sql :
       w.server == bench::Server::PostgreSQL ? kPostgresCatalogue : kMariaDbCatalogue) {
    queries += toUtf8(sql) + ";";
  }
  std::vector<std::string> argv;
  if (w.server == bench::Server::PostgreSQL) {
    argv = {"/usr/bin/psql",
            "-X",
            "-q",
            "-d",
            "host=127.0.0.1 port=" + std::to_string(w.port) +
                " user=test password=test dbname=" + w.database,
            "-c",
            queries};
  } else {
    argv = {"/usr/bin/mariadb",
            "--no-defaults",
            "--protocol=TCP",
            "--host=127.0.0.1",
            "--port=" + std::to_string(w.port),
            "--user=test",
            "--password=test",
            w.database,
            "-e",
            queries};
  }
  const pid_t child = fork();
  if (child == 0) {
    const int null = ::open("/dev/null", O_RDWR);
    dup2(null, 0);
    dup2(null, 1);
    std::vector<char*> args;
    for (std::string& a : argv) args.push_back(a.data());
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void BM_WideClient(benchmark::State& state, std::size_t i) {
  while (state.KeepRunning()) {
    if (!clientPass(wide.at(i))) {
      state.SkipWithError("the server's client failed");
      break;
    }
  }
}

// AGP.CheckDB of a project loaded from the database: a fresh snapshot and the count of
// differences, which must be none.
void BM_WideCheckDB(benchmark::State& state, std::size_t i) {
  Ref<AGP> project = makeRef<AGP>();
  project->AddProj(u"Bench");
  DatabaseLoadArguments arguments;
  arguments.sDbType = u"DB";
  arguments.sConnStr = wide.at(i).connectionString;
  projectContext().lastErrorText.clear();
  LoadDB(*project, arguments);
  if (!projectContext().lastErrorText.empty()) {
    state.SkipWithError("the project's database did not load");
    return;
  }
  while (state.KeepRunning()) {
    if (CheckDB(*project) != 0) {
      state.SkipWithError("the check found differences");
      return;
    }
  }
}

using bench::heapInUse;
using bench::statusKb;

// One whole load of each 1,000-table database, measured apart from the timing runs: the peak
// resident set above the start against the heap the loaded model holds.
void reportWideLoadMemory() {
  for (const std::size_t i : {1, 3}) {
    malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";  // resets the peak resident set
    const std::size_t rssBefore = statusKb("VmRSS:");
    const std::size_t heapBefore = heapInUse();
    Ref<AGPDatabase> db = makeRef<AGPDatabase>();
    LoadADODB(*db, {u"DB", u"", u"", u"", wide[i].connectionString, u"", u""});
    const std::size_t peakKb = statusKb("VmHWM:") - rssBefore;
    malloc_trim(0);
    const std::size_t modelKb = (heapInUse() - heapBefore) / 1024;
    std::printf(
        "load memory, %s 1,000 tables: model %.1f MB, peak during load %.1f MB, ratio %.2f "
        "(target <= 2.00)\n",
        wide[i].server == bench::Server::PostgreSQL ? "PostgreSQL" : "MariaDB",
        static_cast<double>(modelKb) / 1024, static_cast<double>(peakKb) / 1024,
        static_cast<double>(peakKb) / static_cast<double>(modelKb ? modelKb : 1));
  }
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
BENCHMARK_CAPTURE(BM_WideLoad, PostgreSQL100, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WideLoadPerTable, PostgreSQL100, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WideCheckDB, PostgreSQL100, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WideQueries, PostgreSQL100, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WideLoad, PostgreSQL1000, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WideLoadDB, PostgreSQL1000, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WideClient, PostgreSQL1000, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WideCheckDB, PostgreSQL1000, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WideQueries, PostgreSQL1000, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WideLoad, MariaDB100, 2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WideLoadPerTable, MariaDB100, 2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WideCheckDB, MariaDB100, 2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WideQueries, MariaDB100, 2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WideLoad, MariaDB1000, 3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WideLoadDB, MariaDB1000, 3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WideClient, MariaDB1000, 3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WideCheckDB, MariaDB1000, 3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WideQueries, MariaDB1000, 3)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vantorel

int main(int argc, char** argv) {
  using namespace vantorel;
  const std::unique_ptr<bench::SampleServers> servers =
      bench::SampleServers::start("bench_database_loader");
  if (!servers) return 0;
  connectionStrings = servers->connectionStrings();
  sys::publishDataFolder();
  setUpEngine();
  std::printf("bench_database_loader: making the wide databases (20 columns a table)\n");
  for (const int tables : {100, 1000}) {
    const std::u16string name = u"wide" + toU16(tables);
    bench::makeWideDatabase(bench::Server::PostgreSQL, servers->postgresConnection(u"postgres"),
                            servers->postgresConnection(name), name, tables, 20);
    wide.push_back({bench::Server::PostgreSQL, servers->postgresConnection(name), toUtf8(name),
                    servers->postgresPort()});
  }
  for (const int tables : {100, 1000}) {
    const std::u16string name = u"wide" + toU16(tables);
    bench::makeWideDatabase(bench::Server::MariaDB, servers->mariadbConnection(u""),
                            servers->mariadbConnection(name), name, tables, 20);
    wide.push_back({bench::Server::MariaDB, servers->mariadbConnection(name), toUtf8(name),
                    servers->mariadbPort()});
  }
  reportWideLoadMemory();
  return bench::runWithRatios(
      argc, argv,
      {{"BM_WideLoad/PostgreSQL100", "BM_WideQueries/PostgreSQL100", 3.0},
       {"BM_WideCheckDB/PostgreSQL100", "BM_WideQueries/PostgreSQL100", 3.0},
       {"BM_WideLoad/PostgreSQL1000", "BM_WideQueries/PostgreSQL1000", 3.0},
       {"BM_WideLoadDB/PostgreSQL1000", "BM_WideClient/PostgreSQL1000", 3.0},
       {"BM_WideCheckDB/PostgreSQL1000", "BM_WideQueries/PostgreSQL1000", 3.0},
       {"BM_WideLoad/PostgreSQL1000", "BM_WideLoad/PostgreSQL100", 12.0},
       {"BM_WideLoad/MariaDB100", "BM_WideQueries/MariaDB100", 3.0},
       {"BM_WideCheckDB/MariaDB100", "BM_WideQueries/MariaDB100", 3.0},
       {"BM_WideLoad/MariaDB1000", "BM_WideQueries/MariaDB1000", 3.0},
       {"BM_WideLoadDB/MariaDB1000", "BM_WideClient/MariaDB1000", 3.0},
       {"BM_WideCheckDB/MariaDB1000", "BM_WideQueries/MariaDB1000", 3.0},
       {"BM_WideLoad/MariaDB1000", "BM_WideLoad/MariaDB100", 12.0},
       {"BM_Load/ChinookSQLite", "BM_Raw/ChinookSQLite", 2.0},
       {"BM_Load/ChinookPostgreSQL", "BM_Raw/ChinookPostgreSQL", 2.0},
       {"BM_Load/ChinookMariaDB", "BM_Raw/ChinookMariaDB", 2.0},
       {"BM_Load/SakilaPostgreSQL", "BM_Raw/SakilaPostgreSQL", 2.0},
       {"BM_Load/SakilaMariaDB", "BM_Raw/SakilaMariaDB", 2.0}});
}
