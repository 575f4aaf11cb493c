// A list page of Sakila's payment table (16,049 rows, its customer, staff member and rental shown
// by their lookups' labels), served by the tests' web host from a site generated with the bundled
// template set, on PostgreSQL and on MariaDB: the first page (20 rows) and the list of all rows
// (the first 1,000). References in the same run: a connection opened and closed alone, and the
// page's own statements without parameters (its count and its SELECT) sent plainly through the
// ODBC layer on a connection of their own. Needs the shared test data folder and the servers;
// VANTOREL_BENCH_TEMPLATES may name another template set's archive to generate with, and
// VANTOREL_BENCH_PG_OPTIONS driver options to add to the PostgreSQL connection string.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "engine/engine_setup.hpp"
#include "platform/data/connection.hpp"
#include "platform/data/query.hpp"
#include "platform/sys/folders.hpp"
#include "platform/text/unicode.hpp"
#include "ratio.hpp"
#include "sample_servers.hpp"
#include "site/host/asp_site.hpp"
#include "support/site_pages.hpp"
#include "support/test_files.hpp"

namespace vantorel {
namespace {

namespace fs = std::filesystem;

// The project made by "vantorel new" set up as a user would: the bundled templates, a choice of
// 20 rows or all, and the three lookups of a payment.
constexpr char kConfigure[] = R"(Option Explicit
Dim proj, t
Set proj = CreateObject("vantorel4.AGP")
proj.Load WScript.Arguments(0)
proj.SetV "Template", WScript.Arguments(1)
proj.SetV "RecPerPageList", "20,ALL"
Set t = proj.DB.Tables.Item("payment")
Sub Lookup(ByVal sField, ByVal sTable, ByVal sDisplay)
  Dim f
  Set f = t.Fields.Item(sField)
  f.FldHtmlTag = "SELECT"
  f.SetV "FldTagLnkTbl", sTable
  f.SetV "FldTagLnkFld", sField
  f.SetV "FldTagLnkDisplay", sDisplay
End Sub
Lookup "customer_id", "customer", "last_name"
Lookup "staff_id", "staff", "last_name"
Lookup "rental_id", "rental", "rental_date"
proj.Save WScript.Arguments(0)
)";

struct Engine {
  const char* name;  // as the benchmarks are named
  const char* kind;  // config.asp's vsDbms
  const char* quote;
  std::u16string connection;
  fs::path site;
  std::map<std::string, std::vector<std::u16string>> plainStatements;  // by page URL
};

std::vector<Engine> engines;
const char* const kPages[] = {"paymentlist.asp", "paymentlist.asp?size=0"};

void runTool(const std::string& arguments) {
  std::string output;
  if (test::runCommand(std::string(VANTOREL_CLI_PATH) + " " + arguments, output) != 0) {
    throw std::runtime_error(arguments + " failed: " + output);
  }
}

// config.asp with the name set to the text, as a VBScript literal.
std::string setting(const std::string& config, const std::string& name, const std::string& v) {
  const std::string literal = "\"" + std::regex_replace(v, std::regex("\""), "\"\"") + "\"";
  return std::regex_replace(config, std::regex("(^|\n)(Const )?" + name + " = [^\r\n]*"),
                            "$1$2" + name + " = " + literal);
}

// Generates the site of the engine's Sakila into the folder and points it at the server; then
// runs each page once, which must answer with its rows on one connection.
void makeSite(Engine& engine, const fs::path& folder) {
  const fs::path project = folder / "sakila.vtp";
  const fs::path script = folder / "configure.vbs";
  test::writeFile(script, kConfigure);
  runTool("new " + project.string() + " --connect '" + toUtf8(engine.connection) +
          "' </dev/null 2>&1");
  // Another template set (the one before a change, say) may be named for a comparison.
  const char* templates = std::getenv("VANTOREL_BENCH_TEMPLATES");
  runTool("run " + script.string() + " " + project.string() + " " +
          (templates && *templates ? templates : VANTOREL_SAMPLE_ZIP));
  engine.site = folder / "site";
  runTool("generate " + project.string() + " --destination " + engine.site.string());
  std::string config = test::readFile(engine.site / "config.asp");
  config = setting(config, "vsConnectionString", toUtf8(engine.connection));
  config = setting(config, "vsDbms", engine.kind);
  config = setting(config, "vsQuoteS", engine.quote);
  config = setting(config, "vsQuoteE", engine.quote);
  test::writeFile(engine.site / "config.asp", config);
  test::asp::AspSite site(engine.site);
  for (const char* url : kPages) {
    const test::asp::PageRun run = site.get(url);
    if (!run.error.empty() || run.response.statusCode() != 200 ||
        run.text().find("class=\"row1\"") == std::string::npos) {
      throw std::runtime_error(std::string(url) + " failed: " + run.error + run.text());
    }
    if (run.connectionsOpened != 1) {
      throw std::runtime_error(std::string(url) + " opened " +
                               std::to_string(run.connectionsOpened) + " connections");
    }
    std::printf("%s %s: %zu statements\n", engine.name, url, run.statements.size());
    for (const std::u16string& sql : run.statements) {
      if (sql.find(u'?') == std::u16string::npos) engine.plainStatements[url].push_back(sql);
    }
  }
}

void BM_Page(benchmark::State& state, std::size_t engine, std::size_t page) {
  test::asp::AspSite site(engines.at(engine).site);
  // The compiled page is kept by the host, as a server keeps it.
  site.get(kPages[page]);
  for (auto _ : state) {
    const test::asp::PageRun run = site.get(kPages[page]);
    benchmark::DoNotOptimize(run.response.body.size());
  }
}

void BM_Connect(benchmark::State& state, std::size_t engine) {
  for (auto _ : state) {
    data::Connection c(engines.at(engine).connection);
    benchmark::DoNotOptimize(&c);
  }
}

void BM_PlainSelect(benchmark::State& state, std::size_t engine, std::size_t page) {
  const Engine& e = engines.at(engine);
  const std::vector<std::u16string>& statements = e.plainStatements.at(kPages[page]);
  for (auto _ : state) {
    data::Connection c(e.connection);
    for (const std::u16string& sql : statements) {
      const data::QueryResult result = data::runQuery(c, sql);
      benchmark::DoNotOptimize(result.rows.size());
    }
  }
}

}  // namespace
}  // namespace vantorel

