#include "generator/extension_merge.hpp"
#include "foundation/project_context.hpp"

#include <vector>

#include "extension_list.hpp"
#include "generation_run_support.hpp"
#include "generator/generation_driver.hpp"
#include "generator/generation_extensions.hpp"
#include "support/test_files.hpp"
#include "templates/control_session.hpp"
#include "templates/stamp_cache.hpp"

namespace vantorel::test {
namespace {

class ExtensionMergeTest : public GenerationRunTest {
 protected:
  void SetUp() override {
    GenerationRunTest::SetUp();
    projectContext().extensionsFolder = u16(dir_.path() / "exts");
    fsys::create_directories(dir_.path() / "exts");
    previous_ = Installed<GenerationExtensions>::install(&list_);
  }
  void TearDown() override {
    Installed<GenerationExtensions>::install(previous_);
    GenerationRunTest::TearDown();
  }

  ExtensionList list_;
  GenerationExtensions* previous_ = nullptr;
};

TEST_F(ExtensionMergeTest, AddsAndDeletesControlsAndDisablesAMissingExtension) {
  const std::string root = u8(projectContext().productName);
  const std::string control =
      "<" + root + " date=\"\" version=\"" + u8(projectContext().shortVersion) +
      "\" author=\"\" desc=\"\">" +
      "<control id=\"extra\" type=\"other\" ifiles=\"extra.htm\" ofile=\"extra\" oext=\"asp\" "
      "overwrite=\"true\" action=\"add\"/><control id=\"report\" action=\"delete\"/>"
      "<control id=\"menu\" action=\"\"/></" +
      root + ">";
  const std::string page = "extra page\r\n";
  int error = 0;
  zip_t* archive = zip_open((dir_.path() / "exts" / "ext1.zip").c_str(), ZIP_CREATE, &error);
  ASSERT_NE(archive, nullptr);
  zip_file_add(archive, "control.xml",
               zip_source_buffer(archive, control.data(), control.size(), 0), 0);
  zip_file_add(archive, "extra.htm", zip_source_buffer(archive, page.data(), page.size(), 0), 0);
  ASSERT_EQ(zip_close(archive), 0);
  list_.entries = {{u"ext1", u"ext1.zip", true}, {u"gone", u"gone.zip", true}};
  ui_->queueAnswer(ui::Answer::Yes);  // ignore the missing extension

  ASSERT_EQ(checkSite(*proj_), 0);
  generate();
  EXPECT_FALSE(list_.entries[1].enabled);
  EXPECT_EQ(test::readFile(site_ / "extra.asp"), "extra page\r\n");
  EXPECT_FALSE(fsys::exists(site_ / "Summaryreport.asp"));
  EXPECT_TRUE(fsys::exists(site_ / "menu.asp"));
  run().templateCache = makeRef<AGPCache>();
  EXPECT_TRUE(ExtFilesUnchanged(run(), u"ext1"));
  // Not unpacked (no control file) counts as unchanged; not installed as changed.
  EXPECT_TRUE(ExtFilesUnchanged(run(), u"gone"));
  EXPECT_FALSE(ExtFilesUnchanged(run(), u"unknown"));
  run().templateCache = nullptr;

  // Nothing changed: the compiled templates, the extension's included, are kept.
  const auto compiled = compiledTemplates();
  ASSERT_TRUE(compiled.count("extra.tpl"));
  checkSite(*proj_);
  generate();
  EXPECT_EQ(compiledTemplates(), compiled);
}

TEST_F(ExtensionMergeTest, MergesSessionsByTheirAction) {
  auto session = [](std::u16string value, std::u16string action, std::u16string cond = {}) {
    Ref<AGPSession> s = makeRef<AGPSession>();
    s->fields() = {.SessType = u"key", .SessValue = value, .SessCond = cond, .SessAction = action};
    return s;
  };
  Ref<AGPControl> target = makeControl(u"page", u"other", u"page");
  for (const char16_t* v : {u"a", u"b", u"c"})
    target->Sessions()->AddSession(session(v, u""), u"", u"");
  Ref<AGPControl> ext = makeControl(u"page", u"other", u"page");
  ext->setCtrlExt(u"ext1");
  ext->Sessions()->AddSession(session(u"b", u"delete"), u"", u"");
  ext->Sessions()->AddSession(session(u"c", u"change", u"new"), u"", u"");
  ext->Sessions()->AddSession(session(u"C", u"change", u"case"), u"", u"");
  ext->Sessions()->AddSession(session(u"d", u"add"), u"", u"");
  ext->Sessions()->AddSession(session(u"e", u"ignored"), u"", u"");
  MergeCtrlSessions(*target, *ext);

  std::vector<std::string> merged;
  for (const Ref<AGPSession>& s : target->Sessions()->items()) {
    merged.push_back(u8(s->SessValue() + u"/" + s->SessCond() + u"/" + s->SessExt()));
  }
  EXPECT_EQ(merged, (std::vector<std::string>{"a//", "c/new/ext1", "d//ext1"}));
  const Expected<> unknown = MergeExtControls(run(), u"unknown");
  ASSERT_FALSE(unknown.ok());
  EXPECT_EQ(unknown.failure().number, kControlFileUnloadable);
}

}  // namespace
}  // namespace vantorel::test
