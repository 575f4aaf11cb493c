// Save and load of a project of 1,000 tables with 30 fields each, against pugixml serialising and
// parsing the same document: the load within 3x of the raw parse, the save within 3x of the raw
// serialisation. The memory of one load (peak resident set above the start) is printed beside
// the size of the model it builds (heap in use once the load is done), and the time of building
// the same model without a file shows what the model's own construction costs.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "agp/agp.hpp"
#include "extensions/extensions.hpp"
#include "fields/fields.hpp"
#include "foundation/project_context.hpp"
#include "foundation/registry_defaults.hpp"
#include "model/database.hpp"
#include "model/databases.hpp"
#include "model/table.hpp"
#include "model/tables.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"
#include "platform/xml/attributes.hpp"
#include "projectfile/file_writing.hpp"
#include "projectfile/project_reader.hpp"
#include "projectfile/project_writer.hpp"
#include "ratio.hpp"

namespace vantorel {
namespace {

constexpr int kTables = 1000;
constexpr int kFields = 30;
constexpr unsigned kParseOptions = pugi::parse_cdata | pugi::parse_escapes;

struct Fixture {
  std::filesystem::path folder;
  std::u16string file;
  Ref<AGP> project;

  Fixture() {
    char pattern[] = "/tmp/vantorel-bench-XXXXXX";
    folder = mkdtemp(pattern);
    setenv("VANTOREL_HOME", (folder / "home").c_str(), 1);
    setenv("XDG_DOCUMENTS_DIR", (folder / "docs").c_str(), 1);
    file = fromUtf8((folder / "big.vtp").string());
    project = makeRef<AGP>();
    project->setProjName(u"Benchmark");
    AGPDatabases& databases = project->databases();
    databases.add(u"bench");
    project->setDB(databases.item(Variant(u"bench")));
    AGPTables& tables = project->DB()->tables();
    for (int t = 0; t < kTables; ++t) {
      const std::u16string name = u"Table_" + toU16(t);
      tables.add(name);
      AGPTable& table = *tables.find(name);
      table.SetV(u"TblCaption", u"Caption of " + name);
      for (int f = 0; f < kFields; ++f) {
        const std::u16string fieldName = u"Field_" + toU16(f);
        table.fields().add(name, fieldName);
        AGPField& field = *table.fields().find(fieldName);
        field.SetV(u"FldType", f % 3 == 0 ? u"3" : u"202");
        field.SetV(u"FldCaption", u"Caption " + fieldName);
        field.SetV(u"FldSupport", u"True");
      }
    }
    saveProject(*project, file);
  }
};

// Made once and kept to the end of the program: its project must go before the thread's shared
// objects do.
Fixture& fixture() {
  static Fixture* instance = new Fixture;
  return *instance;
}

void BM_Save(benchmark::State& state) {
  Fixture& f = fixture();
  for (auto _ : state) {
    xml::Document doc;
    buildProjectDocument(*f.project, doc);
    std::string bytes = xmlDocumentText(doc);
    benchmark::DoNotOptimize(bytes.data());
  }
}
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);

void BM_RawSerialise(benchmark::State& state) {
  Fixture& f = fixture();
  xml::Document doc;
  buildProjectDocument(*f.project, doc);
  for (auto _ : state) {
    std::string bytes = xmlDocumentText(doc);
    benchmark::DoNotOptimize(bytes.data());
  }
}
BENCHMARK(BM_RawSerialise)->Unit(benchmark::kMillisecond);

// The save of a small project whose one extension holds n settings at each of its five levels
// (project, database, a table, a chart and a field entry): linear, 20,000 within 12x of 2,000.
class ExtensionProject {
 public:
  explicit ExtensionProject(int settings) : project_(makeRef<AGP>()) {
    project_->setProjName(u"Extension");
    AGPDatabases& databases = project_->databases();
    databases.add(u"bench");
    project_->setDB(databases.item(Variant(u"bench")));
    AGPTables& tables = project_->DB()->tables();
    tables.add(u"Orders");
    tables.find(u"Orders")->fields().add(u"Orders", u"ID");
    AGPExtensions& list = SharedExtensions();
    list.add(u"Big");
    AGPExtension& extension = *list.find(u"Big");
    AGPExtDb& db = extension.proj().db();
    db.tables().add(u"Orders");
    AGPExtTable& table = *db.tables().find(u"Orders");
    table.charts().add(u"Sales");
    table.fields().add(u"ID");
    for (AGProperties* bag : {&extension.proj().properties(), &db.properties(), &table.properties(),
                              &table.charts().find(u"Sales")->properties(),
                              &table.fields().find(u"ID")->properties()}) {
      for (int i = 0; i < settings; ++i) {
        const std::u16string name = u"Setting" + toU16(i);
        bag->add(name, u"String", false, 0, true, true);
        bag->setValue(*bag->slotOf(name), Variant(u"value of " + name));
      }
    }
  }
  ~ExtensionProject() {
    SharedExtensions().remove(Variant(u"Big"));
    SharedExtensions().setNoneWanted(false);
  }
  ExtensionProject(const ExtensionProject&) = delete;
  ExtensionProject& operator=(const ExtensionProject&) = delete;
  AGP& project() { return *project_; }