int main(int argc, char** argv) {
  using namespace vantorel;
  const std::unique_ptr<bench::SampleServers> servers =
      bench::SampleServers::start("bench_site_list");
  if (!servers) return 0;
  sys::publishDataFolder();
  setUpEngine();
  // psqlODBC's options to try on every PostgreSQL connection, e.g. ";UseServerSidePrepare=0".
  const char* pgOptions = std::getenv("VANTOREL_BENCH_PG_OPTIONS");
  engines.push_back({"PostgreSQL",
                     "postgresql",
                     "\"",
                     servers->postgresConnection(u"sakila") + fromUtf8(pgOptions ? pgOptions : ""),
                     {},
                     {}});
  engines.push_back({"MariaDB", "mysql", "`", servers->mariadbConnection(u"sakila"), {}, {}});
  test::TempDir folder;
  std::vector<bench::Ratio> ratios;
  static std::vector<std::string> names;
  names.reserve(engines.size() * 7);
  for (std::size_t i = 0; i < engines.size(); ++i) {
    Engine& e = engines[i];
    fs::create_directories(folder.path() / e.name);
    makeSite(e, folder.path() / e.name);
    const std::string n = e.name;
    names.push_back("BM_Page/" + n);
    names.push_back("BM_PageAll/" + n);
    names.push_back("BM_Connect/" + n);
    names.push_back("BM_PlainSelect/" + n);
    names.push_back("BM_PlainSelectAll/" + n);
    const std::size_t at = names.size() - 5;
    benchmark::RegisterBenchmark(names[at].c_str(), BM_Page, i, 0)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(names[at + 1].c_str(), BM_Page, i, 1)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(names[at + 2].c_str(), BM_Connect, i)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(names[at + 3].c_str(), BM_PlainSelect, i, 0)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(names[at + 4].c_str(), BM_PlainSelect, i, 1)
        ->Unit(benchmark::kMillisecond);
    ratios.push_back({names[at].c_str(), names[at + 3].c_str(), 4.0});
    ratios.push_back({names[at + 1].c_str(), names[at + 4].c_str(), 8.0});
    // How much of a page opening the connection is, where that is slow.
    if (n == "PostgreSQL") ratios.push_back({names[at].c_str(), names[at + 2].c_str(), 3.0});
  }
  return bench::runWithRatios(argc, argv, ratios);
}
