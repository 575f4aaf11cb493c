// How GenScript and GenCheck end when a step fails and the run goes on: whether the call raises,
// what ProjErr then reads, and which outputs were still made.
#include <functional>
#include <string>
#include <vector>

#include "foundation/project_context.hpp"
#include "generation_run_support.hpp"
#include "platform/automation/automation_error.hpp"

namespace vantorel::test {
namespace {

TEST_F(GenerationRunTest, FailedStepsEndTheCallAsTheyAlwaysHave) {
  const std::u16string title = projectContext().productTitle;
  const std::u16string noAppRoot =
      u"Project setting 'AppRootFolder' is empty, but the upload folder lies below the "
      u"application root. Generation aborted.";
  const auto withoutAppRoot = [this] {
    set(u"AppRootFolder", Variant(u""));
    set(u"UploadPath", Variant(u"up"));
  };
  constexpr int kScript = -1;
  struct Case {
    std::string name;
    std::function<void()> arrange;
    int check;  // the count GenCheck gives, or kScript to call GenScript
    bool raises;
    std::u16string starts;             // ProjErr begins so
    std::u16string ends;               // and ends so
    std::vector<std::string> made;     // site files that exist afterwards
    std::vector<std::string> notMade;  // and ones that do not
  };
  const auto withFile = [this](const std::string& name, const std::string& text) {
    return [this, name, text] {
      Files files = defaultFiles();
      files[name] = text;
      writeTemplate(files);
    };
  };
  const std::vector<Case> cases = {
      {"table page script fails",
       withFile("list.htm", "<!--##=1/0##-->"),
       kScript,
       false,
       title + u": Generate Table Orders list page error\r\n",
       u"",
       {},
       {"menu.asp"}},
      {"table page reports through ProjErr",
       withFile("list.htm", "<!--## PROJ.ProjErr = \"mine\" ##-->x"),
       kScript,
       false,
       title + u": Generate Table Orders list page error\r\nmine",
       u"mine",
       {},
       {"menu.asp"}},
      {"field page script fails",
       withFile("field.htm", "<!--##=1/0##-->"),
       kScript,
       false,
       title + u": Generate Table Orders Field Total page error\r\n",
       u"",
       {"pages/Orderslist.asp"},
       {"menu.asp", "Orders_Totalfld.asp"}},
      {"style sheet script fails",
       [this] {
         writeText(dir_.path() / "user.css", "<!--##=1/0##-->");
         proj_->controlList().Add(u"@css", u"", true, u"");
       },
       kScript,
       false,
       title,
       u"",
       {"css/Shop.css"},
       {"menu.asp"}},
      {"validation fails before the compile",
       withoutAppRoot,
       kScript,
       true,
       u"",
       noAppRoot,
       {},
       {"menu.asp"}},
      {"validation fails in the check",
       withoutAppRoot,
       2,
       false,
       noAppRoot,
       noAppRoot,
       {},
       {"menu.asp"}},
  };
  for (const Case& c : cases) {
    SetUp();
    c.arrange();
    bool raised = false;
    try {
      if (c.check != kScript) {
        // The check walks on after the failure.
        EXPECT_EQ(proj_->GenCheck(), c.check) << c.name;
      } else {
        proj_->GenScript();
      }
    } catch (const AutomationError& e) {
      raised = true;
      EXPECT_EQ(e.number(), -1) << c.name;
    }
    const std::u16string& projErr = projectContext().lastErrorText;
    EXPECT_EQ(raised, c.raises) << c.name;
    EXPECT_TRUE(projErr.starts_with(c.starts) && projErr.ends_with(c.ends) &&
                projErr.size() > title.size())
        << c.name << ": " << u8(projErr);
    for (const std::string& f : c.made) EXPECT_TRUE(fsys::exists(site_ / f)) << c.name << ": " << f;
    for (const std::string& f : c.notMade)
      EXPECT_FALSE(fsys::exists(site_ / f)) << c.name << ": " << f;
    TearDown();
  }
  SetUp();
}

}  // namespace
}  // namespace vantorel::test
