#include "generator/unzip_component.hpp"

#include <sys/stat.h>
#include <zip.h>

#include <string>
#include <vector>

#include "generator/copy_controls.hpp"
#include "generator/generator_classes.hpp"
#include "generator_test_support.hpp"
#include "platform/automation/class_factory.hpp"
#include "projectfile/working_folders.hpp"
#include "support/test_files.hpp"

namespace vantorel::test {
namespace {

namespace fsys = std::filesystem;

struct ZipEntry {
  std::string name;
  std::string content;  // a name ending with "/" is a folder
  bool symlink = false;
};

void makeZip(const fsys::path& path, const std::vector<ZipEntry>& entries) {
  int error = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  ASSERT_NE(archive, nullptr);
  for (const ZipEntry& e : entries) {
    if (e.name.ends_with('/')) {
      ASSERT_GE(zip_dir_add(archive, e.name.c_str(), ZIP_FL_ENC_UTF_8), 0);
      continue;
    }
    zip_source_t* source = zip_source_buffer(archive, e.content.data(), e.content.size(), 0);
    const zip_int64_t index = zip_file_add(archive, e.name.c_str(), source, ZIP_FL_ENC_UTF_8);
    ASSERT_GE(index, 0) << e.name;
    if (e.symlink) {
      zip_file_set_external_attributes(archive, static_cast<zip_uint64_t>(index), 0, ZIP_OPSYS_UNIX,
                                       (S_IFLNK | 0777u) << 16);
    }
  }
  ASSERT_EQ(zip_close(archive), 0);
}

class UnzipTest : public GeneratorTest {
 protected:
  std::int32_t extract(const fsys::path& zip, const fsys::path& target, bool overwrite = true) {
    unzip_->setZipFile(u16(zip));
    unzip_->setTargetFolder(u16(target));
    unzip_->setOverwrite(overwrite);
    return unzip_->Extract();
  }

