// What a load takes, a save writes again: a file holding attributes that no project file can
// hold loads without them, saves, and loads again without a note; the attributes of a menu
// entry that are none of its own come back from a save as they were written.
#include <gtest/gtest.h>

#include "foundation/project_context.hpp"
#include "projectfile/project_reader.hpp"
#include "projectfile/project_test_support.hpp"
#include "projectfile/project_writer.hpp"
#include "support/test_files.hpp"

namespace vantorel {
namespace {

const std::string kHeader = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

class LoadThenSaveTest : public test::ProjectFileTest {
 protected:
  // Loads the file; the number of notes said on standard error.
  std::size_t load(const std::string& name, Ref<AGP>& project) {
    ui_->clearEvents();
    project = makeRef<AGP>();
    loadProject(*project, workFile(name));
    EXPECT_EQ(projectContext().lastErrorText, u"") << name;
    return ui_->events(ui::RecordingBackend::Event::Kind::Said).size();
  }
};

TEST_F(LoadThenSaveTest, AFileWithAttributesNoFileCanHoldLoadsSavesAndLoadsAgain) {
  struct Case {
    const char* what;
    std::string project;  // the root's start tag and content
    std::size_t notes;
    const char* absent;  // what the saved file must not hold in any form
  } cases[] = {
      {"a field attribute whose name lost its first letter to ':'",
       "<Project Version=\"4.0\"><Database DBName=\"d\"><Table TblName=\"T\"><Field "
       "FldName=\"F\" :ldMemoMaxLength=\"5\"/></Table></Database>",
       1, ":ldMemoMaxLength"},
      {"a prefixed project attribute",
       "<Project Version=\"4.0\" x:Extra=\"1\"><Database DBName=\"d\"/>", 1, "Extra"},
      {"a NUL reference in a table caption",
       "<Project Version=\"4.0\"><Database DBName=\"d\"><Table TblName=\"T\" "
       "TblCaption=\"a&#0;b\"/></Database>",
       1, "#0;"},
      {"a control character reference in a chart",
       "<Project Version=\"4.0\"><Database DBName=\"d\"><Table TblName=\"T\"><Chart "
       "ChartName=\"C\" ChartCaption=\"&#x1F;\"/></Table></Database>",
       1, "&#"},
      {"a non-character in a trend line",
       "<Project Version=\"4.0\"><Database DBName=\"d\"><Table TblName=\"T\"><Chart "
       "ChartName=\"C\"><Trendline TrendName=\"Z\" Extra=\"\xEF\xBF\xBE\"/></Chart></Table>"
       "</Database>",
       1, "\xEF\xBF\xBE"},
      {"control characters in a menu entry's own and other attributes",
       "<Project Version=\"4.0\"><Database DBName=\"d\"/><Menu MenuID=\"1\" MenuUrl=\"T\" "
       "MenuText=\"&#8;\" Icon=\"&#xFFFF;\"/>",
       2, "&#"},
      {"a surrogate reference in a phrase",
       "<Project Version=\"4.0\"><Database DBName=\"d\"/><ProjectPhrase LanguageId=\"en\" "
       "ProjectAttribute=\"ProjName\" Phrase=\"&#xDC00;\"/>",
       1, "<ProjectPhrase"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();
    test::writeFile(work() / "flawed.vtp", kHeader + c.project + "</Project>");
    Ref<AGP> project;
    EXPECT_EQ(load("flawed.vtp", project), c.notes);
    ASSERT_NO_THROW(saveProject(*project, workFile("saved.vtp")));
    ASSERT_EQ(projectContext().lastErrorText, u"");
    const std::string saved = test::readFile(work() / "saved.vtp");
    EXPECT_EQ(saved.find(c.absent), std::string::npos) << saved;

    SetUp();
    EXPECT_EQ(load("saved.vtp", project), 0u);
    saveProject(*project, workFile("again.vtp"));
    const std::string again = test::readFile(work() / "again.vtp");
    EXPECT_TRUE(again == saved) << test::firstDifference(saved, again);
  }
}

// Attributes a menu entry does not know are written back after its own, each as the file held it;
// a second save then gives the same bytes. The entry's own attributes still answer alone.
TEST_F(LoadThenSaveTest, OtherAttributesOfAMenuEntryAreKept) {
  const std::string own =
      "MenuID=\"1\" MenuText=\"Orders\" MenuParentID=\"-1\" MenuSource=\"\" MenuExtUrl=\"\" "
      "MenuAnonymous=\"0\" MenuSecurity=\"\" MenuUrl=\"Orders\" MenuType=\"Table\" "
      "MenuCustomUrl=\"0\" MenuLevel=\"0\" MenuShow=\"1\" MenuDisplayOrder=\"1\"";
  struct Case {
    const char* what;
    std::string written;  // the element in the file
    std::string saved;    // the element the save writes
  } cases[] = {
      {"after the entry's own",
       "<Menu " + own + " MenuIcon=\"fa-list\" data-x=\"a &amp; &lt;b> &quot;\"/>",
       "<Menu " + own + " MenuIcon=\"fa-list\" data-x=\"a &amp; &lt;b> &quot;\"/>"},
      {"before and between them, in any case",
       "<Menu Extra=\"1\" menuid=\"1\" MenuText=\"Orders\" Note=\"\xC3\xA9\" MenuParentID=\"-1\" "
       "MenuSource=\"\" MenuExtUrl=\"\" MenuAnonymous=\"0\" MenuSecurity=\"\" MenuUrl=\"Orders\" "
       "MenuType=\"Table\" MenuCustomUrl=\"0\" MenuLevel=\"0\" MenuShow=\"1\" "
       "MenuDisplayOrder=\"1\"/>",
       "<Menu " + own + " Extra=\"1\" Note=\"\xC3\xA9\"/>"},
      {"a name repeated in another case takes the later value",
       "<Menu " + own + " Tag=\"a\" TAG=\"b\"/>", "<Menu " + own + " Tag=\"b\"/>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();
    test::writeFile(work() / "menu.vtp",
                    kHeader + "<Project Version=\"4.0\"><Database DBName=\"d\"/>\r\n" + c.written +
                        "\r\n</Project>");
    Ref<AGP> project;
    EXPECT_EQ(load("menu.vtp", project), 0u);
    ASSERT_EQ(SharedMenus().Count(), 1);
    EXPECT_FALSE(SharedMenus().Item(1)->MenuAttExist(u"MenuIcon"));
    EXPECT_EQ(SharedMenus().Item(1)->MenuAtt(u"Extra"), u"");
    saveProject(*project, workFile("saved.vtp"));
    const std::string saved = test::readFile(work() / "saved.vtp");
    EXPECT_NE(saved.find("\r\n" + c.saved + "\r\n"), std::string::npos) << saved;

    SetUp();
    load("saved.vtp", project);
    saveProject(*project, workFile("again.vtp"));
    const std::string again = test::readFile(work() / "again.vtp");
    EXPECT_TRUE(again == saved) << test::firstDifference(saved, again);
  }
}

}  // namespace
}  // namespace vantorel
