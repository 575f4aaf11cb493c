// The schema snapshot of Sakila on PostgreSQL against the whole-database load of the same
// database into a model, in the same run. The snapshot is the first half of what a project's
// check of its database costs; the difference count is the second, and joins it in
// snapshotAndCheck. The server is a private one started here; without the shared test data
// folder, or without the server programs, the program says so and measures nothing.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "foundation/project_context.hpp"
#include "model/database.hpp"
#include "platform/text/unicode.hpp"
#include "ratio.hpp"
#include "sample_servers.hpp"
#include "schema/schema_snapshot.hpp"
#include "support/sample_databases.hpp"

namespace vantorel {
namespace {

std::u16string connectionString;

void skipOnError(benchmark::State& state) {
  static std::string error;
  error = toUtf8(projectContext().lastErrorText);
  state.SkipWithError(error.c_str());
}

Ref<AGPDatabase> loadModel() {
  Ref<AGPDatabase> db = makeRef<AGPDatabase>();
  projectContext().currentDynamicLoadDB = false;
  if (db->LoadADODB({u"DB", u"", u"", u"", connectionString, u"", u""}) != 0) return {};
  return db;
}

// A project's check of its database: a fresh snapshot, then the count of differences against
// the model (to come: one call here).
bool snapshotAndCheck(AGPDatabase& /*model*/) {
  auto snapshot = makeRef<AGPSchema>();
  std::u16string name;
  snapshot->LoadDB(name, u"ADO", u"", u"", false, u"", u"", connectionString, u"", u"");
  benchmark::DoNotOptimize(snapshot->tblcnt());
  return projectContext().lastErrorText.empty();
}

void BM_Load(benchmark::State& state) {
  while (state.KeepRunning()) {
    const Ref<AGPDatabase> db = loadModel();
    if (!db) return skipOnError(state);
    benchmark::DoNotOptimize(db->tables().count());
  }
}

void BM_SnapshotAndCheck(benchmark::State& state) {
  const Ref<AGPDatabase> model = loadModel();
  if (!model) return skipOnError(state);
  while (state.KeepRunning()) {
    if (!snapshotAndCheck(*model)) return skipOnError(state);
  }
}

BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SnapshotAndCheck)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vantorel

int main(int argc, char** argv) {
  using namespace vantorel;
  const std::unique_ptr<bench::SampleServers> servers =
      bench::SampleServers::start("bench_schema_snapshot");
  if (!servers) return 0;
  // Sakila on PostgreSQL.
  const std::vector<test::SampleDatabase>& samples = test::sampleDatabases();
  for (std::size_t i = 0; i < samples.size(); ++i) {
    if (std::string(samples[i].label) == "Sakila on PostgreSQL") {
      connectionString = servers->connectionStrings()[i];
    }
  }
  return bench::runWithRatios(argc, argv, {{"BM_SnapshotAndCheck", "BM_Load", 1.5}});
}
