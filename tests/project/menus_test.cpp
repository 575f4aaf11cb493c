#include "project/menus.hpp"
#include "foundation/project_context.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"
#include "project/language.hpp"
#include "support/failure_text.hpp"
#include "support/temp_home.hpp"

namespace vantorel {
namespace {

// "id:parent:order" of every entry in list order.
std::string ids(const AGPMenus& menus) {
  std::string out;
  for (const Ref<AGPMenu>& m : menus.items()) {
    if (!out.empty()) out += " ";
    out += std::to_string(m->MenuId()) + ":" + std::to_string(m->MenuParentId()) + ":" +
           std::to_string(m->MenuDisplayOrder());
  }
  return out;
}

AGMenuFields link(const std::u16string& type, const std::u16string& url, std::int32_t id = -1,
                  std::int32_t parent = -1, std::int32_t order = -1) {
  AGMenuFields f = AGPMenus::addDefaults();
  f.MenuType = type;
  f.MenuUrl = url;
  f.MenuId = id;
  f.MenuParentId = parent;
  f.MenuDisplayOrder = order;
  return f;
}

class MenusTest : public ::testing::Test {
 protected:
  std::u16string writeFile(const std::string& name, const std::string& text) {
    const std::filesystem::path p = dir_.path() / name;
    std::ofstream(p, std::ios::binary) << text;
    return fromUtf8(p.string());
  }
  // A project file whose root holds the given children.
  std::u16string project(const std::string& children) {
    return writeFile(
        "p.vtp", "<?xml version=\"1.0\"?>\r\n<Project Version=\"4.0\">" + children + "</Project>");
  }
  test::TempDir dir_;
  Ref<AGPMenus> menus_ = makeRef<AGPMenus>();
};

TEST_F(MenusTest, AddChooseIdsAndRefusesBadLinks) {
  // Each step: the entry, whether it is taken, and the list afterwards.
  struct Step {
    AGMenuFields entry;
    bool added;
    std::string list;
  };
  AGMenuFields custom = AGPMenus::addDefaults();
  custom.MenuCustomUrl = true;
  const std::vector<Step> steps = {
      {AGPMenus::addDefaults(), false, ""},
      {custom, true, "1:-1:-1"},
      {link(u"Table", u"Orders"), true, "1:-1:-1 2:-1:-1"},
      {link(u"Table", u"orders"), true, "1:-1:-1 2:-1:-1 3:-1:-1"},
      {link(u"Table", u"Orders"), false, "1:-1:-1 2:-1:-1 3:-1:-1"},
      {link(u"Chart", u"Orders"), true, "1:-1:-1 2:-1:-1 3:-1:-1 4:-1:-1"},
      {link(u"Table", u"A", 0), true, "1:-1:-1 2:-1:-1 3:-1:-1 4:-1:-1 0:-1:-1"},
      {link(u"Table", u"B", 2), true, "1:-1:-1 2:-1:-1 3:-1:-1 4:-1:-1 0:-1:-1 5:-1:-1"},
      {link(u"Table", u"C", 40, 3, 7), true,
       "1:-1:-1 2:-1:-1 3:-1:-1 4:-1:-1 0:-1:-1 5:-1:-1 40:3:7"},
      {link(u"Table", u"D"), true,
       "1:-1:-1 2:-1:-1 3:-1:-1 4:-1:-1 0:-1:-1 5:-1:-1 40:3:7 41:-1:-1"},
  };
  for (std::size_t i = 0; i < steps.size(); ++i) {
    EXPECT_EQ(menus_->AddMenu(steps[i].entry), steps[i].added) << "step " << i;
    EXPECT_EQ(ids(*menus_), steps[i].list) << "step " << i;
  }
  EXPECT_EQ(menus_->highestMenuId(), 41);
  const Ref<AGPMenu> first = menus_->Item(1);
  EXPECT_TRUE(first->MenuShow());
  EXPECT_TRUE(first->MenuType().empty());
}

TEST_F(MenusTest, ChangeKeepsIdAndRefusesClashes) {
  ASSERT_TRUE(menus_->AddMenu(link(u"Table", u"A")));
  ASSERT_TRUE(menus_->AddMenu(link(u"Table", u"B")));
  struct Case {
    AGMenuFields entry;
    bool changed;
    std::u16string urlOf1;
  };
  AGMenuFields customOn2 = link(u"Table", u"A", 2);
  customOn2.MenuCustomUrl = true;
  const std::vector<Case> cases = {
      {link(u"Table", u"B", 1), false, u"A"},       // another entry links B
      {link(u"Table", u"", 1), false, u"A"},        // no URL
      {link(u"Table", u"X", 9), false, u"A"},       // unknown id
      {link(u"Table", u"A", 1, 2, 5), true, u"A"},  // its own link again
      {link(u"Table", u"C", 1), true, u"C"},
      {customOn2, true, u"C"},  // a custom URL may repeat any link
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(menus_->ChangeMenu(cases[i].entry), cases[i].changed) << "case " << i;
    EXPECT_EQ(menus_->GetItemByID(1)->MenuUrl(), cases[i].urlOf1) << "case " << i;
  }
  EXPECT_EQ(ids(*menus_), "1:-1:-1 2:-1:-1");
  EXPECT_EQ(menus_->GetItemByID(2)->MenuUrl(), u"A");
}

TEST_F(MenusTest, DeleteReparentsChildrenAndRemovesPhrases) {
  ASSERT_TRUE(menus_->AddMenu(link(u"Table", u"P", 1)));
  ASSERT_TRUE(menus_->AddMenu(link(u"Table", u"C", 2, 1)));
  ASSERT_TRUE(menus_->AddMenu(link(u"Table", u"G", 3, 2)));
  ASSERT_TRUE(menus_->AddMenu(link(u"Table", u"S", 4, 1)));
  AGPLanguage& language = SharedLanguage();
  language.InitSettings();
  language.SetMenuPhrase(u"en", u"1", u"MenuText", u"Parent");
  language.SetMenuPhrase(u"de", u"1", u"MenuText", u"Eltern");
  language.SetMenuPhrase(u"en", u"2", u"MenuText", u"Child");

  EXPECT_FALSE(menus_->DeleteMenu(99));
  EXPECT_EQ(language.MenuCount(), 3);
  EXPECT_TRUE(menus_->DeleteMenu(1));
  EXPECT_EQ(ids(*menus_), "2:-1:-1 3:2:-1 4:-1:-1");
  EXPECT_EQ(language.MenuCount(), 1);
  EXPECT_EQ(language.MenuItem(1).MenuId, u"2");
  // The highest id is recomputed, so a freed top id is handed out again.
  EXPECT_TRUE(menus_->DeleteMenu(4));
  ASSERT_TRUE(menus_->AddMenu(link(u"Table", u"N")));
  EXPECT_EQ(ids(*menus_), "2:-1:-1 3:2:-1 4:-1:-1");
  language.InitSettings();
}

TEST_F(MenusTest, SortGivesTreeOrder) {
  struct Case {
    std::vector<AGMenuFields> entries;
    std::string sorted;
  };
  const std::vector<Case> cases = {
      {{link(u"T", u"1", 1, -1, 2), link(u"T", u"2", 2, -1, 1), link(u"T", u"3", 3, 1, 1),
        link(u"T", u"4", 4, 2, 1)},
       "2:-1:1 4:2:1 1:-1:2 3:1:1"},
      {{link(u"T", u"a", 5, 6, 2), link(u"T", u"b", 6, -1, 1), link(u"T", u"c", 7, 6, 1),
        link(u"T", u"d", 8, 7, 1), link(u"T", u"e", 9, -1, 0)},
       "9:-1:0 6:-1:1 7:6:1 8:7:1 5:6:2"},
      // A parent below -1 sorts first; an unknown parent is gathered under nothing.
      {{link(u"T", u"a", 1, -1, 1), link(u"T", u"b", 2, -5, 1), link(u"T", u"c", 3, 77, 1)},
       "2:-5:1 1:-1:1 3:77:1"},
      {{link(u"T", u"a", 1, -1, 1)}, "1:-1:1"},
      {{}, ""},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    auto menus = makeRef<AGPMenus>();
    for (const AGMenuFields& e : cases[i].entries) ASSERT_TRUE(menus->AddMenu(e));
    menus->Sort();
    EXPECT_EQ(ids(*menus), cases[i].sorted) << "case " << i;
  }
}

TEST_F(MenusTest, LookupsSetCurrentIndexOnlyWhenFound) {
  ASSERT_TRUE(menus_->AddMenu(link(u"Table", u"Orders", 10)));
  ASSERT_TRUE(menus_->AddMenu(link(u"Chart", u"Orders|Sales", 11, 10)));
  EXPECT_EQ(menus_->curIndex(), 0);
  EXPECT_EQ(menus_->Item(2)->MenuId(), 11);
  EXPECT_EQ(menus_->curIndex(), 2);
  EXPECT_EQ(menus_->Item(0), nullptr);
  EXPECT_EQ(menus_->Item(3), nullptr);
  EXPECT_EQ(menus_->GetItemByID(12), nullptr);
  EXPECT_EQ(menus_->GetItemByTableName(u"Table", u"orders"), nullptr);
  EXPECT_EQ(menus_->curIndex(), 2);
  EXPECT_EQ(menus_->GetItemByTableName(u"Table", u"Orders")->MenuId(), 10);
  EXPECT_EQ(menus_->curIndex(), 1);
  EXPECT_TRUE(menus_->MenuHasTable(u"Chart", u"Orders|Sales"));
  EXPECT_FALSE(menus_->MenuHasTable(u"chart", u"Orders|Sales"));
  EXPECT_TRUE(menus_->MenuHasID(11));
  EXPECT_FALSE(menus_->MenuHasID(-1));
  EXPECT_EQ(menus_->GetItemByID(11)->MenuUrl(), u"Orders|Sales");
  EXPECT_EQ(menus_->curIndex(), 2);
}

TEST_F(MenusTest, LoadMenusReadsRootChildrenOnly) {
  const std::u16string file = project(
      "<Menu MenuID=\"3\" MenuText=\"Orders &amp; more\" MenuParentID=\"-1\" MenuUrl=\"Orders\" "
      "MenuType=\"Table\" MenuCustomUrl=\"0\" MenuLevel=\"0\" MenuShow=\"1\" "
      "MenuDisplayOrder=\"100\" MenuAnonymous=\"2\"/>\r\n"
      "<MENU menuid=\"7\" menuurl=\"x\"/>"
      "<Table><Menu MenuID=\"99\" MenuUrl=\"deep\"/></Table>"
      "<Menu MenuID=\"5\" MenuUrl=\"a&#13;&#10;b\" MenuShow=\"True\" MenuCustomUrl=\"-1\" "
      "MenuParentID=\"abc\" MenuLevel=\"99999999999\" Other=\"1\"/>");
  ASSERT_TRUE(menus_->AddMenu(link(u"Table", u"old")));
  projectContext().lastErrorText = u"earlier";
  ASSERT_TRUE(menus_->LoadMenus(file));
  EXPECT_EQ(projectContext().lastErrorText, u"earlier");
  EXPECT_EQ(ids(*menus_), "3:-1:100 7:-1:0 5:-1:0");
  const AGMenuFields& first = menus_->Item(1)->fields();
  EXPECT_EQ(first.MenuText, u"Orders & more");
  EXPECT_EQ(first.MenuAnonymous, 2);
  EXPECT_TRUE(first.MenuShow);
  // Only an id and a URL: a hidden, top-level, non-custom table entry.
  const AGMenuFields& bare = menus_->Item(2)->fields();
  EXPECT_EQ(bare.MenuType, u"Table");
  EXPECT_FALSE(bare.MenuShow);
  EXPECT_FALSE(bare.MenuCustomUrl);
  const AGMenuFields& third = menus_->Item(3)->fields();
  EXPECT_EQ(third.MenuUrl, u"a\r\nb");
  EXPECT_TRUE(third.MenuShow);
  EXPECT_TRUE(third.MenuCustomUrl);
  EXPECT_EQ(third.MenuLevel, 0);
  // The highest id of the file is 7.
  ASSERT_TRUE(menus_->AddMenu(link(u"Table", u"new")));
  EXPECT_EQ(menus_->Item(4)->MenuId(), 8);
}

TEST_F(MenusTest, LoadMenusNeverLowersTheHighestId) {
  ASSERT_TRUE(menus_->AddMenu(link(u"Table", u"a", 9)));
  ASSERT_TRUE(menus_->LoadMenus(project("<Menu MenuID=\"4\" MenuUrl=\"b\"/>")));
  ASSERT_TRUE(menus_->AddMenu(link(u"Table", u"c")));
  EXPECT_EQ(ids(*menus_), "4:-1:0 10:-1:-1");
}

TEST_F(MenusTest, LoadMenusFailures) {
  struct Case {
    std::string text;  // empty: no file at all
    std::u16string message;
    std::string listAfter;
  };
  const std::vector<Case> cases = {
      {"", u"Vantorel: Load project file failed!", "1:-1:-1"},
      {"<Project><Menu", u"Vantorel: Load project file failed!", "1:-1:-1"},
      {"<Projects><Menu MenuID=\"2\" MenuUrl=\"b\"/></Projects>",
       u"Vantorel: Project file is invalid!", ""},
      {"<x:PROJECT xmlns:x=\"urn:x\"><Menu MenuID=\"2\" MenuUrl=\"b\"/></x:PROJECT>", u"",
       "2:-1:0"},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    auto menus = makeRef<AGPMenus>();
    ASSERT_TRUE(menus->AddMenu(link(u"Table", u"a")));
    projectContext().lastErrorText.clear();
    const std::u16string file = cases[i].text.empty()
                                    ? fromUtf8((dir_.path() / "missing.vtp").string())
                                    : writeFile("f" + std::to_string(i) + ".vtp", cases[i].text);
    // The loader returns its fault; only the scripts' member reports it.
    EXPECT_EQ(test::failureText(makeRef<AGPMenus>()->loadMenuFile(file)), cases[i].message)
        << "case " << i;
    EXPECT_EQ(projectContext().lastErrorText, u"") << "case " << i;
    EXPECT_EQ(menus->LoadMenus(file), cases[i].message.empty()) << "case " << i;
    EXPECT_EQ(projectContext().lastErrorText, cases[i].message) << "case " << i;
    EXPECT_EQ(ids(*menus), cases[i].listAfter) << "case " << i;
  }
  projectContext().lastErrorText.clear();
}

TEST_F(MenusTest, AttributesByName) {
  auto menu = makeRef<AGPMenu>();
  menu->setMenuId(-1);
  menu->setMenuText(u"Home");
  menu->setMenuCustomUrl(true);
  menu->setMenuAnonymous(3);
  const std::vector<std::pair<std::u16string, std::u16string>> cases = {
      {u"MenuId", u"-1"},      {u"MENUTEXT", u"Home"},   {u"menucustomurl", u"True"},
      {u"MenuShow", u"False"}, {u"MenuAnonymous", u"3"}, {u"MenuLevel", u"0"},
      {u"MenuSecurity", u""},
  };
  for (const auto& [name, text] : cases) {
    EXPECT_TRUE(menu->MenuAttExist(name)) << toUtf8(name);
    EXPECT_EQ(menu->MenuAtt(name), text) << toUtf8(name);
  }
  for (const std::u16string name : {u"", u"Menu", u"MenuIdx", u"TblName"}) {
    EXPECT_FALSE(menu->MenuAttExist(name)) << toUtf8(name);
    EXPECT_EQ(menu->MenuAtt(name), u"") << toUtf8(name);
  }
}

TEST_F(MenusTest, LateBoundMembers) {
  Ref<AGPMenus> menus = makeRef<AGPMenus>();
  EXPECT_FALSE(toBool(menus->call(u"AddMenu")));
  EXPECT_TRUE(toBool(menus->call(
      u"AddMenu", {Variant(std::int32_t{5}), Variant(u"Text"), Variant(std::int32_t{-1}),
                   Variant(u"src"), Variant(u"ext"), Variant(std::int16_t{1}), Variant(u"sec"),
                   Variant(u"Orders"), Variant(u"Table")})));
  EXPECT_TRUE(toBool(menus->call(
      u"ChangeMenu",
      {Variant(std::int32_t{5}), Variant(u"New"), Variant(std::int32_t{-1}), Variant(u""),
       Variant(u""), Variant(std::int16_t{0}), Variant(u""), Variant(u"Orders"), Variant(u"Table"),
       Variant(false), Variant(std::int32_t{2}), Variant(true), Variant(std::int32_t{3})})));
  EXPECT_EQ(toLong(menus->call(u"Count")), 1);
  EXPECT_TRUE(toBool(menus->call(u"MenuHasID", {Variant(std::int32_t{5})})));
  EXPECT_TRUE(toBool(menus->call(u"MenuHasTable", {Variant(u"Table"), Variant(u"Orders")})));
  Variant item = menus->call(u"GetItemByTableName", {Variant(u"Table"), Variant(u"Orders")});
  ASSERT_TRUE(item.isObject());
  Object& menu = *item.objectValue();
  EXPECT_EQ(toString(menu.get(u"MenuText")), u"New");
  EXPECT_EQ(toLong(menu.get(u"MenuLevel")), 2);
  menu.let(u"MenuLevel", Variant(std::int32_t{4}));
  EXPECT_EQ(toString(menu.get(u"MenuAtt", {Variant(u"MenuLevel")})), u"4");
  EXPECT_TRUE(toBool(menu.get(u"MenuAttExist", {Variant(u"menushow")})));
  menu.call(u"Load", {Variant(u"<menu menuid='8' menuurl='x' menushow='1'/>")});
  EXPECT_EQ(toLong(menu.get(u"MenuId")), 8);
  EXPECT_EQ(toLong(menu.get(u"MenuParentId")), -1);
  EXPECT_EQ(toLong(menus->get(u"curIndex")), 1);
  EXPECT_TRUE(menus->call(u"Item", {Variant(std::int32_t{2})}).isNothing());
  EXPECT_TRUE(menus->call(u"GetItemByID", {Variant(std::int32_t{8})}).isObject());
  menus->call(u"Sort");
  EXPECT_TRUE(toBool(menus->call(u"DeleteMenu", {Variant(std::int32_t{8})})));
  Variant path(u"/nonexistent/file.vtp");
  EXPECT_FALSE(toBool(menus->call(u"LoadMenus", {path})));
  EXPECT_EQ(&SharedMenus(), &SharedMenus());
  projectContext().lastErrorText.clear();
}

}  // namespace
}  // namespace vantorel
