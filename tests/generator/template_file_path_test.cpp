// Where generation reads a template input file: the control's own folder, an enabled
// extension's replacement of a file of the set, or the set's folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "extension_list.hpp"
#include "foundation/project_context.hpp"
#include "generator/generation_extensions.hpp"
#include "platform/fs/path.hpp"
#include "support/temp_home.hpp"

namespace vantorel::test {
namespace {

void touch(const std::filesystem::path& p) {
  std::filesystem::create_directories(p.parent_path());
  std::ofstream(p) << "x";
}

TEST(TemplateFilePath, EnabledExtensionsReplaceFilesOfTheSet) {
  test::TempDir dir;
  const std::u16string root = fs::fromNative(dir.path());
  touch(dir.path() / "tpl" / "page.asp");
  touch(dir.path() / "tpl" / "only_tpl.asp");
  touch(dir.path() / "ext" / "Off" / "page.asp");
  touch(dir.path() / "ext" / "On" / "page.asp");
  touch(dir.path() / "ext" / "On" / "own.asp");

  projectContext().templateFolder = root + u"/tpl";
  projectContext().currentSourceFolder = projectContext().templateFolder;
  projectContext().extensionWorkFolder = root + u"/ext";

  // No extensions registered.
  EXPECT_EQ(GetTemplateFilePath(u"page.asp"), root + u"/tpl\\page.asp");

  ExtensionList list;
  list.entries = {{u"Off", u"", false}, {u"Missing", u"", true}, {u"On", u"", true}};
  GenerationExtensions* previous = Installed<GenerationExtensions>::install(&list);
  EXPECT_EQ(GetTemplateFilePath(u"page.asp"), root + u"/ext/On/page.asp");
  EXPECT_EQ(GetTemplateFilePath(u"only_tpl.asp"), root + u"/tpl\\only_tpl.asp");
  EXPECT_EQ(GetTemplateFilePath(u"nowhere.asp"), root + u"/tpl\\nowhere.asp");

  // An extension name that climbs out of the extensions' folder is passed over, and without that
  // folder no extension is looked at.
  ExtensionList climbing;
  climbing.entries = {{u"../ext/On", u"", true}};
  Installed<GenerationExtensions>::install(&climbing);
  EXPECT_EQ(GetTemplateFilePath(u"page.asp"), root + u"/tpl\\page.asp");
  Installed<GenerationExtensions>::install(&list);
  projectContext().extensionWorkFolder.clear();
  EXPECT_EQ(GetTemplateFilePath(u"page.asp"), root + u"/tpl\\page.asp");
  projectContext().extensionWorkFolder = root + u"/ext";

  // A control that an extension added reads its own folder first, then the template set's.
  projectContext().currentSourceFolder = root + u"/ext/On/";
  EXPECT_EQ(GetTemplateFilePath(u"own.asp"), root + u"/ext/On/own.asp");
  EXPECT_EQ(GetTemplateFilePath(u"only_tpl.asp"), root + u"/tpl\\only_tpl.asp");

  Installed<GenerationExtensions>::install(previous);
  projectContext().templateFolder.clear();
  projectContext().currentSourceFolder.clear();
  projectContext().extensionWorkFolder.clear();
}

}  // namespace
}  // namespace vantorel::test
