// The writer's bytes against a file written by hand from the format's rules, the settings rule
// case by case, and the failures that must leave the old file alone.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <vector>

#include "foundation/project_context.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/xml/attributes.hpp"
#include "projectfile/project_test_support.hpp"
#include "projectfile/project_writer.hpp"
#include "support/test_files.hpp"

namespace vantorel {
namespace {

class WriterTest : public test::ProjectFileTest {
 protected:
  // Leaves only the named settings in the bag, so that a hand-written file stays short.
  static void keepOnly(AGProperties& bag, std::set<std::u16string> names) {
    std::vector<std::u16string> drop;
    bag.forEachSetting([&](SettingSlot, const SettingRecord& r, const Variant&) {
      if (!names.count(r.name)) drop.push_back(r.name);
    });
    for (const std::u16string& name : drop) bag.remove(name);
  }
};

TEST_F(WriterTest, SmallProjectMatchesTheHandWrittenFile) {
  Ref<AGP> p = makeRef<AGP>();
  p->setProjName(u"Demo & Co");
  keepOnly(p->properties(), {u"ProjName", u"MultiLanguage"});
  AGPDatabase& db = addDatabase(*p, u"demo");
  keepOnly(db.properties(), {u"DBName"});
  AGPTable& t = addTable(db, u"T");
  AGPField& f = addField(t, u"F");
  f.SetV(u"FldTagValues", u"a\r\nb");
  keepOnly(f.properties(), {u"FldSeq", u"FldName", u"FldTagValues"});
  AGPChart& c = addChart(t, u"C");
  c.trendlines().add(u"Z");
  keepOnly(c.properties(), {u"ChartSeq", u"ChartName"});
  keepOnly(c.trendlines().at(0).properties(), {u"TrendSeq", u"TrendName"});
  keepOnly(t.properties(), {u"TblSeq", u"TblName"});
  AGPTable& empty = addTable(db, u"Empty");
  keepOnly(empty.properties(), {u"TblSeq", u"TblName"});

  AGMenuFields menu = AGPMenus::addDefaults();
  menu.MenuText = u"T";
  menu.MenuType = u"Table";
  menu.MenuUrl = u"T";
  SharedMenus().AddMenu(menu);
  AGPLanguage& language = SharedLanguage();
  language.SetProjectPhrase(u"en", u"ProjName", u"Demo");
  language.SetProjectPhrase(u"de", u"ProjName", u"");           // empty: dropped
  language.SetMenuPhrase(u"en", u"7", u"MenuText", u"Gone");    // no such menu: dropped
  language.SetMenuPhrase(u"en", u"x", u"MenuText", u"Bad id");  // no number: dropped
  language.SetMenuPhrase(u"en", u"1", u"MenuText", u"Tee");
  language.SetTablePhrase(u"en", u"Deleted", u"TblCaption", u"Gone");
  language.SetTablePhrase(u"en", u"t", u"TblCaption", u"Tee");  // table names ignore case
  language.SetChartPhrase(u"en", u"T", u"Nope", u"ChartCaption", u"Gone");
  language.SetFieldPhrase(u"en", u"T", u"F", u"FldCaption", u"Eff");

  const std::u16string path = workFile("demo.vtp");
  saveProject(*p, path);
  ASSERT_EQ(projectContext().lastErrorText, u"");
  const std::string expected =
      "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
      "<Project Version=\"" +
      toUtf8(p->FullVersion()) +
      "\" Product=\"Vantorel\" "
      "ProjName=\"Demo &amp; Co\" MultiLanguage=\"0\">\r\n"
      "<Database DBName=\"demo\">\r\n"
      "<Table TblName=\"T\">\r\n"
      "<Chart ChartName=\"C\">\r\n"
      "<Trendline TrendName=\"Z\"/>\r\n"
      "</Chart>\r\n"
      "<Field FldName=\"F\" FldTagValues=\"a|b\"/>\r\n"
      "</Table>\r\n"
      "<Table TblName=\"Empty\">\r\n"
      "</Table>\r\n"
      "</Database>\r\n"
      "<Menu MenuID=\"1\" MenuText=\"T\" MenuParentID=\"-1\" MenuSource=\"\" MenuExtUrl=\"\" "
      "MenuAnonymous=\"0\" MenuSecurity=\"\" MenuUrl=\"T\" MenuType=\"Table\" "
      "MenuCustomUrl=\"0\" MenuLevel=\"0\" MenuShow=\"1\" MenuDisplayOrder=\"-1\"/>\r\n"
      "<ProjectPhrase LanguageId=\"en\" ProjectAttribute=\"ProjName\" Phrase=\"Demo\"/>\r\n"
      "<MenuPhrase LanguageId=\"en\" MenuId=\"1\" MenuAttribute=\"MenuText\" Phrase=\"Tee\"/>\r\n"
      "<TablePhrase LanguageId=\"en\" TableName=\"t\" TableAttribute=\"TblCaption\" "
      "Phrase=\"Tee\"/>\r\n"
      "<FieldPhrase LanguageId=\"en\" TableName=\"T\" FieldName=\"F\" "
      "FieldAttribute=\"FldCaption\" "
      "Phrase=\"Eff\"/>\r\n"
      "</Project>";
  const std::string actual = test::readFile(work() / "demo.vtp");
  EXPECT_TRUE(actual == expected) << test::firstDifference(actual, expected);
}

TEST_F(WriterTest, ProjectWithoutDatabaseHasOnlyItsSettingsAndPhrases) {
  Ref<AGP> p = makeRef<AGP>();
  keepOnly(p->properties(), {u"ProjName"});
  SharedLanguage().SetProjectPhrase(u"en", u"ProjName", u"X");
  SharedLanguage().SetTablePhrase(u"en", u"T", u"TblCaption", u"not without a database");
  saveProject(*p, workFile("bare.vtp"));
  const std::string actual = test::readFile(work() / "bare.vtp");
  const std::string tail =
      "Product=\"Vantorel\" ProjName=\"\">\r\n"
      "<ProjectPhrase LanguageId=\"en\" ProjectAttribute=\"ProjName\" Phrase=\"X\"/>\r\n"
      "</Project>";
  EXPECT_TRUE(actual.ends_with(tail)) << actual;
}

TEST_F(WriterTest, SettingsRule) {
  struct Case {
    std::u16string name, type;
    Variant value;
    std::u16string expected;
  } cases[] = {
      {u"TblAdd", u"Boolean", Variant(true), u"1"},
      {u"TblAdd", u"Boolean", Variant(false), u"0"},
      {u"TblAdd", u"Boolean", Variant(), u"0"},
      {u"TblAdd", u"Boolean", Variant(u""), u"0"},
      {u"TblAdd", u"Boolean", Variant(u"True"), u"1"},
      {u"TblAdd", u"Boolean", Variant(u"-1"), u"1"},
      {u"TblAdd", u"Boolean", Variant(std::int16_t{0}), u"0"},
      // Only the exact type name "Boolean" asks for 1 and 0.
      {u"TblAdd", u"boolean", Variant(true), u"True"},
      {u"FldTagValues", u"String", Variant(u"a\r\nb\r\n"), u"a|b|"},
      {u"fldtagvalues", u"String", Variant(u"a\nb\rc"), u"a\nb\rc"},
      {u"ChartYFldName", u"String", Variant(u"x\r\ny"), u"x|y"},
      {u"TblCaption", u"String", Variant(u"x\r\ny|z"), u"x\r\ny|z"},
      {u"FldSize", u"Long", Variant(std::int32_t{-42}), u"-42"},
      {u"FldType", u"Integer", Variant(std::int16_t{202}), u"202"},
      {u"ChartAlpha", u"Double", Variant(1.5), u"1.5"},
      {u"Anything", u"String", Variant::null(), u""},
  };
  for (const Case& c : cases) {
    const Ref<AGProperties> bag = makeRef<AGProperties>();
    bag->add(c.name, c.type);
    bag->setValue(0, c.value);
    xml::StartTag element;
    element.reset("E");
    WritePropertiesAsAttributes(element, *bag);
    ASSERT_EQ(element.size(), 1u);
    EXPECT_EQ(fromUtf8((*element.begin()).value), c.expected)
        << toUtf8(c.name) << " " << toUtf8(c.type);
    EXPECT_EQ(settingAttributeText(c.name, c.type, c.value), c.expected);
  }
}

// A script may rename a setting to the name another one carries; the element still gets each
// name once, the later setting's value winning.
TEST_F(WriterTest, RenamedSettingsNeverRepeatAnAttribute) {
  const std::pair<const char16_t*, const char*> cases[] = {{u"TblSchema", "first"},
                                                           {u"TblCaption", "second"}};
  for (const auto& [renamed, expected] : cases) {
    const Ref<AGPTable> table = makeRef<AGPTable>();
    table->SetV(u"TblName", u"first");
    table->SetV(renamed, u"second");
    table->properties().find(renamed)->setName(u"TblName");
    xml::StartTag element;
    element.reset("Table");
    WritePropertiesAsAttributes(element, table->properties());
    int named = 0;
    std::string value;
    for (const xml::StartTag::Attribute& a : element) {
      if (a.name != "TblName") continue;
      ++named;
      value = a.value;
    }
    EXPECT_EQ(named, 1) << toUtf8(renamed);
    EXPECT_EQ(value, expected) << toUtf8(renamed);
  }
}

// A model the writer cannot walk raises before anything is backed up or written.
TEST_F(WriterTest, BrokenModelFailsTheSaveAndKeepsTheOldFile) {
  test::writeFile(work() / "keep.vtp", "old bytes");
  Ref<AGP> p = makeRef<AGP>();
  p->properties().setting(*p->properties().slotOf(u"MultiLanguage")) = Variant(u"maybe");
  EXPECT_THROW(saveProject(*p, workFile("keep.vtp")), AutomationError);
  EXPECT_EQ(test::readFile(work() / "keep.vtp"), "old bytes");
  EXPECT_FALSE(std::filesystem::exists(
      std::filesystem::path(toUtf8(projectContext().backupFolder)) / "keep(1).vtp"));

  Ref<AGP> q = makeRef<AGP>();
  AGPTable& t = addTable(addDatabase(*q, u"db"), u"T");
  addField(t, u"A");
  addField(t, u"B").setFldSeq(5);
  try {
    saveProject(*q, workFile("keep.vtp"));
    ADD_FAILURE() << "saved a table whose fields skip number 2";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.description(), u"Field number 2 is missing");
  }
  EXPECT_EQ(test::readFile(work() / "keep.vtp"), "old bytes");
}

// These saves used to write a file the reader refuses (a name that is no XML name) or one that
// other readers reject and that loses everything after a NUL; now each stops before the backup.
TEST_F(WriterTest, UnwritableSettingsFailTheSaveNamingObjectAndSetting) {
  struct Case {
    const char* what;
    std::function<void(AGP&)> setUp;
    std::u16string message;
  };
  const std::vector<Case> cases = {
      {"name with a blank", [](AGP& p) { p.GetV(u"My Setting"); },
       u"Cannot save the setting \"My Setting\" of Project: a project file cannot hold a "
       u"setting of that name"},
      {"name of digits", [](AGP& p) { p.GetV(u"1"); }, u"setting \"1\" of Project"},
      {"control character",
       [](AGP& p) {
         addTable(addDatabase(p, u"db"), u"T")
             .SetV(u"TblCaption",
                   u"a\x01"
                   u"b");
       },
       u"Cannot save the setting \"TblCaption\" of Table \"T\": its value holds the character "
       u"U+0001, which a project file cannot hold"},
      {"NUL", [](AGP& p) { p.SetV(u"ProjName", Variant(std::u16string(u"a\0b", 3))); },
       u"\"ProjName\" of Project: its value holds the character U+0000"},
      {"lone surrogate",
       [](AGP& p) {
         addField(addTable(addDatabase(p, u"db"), u"T"), u"F").SetV(u"FldCaption", u"\xD800");
       },
       u"\"FldCaption\" of Field \"F\": its value holds the character U+D800"},
      {"menu text",
       [](AGP&) {
         AGMenuFields menu = AGPMenus::addDefaults();
         menu.MenuText = u"bell\x07";
         menu.MenuType = u"Table";
         menu.MenuUrl = u"T";
         SharedMenus().AddMenu(menu);
       },
       u"\"MenuText\" of Menu: its value holds the character U+0007"},
  };
  for (const Case& c : cases) {
    while (SharedMenus().Count() > 0) SharedMenus().DeleteMenu(SharedMenus().Item(1)->MenuId());
    test::writeFile(work() / "keep.vtp", "old bytes");
    Ref<AGP> p = makeRef<AGP>();
    c.setUp(*p);
    try {
      saveProject(*p, workFile("keep.vtp"));
      ADD_FAILURE() << c.what << ": saved";
    } catch (const AutomationError& e) {
      EXPECT_NE(e.description().find(c.message), std::u16string::npos)
          << c.what << ": " << toUtf8(e.description());
    }
    EXPECT_EQ(test::readFile(work() / "keep.vtp"), "old bytes") << c.what;
    // The refusal came part-way through the new file: it is gone.
    EXPECT_EQ(test::fileNames(work()), std::vector<std::string>{"keep.vtp"}) << c.what;
    EXPECT_FALSE(std::filesystem::exists(
        std::filesystem::path(toUtf8(projectContext().backupFolder)) / "keep(1).vtp"))
        << c.what;
  }
  while (SharedMenus().Count() > 0) SharedMenus().DeleteMenu(SharedMenus().Item(1)->MenuId());

  // What XML can hold still saves: tabs, line breaks, characters beyond the BMP.
  Ref<AGP> fine = makeRef<AGP>();
  fine->SetV(u"ProjName", Variant(u"a\tb\r\nc \U0001F600"));
  fine->GetV(u"My_Setting.2");
  EXPECT_NO_THROW(saveProject(*fine, workFile("fine.vtp")));
}

}  // namespace
}  // namespace vantorel
