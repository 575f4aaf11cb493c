// The shop example as a user runs it: the project made by its script, then its site generated
// with the bundled template set, and every page's server script compiled by our VBScript engine.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "agp/agp.hpp"
#include "foundation/reg_values.hpp"
#include "platform/automation/variant.hpp"
#include "platform/text/unicode.hpp"
#include "platform/vbscript/parser.hpp"
#include "platform/vbscript/script_error.hpp"
#include "support/temp_home.hpp"

namespace fs = std::filesystem;

namespace {

const fs::path kSource = fs::path(VANTOREL_TEST_DATA).parent_path().parent_path();

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Runs a command line; returns its exit code and leaves stdout and stderr in output.
int run(const std::string& command, std::string& output) {
  FILE* pipe = popen((command + " 2>&1 </dev/null").c_str(), "r");
  if (!pipe) return -1;
  char buffer[4096];
  while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
  const int status = pclose(pipe);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool engineHas(const char16_t* member) {
  return vantorel::makeRef<vantorel::AGP>()->memberId(member) != vantorel::kDispIdUnknown;
}

// The server-side script of an ASP page as the server runs it: the code between "<%" and "%>"
// of the page and of every file it includes, in order; "<%=" becomes a Response.Write.
std::string serverScript(const fs::path& page, std::set<fs::path>& seen) {
  if (!seen.insert(fs::weakly_canonical(page)).second) return "' include cycle\r\n";
  const std::string text = readFile(page);
  static const std::regex include(R"re(<!--\s*#include\s+(file|virtual)\s*=\s*"([^"]+)"\s*-->)re",
                                  std::regex::icase);
  std::string script;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t open = text.find("<%", pos);
    const std::string html = text.substr(pos, open == std::string::npos ? open : open - pos);
    for (std::sregex_iterator it(html.begin(), html.end(), include), end; it != end; ++it) {
      // The site is generated into one folder tree, so virtual paths resolve as file ones.
      script += serverScript(page.parent_path() / (*it)[2].str(), seen);
    }
    if (open == std::string::npos) break;
    const std::size_t close = text.find("%>", open + 2);
    std::string code = text.substr(open + 2, close == std::string::npos ? close : close - open - 2);
    if (!code.empty() && code[0] == '=') code = "Response.Write(" + code.substr(1) + ")";
    // The page's "<%@ ... %>" directive is read by the server, not run.
    if (!code.empty() && code[0] == '@') code.clear();
    script += code + "\r\n";
    if (close == std::string::npos) break;
    pos = close + 2;
  }
  return script;
}

// Empty when the page's script compiles, else where and why it does not.
std::string compileProblem(const fs::path& page) {
  std::set<fs::path> seen;
  const std::string script = serverScript(page, seen);
  try {
    vantorel::vbs::parseProgram(vantorel::fromUtf8(script));
  } catch (const vantorel::vbs::ScriptException& e) {
    return "line " + std::to_string(e.error().line) + ": " +
           vantorel::toUtf8(e.error().description) + ": " + vantorel::toUtf8(e.error().text);
  }
  return {};
}

TEST(ShopExample, BuildsTheProjectAndGeneratesItsSite) {
  if (!engineHas(u"Save") || !engineHas(u"Load")) {
    GTEST_SKIP() << "AGP.Save and AGP.Load are not built yet: the example cannot save its project";
  }
  vantorel::test::TempDir dir;
  const std::string project = dir.str() + "/shop.vtp";
  std::string output;
  ASSERT_EQ(run(std::string(VANTOREL_CLI_PATH) + " run " +
                    (kSource / "examples" / "shop" / "shop.vbs").string() + " " + project,
                output),
            0)
      << output;
  EXPECT_EQ(output, "Saved " + project + " (11 tables)\n");
  const std::string saved = readFile(project);
  for (const char* table :
       {"Categories", "Order Details", "Product List", "OrderTotals", "Stock"}) {
    EXPECT_NE(saved.find(std::string("\"") + table + "\""), std::string::npos) << table;
  }

  if (!engineHas(u"GenScript") || !engineHas(u"GenCheck")) {
    GTEST_SKIP() << "generation (AGP.GenCheck, AGP.GenScript) is not built yet: the shop site "
                    "is not generated";
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
  // A view has no key: no pages that need one.
  EXPECT_FALSE(fs::exists(site / "Product_Listedit.asp"));
  int pages = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(site)) {
    if (entry.path().extension() != ".asp") continue;
    ++pages;
    EXPECT_EQ(compileProblem(entry.path()), "") << entry.path().filename();
  }
  EXPECT_GT(pages, 40);

  output.clear();
  ASSERT_EQ(
      run(std::string(VANTOREL_CLI_PATH) + " check " + project + " --destination " + site.string(),
          output),
      0)
      << output;
  EXPECT_NE(output.find("Orderslist.asp"), std::string::npos) << output;
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
