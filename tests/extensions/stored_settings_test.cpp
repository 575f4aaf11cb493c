// Extension settings stored in a project file: every stored value survives a load and a save
// whatever the declaration file and its conditions say now, chart settings move into an entry
// only when it is made, a project whose extensions were all deleted stays without, and a value
// a setter took is always saved.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <string>

#include "agp/agp.hpp"
#include "extensions/extension_operations.hpp"
#include "extensions/extensions.hpp"
#include "extensions/setting_access.hpp"
#include "fields/fields.hpp"
#include "foundation/c_registry.hpp"
#include "model/chart.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"
#include "platform/ui/recording_backend.hpp"
#include "projectfile/project_reader.hpp"
#include "projectfile/project_test_support.hpp"
#include "projectfile/project_writer.hpp"
#include "support/test_files.hpp"

namespace vantorel {
namespace {

namespace fsys = std::filesystem;
const fsys::path kSource = fsys::path(VANTOREL_TEST_DATA).parent_path().parent_path();

// Project level under a condition on the project's name; tables: a flag; charts: two of the
// moved chart settings; fields other than "Secret": a width.
std::string declarations(const std::string& projectCondition = "") {
  return "<?xml version=\"1.0\"?><Project cond=\"" + projectCondition +
         "\"><attribute name=\"Title\" default=\"T\"/>"
         "<Database><Table><attribute name=\"Show\" type=\"Boolean\" default=\"False\"/>"
         "<Chart><attribute name=\"canvasBgColor\"/>"
         "<attribute name=\"numDivLines\" type=\"Integer\"/></Chart>"
         "<Field cond=\"field/FldName/ne/Secret\">"
         "<attribute name=\"Width\" type=\"Integer\" default=\"80\"/></Field>"
         "</Table></Database></Project>";
}

class StoredSettingsTest : public test::ProjectFileTest {
 protected:
  void SetUp() override {
    test::ProjectFileTest::SetUp();
    // Every project object made takes its extensions folder from the user's settings.
    cRegistry registry;
    registry.ClassKey(kHkeyCurrentUser);
    registry.ValueType(kRegSz);
    registry.SectionKey(projectContext().extensionsKey);
    registry.ValueKey(u"SourceFolder");
    registry.Value(Variant(fromUtf8((work() / "exts").string())));
    test::writeFile(work() / "exts" / "cal.xml", declarations());
  }

  // Orders (loaded) with the fields ID and Name and the chart Sales; Later (listed only).
  Ref<AGP> model() {
    Ref<AGP> proj = makeRef<AGP>();
    proj->SetV(u"ProjName", u"Shop");
    AGPDatabase& db = addDatabase(*proj, u"db");
    AGPTable& orders = addTable(db, u"Orders");
    orders.SetV(u"TblLoaded", u"True");
    addField(orders, u"ID");
    addField(orders, u"Name");
    addChart(orders, u"Sales").SetV(u"ChartChartBgColor", u"FFFFFF");
    addTable(db, u"Later");
    return proj;
  }

  // Saves the project, then loads the file into a new project with the thread's extensions
  // gone, as in a new session; the file's text before the load.
  std::string roundTrip(Ref<AGP>& proj, const std::string& name = "p.vtp") {
    saveProject(*proj, workFile(name));
    EXPECT_EQ(projectContext().lastErrorText, u"");
    const std::string text = test::readFile(work() / name);
    projectContext().extensions = nullptr;
    proj = makeRef<AGP>();
    loadProject(*proj, workFile(name));
    EXPECT_EQ(projectContext().lastErrorText, u"") << name;
    return text;
  }

  // The extensions' part of a saved file: the model's part of a file saved from a model made by
  // hand gains what a load adds.
  static std::string extensionsPart(const std::string& text) {
    const std::size_t from = text.find("<Extension");
    const std::size_t to = text.rfind("</Extension>");
    if (from == std::string::npos) return {};
    return text.substr(from, to == std::string::npos ? std::string::npos : to - from);
  }

