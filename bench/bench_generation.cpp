// Generation of a site for a model of 200 tables with 20 fields each, with the bundled template
// set: the whole run (GenCheck, then GenScript) with the compiled templates of the last run
// reused, and with the template cache emptied first, each against writing the same bytes to the
// same files with plain C++ file writes; the whole run within 5x of that. The compile and page
// phases are timed apart from the progress displays the engine opens, and the time per page and
// the peak resident set of the run are reported as counters. Every file the engine writes is
// synced to disk before it replaces its target; the same writes made that way are a second
// reference.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <malloc.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "agp/agp.hpp"
#include "fields/field.hpp"
#include "fields/fields.hpp"
#include "foundation/project_context.hpp"
#include "foundation/reg_values.hpp"
#include "generator/generation_driver.hpp"
#include "model/database.hpp"
#include "model/table.hpp"
#include "model/tables.hpp"
#include "platform/sys/folders.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"
#include "platform/ui/backend.hpp"
#include "platform/ui/ui.hpp"
#include "projectfile/project_file_operations.hpp"
#include "projectfile/working_folders.hpp"
#include "ratio.hpp"

namespace vantorel {
namespace {

namespace fsys = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kTables = 200;
constexpr int kFields = 20;

// Answers every question with its default and notes when the compile and page phases open and
// close, from the captions of the progress displays.
class PhaseClock : public ui::Backend {
 public:
  struct Phases {
    double compileSeconds = 0;
    double pagesSeconds = 0;
  };

  ui::Reply ask(const ui::Question& question) override { return ui::defaultReply(question); }

  void progressOpened(int handle, std::u16string_view caption, ui::ProgressLook) override {
    std::lock_guard lock(mutex_);
    const Clock::time_point now = Clock::now();
    if (caption.find(u"Validating control.xml") != std::u16string_view::npos) compileStart_ = now;
    if (caption.find(u"Generating ") != std::u16string_view::npos &&
        caption.find(u"Scripts") != std::u16string_view::npos) {
      pagesStart_ = now;
      pagesHandle_ = handle;
    }
  }

  void progressClosed(int handle) override {
    std::lock_guard lock(mutex_);
    if (handle == pagesHandle_) pagesEnd_ = Clock::now();
    pagesHandle_ = -1;
  }

  void reset() {
    std::lock_guard lock(mutex_);
    compileStart_ = pagesStart_ = pagesEnd_ = Clock::time_point();
    pagesHandle_ = -1;
  }

  Phases phases() const {
    std::lock_guard lock(mutex_);
    using Seconds = std::chrono::duration<double>;
    return {Seconds(pagesStart_ - compileStart_).count(), Seconds(pagesEnd_ - pagesStart_).count()};
  }

 private:
  mutable std::mutex mutex_;
  Clock::time_point compileStart_, pagesStart_, pagesEnd_;
  int pagesHandle_ = -1;
};

std::u16string numbered(const char16_t* stem, int i) {
  return stem + toU16(i);
}

// A project as the shop example makes it: a first file naming an empty database is loaded
// (so the project takes the new user's defaults, the bundled template set among them), then
// the tables and fields are added through their collections with the settings the templates
// need.
struct Fixture {
  fsys::path folder;
  fsys::path site;
  std::shared_ptr<PhaseClock> clock = std::make_shared<PhaseClock>();
  Ref<AGP> project;

