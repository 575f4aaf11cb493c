// The model at scale: a database of N tables with 30 fields each is built, every field setting
// is read once by name, every table is renamed, and the database is released. The 1,000-table
// run against the 100-table run shows whether the work grows linearly; reading one setting by
// name is set against reading a std::unordered_map<std::u16string, Variant>; the memory that
// the model holds per field is reported as a counter.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "fields/field.hpp"
#include "fields/fields.hpp"
#include "foundation/setting_catalog.hpp"
#include "model/database.hpp"
#include "model/databases.hpp"
#include "model/table.hpp"
#include "model/tables.hpp"
#include "ratio.hpp"

namespace vantorel {
namespace {

constexpr int kFieldsPerTable = 30;

// The engine reads the per-user defaults from $VANTOREL_HOME; keep the benchmark off the
// user's own settings.
const bool kPrivateHome = [] {
  char dir[] = "/tmp/vantorel-bench-XXXXXX";
  if (mkdtemp(dir)) setenv("VANTOREL_HOME", dir, 1);
  return true;
}();

std::u16string numbered(const char16_t* stem, int i) {
  std::string digits = std::to_string(i);
  return stem + std::u16string(digits.begin(), digits.end());
}

Ref<AGPDatabases> buildDatabase(int tables) {
  auto databases = makeRef<AGPDatabases>();
  databases->add(u"shop");
  AGPTables& all = databases->at(0).tables();
  for (int t = 0; t < tables; ++t) {
    const std::u16string name = numbered(u"Table", t);
    all.add(name);
    AGPFields& fields = all.find(name)->fields();
    for (int f = 0; f < kFieldsPerTable; ++f) fields.add(name, numbered(u"Field", f));
  }
  return databases;
}

void readEveryFieldSetting(AGPTables& all) {
  const SettingCatalog& catalog = AGPField::catalog();
  for (std::size_t t = 0; t < static_cast<std::size_t>(all.count()); ++t) {
    AGPFields& fields = all.at(t).fields();
    for (std::size_t f = 0; f < static_cast<std::size_t>(fields.count()); ++f) {
      AGProperties& bag = fields.at(f).properties();
      for (SettingSlot s = 0; s < catalog.size(); ++s) {
        benchmark::DoNotOptimize(bag.findValue(catalog[s].name));
      }
    }
  }
}

void renameEveryTable(AGPTables& all, int tables) {
  for (int t = 0; t < tables; ++t) {
    all.change(numbered(u"Table", t), numbered(u"Renamed", t));
  }
}

void runProject(benchmark::State& state, int tables) {
  for (auto _ : state) {
    Ref<AGPDatabases> databases = buildDatabase(tables);
    AGPTables& all = databases->at(0).tables();
    readEveryFieldSetting(all);
    renameEveryTable(all, tables);
    databases = nullptr;  // releasing the collection unloads the database
  }
}

void BM_Project100(benchmark::State& state) { runProject(state, 100); }
void BM_Project1000(benchmark::State& state) { runProject(state, 1000); }
BENCHMARK(BM_Project100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Project1000)->Unit(benchmark::kMillisecond)->Iterations(3);

// Heap held by a built model of 1,000 tables, per field (tables and collections included).
void BM_MemoryPerField(benchmark::State& state) {
  for (auto _ : state) {
    malloc_trim(0);
    const std::size_t before = mallinfo2().uordblks;
    Ref<AGPDatabases> databases = buildDatabase(1000);
    const std::size_t after = mallinfo2().uordblks;
    state.counters["bytes_per_field"] =
        static_cast<double>(after - before) / (1000.0 * kFieldsPerTable);
    databases = nullptr;
  }
}
BENCHMARK(BM_MemoryPerField)->Unit(benchmark::kMillisecond)->Iterations(1);

const std::vector<std::u16string>& fieldSettingNames() {
  static const std::vector<std::u16string> names = [] {
    std::vector<std::u16string> out;
    const SettingCatalog& catalog = AGPField::catalog();
    for (SettingSlot s = 0; s < catalog.size(); ++s) out.push_back(catalog[s].name);
    return out;
  }();
  return names;
}

// Every setting of one field read by name, as the engine reads them.
void BM_SettingByName(benchmark::State& state) {
  auto field = makeRef<AGPField>();
  AGProperties& bag = field->properties();
  for (auto _ : state) {
    for (const std::u16string& name : fieldSettingNames()) {
      benchmark::DoNotOptimize(bag.findValue(name));
    }
  }
}
BENCHMARK(BM_SettingByName);

// The same names read from a plain hash map of values.
void BM_UnorderedMapByName(benchmark::State& state) {
  std::unordered_map<std::u16string, Variant> map;
  for (const std::u16string& name : fieldSettingNames()) map.emplace(name, Variant());
  for (auto _ : state) {
    for (const std::u16string& name : fieldSettingNames()) {
      benchmark::DoNotOptimize(&map.find(name)->second);
    }
  }
}
BENCHMARK(BM_UnorderedMapByName);

}  // namespace
}  // namespace vantorel

VANTOREL_BENCH_RATIOS({"BM_Project1000", "BM_Project100", 12.0},
                      {"BM_SettingByName", "BM_UnorderedMapByName", 5.0})
