// The Access reader on the largest sample file (calcFieldTestV2010.accdb, 712 KB): the file
// opened, its whole catalogue listed, every user table's columns and indexes and every stored
// query's columns and SQL read, the file closed. The reference does libmdb's own part of that
// with nothing built: open, catalogue, each user table's definition and columns, close.
#include <benchmark/benchmark.h>
#include <mdbtools.h>

#include <cstring>

#include "platform/data/access_file.hpp"
#include "ratio.hpp"

namespace vantorel {
namespace {

constexpr const char* kFile = VANTOREL_ACCESS_BENCH_FILE;

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

VANTOREL_BENCH_RATIOS({"BM_AccessReader", "BM_LibmdbCatalogue", 2.0})
