#include "generator/template_loading.hpp"
#include "foundation/project_context.hpp"

#include <set>
#include <vector>

#include "extension_list.hpp"
#include "foundation/template_lookup.hpp"
#include "generator_test_support.hpp"
#include "support/test_files.hpp"
#include "templates/control_session.hpp"
#include "templates/control_sessions.hpp"
#include "templates/file_cache.hpp"

namespace vantorel::test {
namespace {

TEST(IncludeScanTest, ListsIncludedFiles) {
  struct Case {
    std::u16string text, expected;
  };
  const std::vector<Case> cases = {
      {u"no directives", u""},
      {u"<!--##include a.htm##-->", u"a.htm"},
      {u"<!--##INCLUDE  b.htm/header ##-->", u"b.htm"},
      {u"x<!--##include sub/c.htm/sec##-->y", u"sub/c.htm"},
      {u"<!--##include a.htm##--><!--##Include a.htm/s##-->", u"a.htm,a.htm"},
      // Empty names count, but only after something was listed.
      {u"<!--##include ##--><!--##include b##-->", u"b"},
      {u"<!--##include a##--><!--##include /s##-->", u"a,"},
      // An opener without a closer ends the scan, wherever it stands.
      {u"<!--##include never closed", u""},
      {u"head <!--##include a##--> and <!--##include b", u"a"},
      {u"<!--##include<!--##include z##-->", u"<!--##include z"},
      // False starts of the opener and the closer, and a closer cut short at the end.
      {u"<<!-<!--#<!--##include a#-##->##-->#", u"a#-##->"},
      {u"<!--##include a##-", u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(u8(c.text));
    EXPECT_EQ(u8(GetIncludeFiles(c.text)), u8(c.expected));
  }
}

class TemplateLoadingTest : public GeneratorTest {
 protected:
  void SetUp() override {
    GeneratorTest::SetUp();
    tpl_ = dir_.path() / "tpl";
    projectContext().templateFolder = u16(tpl_);
    projectContext().currentSourceFolder.clear();
    SharedFileCache().Clear();
  }
  void TearDown() override {
    SharedFileCache().Clear();
    projectContext().templateFolder.clear();
    projectContext().currentSourceFolder.clear();
    GeneratorTest::TearDown();
  }
  void tplFile(const std::string& name, const std::string& extra = "") {
    test::writeFile(tpl_ / name, "<!--##session s##-->" + name + "<!--##/session##-->" + extra);
  }
  static void addSession(AGPControl& control, std::u16string type, std::u16string file) {
    Ref<AGPSession> session = makeRef<AGPSession>();
    session->fields().SessType = std::move(type);
    session->fields().SessIFile = std::move(file);
    control.Sessions()->AddSession(session, u"", u"");
  }
  static std::set<std::string> cachedFiles() {
    std::set<std::string> files;
    for (const AGPFileCache::Entry& e : SharedFileCache().entries()) files.insert(u8(e.file));
    return files;
  }

  std::filesystem::path tpl_;
};

TEST_F(TemplateLoadingTest, LoadsInputsIncludesAndKeySessions) {
  tplFile("list.htm",
          "<!--##include common.htm/header##--><!--##include gone.htm##-->"
          "<!--##include ../escape.htm##-->");
  tplFile("common.htm");
  tplFile("key.htm", "<!--##include keyinc.htm##-->");
  tplFile("keyinc.htm");
  tplFile("other.htm");  // found by its trimmed name, cached as the control file writes it
  tplFile("other2.htm");
  test::writeFile(dir_.path() / "escape.htm", "<!--##session s##-->out<!--##/session##-->");
  test::writeFile(dir_.path() / "outside.htm", "<!--##session s##-->out<!--##/session##-->");

  Ref<AGPControl> control = makeControl(u"list", u"table", u"list", u"*",
                                        u"list.htm, missing.htm,../outside.htm, other.htm ");
  addSession(*control, u"key", u"key.htm");
  addSession(*control, u"Key", u"other2.htm");
  addSession(*control, u"key", u"");
  LoadCtrlTplFiles(*run().fileCache, *control);
  EXPECT_EQ(cachedFiles(), (std::set<std::string>{"list.htm", "common.htm", " other.htm ",
                                                  "key.htm", "keyinc.htm"}));
  EXPECT_EQ(u8(projectContext().currentSourceFolder), u8(projectContext().templateFolder));
  const std::u16string* text = SharedFileCache().find(u"common.htm", u"s");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(u8(*text), "common.htm");
}

TEST_F(TemplateLoadingTest, AnEnabledExtensionReplacesAnIncludedFileOfTheSet) {
  tplFile("list.htm", "<!--##include common.htm/s##-->");
  tplFile("common.htm");
  test::writeFile(dir_.path() / "extensions" / "Theme" / "common.htm",
                  "<!--##session s##-->the extension's<!--##/session##-->");
  projectContext().extensionWorkFolder = u16(dir_.path() / "extensions");
  {
    InstalledExtensionList extensions;
    extensions.entries = {{u"Other", u"", true}, {u"Theme", u"", true}};
    LoadCtrlTplFiles(*run().fileCache, *makeControl(u"list", u"table", u"list", u"*", u"list.htm"));
  }
  projectContext().extensionWorkFolder.clear();
  const std::u16string* text = SharedFileCache().find(u"common.htm", u"s");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(u8(*text), "the extension's");
}

TEST_F(TemplateLoadingTest, AControlWithoutInputsLoadsNothing) {
  tplFile("key.htm");
  Ref<AGPControl> control = makeControl(u"f", u"other", u"f", u"*", u"");
  addSession(*control, u"key", u"key.htm");
  LoadCtrlTplFiles(*run().fileCache, *control);
  EXPECT_TRUE(cachedFiles().empty());
  EXPECT_EQ(u8(projectContext().currentSourceFolder), u8(projectContext().templateFolder));
}

}  // namespace
}  // namespace vantorel::test
