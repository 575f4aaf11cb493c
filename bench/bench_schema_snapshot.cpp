// A project's check of its database (a fresh snapshot of Sakila on PostgreSQL and the count of
// differences against the project) against the whole-database load of the same database, in
// the same run. The server is a private one started here; without the shared test data folder,
// or without the server programs, the program says so and measures nothing.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "agp/agp.hpp"
#include "database/ado_database_loader.hpp"
#include "database/load_entries.hpp"
#include "engine/engine_setup.hpp"
#include "foundation/project_context.hpp"
#include "model/database.hpp"
#include "platform/sys/folders.hpp"
#include "platform/text/unicode.hpp"
#include "ratio.hpp"
#include "sample_servers.hpp"
#include "schema/difference_check.hpp"
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
  if (LoadADODB(*db, {u"DB", u"", u"", u"", connectionString, u"", u""}) != 0) return {};
  return db;
}

Ref<AGP> loadProject() {
  Ref<AGP> project = makeRef<AGP>();
  project->AddProj(u"Bench");
  DatabaseLoadArguments arguments;
  arguments.sDbType = u"DB";
  arguments.sConnStr = connectionString;
  LoadDB(*project, arguments);
  if (!projectContext().lastErrorText.empty()) return {};
  return project;
}

void BM_Load(benchmark::State& state) {
  while (state.KeepRunning()) {
    const Ref<AGPDatabase> db = loadModel();
    if (!db) return skipOnError(state);
    benchmark::DoNotOptimize(db->tables().count());
  }
}

void BM_SnapshotAndCheck(benchmark::State& state) {
  const Ref<AGP> project = loadProject();
  if (!project) return skipOnError(state);
  while (state.KeepRunning()) {
    // An unchanged database: any other count means the check did not run through.
    if (CheckDB(*project) != 0) return skipOnError(state);
  }
}

BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SnapshotAndCheck)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vantorel

int main(int argc, char** argv) {
  using namespace vantorel;
  sys::publishDataFolder();
  setUpEngine();
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
