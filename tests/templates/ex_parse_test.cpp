#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "agp/agp.hpp"
#include "foundation/project_context.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"
#include "templates/script_host.hpp"
#include "templates/script_host_support.hpp"
#include "templates/template_operations.hpp"

namespace vantorel {
namespace {

using test::ScriptHostTest;

struct Case {
  std::u16string text;
  std::string result;
  std::string error;  // the start of LastErrorText
};

// Each text through BuildExParseFunction on an engine made for the call, which is gone after it.
void expectExParse(AGP& project, const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    projectContext().lastErrorText.clear();
    EXPECT_EQ(toUtf8(buildExParseFunction(project, c.text)), c.result) << toUtf8(c.text);
    EXPECT_EQ(toUtf8(projectContext().lastErrorText.substr(0, c.error.size())), c.error)
        << toUtf8(c.text);
    EXPECT_FALSE(project.exParseEngine());
  }
}

TEST_F(ScriptHostTest, BuildExParseFunctionRunsTemplateTextOnAnEngineOfItsOwn) {
  addDatabase();
  const std::vector<Case> cases = {
      {u"body { color: red; }", "body { color: red; }", ""},
      {u"/* <!--##=PROJ.ProjName##--> on <!--##=DB.DBName##--> */\r\n",
       "/* Shop Site on Shop */\r\n", ""},
      {u"<!--## Dim i: For i = 1 To 3 ##-->.c<!--##=i##--> {}<!--## Next ##-->",
       ".c1 {}.c2 {}.c3 {}", ""},
      // Malformed text comes back unchanged with the parser's message.
      {u"a<!--##=b", "a<!--##=b", "***Incomplete Block at line 1 column 2"},
      {u"<!--##=1 / 0##-->", "",
       "Vantorel (ztExParse): Microsoft VBScript runtime error (11), line 9"},
  };
  expectExParse(*project_, cases);

  // The generation's engine stays, and keeps serving.
  projectContext().lastErrorText.clear();
  project_->exParseEngine() = initializedHost();
  Ref<Object> held = project_->exParseEngine();
  EXPECT_EQ(
      toUtf8(toString(project_->call(u"BuildExParseFunction", {Variant(u"<!--##=2*3##-->")}))),
      "6");
  EXPECT_EQ(project_->exParseEngine(), held);
  EXPECT_EQ(toUtf8(buildExParseFunction(*project_, u"<!--##=7##-->")), "7");
  project_->exParseEngine() = nullptr;
}

// An engine made for the call whose user code does not compile still runs the text; its
// message stands unless the run fails with one of its own.
TEST_F(ScriptHostTest, BuildExParseFunctionReportsAUserCodeThatDoesNotCompile) {
  addDatabase();
  setGeneral(u"USERCODE", writeFile("user.vbs", "Function Broken(\r\n"));
  const std::string userCode = "Vantorel (user.vbs): Microsoft VBScript compilation error";
  const std::vector<Case> cases = {
      {u"body { color: red; }", "body { color: red; }", userCode},
      {u"<!--##=2*3##-->", "6", userCode},
      {u"a<!--##=b", "a<!--##=b", "***Incomplete Block at line 1 column 2"},
      {u"<!--##=1 / 0##-->", "",
       "Vantorel (ztExParse): Microsoft VBScript runtime error (11), line 9"},
  };
  expectExParse(*project_, cases);
}

}  // namespace
}  // namespace vantorel
