// The host program with a keyword file that is missing and a custom settings file that is
// malformed: each is said once on standard error, the keywords first, and the command still
// does its work.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

#include "support/site_pages.hpp"
#include "support/temp_home.hpp"
#include "support/test_files.hpp"

namespace fs = std::filesystem;

namespace {

const std::string kCli = VANTOREL_CLI_PATH;

std::size_t occurrences(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

TEST(UnloadableFiles, EachIsSaidOnceInItsTurnAndTheCommandGoesOn) {
  const vantorel::test::TempDir dir;
  const fs::path home = dir.path();
  const std::string env = "env -u VANTOREL_ANSWERS VANTOREL_HOME=" + (home / "config").string() +
                          " XDG_DOCUMENTS_DIR=" + (home / "docs").string() +
                          " HOME=" + home.string() + " ";
  const fs::path examples = fs::path(VANTOREL_TEST_DATA).parent_path().parent_path() / "examples";
  fs::copy_file(examples / "shop" / "shop.sqlite", home / "shop.sqlite");
  const std::string project = (home / "shop.vtp").string();
  std::string output;
  ASSERT_EQ(vantorel::test::runCommand(env + kCli + " new " + project +
                                           " --connect 'Driver=SQLite3;Database=" +
                                           (home / "shop.sqlite").string() + "' </dev/null 2>&1",
                                       output),
            0)
      << output;

  // The first run wrote the settings; both files are named anew.
  const fs::path store = home / "config" / "registry.reg";
  const std::string keywords = (home / "missing.keyword.xml").string();
  const std::string settings = (home / "broken.settings.xml").string();
  std::string text = vantorel::test::readFile(store);
  text = std::regex_replace(text, std::regex("\n\"Keyword\"=\"[^\n]*"),
                            "\n\"Keyword\"=\"" + keywords + "\"");
  text = std::regex_replace(text, std::regex("\n\"ConfigFile\"=\"[^\n]*"),
                            "\n\"ConfigFile\"=\"" + settings + "\"");
  std::ofstream(store, std::ios::binary | std::ios::trunc) << text;
  std::ofstream(settings, std::ios::binary) << "<zt-setting><section name='Project'>";

  ASSERT_EQ(
      vantorel::test::runCommand(env + kCli + " sync " + project + " </dev/null 2>&1", output), 0)
      << output;
  const std::string keywordLine =
      "Vantorel: Load keyword file \"" + keywords + "\" failed. Please check your keyword file.\n";
  const std::string settingsLine =
      "Unable to load custom setting file: '" + settings + "'. Please check.\n";
  EXPECT_EQ(occurrences(output, keywordLine), 1u) << output;
  EXPECT_EQ(occurrences(output, settingsLine), 1u) << output;
  EXPECT_LT(output.find(keywordLine), output.find(settingsLine)) << output;
  EXPECT_NE(output.find("the project matches its database"), std::string::npos) << output;
}

}  // namespace
