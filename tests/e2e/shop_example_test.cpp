// The shop example as a user runs it: the project made by its script, then its site generated
// with the bundled template set, and every page's server script compiled by our VBScript engine.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>

#include "foundation/project_context.hpp"
#include "foundation/reg_values.hpp"
#include "platform/automation/variant.hpp"
#include "support/site_pages.hpp"
#include "support/temp_home.hpp"
#include "support/test_files.hpp"

namespace fs = std::filesystem;

namespace {

using vantorel::test::readFile;

template <typename... Args>
int run(Args&&... args) {
  return vantorel::test::runCommand(std::forward<Args>(args)...);
}

const fs::path kSource = fs::path(VANTOREL_TEST_DATA).parent_path().parent_path();

TEST(ShopExample, BuildsTheProjectAndGeneratesItsSite) {
  vantorel::test::TempDir dir;
  const std::string project = dir.str() + "/shop.vtp";
  std::string output;
  std::string errors;
  ASSERT_EQ(run(std::string(VANTOREL_CLI_PATH) + " run " +
                    (kSource / "examples" / "shop" / "shop.vbs").string() + " " + project,
                output, errors, dir.path() / "stderr.txt"),
            0)
      << output << errors;
  EXPECT_EQ(output, "Saved " + project + " (11 tables)\n");
  // The shipped custom settings file is found: nothing to say on standard error.
  EXPECT_EQ(errors, "");
  const std::string saved = readFile(project);
  for (const char* table :
       {"Categories", "Order Details", "Product List", "OrderTotals", "Stock"}) {
    EXPECT_NE(saved.find(std::string("\"") + table + "\""), std::string::npos) << table;
  }

  // A new user's defaults name the bundled template set, its user code and language file.
  const fs::path site = dir.path() / "site";
  output.clear();
  ASSERT_EQ(run(std::string(VANTOREL_CLI_PATH) + " generate " + project + " --destination " +
                    site.string(),
                output),
            0)
      << output;
  for (const char* file :
       {"default.asp", "menu.asp", "common.asp", "config.asp", "css/site.css", "js/site.js",
        "images/logo.svg", "language/lang.xml", "Orderslist.asp", "Ordersview.asp", "Ordersadd.asp",
        "Ordersedit.asp", "Ordersdelete.asp", "Orderssearch.asp", "Product_Listlist.asp",
        "Stockreport.asp", "Products_Picturedownload.asp"}) {
    EXPECT_TRUE(fs::is_regular_file(site / file)) << file;
  }
  // The sample extension's page, with its project setting and the tables marked for it.
  const std::string about = readFile(site / "about.asp");
  EXPECT_NE(about.find("<h1>About this site</h1>"), std::string::npos) << about;
  EXPECT_NE(about.find("keeps its customers' orders."), std::string::npos) << about;
  EXPECT_NE(about.find("<b>Products</b> what the shop sells"), std::string::npos) << about;
  EXPECT_EQ(about.find("<b>Suppliers</b>"), std::string::npos) << about;
  // A view has no key: no pages that need one.
  EXPECT_FALSE(fs::exists(site / "Product_Listedit.asp"));
  const auto pages = vantorel::test::pageProblems(site);
  for (const auto& [name, problem] : pages) EXPECT_EQ(problem, "") << name;
  EXPECT_GT(pages.size(), 40U);

  output.clear();
  ASSERT_EQ(
      run(std::string(VANTOREL_CLI_PATH) + " check " + project + " --destination " + site.string(),
          output),
      0)
      << output;
  EXPECT_NE(output.find("Orderslist.asp"), std::string::npos) << output;

  // Outputs that cannot be written used to leave their old text behind a run that said
  // "Generated" and exited 0. Each is now named with the system's reason and the run fails.
  vantorel::SetRegValue(vantorel::Variant(u"HKCU"),
                        vantorel::Variant(vantorel::projectContext().generalKey),
                        vantorel::Variant(u"BackupFile"), 1, vantorel::Variant(u"True"));
  fs::create_directories(site / "Orderslist.asp.bak" / "in the way");
  fs::remove(site / "Ordersview.asp");
  fs::create_directories(site / "Ordersview.asp");
  const std::string oldList = readFile(site / "Orderslist.asp");
  output.clear();
  EXPECT_EQ(run(std::string(VANTOREL_CLI_PATH) + " generate " + project + " --destination " +
                    site.string(),
                output),
            1)
      << output;
  EXPECT_NE(output.find("vantorel generate: not written: " + (site / "Orderslist.asp").string() +
                        ": no backup: Is a directory"),
            std::string::npos)
      << output;
  EXPECT_NE(output.find("vantorel generate: not written: " + (site / "Ordersview.asp").string() +
                        ": Is a directory"),
            std::string::npos)
      << output;
  // The message boxes of the run went to standard error too.
  EXPECT_NE(output.find("Error in open \"" + (site / "Orderslist.asp").string()), std::string::npos)
      << output;
  EXPECT_EQ(output.find("Generated"), std::string::npos) << output;
  EXPECT_EQ(readFile(site / "Orderslist.asp"), oldList);
}

TEST(ShopExample, CommandsRefuseWhatTheyCannotUse) {
  struct Case {
    const char* arguments;
    int exitCode;
    const char* message;
  };
  const Case cases[] = {
      {"generate", 2, "Usage: vantorel generate PROJECT.vtp [--destination DIR]"},
      {"generate a.vtp b.vtp", 2, "Usage: vantorel generate"},
      {"generate a.vtp --destination", 2, "Usage: vantorel generate"},
      {"check", 2, "Usage: vantorel check PROJECT.vtp [--destination DIR]"},
      {"check /no/such/project.vtp", 1, "vantorel check: no project file /no/such/project.vtp"},
      {"generate /no/such/project.vtp", 1, "vantorel generate: no project file"},
  };
  for (const Case& c : cases) {
    std::string output;
    EXPECT_EQ(run(std::string(VANTOREL_CLI_PATH) + " " + c.arguments, output), c.exitCode)
        << c.arguments;
    EXPECT_NE(output.find(c.message), std::string::npos) << c.arguments << ": " << output;
  }
}

}  // namespace
