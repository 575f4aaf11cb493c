// The site of an Access file as a user makes it ("vantorel new" with the file, then "vantorel
// generate"): the file's copy lies in App_Data, a folder below the site that IIS does not serve,
// not in the site's root, and the connection the pages open names that copy through
// Server.MapPath. No Access provider runs here, so the connection is checked as text.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/text/unicode.hpp"
#include "site/host/asp_site.hpp"
#include "site/shop_site.hpp"
#include "support/site_pages.hpp"
#include "support/temp_home.hpp"
#include "support/test_files.hpp"

namespace vantorel::test::site {
namespace {

namespace fs = std::filesystem;

const fs::path kAccessFile = fs::path(VANTOREL_TEST_DATA) / "access" / "queryTestV2000.mdb";

TEST(AccessSite, ItsDatabaseLiesOutsideWhatTheSiteServesAndIsFoundThroughMapPath) {
  TempDir folder;
  const fs::path project = folder.path() / "access.vtp";
  const fs::path site = folder.path() / "site";
  const fs::path script = folder.path() / "template.vbs";
  std::ofstream(script) << "Set proj = CreateObject(\"vantorel4.AGP\")\n"
                           "proj.Load WScript.Arguments(0)\n"
                           "proj.SetV \"Template\", WScript.Arguments(1)\n"
                           "proj.Save WScript.Arguments(0)\n";
  runTool("new " + project.string() + " --connect " + kAccessFile.string() + " </dev/null 2>&1");
  runTool("run " + script.string() + " " + project.string() + " " + VANTOREL_SAMPLE_ZIP);
  runTool("generate " + project.string() + " --destination " + site.string() + " 2>&1");

  const fs::path copy = site / "App_Data" / kAccessFile.filename();
  EXPECT_TRUE(fs::is_regular_file(copy));
  EXPECT_FALSE(fs::exists(site / kAccessFile.filename()));
  for (const auto& [page, problem] : pageProblems(site)) EXPECT_EQ(problem, "") << page;

  // What a page opens, as the site's own script works it out.
  std::ofstream(site / "connection.asp")
      << "<!--#include file=\"config.asp\"-->[<%= vsConnectionString %>]";
  asp::AspSite host(site);
  const asp::PageRun run = host.get("connection.asp");
  ASSERT_EQ(run.error, "");
  const std::string text = run.text();
  EXPECT_EQ(text.substr(text.find('[')),
            "[Provider=Microsoft.ACE.OLEDB.12.0;Data Source=" + copy.string() + "]");
  EXPECT_TRUE(contains(readFile(site / "config.asp"),
                       "Server.MapPath(\"App_Data/" + kAccessFile.filename().string() + "\")"));
}

// A project made with a destination keeps it as its application root, so that a script that
// generates it later (not only the generate command) finds where the database copy goes.
TEST(AccessSite, ANewProjectWithADestinationKeepsItAsItsApplicationRoot) {
  TempDir folder;
  const fs::path project = folder.path() / "access.vtp";
  const fs::path site = folder.path() / "site";
  runTool("new " + project.string() + " --connect " + kAccessFile.string() + " --destination " +
          site.string() + " </dev/null 2>&1");
  EXPECT_TRUE(contains(readFile(project), "AppRootFolder=\"" + site.string() + "\""));
}

}  // namespace
}  // namespace vantorel::test::site
