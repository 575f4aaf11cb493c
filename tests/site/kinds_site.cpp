#include "site/kinds_site.hpp"

#include <map>

#include "platform/text/unicode.hpp"
#include "site/shop_site.hpp"
#include "support/temp_home.hpp"

namespace vantorel::test::site {

namespace fs = std::filesystem;

namespace {

const fs::path kSource = fs::path(VANTOREL_TEST_DATA).parent_path().parent_path();

// The generated site of the database, whose tables are there; generated on first use.
const fs::path& generatedKinds(const ShopDatabase& db) {
  static TempDir folder;
  static std::map<std::string, fs::path> sites;
  fs::path& site = sites[db.kind];
  if (site.empty()) site = generateKindsSite(db, folder.path(), {});
  return site;
}

}  // namespace

fs::path generateKindsSite(const ShopDatabase& db, const fs::path& folder,
                           const std::vector<std::string>& moreScripts) {
  const fs::path project = folder / (std::string(db.kind) + ".vtp");
  const fs::path out = folder / db.kind;
  runTool("new " + project.string() + " --connect '" + toUtf8(db.connectionString) +
          "' </dev/null 2>&1");
  runTool("run " + (kSource / "tests/site/configure_kinds.vbs").string() + " " + project.string() +
          " " + std::string(VANTOREL_SAMPLE_ZIP));
  for (const std::string& script : moreScripts) {
    runTool("run " + (kSource / "tests/site" / script).string() + " " + project.string());
  }
  runTool("generate " + project.string() + " --destination " + out.string());
  return out;
}

std::vector<std::pair<ShopDatabase, fs::path>> freshKindsSites(TestDatabases& databases) {
  std::vector<std::pair<ShopDatabase, fs::path>> all;
  for (const ShopDatabase& db : kindsDatabases(databases)) {
    resetKinds(db);
    const fs::path site = databases.folder() / "kinds-sites" / db.kind;
    deploySite(generatedKinds(db), db, site);
    all.emplace_back(db, site);
  }
  return all;
}

}  // namespace vantorel::test::site
