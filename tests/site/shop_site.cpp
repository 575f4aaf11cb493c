#include "site/shop_site.hpp"

#include <regex>
#include <stdexcept>

#include "platform/text/unicode.hpp"
#include "support/site_pages.hpp"
#include "support/temp_home.hpp"
#include "support/test_files.hpp"

namespace vantorel::test::site {

namespace fs = std::filesystem;

namespace {

const fs::path kSource = fs::path(VANTOREL_TEST_DATA).parent_path().parent_path();

// A VBScript string literal.
std::string lit(const std::string& s) {
  return "\"" + std::regex_replace(s, std::regex("\""), "\"\"") + "\"";
}

// Sets the value of one of the connection file's names, whether written as a constant or not.
std::string withSetting(const std::string& config, const std::string& name,
                        const std::string& value) {
  return std::regex_replace(config, std::regex("(^|\n)(Const )?" + name + " = [^\r\n]*"),
                            "$1$2" + name + " = " + lit(value));
}

}  // namespace

void runTool(const std::string& arguments) {
  std::string output;
  if (runCommand(std::string(VANTOREL_CLI_PATH) + " " + arguments, output) != 0) {
    throw std::runtime_error(arguments + " failed: " + output);
  }
}

const fs::path& generatedShop(bool secure) {
  static TempDir folder;
  static fs::path sites[2];
  fs::path& site = sites[secure ? 1 : 0];
  if (!site.empty()) return site;
  const fs::path project = folder.path() / (secure ? "secure.vtp" : "shop.vtp");
  const fs::path out = folder.path() / (secure ? "secure" : "shop");
  runTool("run " + (kSource / "examples/shop/shop.vbs").string() + " " + project.string());
  runTool("run " + (kSource / "tests/site/configure_shop.vbs").string() + " " + project.string() +
          " " + std::string(VANTOREL_SAMPLE_ZIP) + (secure ? " secure" : ""));
  runTool("generate " + project.string() + " --destination " + out.string());
  site = out;
  return site;
}

fs::path deployShop(const fs::path& generated, const ShopDatabase& db, const fs::path& folder) {
  const fs::path site = folder / "sites" / db.kind;
  deploySite(generated, db, site);
  return site;
}

void deploySite(const fs::path& generated, const ShopDatabase& db, const fs::path& site) {
  fs::create_directories(site.parent_path());
  fs::remove_all(site);
  fs::copy(generated, site, fs::copy_options::recursive);
  // What a user edits on the server: the connection and the kind of database.
  std::string config = readFile(site / "config.asp");
  config = withSetting(config, "vsConnectionString", toUtf8(db.connectionString));
  config = withSetting(config, "vsDbms", db.kind);
  config = withSetting(config, "vsQuoteS", toUtf8(db.quoteOpen));
  config = withSetting(config, "vsQuoteE", toUtf8(db.quoteClose));
  test::writeFile(site / "config.asp", config);
}

}  // namespace vantorel::test::site
