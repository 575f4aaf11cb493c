// Every page of the generated shop site, with its includes and directive, is one program our
// VBScript engine compiles; the page compiler itself handles includes and directives as IIS does.
#include <gtest/gtest.h>

#include "platform/text/unicode.hpp"
#include "platform/vbscript/parser.hpp"
#include "platform/vbscript/script_error.hpp"
#include "site/host/asp_page.hpp"
#include "site/shop_site.hpp"
#include "support/temp_home.hpp"
#include "support/test_files.hpp"

namespace vantorel::test::site {
namespace {

namespace fs = std::filesystem;

std::string compileProblem(const fs::path& root, const fs::path& page) {
  try {
    const asp::CompiledPage compiled = asp::compilePage(root, page);
    vbs::parseProgram(compiled.script);
  } catch (const vbs::ScriptException& e) {
    return "line " + std::to_string(e.error().line) + ": " + toUtf8(e.error().description) + ": " +
           toUtf8(e.error().text);
  } catch (const asp::PageError& e) {
    return e.what();
  }
  return {};
}

TEST(SitePages, EveryGeneratedPageCompiles) {
  for (const bool secure : {false, true}) {
    const fs::path& site = generatedShop(secure);
    int pages = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(site)) {
      if (entry.path().extension() != ".asp") continue;
      ++pages;
      EXPECT_EQ(compileProblem(site, entry.path()), "") << entry.path().filename();
    }
    EXPECT_GT(pages, 40);
    EXPECT_EQ(fs::exists(site / "login.asp"), secure);
  }
}

TEST(SitePages, IncludesAndDirectivesBecomeOneProgram) {
  TempDir dir;
  const fs::path root = dir.path();
  test::writeFile(root / "inc" / "a.asp", "<%@ CodePage=65001 Language=\"VBScript\" %><% x = 1 %>");
  test::writeFile(root / "inc" / "b.asp", "B<!--#include file=\"a.asp\"-->");
  test::writeFile(root / "page.asp", "<!--#include virtual=\"/inc/b.asp\"-->text<%= x %>");
  EXPECT_THROW(asp::compilePage(root, root / "page.asp"), asp::PageError);  // directive not first
  test::writeFile(root / "page2.asp", "<!--#include file=\"inc/a.asp\"-->text<%= x %><% y %>");
  const asp::CompiledPage page = asp::compilePage(root, root / "page2.asp");
  EXPECT_EQ(page.directives.codePage, 65001);
  EXPECT_EQ(toUtf8(page.script),
            " x = 1 \r\nResponse.WriteBlock 0\r\nResponse.Write( x )\r\n y \r\n");
  ASSERT_EQ(page.blocks.size(), 1u);
  EXPECT_EQ(toUtf8(page.blocks[0]), "text");

  struct Bad {
    const char* text;
    const char* problem;
  };
  for (const Bad& bad :
       {Bad{"<% x = 1", "never closed"}, Bad{"<!--#include file=\"none.asp\"-->", "not found"},
        Bad{"<!--#include file=\"self.asp\"-->", "cycle"}}) {
    test::writeFile(root / "self.asp", bad.text);
    try {
      asp::compilePage(root, root / "self.asp");
      ADD_FAILURE() << bad.text;
    } catch (const asp::PageError& e) {
      EXPECT_NE(std::string(e.what()).find(bad.problem), std::string::npos) << e.what();
    }
  }
}

}  // namespace
}  // namespace vantorel::test::site