  Fixture() {
    char pattern[] = "/tmp/vantorel-genbench-XXXXXX";
    folder = mkdtemp(pattern);
    site = folder / "site";
    setenv("VANTOREL_HOME", (folder / "home").c_str(), 1);
    setenv("XDG_DOCUMENTS_DIR", (folder / "docs").c_str(), 1);
    // The shipped defaults name their files below %VANTOREL_DATA%, as the program sets it.
    sys::publishDataFolder();
    ui::setBackendForTesting(clock);

    const fsys::path seed = folder / "bench.vtp";
    std::ofstream(seed) << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                           "<Project Version=\"4.0\" ProjName=\"Bench\" AutoSync=\"0\">\n"
                           "<Database DBName=\"bench\" DBType=\"ODBC\" DBDBMSName=\"SQLite\"/>\n"
                           "</Project>\n";
    project = makeRef<AGP>();
    loadProjectFile(*project, fromUtf8(seed.string()));
    if (!project->ProjErr().empty() || !project->DB()) {
      std::fprintf(stderr, "loading the seed project failed: %s\n",
                   toUtf8(project->ProjErr()).c_str());
      std::exit(1);
    }
    project->setProjName(u"Bench");
    project->SetV(u"DefaultLanguageFile", Variant(u"lang.xml"));
    project->setDestination(fromUtf8(site.string()));
    buildModel(project->DB()->tables());
  }

  static void buildModel(AGPTables& tables) {
    for (int t = 0; t < kTables; ++t) {
      const std::u16string name = numbered(u"Table_", t);
      tables.add(name);
      AGPTable& table = *tables.find(name);
      for (const auto& [setting, value] : {std::pair{u"TblType", u"TABLE"},
                                           {u"TblGen", u"True"},
                                           {u"TblList", u"True"},
                                           {u"TblView", u"True"},
                                           {u"TblAdd", u"True"},
                                           {u"TblEdit", u"True"},
                                           {u"TblDelete", u"True"},
                                           {u"TblRecPerPage", u"10"}}) {
        table.SetV(setting, value);
      }
      table.SetV(u"TblVar", name);
      table.SetV(u"TblCaption", u"Caption of " + name);
      for (int f = 0; f < kFields; ++f) {
        const std::u16string fieldName = numbered(u"Field_", f);
        table.fields().add(name, fieldName);
        AGPField& field = *table.fields().find(fieldName);
        const bool key = f == 0;
        // Integers, texts and dates in turn, as a real table mixes them.
        const char16_t* type = key || f % 3 == 0 ? u"3" : f % 3 == 1 ? u"202" : u"135";
        field.SetV(u"FldType", type);
        field.SetV(u"FldSize", type == std::u16string_view(u"202") ? u"50" : u"4");
        field.SetV(u"FldSupport", u"True");
        field.SetV(u"FldIsPrimaryKey", key ? u"True" : u"False");
        field.SetV(u"FldAutoIncrement", key ? u"True" : u"False");
        field.SetV(u"FldReq", key ? u"True" : u"False");
        if (type != std::u16string_view(u"3")) {
          field.SetV(u"FldQuoteS", u"'");
          field.SetV(u"FldQuoteE", u"'");
        }
        field.SetV(u"FldCaption", u"Caption " + fieldName);
        field.LoadFldDefault();
      }
      table.SetV(u"TblKey", u"Field_0");
    }
  }

  // The whole run as the command line makes it: the check, then the generation.
  PhaseClock::Phases generate() {
    clock->reset();
    project->setProjErr(u"");
    checkSite(*project);
    generateSite(*project);
    if (!project->ProjErr().empty() || !projectContext().lastErrorText.empty()) {
      std::fprintf(
          stderr, "generation failed: %s\n",
          toUtf8(project->ProjErr().empty() ? projectContext().lastErrorText : project->ProjErr())
              .c_str());
      std::exit(1);
    }
    return clock->phases();
  }

  // Moves the last run's site out of the way; the sites moved aside are removed when the
  // program ends. Removing them here would measure the file system more than the runs: ext4
  // without a journal skips every inode freed in the last minutes when it picks one for a new
  // file, so each run after a removal of a thousand files pays for that removal again in every
  // file it creates. A destination is not emptied seconds before each generation in real use.
  void clearSite() {
    if (fsys::exists(site)) fsys::rename(site, folder / ("old-site-" + std::to_string(++cleared)));
  }

