#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "agp/agp.hpp"
#include "agp/agp_classes.hpp"
#include "foundation/project_context.hpp"
#include "foundation/registry_test_support.hpp"
#include "foundation/script_text.hpp"
#include "model/database.hpp"
#include "model/databases.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/class_factory.hpp"
#include "platform/automation/class_info.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"
#include "project/language.hpp"
#include "project/menus.hpp"
#include "project/project_catalogue.hpp"
#include "support/raised_error.hpp"
#include "support/test_files.hpp"

namespace vantorel {
namespace {

class AgpMembersTest : public test::RegistryTest {
 protected:
  void SetUp() override {
    spillStore(machineFile(), "");
    agp_ = makeRef<AGP>();
  }
  test::ScopedEnv docs_{"XDG_DOCUMENTS_DIR", (dir_.path() / "docs").string()};
  Ref<AGP> agp_;
};

TEST_F(AgpMembersTest, GetVAndSetVByName) {
  agp_->AddProj(u"My Shop");
  const std::u16string longName(5000, u'n');
  struct Case {
    std::u16string name;
    Variant value;       // given to SetV; Empty: GetV only
    std::int32_t error;  // of both calls
    std::string read;    // GetV afterwards, as "vartype:text"
  };
  const std::vector<Case> cases = {
      {u"ProjName", Variant(), 0, "8:My Shop"},
      {u"PROJNAME", Variant(), 0, "8:My Shop"},
      {u"PagerStyle", Variant(u"5"), 0, "2:5"},
      // Values that do not convert are stored Empty, which GetV converts to 0.
      {u"pagerstyle", Variant(u"abc"), 0, "2:0"},
      {u"PagerStyle", Variant(std::int32_t{70000}), 0, "2:0"},
      {u"AutoSync", Variant(u"0"), 0, "11:False"},
      {u"SmtpServerPort", Variant(u"587"), 0, "3:587"},
      {u"NotDeclared", Variant(), 0, "0:"},
      {u"Declared later", Variant(std::int32_t{12}), 0, "3:12"},  // kept as given
      {longName, Variant(u"long"), 0, "8:long"},
      {u"", Variant(u"x"), vberr::kInvalidProcedureCall, ""},
      {u"", Variant(), vberr::kInvalidProcedureCall, ""},
  };
  for (const Case& c : cases) {
    const std::int32_t count = agp_->properties().count();
    if (!c.value.isEmpty()) {
      Variant result(u"not empty");
      EXPECT_EQ(test::errorOf([&] { result = agp_->SetV(c.name, c.value); }), c.error);
      if (c.error == 0) {
        EXPECT_TRUE(result.isEmpty());
      }
    }
    Variant read;
    EXPECT_EQ(test::errorOf([&] { read = agp_->GetV(c.name); }), c.error);
    if (c.error != 0) {
      EXPECT_EQ(agp_->properties().count(), count);
      continue;
    }
    std::string shown = std::to_string(static_cast<int>(read.type())) + ":";
    shown += read.isEmpty() ? "" : toUtf8(toString(read));
    EXPECT_EQ(shown, c.read) << toUtf8(c.name.substr(0, 20));
    EXPECT_TRUE(agp_->properties().exists(c.name));
  }
  // A name met by GetV is declared and written to the project file like any other.
  const SettingRecord& added =
      agp_->properties().record(*agp_->properties().slotOf(u"notdeclared"));
  EXPECT_TRUE(added.fileSave);
  EXPECT_FALSE(added.regSave);
  EXPECT_EQ(agp_->properties().count(), 137 + 3);
  // SetV stores without the extras of the typed writes.
  EXPECT_EQ(toString(agp_->get(u"ProjVar")),
            toString(GetVarName(Variant(u"My Shop"), Variant(u""))));
  projectContext().destinationFolder = u"/before";
  agp_->SetV(u"ProjName", Variant(u"Other"));
  agp_->SetV(u"Destination", Variant(u"/via-setv"));
  EXPECT_EQ(toString(agp_->get(u"ProjVar")),
            toString(GetVarName(Variant(u"My Shop"), Variant(u""))));
  EXPECT_EQ(projectContext().destinationFolder, u"/before");
  agp_->let(u"Destination", Variant(u""));
  EXPECT_EQ(projectContext().destinationFolder, u"");
  agp_->let(u"ProjName", Variant(u"Sales 2024"));
  EXPECT_EQ(toString(agp_->get(u"ProjVar")),
            toString(GetVarName(Variant(u"Sales 2024"), Variant(u""))));
}

TEST_F(AgpMembersTest, TypedReadsOfBadStoredValuesRaise) {
  struct Case {
    std::u16string name;
    Variant stored;
    std::int32_t error;
  };
  const std::vector<Case> cases = {
      {u"PagerStyle", Variant(u"abc"), vberr::kTypeMismatch},
      {u"PagerStyle", Variant(std::int32_t{40000}), vberr::kOverflow},
      {u"AutoSync", Variant(u"maybe"), vberr::kTypeMismatch},
      {u"CodePage", Variant(u"65001"), 0},
      {u"ProjName", Variant(std::int32_t{7}), 0},
  };
  for (const Case& c : cases) {
    agp_->properties().item(c.name)->setValue(c.stored);
    EXPECT_EQ(test::errorOf([&] { agp_->get(c.name); }), c.error) << toUtf8(c.name);
    EXPECT_EQ(agp_->properties().findValue(c.name)->varType(), c.stored.varType());
  }
}

TEST_F(AgpMembersTest, MembersInInterfaceOrderAndReachableByName) {
  std::vector<std::u16string> expected = {u"lhWnd",    u"ProjInit", u"ControlList", u"DB",
                                          u"MenuList", u"DBCnt",    u"Properties",  u"GetV",
                                          u"SetV",     u"Language", u"hwnd",        u"ProjErr"};
  const SettingCatalog& catalog = projectCatalog();
  for (SettingSlot s = 0; s < catalog.size(); ++s) expected.push_back(catalog[s].name);
  // Two pairs come in the other order than in the catalogue.
  for (const auto& [first, second] :
       {std::pair{u"TblHdrColor", u"TblHdrFontColor"}, std::pair{u"AutoBrowse", u"CreateVDir"}}) {
    const auto at = std::find(expected.begin(), expected.end(), second);
    ASSERT_EQ(*(at + 1), first);
    std::iter_swap(at, at + 1);
  }
  for (const char16_t* m :
       {u"AddProj", u"DeleteProj", u"Save", u"Load", u"LoadDefault", u"SaveDefault", u"FldSrchOprs",
        u"GenScript", u"GenCheck", u"BuildExParseFunction", u"LoadDB", u"LoadTable", u"UnLoadTable",
        u"LoadReport", u"LoadChart", u"CopyChart", u"CopyTableSettings", u"CopyFieldSettings",
        u"UnLoadDB",
        // The project file's helpers that take plain values.
        u"CompareVersion", u"BoolToNum", u"WriteOutputFile", u"WriteUtf8File",
        u"CopyDefaultSettings", u"CopyRegistryKey", u"DeleteFolderIfExists"}) {
    expected.emplace_back(m);
  }
  for (const char16_t* m :
       {// Then the members of the schema check and the synchronisation,
        u"CustomViewConnStr", u"LoadCustomView", u"ChangeCustomViewToView", u"CheckDB",
        u"SynchronizeDB", u"SyncCustom", u"SyncReport",
        // of the extensions,
        u"Extensions", u"CodeBase", u"customscripts", u"AddExtension", u"GetExtDefault",
        u"SetExtProjAtt", u"GetExtProjAtt", u"SetExtDbAtt", u"GetExtDbAtt", u"SetExtTblAtt",
        u"GetExtTblAtt", u"SetExtChartAtt", u"GetExtChartAtt", u"SetExtFldAtt", u"GetExtFldAtt",
        u"AddExtendedChart", u"AddExtendedField", u"CopyChartToExtensions", u"DeleteExtension",
        // and of the custom scripts and the code base.
        u"AddCustomScript", u"UpdateCustomScript", u"DeleteCustomScript", u"LoadCodeBase",
        u"CodeBaseExist", u"LoadCustomScriptCode"}) {
    expected.emplace_back(m);
  }
  EXPECT_EQ(expected.back(), u"LoadCustomScriptCode");
  std::vector<std::u16string> names;
  for (const MemberInfo& m : agp_->classInfo().members()) names.push_back(m.name);
  EXPECT_EQ(names, expected);

  agp_->let(u"hwnd", Variant(std::int32_t{77}));
  EXPECT_EQ(toLong(agp_->get(u"lhWnd")), 77);
  agp_->let(u"ProjErr", Variant(u"failed"));
  EXPECT_EQ(projectContext().lastErrorText, u"failed");
  EXPECT_EQ(toString(makeRef<AGP>()->get(u"ProjErr")), u"failed");
  projectContext().lastErrorText.clear();
  EXPECT_EQ(agp_->get(u"MenuList").objectValue(), &SharedMenus());
  EXPECT_EQ(agp_->get(u"Language").objectValue(), &SharedLanguage());
  EXPECT_EQ(agp_->get(u"Properties").objectValue(), &agp_->properties());
  EXPECT_TRUE(agp_->get(u"DB").isNothing());
  EXPECT_EQ(toLong(agp_->get(u"DBCnt")), 0);
  EXPECT_FALSE(toBool(agp_->get(u"ProjInit")));
  EXPECT_EQ(toString(agp_->call(u"FldSrchOprs", {Variant(std::int16_t{11})})),
            u"USER SELECT\r\n=\r\n<>");

  // Every setting: written and read back in its type, except the two read-only ones.
  for (SettingSlot s = 0; s < catalog.size(); ++s) {
    const SettingRecord& r = catalog[s];
    const std::string name = toUtf8(r.name);
    Variant value(u"v" + r.name);
    if (r.dataType == u"Boolean") value = Variant(true);
    if (r.dataType == u"Integer") value = Variant(std::int16_t{12});
    if (r.dataType == u"Long") value = Variant(std::int32_t{70000});
    if (r.name == u"ProjVar" || r.name == u"SyncLog") {
      EXPECT_EQ(test::errorOf([&] { agp_->let(r.name, value); }), vberr::kWrongArgumentCount)
          << name;
      continue;
    }
    agp_->let(r.name, value);
    const Variant back = agp_->get(r.name);
    EXPECT_EQ(back.varType(), value.varType()) << name;
    EXPECT_EQ(toString(back), toString(value)) << name;
  }
}

// These members answered 438 to scripts: they existed only for the engine's own C++ callers.
TEST_F(AgpMembersTest, ProjectFileHelpersAreReachableByName) {
  struct Case {
    const char16_t* member;
    Variant a;
    std::optional<Variant> b;
    std::u16string result;
  } cases[] = {
      {u"CompareVersion", Variant(u"5.0"), Variant(u"4.2"), u"2"},
      {u"CompareVersion", Variant(u"4.3"), Variant(u"4.2"), u"1"},
      {u"CompareVersion", Variant(u"4.2.0.9"), Variant(u"4.2.0.1"), u"0"},
      {u"CompareVersion", Variant(u"4.1"), Variant(u"4.2"), u"-1"},
      {u"BoolToNum", Variant(u"True"), std::nullopt, u"1"},
      {u"BoolToNum", Variant(u""), std::nullopt, u"0"},
      {u"BoolToNum", Variant(false), std::nullopt, u"0"},
  };
  for (const Case& c : cases) {
    const Variant result = c.b ? agp_->call(c.member, {c.a, *c.b}) : agp_->call(c.member, {c.a});
    EXPECT_EQ(toString(result), c.result) << toUtf8(c.member);
  }
  const std::u16string file = fromUtf8((dir_.path() / "out.txt").string());
  agp_->call(u"WriteOutputFile", {Variant(file), Variant(u"plain"), Variant(true)});
  EXPECT_EQ(test::readFile(dir_.path() / "out.txt"), "plain");
  agp_->call(u"WriteUtf8File", {Variant(file), Variant(u"x")});
  EXPECT_EQ(test::readFile(dir_.path() / "out.txt"), "\xEF\xBB\xBFx");
  // A folder goes with what it holds; one that is not there is no error.
  const std::filesystem::path folder = dir_.path() / "gone";
  std::filesystem::create_directories(folder / "below");
  std::ofstream(folder / "below" / "f.txt") << "x";
  agp_->call(u"DeleteFolderIfExists", {Variant(fromUtf8(folder.string()))});
  EXPECT_FALSE(std::filesystem::exists(folder));
  agp_->call(u"DeleteFolderIfExists", {Variant(fromUtf8(folder.string()))});
  for (const char16_t* member : {u"CopyDefaultSettings", u"CopyRegistryKey"}) {
    EXPECT_NE(agp_->memberId(member), kDispIdUnknown) << toUtf8(member);
  }
}

TEST_F(AgpMembersTest, AddProjAndDeleteProj) {
  SharedMenus().AddMenu([] {
    AGMenuFields f = AGPMenus::addDefaults();
    f.MenuCustomUrl = true;
    return f;
  }());
  const std::int32_t menus = SharedMenus().Count();
  AGProperties& bag = agp_->properties();
  agp_->call(u"AddProj", {Variant(u"Shop")});
  EXPECT_TRUE(agp_->ProjInit());
  EXPECT_EQ(toString(agp_->get(u"SecType")), u"None");

  // The database is held under one name and renamed afterwards; it still goes.
  ASSERT_TRUE(agp_->databases().add(u"Northwind"));
  Ref<AGPDatabase> db = agp_->databases().item(Variant(u"Northwind"));
  db->setDbName(u"Renamed");
  agp_->setDB(db);
  agp_->setCurrentDbKey(u"Northwind");
  db = nullptr;
  agp_->SetV(u"Extra", Variant(u"x"));
  EXPECT_EQ(toLong(agp_->get(u"DBCnt")), 1);

  agp_->call(u"DeleteProj");
  EXPECT_FALSE(agp_->ProjInit());
  EXPECT_EQ(toLong(agp_->get(u"DBCnt")), 0);
  EXPECT_TRUE(agp_->get(u"DB").isNothing());
  EXPECT_EQ(agp_->CurrentDbKey(), u"");
  // The same bag, declared again without values.
  EXPECT_EQ(&agp_->properties(), &bag);
  EXPECT_EQ(bag.count(), 137);
  EXPECT_FALSE(bag.exists(u"Extra"));
  EXPECT_EQ(toString(agp_->get(u"SecType")), u"");
  EXPECT_FALSE(toBool(agp_->get(u"AutoSync")));
  EXPECT_TRUE(bag.findValue(u"PagerStyle")->isEmpty());
  EXPECT_EQ(agp_->GetV(u"PagerStyle").type(), VarType::Integer);
  EXPECT_EQ(SharedMenus().Count(), menus);
  agp_->AddProj(u"Again");
  EXPECT_EQ(toInteger(agp_->get(u"PagerStyle")), 2);
  SharedMenus().DeleteMenu(SharedMenus().Item(menus)->MenuId());
}

TEST_F(AgpMembersTest, DateFormatFollowsTheSetting) {
  const std::vector<std::pair<Variant, std::int16_t>> cases = {
      {Variant(std::int16_t{9}), 9},
      {Variant(u"11"), 11},
      {Variant(u"x"), 0},
      {Variant(), 0},
  };
  for (const auto& [value, format] : cases) {
    spillStore(userFile(), "[HKEY_CURRENT_USER\\Software\\Vantorel\\4.0\\Settings\\Project]\n" +
                               (value.isEmpty() ? std::string()
                                                : "\"defaultDateFormat\"=\"" +
                                                      toUtf8(toString(value)) + "\"\n"));
    projectContext().currentDateFormat = -1;
    agp_->LoadDefault();
    EXPECT_EQ(projectContext().currentDateFormat, format);
  }
}

TEST_F(AgpMembersTest, CreatableByProgId) {
  ClassFactory& factory = ClassFactory::instance();
  registerAgpClasses(factory);
  registerProjectMenuClasses(factory);
  for (const char16_t* progId : {u"vantorel4.AGP", u"vantorel4.AGPMenu", u"vantorel4.AGPMenus"}) {
    const Ref<Object> o = factory.create(progId);
    ASSERT_TRUE(o) << toUtf8(progId);
    EXPECT_EQ(u"vantorel4." + o->classInfo().name(), progId);
  }
}

}  // namespace
}  // namespace vantorel