  std::vector<std::u16string> said() const {
    std::vector<std::u16string> out;
    for (const auto& e : ui_->events(ui::RecordingBackend::Event::Kind::Said)) {
      out.push_back(e.text);
    }
    return out;
  }
};

// The shop example's AboutPage settings with its declaration file missing, then damaged: every
// stored value is kept through a load and a save, and the file that could not be read is named.
TEST_F(StoredSettingsTest, TheShopKeepsItsSettingsWithoutItsDeclarationFile) {
  const std::string shop = test::readFile(kSource / "examples" / "shop" / "shop.vtp");
  const std::regex setting("(AboutShow|AboutNote|AboutIntro|AboutTitle)=\"[^\"]*\"");
  const auto settings = [&](const std::string& text) {
    std::vector<std::string> found;
    for (std::sregex_iterator it(text.begin(), text.end(), setting), end; it != end; ++it) {
      found.push_back(it->str());
    }
    return found;
  };
  const std::vector<std::string> stored = settings(shop);
  ASSERT_EQ(std::count_if(stored.begin(), stored.end(),
                          [](const std::string& s) { return s.starts_with("AboutShow"); }),
            11);
  const fsys::path declarationFile = work() / "exts" / "AboutPage.xml";
  struct Case {
    const char* name;
    const char* declaration;  // nullptr: no file
    const char* said;         // the reason after the file's name
  };
  const Case cases[] = {
      {"missing", nullptr, ": the file cannot be read"},
      {"damaged", "<Project>\n  <Database>\n    <Table>\n</Project>", ": line 4, column "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fsys::remove(declarationFile);
    if (c.declaration) test::writeFile(declarationFile, c.declaration);
    test::writeFile(work() / "shop.vtp", shop);
    projectContext().extensions = nullptr;
    ui_->clearEvents();
    Ref<AGP> proj = makeRef<AGP>();
    loadProject(*proj, workFile("shop.vtp"));
    EXPECT_EQ(projectContext().lastErrorText, u"");
    EXPECT_EQ(toString(GetExtTblAtt(*proj, u"AboutPage", u"Products", u"AboutShow")), u"1");
    const std::vector<std::u16string> notes = said();
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(notes[0].find(u"extension \"AboutPage\": its declaration file could not be read"),
              std::u16string::npos)
        << toUtf8(notes[0]);
    EXPECT_NE(notes[0].find(fromUtf8(declarationFile.string()) + fromUtf8(c.said)),
              std::u16string::npos)
        << toUtf8(notes[0]);
    const std::string saved = roundTrip(proj, "shop.vtp");
    EXPECT_EQ(settings(saved), stored);
    EXPECT_EQ(settings(test::readFile(work() / "shop.vtp")), stored);
  }
}

// Stored entries are kept though their objects no longer qualify for a new one: a field renamed
// to a name its declaration's condition excludes, and a table that is listed, not loaded.
TEST_F(StoredSettingsTest, StoredEntriesOutliveTheirConditions) {
  Ref<AGP> proj = model();
  ASSERT_TRUE(AddExtension(*proj, u"Cal", u"cal.zip", u"cal.xml"));
  ASSERT_TRUE(SetExtFldAtt(*proj, u"Cal", u"Orders", u"ID", u"Width", Variant(std::int16_t{5})));
  proj->DB()->tables().find(u"Orders")->fields().change(u"Orders", u"ID", u"Secret");
  ASSERT_TRUE(SetExtTblAtt(*proj, u"Cal", u"Later", u"Show", Variant(true)));
  ASSERT_EQ(toInteger(GetExtFldAtt(*proj, u"Cal", u"Orders", u"Secret", u"Width")), 5);

  const std::string first = extensionsPart(roundTrip(proj));
  EXPECT_EQ(toInteger(GetExtFldAtt(*proj, u"Cal", u"Orders", u"Secret", u"Width")), 5);
  EXPECT_TRUE(toBool(GetExtTblAtt(*proj, u"Cal", u"Later", u"Show")));
  EXPECT_EQ(extensionsPart(roundTrip(proj)), first);
}

// A chart setting set after the chart's entry was made belongs to the chart: it survives two
// round trips, and the entry keeps what moved into it when it was made.
TEST_F(StoredSettingsTest, ChartSettingsMoveOnlyWhenTheEntryIsMade) {
  Ref<AGP> proj = model();
  ASSERT_TRUE(AddExtension(*proj, u"Cal", u"cal.zip", u"cal.xml"));
  ASSERT_EQ(toString(GetExtChartAtt(*proj, u"Cal", u"Orders", u"Sales", u"canvasBgColor")),
            u"FFFFFF");
  AGPChart* chart = proj->DB()->tables().find(u"Orders")->charts().find(u"Sales");
  chart->SetV(u"ChartChartBgColor", u"123456");
  chart->SetV(u"ChartNumGridLines", u"7");
  for (int trip = 1; trip <= 2; ++trip) {
    SCOPED_TRACE(trip);
    roundTrip(proj);
    chart = proj->DB()->tables().find(u"Orders")->charts().find(u"Sales");
    EXPECT_EQ(chart->GetV(u"ChartChartBgColor"), u"123456");
    EXPECT_EQ(chart->GetV(u"ChartNumGridLines"), u"7");
    EXPECT_EQ(toString(GetExtChartAtt(*proj, u"Cal", u"Orders", u"Sales", u"canvasBgColor")),
              u"FFFFFF");
    EXPECT_TRUE(GetExtChartAtt(*proj, u"Cal", u"Orders", u"Sales", u"numDivLines").isEmpty());
  }
}

// A project-level declaration whose condition fails declares nothing on either path, so the
// first round trip writes the file it read.
TEST_F(StoredSettingsTest, TheProjectConditionHoldsOnLoadToo) {
  test::writeFile(work() / "exts" / "cal.xml", declarations("proj/ProjName/eq/Other"));
  Ref<AGP> proj = model();
  ASSERT_TRUE(AddExtension(*proj, u"Cal", u"cal.zip", u"cal.xml"));
  EXPECT_TRUE(GetExtProjAtt(*proj, u"Cal", u"Title").isNull());
  const std::string first = extensionsPart(roundTrip(proj));
  EXPECT_TRUE(GetExtProjAtt(*proj, u"Cal", u"Title").isNull());
  EXPECT_EQ(extensionsPart(roundTrip(proj)), first);
}

// Deleting every extension lasts: the file says the project has none, and loading it registers
// none of the installed ones, until one is added again.
TEST_F(StoredSettingsTest, AProjectWhoseExtensionsWereDeletedStaysWithout) {
  cRegistry registry;
  registry.ClassKey(kHkeyCurrentUser);
  registry.ValueType(kRegSz);
  registry.SectionKey(projectContext().extensionsKey + u"\\one");
  for (const auto& [name, value] : {std::pair<const char16_t*, const char16_t*>{u"Name", u"Cal"},
                                    {u"Template", u"cal.zip"},
                                    {u"XmlFile", u"cal.xml"}}) {
    registry.ValueKey(name);
    registry.Value(Variant(value));
  }
  Ref<AGP> proj = model();
  // A file that names no extension receives the installed ones.
  roundTrip(proj);
  ASSERT_EQ(SharedExtensions().count(), 1);
  ASSERT_TRUE(DeleteExtension(u"Cal"));
  const std::string without = roundTrip(proj);
  EXPECT_NE(without.find("<Extensions/>"), std::string::npos);
  EXPECT_EQ(SharedExtensions().count(), 0);
  EXPECT_EQ(roundTrip(proj), without);
  ASSERT_TRUE(AddExtension(*proj, u"Cal", u"cal.zip", u"cal.xml"));
  EXPECT_EQ(roundTrip(proj).find("<Extensions/>"), std::string::npos);
  EXPECT_EQ(SharedExtensions().count(), 1);
}

// A value a setter stored as given never stops a save: one that is no Boolean is written as
// its text.
TEST_F(StoredSettingsTest, ASettingThatIsNoBooleanIsSavedAsText) {
  Ref<AGP> proj = model();
  ASSERT_TRUE(AddExtension(*proj, u"Cal", u"cal.zip", u"cal.xml"));
  ASSERT_TRUE(SetExtTblAtt(*proj, u"Cal", u"Orders", u"Show", Variant(u"sometimes")));
  const std::string text = roundTrip(proj);
  EXPECT_NE(text.find("<ExtTable TblName=\"Orders\" Show=\"sometimes\""), std::string::npos)
      << text;
}

}  // namespace
}  // namespace vantorel
