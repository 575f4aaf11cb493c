// The Access reader on the largest sample file (calcFieldTestV2010.accdb, 712 KB): the file
// opened, its whole catalogue listed, every user table's columns and indexes and every stored
// query's columns and SQL read, the file closed. The whole-file load does the same through
// AGPDatabase.LoadDAODB into a new database object, which it fills with its tables, views,
// fields and keys. The reference does libmdb's own part of that with nothing built: open,
// catalogue, each user table's definition and columns, close.
#include <benchmark/benchmark.h>
#include <mdbtools.h>

#include <cstdlib>
#include <cstring>

#include "database/dao_database_loader.hpp"
#include "model/database.hpp"
#include "platform/data/access_file.hpp"
#include "platform/text/unicode.hpp"
#include "ratio.hpp"

namespace vantorel {
namespace {

constexpr const char* kFile = VANTOREL_ACCESS_BENCH_FILE;

// A new database object reads the per-user defaults from $VANTOREL_HOME; keep the benchmark
// off the user's own settings.
const bool kPrivateHome = [] {
  char dir[] = "/tmp/vantorel-bench-XXXXXX";
  if (mkdtemp(dir)) setenv("VANTOREL_HOME", dir, 1);
  return true;
}();

void BM_AccessReader(benchmark::State& state) {
  while (state.KeepRunning()) {
    auto file = data::access::AccessFile::open(kFile);
    for (const std::u16string& name : file.tableNames()) {
      benchmark::DoNotOptimize(file.readTable(name));
    }
    for (const data::access::QueryInfo& query : file.queries()) {
      benchmark::DoNotOptimize(file.readQuery(query.name));
    }
  }
}
BENCHMARK(BM_AccessReader);

void BM_LoadDaoDatabase(benchmark::State& state) {
  const DaoLoadArguments arguments{u"bench.accdb", fromUtf8(kFile)};
  while (state.KeepRunning()) {
    auto database = makeRef<AGPDatabase>();
    if (loadDaoDatabase(*database, arguments) != 0) state.SkipWithError("the load failed");
    benchmark::DoNotOptimize(database->tables().count());
    // Unloading is not loading: the release runs off the clock.
    state.PauseTiming();
    database.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_LoadDaoDatabase);

void BM_LibmdbCatalogue(benchmark::State& state) {
  while (state.KeepRunning()) {
    MdbHandle* mdb = mdb_open(kFile, MDB_NOFLAGS);
    mdb_read_catalog(mdb, MDB_ANY);
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
      auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
      if (!mdb_is_user_table(entry) || std::strncmp(entry->object_name, "MSys", 4) == 0) {
        continue;
      }
      MdbTableDef* table = mdb_read_table(entry);
      benchmark::DoNotOptimize(mdb_read_columns(table));
      mdb_free_tabledef(table);
    }
    mdb_close(mdb);
  }
}
BENCHMARK(BM_LibmdbCatalogue);

}  // namespace
}  // namespace vantorel

VANTOREL_BENCH_RATIOS({"BM_AccessReader", "BM_LibmdbCatalogue", 2.0},
                      {"BM_LoadDaoDatabase", "BM_LibmdbCatalogue", 2.0})