 private:
  Ref<AGP> project_;
};

void timeExtensionSaves(benchmark::State& state, int settings) {
  ExtensionProject extension(settings);
  for (auto _ : state) {
    xml::Document doc;
    buildProjectDocument(extension.project(), doc);
    std::string bytes = xmlDocumentText(doc);
    benchmark::DoNotOptimize(bytes.data());
  }
}
void BM_SaveExtension2k(benchmark::State& state) {
  timeExtensionSaves(state, 2000);
}
void BM_SaveExtension20k(benchmark::State& state) {
  timeExtensionSaves(state, 20000);
}
BENCHMARK(BM_SaveExtension2k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveExtension20k)->Unit(benchmark::kMillisecond);

// The load and the raw parse are timed twice. As they come, each reusing whatever memory the
// heap kept from earlier runs; what the reference gains from that depends on which benchmarks
// ran before it. And from a heap handed back to the system before every run, as in a program
// that has just started: both then pay for all the memory they touch.
enum class Heap { AsItComes, Fresh };

void startRun(benchmark::State& state, Heap heap) {
  if (heap == Heap::AsItComes) return;
  state.PauseTiming();
  malloc_trim(0);
  state.ResumeTiming();
}

void timeLoads(benchmark::State& state, Heap heap) {
  Fixture& f = fixture();
  for (auto _ : state) {
    startRun(state, heap);
    Ref<AGP> loaded = makeRef<AGP>();
    loadProject(*loaded, f.file);
    if (!projectContext().lastErrorText.empty()) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(loaded.get());
    // Unloading a project is not part of reading it.
    state.PauseTiming();
    loaded = nullptr;
    state.ResumeTiming();
  }
}
void BM_Load(benchmark::State& state) {
  timeLoads(state, Heap::AsItComes);
}
void BM_LoadFreshHeap(benchmark::State& state) {
  timeLoads(state, Heap::Fresh);
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadFreshHeap)->Unit(benchmark::kMillisecond);

// Only the model of the same shape added through its collections, without a file: the part of a
// load that the model's own construction costs.
void BM_BuildModelOnly(benchmark::State& state) {
  fixture();
  for (auto _ : state) {
    const RegistryDefaultsScope pinned;  // as a load takes the defaults
    Ref<AGP> project = makeRef<AGP>();
    AGPDatabases& databases = project->databases();
    databases.add(u"bench");
    project->setDB(databases.item(Variant(u"bench")));
    AGPTables& tables = project->DB()->tables();
    for (int t = 0; t < kTables; ++t) {
      const std::u16string name = u"Table_" + toU16(t);
      tables.add(name);
      AGPFields& fields = tables.find(name)->fields();
      for (int f = 0; f < kFields; ++f) fields.add(name, u"Field_" + toU16(f));
    }
    state.PauseTiming();
    project = nullptr;
    state.ResumeTiming();
  }
}
BENCHMARK(BM_BuildModelOnly)->Unit(benchmark::kMillisecond);

void timeRawParses(benchmark::State& state, Heap heap) {
  Fixture& f = fixture();
  for (auto _ : state) {
    startRun(state, heap);
    xml::Document doc;
    doc.load_file((f.folder / "big.vtp").c_str(), kParseOptions);
    benchmark::DoNotOptimize(doc.document_element());
  }
}
void BM_RawParse(benchmark::State& state) {
  timeRawParses(state, Heap::AsItComes);
}
void BM_RawParseFreshHeap(benchmark::State& state) {
  timeRawParses(state, Heap::Fresh);
}
BENCHMARK(BM_RawParse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawParseFreshHeap)->Unit(benchmark::kMillisecond);

std::size_t heapInUse() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

// A line of /proc/self/status in kilobytes.
std::size_t statusKb(const char* key) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(key, 0) == 0) return std::stoul(line.substr(std::string(key).size()));
  }
  return 0;
}

// One load measured apart from the timing runs.
void reportLoadMemory() {
  Fixture& f = fixture();
  malloc_trim(0);
  std::ofstream("/proc/self/clear_refs") << "5";  // resets the peak resident set
  const std::size_t rssBefore = statusKb("VmRSS:");
  const std::size_t heapBefore = heapInUse();
  Ref<AGP> loaded = makeRef<AGP>();
  loadProject(*loaded, f.file);
  const std::size_t peakKb = statusKb("VmHWM:") - rssBefore;
  malloc_trim(0);
  const std::size_t modelKb = (heapInUse() - heapBefore) / 1024;
  std::printf(
      "load memory: file %.1f MB, model %.1f MB, peak during load %.1f MB, ratio %.2f "
      "(target <= 2.00)\n",
      static_cast<double>(std::filesystem::file_size(f.folder / "big.vtp")) / 1e6,
      static_cast<double>(modelKb) / 1024, static_cast<double>(peakKb) / 1024,
      static_cast<double>(peakKb) / static_cast<double>(modelKb ? modelKb : 1));
}

}  // namespace
}  // namespace vantorel

int main(int argc, char** argv) {
  vantorel::setUpEngine();
  vantorel::reportLoadMemory();
  const int rc =
      vantorel::bench::runWithRatios(argc, argv,
                                     {{"BM_Load", "BM_RawParse", 3.0},
                                      {"BM_LoadFreshHeap", "BM_RawParseFreshHeap", 3.0},
                                      {"BM_Save", "BM_RawSerialise", 3.0},
                                      {"BM_SaveExtension20k", "BM_SaveExtension2k", 12.0}});
  std::error_code ec;
  std::filesystem::remove_all(vantorel::fixture().folder, ec);
  return rc;
}