  Ref<UnzipComponent> unzip_ = makeRef<UnzipComponent>();
};

TEST_F(UnzipTest, FillsTheTargetWithSubFolders) {
  const fsys::path zip = dir_.path() / "set.zip";
  makeZip(zip, {{"control.xml", "<c/>"},
                {"pages/list.tpl", "list"},
                {"pages/deep/view.tpl", "view"},
                {"empty/", ""},
                {"win\\style.css", "css"}});
  const fsys::path target = dir_.path() / "out";
  unzip_->setAction(UnzipComponent::kTestOnly);
  ASSERT_EQ(extract(zip, target), UnzipComponent::kOk);
  EXPECT_EQ(unzip_->FileCount(), 4);
  EXPECT_FALSE(fsys::exists(target));
  unzip_->setAction(UnzipComponent::kExtract);
  ASSERT_EQ(extract(zip, target), UnzipComponent::kOk) << u8(unzip_->LastMessage());
  EXPECT_EQ(unzip_->FileCount(), 4);
  EXPECT_EQ(test::readFile(target / "control.xml"), "<c/>");
  EXPECT_EQ(test::readFile(target / "pages/deep/view.tpl"), "view");
  EXPECT_EQ(test::readFile(target / "win/style.css"), "css");
  EXPECT_TRUE(fsys::is_directory(target / "empty"));

  // Without Overwrite a file that is there stays; with it, it is replaced.
  test::writeFile(target / "control.xml", "mine");
  ASSERT_EQ(extract(zip, target, false), UnzipComponent::kOk);
  EXPECT_EQ(test::readFile(target / "control.xml"), "mine");
  ASSERT_EQ(extract(zip, target, true), UnzipComponent::kOk);
  EXPECT_EQ(test::readFile(target / "control.xml"), "<c/>");

  // Created by its registered name, as the project object does.
  ClassFactory& factory = ClassFactory::instance();
  registerGeneratorClasses(factory);
  EXPECT_TRUE(factory.create(u"vantorel4.UnzipComponent"));
}

TEST_F(UnzipTest, RefusesArchivesThatReachOutside) {
  const std::vector<ZipEntry> hostile = {
      {"../evil.txt", "x"},  {"pages/../../evil.txt", "x"}, {"/tmp/evil.txt", "x"},
      {"..\\evil.txt", "x"}, {"C:\\evil.txt", "x"},         {"link", "/etc/passwd", true},
  };
  for (const ZipEntry& bad : hostile) {
    const fsys::path zip = dir_.path() / "bad.zip";
    makeZip(zip, {{"control.xml", "<c/>"}, bad, {"z.txt", "z"}});
    const fsys::path target = dir_.path() / "target";
    fsys::remove_all(target);
    EXPECT_EQ(extract(zip, target), UnzipComponent::kRefused) << bad.name;
    EXPECT_NE(u8(unzip_->LastMessage()).find(bad.name), std::string::npos) << bad.name;
    EXPECT_FALSE(fsys::exists(target)) << bad.name;
    EXPECT_FALSE(fsys::exists(dir_.path() / "evil.txt"));
  }
}

TEST_F(UnzipTest, ReportsUnusableInput) {
  test::writeFile(dir_.path() / "notzip.zip", "plain text");
  EXPECT_EQ(extract(dir_.path() / "missing.zip", dir_.path() / "t"), UnzipComponent::kNoArchive);
  EXPECT_EQ(extract(dir_.path() / "notzip.zip", dir_.path() / "t"), UnzipComponent::kNoArchive);
  EXPECT_FALSE(unzip_->LastMessage().empty());
  unzip_->setAction(7);
  EXPECT_EQ(extract(dir_.path() / "notzip.zip", dir_.path() / "t"), UnzipComponent::kBadAction);
  EXPECT_FALSE(fsys::exists(dir_.path() / "t"));
}

TEST_F(UnzipTest, PreparesTheTemplateFolderOnce) {
  const fsys::path zip = dir_.path() / "Shop Set.zip";
  makeZip(zip, {{"control.xml", "v1"}, {"pages/list.tpl", "list"}});
  const std::u16string folder = PrepareTemplatePath(u16(zip), u"Script", false, true, false).folder;
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(test::readFile(fsys::path(u8(folder)) / "control.xml"), "v1");
  EXPECT_EQ(test::readFile(fsys::path(u8(folder)) / "pages/list.tpl"), "list");

  // An unpacked set is kept unless forced.
  makeZip(zip, {{"control.xml", "v2"}});
  EXPECT_EQ(PrepareTemplatePath(u16(zip), u"Script", false, true, false).folder, folder);
  EXPECT_EQ(test::readFile(fsys::path(u8(folder)) / "control.xml"), "v1");
  EXPECT_EQ(PrepareTemplatePath(u16(zip), u"Script", false, true, true).folder, folder);
  EXPECT_EQ(test::readFile(fsys::path(u8(folder)) / "control.xml"), "v2");

  // A file standing where the folder belongs is moved aside with a time stamp.
  const fsys::path f(u8(folder));
  fsys::remove_all(f);
  test::writeFile(f, "stray");
  EXPECT_EQ(PrepareTemplatePath(u16(zip), u"Script", false, true, false).folder, folder);
  EXPECT_EQ(test::readFile(f / "control.xml"), "v2");
  int asides = 0;
  for (const auto& e : fsys::directory_iterator(f.parent_path())) {
    const std::string name = e.path().filename().string();
    if (name.starts_with(f.filename().string() + ".") &&
        name.size() == f.filename().string().size() + 15) {
      ++asides;
      EXPECT_EQ(test::readFile(e.path()), "stray");
    }
  }
  EXPECT_EQ(asides, 1);

  EXPECT_EQ(PrepareTemplatePath(u"", u"Script", false, true, true).folder, u"");
}

// The reason an archive could not be unpacked comes back with the folder, for the set and for an
// extension alike; the run names it when the control file is then missing.
TEST_F(UnzipTest, PreparingReturnsWhyAnArchiveDidNotUnpack) {
  const fsys::path broken = dir_.path() / "Broken Set.zip";
  test::writeFile(broken, "plain text");
  for (const bool extension : {false, true}) {
    SCOPED_TRACE(extension);
    if (extension)
      PrepareTemplatePath(u16(dir_.path() / "Host.zip"), u"Script", false, false, false);
    const PreparedTemplates prepared =
        PrepareTemplatePath(u16(broken), extension ? u"ext1" : u"Script", extension, true, true);
    EXPECT_FALSE(prepared.folder.empty());
    ASSERT_FALSE(prepared.unpacked.ok());
    EXPECT_EQ(u8(prepared.unpacked.failure().text),
              "Archive \"" + broken.string() + "\" cannot be opened: Not a zip archive");
  }
}

}  // namespace
}  // namespace vantorel::test
