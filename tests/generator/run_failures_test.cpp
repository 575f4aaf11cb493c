// How GenScript and GenCheck end when a step fails and the run goes on: whether the call raises,
// what ProjErr then reads, and which outputs were still made.
#include <functional>
#include <string>
#include <vector>

#include "foundation/project_context.hpp"
#include "generation_run_support.hpp"
#include "generator/generation_driver.hpp"
#include "platform/automation/automation_error.hpp"
#include "support/test_files.hpp"

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
  // With a folder below the application root; the site starts empty, so that what the run
  // made shows.
  const auto withUpFolder = [this] {
    fsys::remove_all(site_);
    fsys::create_directories(site_);
    Files files = defaultFiles();
    files["control.xml"] =
        controlFile("<control id=\"_up\" type=\"folder\" ofolder=\"~/files\"/>\r\n");
    writeTemplate(files);
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
         test::writeFile(dir_.path() / "user.css", "<!--##=1/0##-->");
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
      // A rejected control file said only that it failed, not where or why.
      {"a broken control file names its fault in the check",
       withFile("control.xml", "<Vantorel date='d'>"),
       0,
       false,
       title + u": Load control file failed! Please check if the correct template file is in "
               u"use!\r\n",
       u"control.xml: line 1, column 19: Start-end tags mismatch",
       {},
       {}},
      {"a broken control file names its fault in the run",
       withFile("control.xml", "<Vantorel date='d'>"),
       kScript,
       false,
       title + u": Load control file failed! Please check if the correct template file is in "
               u"use!\r\n",
       u"control.xml: line 1, column 19: Start-end tags mismatch",
       {},
       {}},
      // A "~/" folder used to raise from the path code before the validation message could
      // show, after the other folders had been made.
      {"validation explains a ~/ folder in the check",
       [&] {
         withoutAppRoot();
         withUpFolder();
       },
       0,
       false,
       noAppRoot,
       noAppRoot,
       {},
       {"pages", "files"}},
      {"validation explains a ~/ folder before anything is made",
       [&] {
         withoutAppRoot();
         withUpFolder();
       },
       kScript,
       true,
       u"",
       noAppRoot,
       {},
       {"pages", "css", "files"}},
      {"a ~/ folder without the root: the check shows the validation message",
       [&] {
         set(u"AppRootFolder", Variant(u""));
         withUpFolder();
       },
       0,
       false,
       u"Project setting 'AppRootFolder' is empty, but the folder '~/files' of control '_up' "
       u"lies below the application root.",
       u"Generation aborted.",
       {},
       {"pages", "files"}},
      {"a ~/ folder without the root: the run makes no folder",
       [&] {
         set(u"AppRootFolder", Variant(u""));
         withUpFolder();
       },
       kScript,
       true,
       u"",
       u"Project setting 'AppRootFolder' is empty, but the folder '~/files' of control '_up' "
       u"lies below the application root. Generation aborted.",
       {},
       {"pages", "css"}},
  };
  for (const Case& c : cases) {
    SetUp();
    // The check unpacks the template each case arranged.
    projectContext().updateChangedTemplates = true;
    c.arrange();
    bool raised = false;
    try {
      if (c.check != kScript) {
        // The check walks on after the failure.
        EXPECT_EQ(checkSite(*proj_), c.check) << c.name;
      } else {
        generateSite(*proj_);
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
  projectContext().updateChangedTemplates = false;
  SetUp();
}

// What the set asks for and the run cannot do: a session whose section its file lost stops the
// run naming the file, the fault and its place (its pages were once made without the section and
// the run succeeded); a control of an unknown type makes nothing, and the user hears of it.
TEST_F(GenerationRunTest, LostSectionsStopTheRunAndUnknownControlsAreNamed) {
  using Kind = ui::RecordingBackend::Event::Kind;
  const std::string sessions =
      "<control id=\"paged\" type=\"other\" ifiles=\"menu.htm\" ofile=\"paged\" oext=\"asp\" "
      "overwrite=\"true\">\r\n<session type=\"key\" value=\"body\" ifile=\"parts.htm\"/>\r\n"
      "</control>\r\n<control id=\"odd\" type=\"mystery\" ifiles=\"menu.htm\" ofile=\"odd\" "
      "oext=\"asp\"/>\r\n";
  struct Case {
    std::string parts;     // the text of parts.htm; none when empty
    std::string expected;  // in ProjErr; empty when the run succeeds
  } cases[] = {
      {"<!--##session body##-->\r\nbody text\r\n<!--##/session##-->\r\n", ""},
      {"", "Section \"body\" of \"parts.htm\" cannot be read: the file is missing"},
      {"x\r\n<!--##session body\r\nbody <!--##=1##-->\r\n<!--##/session##-->\r\n",
       "Section \"body\" of \"parts.htm\" is lost: \"<!--##session\" without its \"##-->\" at "
       "line 2 column 1"},
      {"<!--##session head##-->\r\nh\r\n<!--##/session##-->\r\n  <!--##session body##-->\r\nb\r\n",
       "Section \"body\" of \"parts.htm\" is lost: Section \"body\" without its "
       "\"<!--##/session##-->\" at line 4 column 3"},
      {"<!--##session other##-->\r\nb\r\n<!--##/session##-->\r\n",
       "Section \"body\" of \"parts.htm\" is not in the file"},
      {"<!--##session body##-->\r\nok\r\n<!--## Dim x\r\n<!--##/session##-->\r\n",
       "Section \"body\" of \"parts.htm\": ***Incomplete Block at line 3 column 1"},
  };
  int i = 0;
  for (const Case& c : cases) {
    SetUp();
    templateName_ += std::to_string(i++);
    Files files = defaultFiles();
    files["control.xml"] = controlFile(sessions);
    if (!c.parts.empty()) files["parts.htm"] = c.parts;
    writeTemplate(files);
    fsys::remove(site_ / "paged.asp");
    bool raised = false;
    try {
      generateSite(*proj_);
    } catch (const AutomationError&) {
      raised = true;  // a template that cannot be compiled ends the run
    }
    EXPECT_EQ(raised, !c.expected.empty()) << c.parts;
    const std::string projErr = u8(projectContext().lastErrorText);
    if (c.expected.empty()) {
      EXPECT_EQ(projErr, "") << c.parts;
      EXPECT_NE(test::readFile(site_ / "paged.asp").find("body text"), std::string::npos);
      EXPECT_FALSE(fsys::exists(site_ / "odd.asp"));
      std::size_t named = 0;
      for (const auto& event : ui_->events(Kind::Asked)) {
        named += event.question.text.find(u"Control \"odd\" has the unknown type \"mystery\"") !=
                 std::u16string::npos;
      }
      EXPECT_EQ(named, 1u);
    } else {
      EXPECT_NE(projErr.find(c.expected), std::string::npos) << projErr;
      EXPECT_FALSE(fsys::exists(site_ / "paged.asp")) << c.parts;
    }
    TearDown();
  }
  SetUp();
}

}  // namespace
}  // namespace vantorel::test
