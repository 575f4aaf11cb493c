// The message boxes a project load shows for the files it reads besides the project: the keyword
// file (as the load starts), the custom settings file (when the first attribute that no
// declaration knows asks for its type) and the warning of an unreadable database (at the end),
// each in its turn and each only as often as it is due.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/custom_settings.hpp"
#include "foundation/keyword_list.hpp"
#include "foundation/project_context.hpp"
#include "foundation/reg_values.hpp"
#include "foundation/settings_key.hpp"
#include "projectfile/project_file_operations.hpp"
#include "projectfile/project_test_support.hpp"
#include "support/test_files.hpp"

namespace vantorel {
namespace {

using Kind = ui::RecordingBackend::Event::Kind;

const std::string kHeader = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";
// Its database cannot be read, and it asks for the check: the load ends with a warning.
const std::string kCheckedProject =
    "<Project Version=\"4.0\" ProjName=\"Shop\" AutoSync=\"1\" MyOwn=\"7\">"
    "<Database DBName=\"shop.mdb\" DBType=\"ACCESS\" DBPhyPath=\"/nowhere/shop.mdb\">"
    "<Table TblName=\"Orders\"><Field FldName=\"ID\" FldType=\"3\"/></Table></Database></Project>";
const std::string kPlainProject =
    "<Project Version=\"4.0\" ProjName=\"Shop\" AutoSync=\"0\" MyOwn=\"7\">"
    "<Database DBName=\"d\"><Table TblName=\"T\"/></Database></Project>";

class LoadBoxesTest : public test::ProjectFileTest {
 protected:
  void SetUp() override {
    ProjectFileTest::SetUp();
    // Both lists are the thread's and read once; each case starts before their first read.
    projectContext().keywords = nullptr;
    projectContext().settings = nullptr;
  }
  void TearDown() override {
    projectContext().keywords = nullptr;
    projectContext().settings = nullptr;
    ProjectFileTest::TearDown();
  }

  // The file's path, written unless its text is null.
  std::u16string file(const std::string& name, const char* text) {
    const std::u16string path = workFile(name);
    if (text) test::writeFile(work() / name, text);
    return path;
  }
  void name(const std::u16string& key, const char16_t* value, const std::u16string& path) {
    SetRegValue(Variant(std::u16string(u"HKCU")), Variant(key), Variant(std::u16string(value)),
                kRegSz, Variant(path));
  }
  void load(const std::string& body) {
    test::writeFile(work() / "p.vtp", kHeader + body);
    const Ref<AGP> p = makeRef<AGP>();
    loadProjectFile(*p, workFile("p.vtp"));
  }
  std::vector<ui::Question> boxes() const {
    std::vector<ui::Question> out;
    for (const auto& e : ui_->events(Kind::Asked)) out.push_back(e.question);
    return out;
  }
};

std::u16string keywordBox(const std::u16string& path) {
  return u"Load keyword file \"" + path + u"\" failed. Please check your keyword file.";
}
std::u16string settingsBox(const std::u16string& path) {
  return u"Unable to load custom setting file: '" + path + u"'. Please check.";
}

TEST_F(LoadBoxesTest, KeywordsThenSettingsThenTheWarningOncePerRun) {
  const std::u16string keywords = file("missing.keyword.xml", nullptr);
  const std::u16string settings = file("broken.settings.xml", "<zt-setting><section name='x'>");
  name(projectContext().generalKey, u"Keyword", keywords);
  name(settingsKey(), u"ConfigFile", settings);

  load(kCheckedProject);
  std::vector<ui::Question> shown = boxes();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0].text, keywordBox(keywords));
  EXPECT_EQ(shown[0].title, u"Vantorel");
  EXPECT_EQ(shown[0].icon, ui::Icon::Exclamation);
  EXPECT_EQ(shown[0].buttons, std::vector<ui::Answer>{ui::Answer::OK});
  EXPECT_EQ(shown[1].text, settingsBox(settings));
  EXPECT_EQ(shown[1].title, u"");
  EXPECT_EQ(shown[1].icon, ui::Icon::None);
  EXPECT_EQ(shown[1].buttons, std::vector<ui::Answer>{ui::Answer::OK});
  EXPECT_TRUE(shown[2].text.starts_with(u"Unable to load database information! Reason: "))
      << toUtf8(shown[2].text);
  EXPECT_EQ(shown[2].title, u"Vantorel");
  EXPECT_EQ(shown[2].icon, ui::Icon::Exclamation);
  EXPECT_EQ(projectContext().lastErrorText, u"");

  // Loaded again: the keyword file failed the last time too, and the settings stay as read.
  ui_->clearEvents();
  load(kCheckedProject);
  shown = boxes();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_TRUE(shown[0].text.starts_with(u"Unable to load database information!"));
}

TEST_F(LoadBoxesTest, EachFileThatDoesNotLoadIsShownInItsTurn) {
  const char* const kGoodKeywords = "<Vantorel.keyword><keyword value='Dim'/></Vantorel.keyword>";
  const char* const kGoodSettings =
      "<zt-setting><section name='Project'><setting id='MyOwn' type='Long' value='1'/>"
      "</section></zt-setting>";
  struct Case {
    const char* what;
    const char* keywords;  // null: no such file
    const char* settings;
    bool keywordBoxShown;
    bool settingsBoxShown;
  };
  const Case cases[] = {
      {"both load", kGoodKeywords, kGoodSettings, false, false},
      {"keywords missing", nullptr, kGoodSettings, true, false},
      {"keywords malformed", "<Vantorel.keyword><keyword", kGoodSettings, true, false},
      {"keywords of another kind: nothing shown", "<Other.keyword/>", kGoodSettings, false, false},
      {"settings missing", kGoodKeywords, nullptr, false, true},
      {"settings malformed", kGoodKeywords, "<zt-setting>", false, true},
      {"both missing", nullptr, nullptr, true, true},
  };
  int round = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    projectContext().keywords = nullptr;
    projectContext().settings = nullptr;
    ui_->clearEvents();
    const std::string n = std::to_string(++round);
    const std::u16string keywords = file("k" + n + ".xml", c.keywords);
    const std::u16string settings = file("s" + n + ".xml", c.settings);
    name(projectContext().generalKey, u"Keyword", keywords);
    name(settingsKey(), u"ConfigFile", settings);
    load(kPlainProject);
    std::vector<std::u16string> expected;
    if (c.keywordBoxShown) expected.push_back(keywordBox(keywords));
    if (c.settingsBoxShown) expected.push_back(settingsBox(settings));
    std::vector<std::u16string> shown;
    for (const ui::Question& q : boxes()) shown.push_back(q.text);
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(projectContext().lastErrorText, u"");
  }
}

}  // namespace
}  // namespace vantorel
