#include "generator/project_outputs.hpp"
#include "foundation/project_context.hpp"

#include <string>
#include <vector>

#include "agp/agp.hpp"
#include "foundation/control_items.hpp"
#include "foundation/reg_values.hpp"
#include "generator_test_support.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant_convert.hpp"
#include "project/language.hpp"
#include "support/test_files.hpp"
#include "templates/script_host.hpp"

namespace vantorel::test {
namespace {

namespace fsys = std::filesystem;

void setGeneral(std::u16string_view name, std::u16string_view value) {
  SetRegValue(Variant(u"HKCU"), Variant(projectContext().generalKey), Variant(std::u16string(name)),
              1, Variant(std::u16string(value)));
}

class ProjectOutputsTest : public GeneratorTest {
 protected:
  void SetUp() override {
    GeneratorTest::SetUp();
    const fsys::path in = dir_.path() / "in";
    test::writeFile(in / "user.css", "user");
    test::writeFile(in / "logo.png", "logo");
    test::writeFile(in / "fav.ico", "icon");
    test::writeFile(in / "lang" / "english.xml", "<language id=\"en\"><global/></language>");
    run().templateControls = makeRef<AGPControls>();
    for (const auto& [id, folder] : std::vector<std::pair<std::u16string, std::u16string>>{
             {u"_css", u"css"}, {u"_images", u"img"}, {u"_language", u"lang"}}) {
      run().templateControls->AddControl(makeControl(id, u"folder", u"", u"", u"", folder));
    }
    proj_->setProjName(u"MyShop");
    set(u"OutputNameLCase", Variant(true));
    set(u"CSS", Variant(u16(in / "user.css")));
    set(u"HeaderLogo", Variant(u16(in / "logo.png")));
    set(u"FavIcon", Variant(u16(in / "fav.ico")));
    set(u"MultiLanguage", Variant(true));
    set(u"LanguageFiles", Variant(u"english.xml, german.xml"));
    projectContext().languageFolderPath = u16(in / "lang");
  }
  void TearDown() override {
    setGeneral(u"CssFile", u"");
    run().templateControls = makeRef<AGPControls>();
    projectContext().languageFolderPath.clear();
    GeneratorTest::TearDown();
  }
  std::vector<std::string> items() {
    std::vector<std::string> out;
    AGControlItems& list = proj_->controlList();
    for (std::int32_t i = 1; i <= list.Count(); ++i) {
      const Ref<AGControlItem> item = list.Item(Variant(i));
      out.push_back(
          u8(item->ItemId() + u"=" + fsys::path(u8(item->ItemFn())).filename().u16string()));
    }
    return out;
  }
};

TEST_F(ProjectOutputsTest, ListsThenMakesTheProjectFiles) {
  EXPECT_EQ(GenerateProjectFiles(run(), true), 0);
  // " german.xml" keeps its blank and, missing, gets no item.
  EXPECT_EQ(items(),
            (std::vector<std::string>{"@css=myshop.css", "@cssfile=user.css", "@logo=logo.png",
                                      "@favicon=fav.ico", "@lang_english.xml=english.xml"}));
  EXPECT_TRUE(fsys::is_empty(site_));

  // Without a style-sheet template no style sheet is written.
  EXPECT_EQ(GenerateProjectFiles(run(), false), 1);
  EXPECT_EQ(run().failure, std::nullopt);
  EXPECT_EQ(test::readFile(site_ / "user.css"), "user");
  EXPECT_EQ(test::readFile(site_ / "img" / "logo.png"), "logo");
  EXPECT_EQ(test::readFile(site_ / "fav.ico"), "icon");
  EXPECT_TRUE(fsys::exists(site_ / "lang" / "english.xml"));
  EXPECT_FALSE(fsys::exists(site_ / "css" / "myshop.css"));

  // The favicon now exists, so the check reports it.
  EXPECT_EQ(GenerateProjectFiles(run(), true), 1);

  // Items switched off are left alone.
  fsys::remove_all(site_);
  fsys::create_directories(site_);
  for (const char16_t* id : {u"@logo", u"@favicon", u"@lang_english.xml", u"@cssfile"}) {
    proj_->controlList().Item(Variant(id))->setItemGen(false);
  }
  EXPECT_EQ(GenerateProjectFiles(run(), false), 0);
  for (const char* f : {"fav.ico", "img/logo.png", "user.css", "lang/english.xml"}) {
    EXPECT_FALSE(fsys::exists(site_ / f)) << f;
  }
}

TEST_F(ProjectOutputsTest, StyleSheetFromTheUsersTemplate) {
  test::writeFile(dir_.path() / "tpl.css", "body { color: red; }\r\n");
  setGeneral(u"CssFile", u16(dir_.path() / "tpl.css"));
  set(u"CssStyles", Variant(u"p { margin: 0; }"));
  set(u"CSS", Variant(u16(site_ / "user.css")));  // already in place: no item
  GenerateProjectFiles(run(), false);
  EXPECT_EQ(run().failure, std::nullopt);
  const std::string css = test::readFile(site_ / "css" / "myshop.css");
  EXPECT_NE(css.find("body { color: red; }\r\np { margin: 0; }"), std::string::npos) << css;
  EXPECT_FALSE(proj_->controlList().ItemExist(Variant(u"@cssfile")));
}

TEST_F(ProjectOutputsTest, FailuresEndTheRunOnlyBeforeTheStyleSheet) {
  // A folder where the logo should go makes its copy fail.
  fsys::create_directories(site_ / "img" / "logo.png");
  proj_->controlList().Add(u"@css", u"", false, u"");
  EXPECT_NE(stopMessage([&] { GenerateProjectFiles(run(), false); }).find(u"Copying to file"),
            std::u16string::npos);

  run_.emplace(*proj_);
  proj_->controlList().Item(Variant(u"@css"))->setItemGen(true);
  EXPECT_EQ(GenerateProjectFiles(run(), false), 1);
  EXPECT_EQ(run().failure, std::nullopt);
  EXPECT_EQ(test::readFile(site_ / "fav.ico"), "icon");

  // A language file that names a path outside the language folder ends the run either way.
  set(u"LanguageFiles", Variant(u"../in/user.css"));
  EXPECT_NE(stopMessage([&] {
              GenerateProjectFiles(run(), false);
            }).find(u"leads outside the language folder"),
            std::u16string::npos);
}

}  // namespace
}  // namespace vantorel::test