 private:
  int cleared = 0;
};

// Made once and kept to the end of the program: its project must go before the thread's shared
// objects do.
Fixture& fixture() {
  static Fixture* instance = [] {
    auto* made = new Fixture;
    // Its folder, with the sites moved aside, goes when the program ends.
    static const fsys::path folder = made->folder;
    std::atexit([] {
      std::error_code ignored;
      fsys::remove_all(folder, ignored);
    });
    return made;
  }();
  return *instance;
}

double peakRssMb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

struct SiteFiles {
  std::vector<std::pair<fsys::path, std::string>> files;
  std::size_t pages = 0;  // the generated server pages
  std::size_t bytes = 0;
};

SiteFiles readSite(const fsys::path& site) {
  SiteFiles out;
  for (const auto& entry : fsys::recursive_directory_iterator(site)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    out.bytes += bytes.str().size();
    if (entry.path().extension() == ".asp") ++out.pages;
    out.files.emplace_back(entry.path(), bytes.str());
  }
  return out;
}

// The site of the last run, read once; generated first when no run came before (the
// references may run first when benchmarks are interleaved).
const SiteFiles& site() {
  static const SiteFiles files = [] {
    Fixture& f = fixture();
    if (!fsys::exists(f.site)) f.generate();
    return readSite(f.site);
  }();
  return files;
}

void report(benchmark::State& state, double compile, double pages, std::size_t iterations) {
  const SiteFiles& files = site();
  const double n = static_cast<double>(iterations);
  state.counters["compile_ms"] = compile * 1000.0 / n;
  state.counters["pages_ms"] = pages * 1000.0 / n;
  state.counters["pages"] = static_cast<double>(files.pages);
  state.counters["files"] = static_cast<double>(files.files.size());
  state.counters["us_per_page"] = pages * 1e6 / n / static_cast<double>(files.pages);
}

// The first run of the program, on an empty template cache: the set is unpacked and every
// template compiled. The rise of the peak resident set over the built model is the run's own.
void BM_FirstRun(benchmark::State& state) {
  Fixture& f = fixture();
  malloc_trim(0);
  const double before = peakRssMb();
  PhaseClock::Phases phases;
  for (auto _ : state) phases = f.generate();
  const double after = peakRssMb();
  report(state, phases.compileSeconds, phases.pagesSeconds, 1);
  state.counters["peak_rss_MB"] = after;
  state.counters["rss_rise_MB"] = after - before;
}
BENCHMARK(BM_FirstRun)->Unit(benchmark::kMillisecond)->Iterations(1);

// Every run on an empty site, its template cache removed: every template compiled again.
void BM_GenerateCold(benchmark::State& state) {
  Fixture& f = fixture();
  double compile = 0;
  double pages = 0;
  for (auto _ : state) {
    state.PauseTiming();
    f.clearSite();
    fsys::remove_all(fsys::path(toUtf8(projectContext().templateCacheFolder)));
    state.ResumeTiming();
    const PhaseClock::Phases p = f.generate();
    compile += p.compileSeconds;
    pages += p.pagesSeconds;
  }
  report(state, compile, pages, state.iterations());
}
BENCHMARK(BM_GenerateCold)->Unit(benchmark::kMillisecond)->Iterations(3);

// The processor time of the whole process (every thread), the kernel's share and the
// program's own.
struct ProcessorTime {
  double user = 0;
  double kernel = 0;
  // RUSAGE_THREAD gives the calling thread's alone: the run's own thread, without the writer's.
  static ProcessorTime now(int who = RUSAGE_SELF) {
    rusage usage{};
    getrusage(who, &usage);
    const auto seconds = [](const timeval& t) {
      return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return {seconds(usage.ru_utime), seconds(usage.ru_stime)};
  }
};

// Every run on an empty site, reusing the compiled templates of the run before. Its processor
// time (the whole run: check, compile and pages) is given a page, and the kernel's share apart:
// most of that is the file system choosing an inode for each new file, which the references
// pay as well.
void BM_GenerateWarm(benchmark::State& state) {
  Fixture& f = fixture();
  double compile = 0;
  double pages = 0;
  ProcessorTime used;
  double mainThread = 0;
  double mainKernel = 0;
  for (auto _ : state) {
    state.PauseTiming();
    f.clearSite();
    state.ResumeTiming();
    const ProcessorTime before = ProcessorTime::now();
    const ProcessorTime threadBefore = ProcessorTime::now(RUSAGE_THREAD);
    const PhaseClock::Phases p = f.generate();
    const ProcessorTime threadAfter = ProcessorTime::now(RUSAGE_THREAD);
    const ProcessorTime after = ProcessorTime::now();
    used.user += after.user - before.user;
    used.kernel += after.kernel - before.kernel;
    mainKernel += threadAfter.kernel - threadBefore.kernel;
    mainThread += threadAfter.user + threadAfter.kernel - threadBefore.user - threadBefore.kernel;
    compile += p.compileSeconds;
    pages += p.pagesSeconds;
  }
  report(state, compile, pages, state.iterations());
  const double perPage = 1000.0 / static_cast<double>(state.iterations()) /
                         static_cast<double>(site().pages);
  state.counters["cpu_ms_per_page"] = (used.user + used.kernel) * perPage;
  state.counters["kernel_ms_per_page"] = used.kernel * perPage;
  state.counters["main_thread_ms"] = mainThread * 1000.0 / static_cast<double>(state.iterations());
  state.counters["main_kernel_ms"] = mainKernel * 1000.0 / static_cast<double>(state.iterations());
}
BENCHMARK(BM_GenerateWarm)->Unit(benchmark::kMillisecond)->Iterations(3);

// Every run over the site of the run before, with the user's backups on: each page's old text
// is kept as its ".bak" and the images folder as "images.bak" before the new ones replace them.
// Against the warm run on an empty site, this is the cost of regenerating in place: it was
// several times that while each backup waited for the disk on its own.
void BM_Regenerate(benchmark::State& state) {
  Fixture& f = fixture();
  const auto backups = [](const char16_t* on) {
    SetRegValue(Variant(u"HKCU"), Variant(projectContext().generalKey), Variant(u"BackupFile"), 1,
                Variant(on));
  };
  f.clearSite();
  f.generate();
  backups(u"True");
  for (auto _ : state) f.generate();
  backups(u"False");
}
BENCHMARK(BM_Regenerate)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same files with the same bytes written on an empty site with std::ofstream.
void BM_DirectWrite(benchmark::State& state) {
  const SiteFiles& files = site();
  for (auto _ : state) {
    state.PauseTiming();
    fixture().clearSite();
    state.ResumeTiming();
    for (const auto& [path, bytes] : files.files) {
      fsys::create_directories(path.parent_path());
      std::ofstream out(path, std::ios::binary | std::ios::trunc);
      out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
  }
  state.counters["bytes"] = static_cast<double>(files.bytes);
}
BENCHMARK(BM_DirectWrite)->Unit(benchmark::kMillisecond);

// The same files written as the engine writes every file: to a temporary file beside the
// target, synced, renamed over it, and the folder synced. Shows how much of the run is the
// durability of the writes rather than the generation.
void BM_DurableWrite(benchmark::State& state) {
  const SiteFiles& files = site();
  for (auto _ : state) {
    state.PauseTiming();
    fixture().clearSite();
    state.ResumeTiming();
    for (const auto& [path, bytes] : files.files) {
      fsys::create_directories(path.parent_path());
      const fsys::path temp = path.string() + ".tmp";
      const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
          ::fsync(fd) != 0 || ::close(fd) != 0 || ::rename(temp.c_str(), path.c_str()) != 0) {
        state.SkipWithError("a durable write failed");
        return;
      }
      const int dir = ::open(path.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
      if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
      }
    }
  }
}
BENCHMARK(BM_DurableWrite)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vantorel

VANTOREL_BENCH_RATIOS({"BM_Regenerate", "BM_GenerateWarm", 1.5},
                      {"BM_GenerateWarm", "BM_DirectWrite", 3.0},
                      {"BM_GenerateCold", "BM_DirectWrite", 5.0},
                      {"BM_GenerateWarm", "BM_DurableWrite", 2.0})
