#pragma once
// A whole generation in a temporary folder: a small template set zipped as a template file,
// a user code file, a language file and a user style sheet, and the shop database of the
// generation fixture with one generated field.
#include <zip.h>

#include <chrono>
#include <cstdlib>
#include <map>
#include <set>
#include <string>

#include "fields/field_settings.hpp"
#include "foundation/project_context.hpp"
#include "generation_fixture.hpp"
#include "generator/generation_driver.hpp"
#include "projectfile/project_file_seams.hpp"
#include "support/test_files.hpp"

namespace vantorel::test {

namespace fsys = std::filesystem;

inline std::string controlFile(const std::string& extraControls = {},
                               const std::string& version = u8(projectContext().shortVersion)) {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<" + u8(projectContext().productName) +
         " date=\"2026/12/09\" version=\"" + version +
         "\" author=\"t\" desc=\"t\">\r\n"
         "<control id=\"_pages\" type=\"folder\" ofolder=\"pages\"/>\r\n"
         "<control id=\"_css\" type=\"folder\" ofolder=\"css\"/>\r\n"
         "<control id=\"_language\" type=\"folder\" ofolder=\"lang\"/>\r\n"
         "<control id=\"list\" type=\"table\" ifiles=\"list.htm\" ofile=\"list\" oext=\"asp\" "
         "ofolderid=\"_pages\" overwrite=\"true\"/>\r\n"
         "<control id=\"report\" type=\"report\" ifiles=\"report.htm\" ofile=\"report\" "
         "oext=\"asp\" overwrite=\"true\"/>\r\n"
         "<control id=\"fld\" type=\"field\" ifiles=\"field.htm\" ofile=\"fld\" oext=\"asp\" "
         "overwrite=\"true\"/>\r\n"
         "<control id=\"menu\" type=\"other\" ifiles=\"menu.htm\" ofile=\"menu\" oext=\"asp\" "
         "overwrite=\"true\"/>\r\n" +
         extraControls + "</" + u8(projectContext().productName) + ">\r\n";
}

// Presses Cancel in the progress display when the first page of the Sales table is announced.
class CancellingBackend : public ui::RecordingBackend {
 public:
  void progressStatus(int handle, std::u16string_view text) override {
    RecordingBackend::progressStatus(handle, text);
    if (text.starts_with(u"Generating ") && text.find(u"Sales") != std::u16string_view::npos) {
      cancel(handle);
    }
  }
};

class GenerationRunTest : public GenerationFixture {
 protected:
  using Files = std::map<std::string, std::string>;

  void SetUp() override {
    GenerationFixture::SetUp();
    addDatabase();
    proj_->setProjName(u"Shop");
    for (const char16_t* t : {u"Orders", u"Sales", u"Summary"}) {
      AGPFields& fields = table(t).fields();
      for (std::int32_t i = 0; i < fields.count(); ++i) {
        AGPField& f = fields.at(static_cast<std::size_t>(i));
        f.properties().setting(kFldGenerate) = Variant(false);
        f.setFldVar(u"x_" + f.FldName());
      }
    }
    field(u"Orders", u"Total").properties().setting(kFldGenerate) = Variant(true);

    test::writeFile(dir_.path() / "usercode.vbs", "");
    setGeneral(u"USERCODE", u16(dir_.path() / "usercode.vbs"));
    proj_->setUserCodePath(u16(dir_.path() / "usercode.vbs"));
    test::writeFile(
        dir_.path() / "langs" / "english.xml",
        "<language id=\"en\" desc=\"English\"><phrase id=\"Add\" value=\"Add\"/></language>");
    projectContext().languageFolderPath = u16(dir_.path() / "langs");
    set(u"MultiLanguage", Variant(false));
    set(u"DefaultLanguageFile", Variant(u"english.xml"));
    test::writeFile(dir_.path() / "user.css", "body { margin: 0; }\r\n");
    setGeneral(u"CssFile", u16(dir_.path() / "user.css"));
    setGeneral(u"BackupFile", u"False");
    projectContext().syncKeepAnswer = false;

    // Each test has its own template name, so its working folders and cache are its own.
    templateName_ = std::string(::testing::UnitTest::GetInstance()->current_test_info()->name());
    writeTemplate(defaultFiles());
  }

  static Files defaultFiles() {
    return {{"control.xml", controlFile()},
            {"list.htm", "<h1><!--##=TABLE.TblName##--></h1>\r\n"},
            {"report.htm", "report <!--##=TABLE.TblName##-->\r\n"},
            {"field.htm", "<!--##=TABLE.TblName & \".\" & FIELD.FldName##-->\r\n"},
            {"menu.htm", "menu\r\n"}};
  }

  fsys::path zipPath() const { return dir_.path() / (templateName_ + ".zip"); }

  void writeTemplate(const Files& files) {
    int error = 0;
    zip_t* archive = zip_open(zipPath().c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(archive, nullptr);
    for (const auto& [name, content] : files) {
      zip_source_t* source = zip_source_buffer(archive, content.data(), content.size(), 0);
      ASSERT_GE(zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8), 0);
    }
    ASSERT_EQ(zip_close(archive), 0);
    set(u"Template", Variant(u16(zipPath())));
  }

  // Every file below the site, by its path relative to the site.
  std::set<std::string> siteFiles() const {
    std::set<std::string> files;
    for (const auto& entry : fsys::recursive_directory_iterator(site_)) {
      if (entry.is_regular_file()) files.insert(fsys::relative(entry.path(), site_).string());
    }
    return files;
  }

  // The compiled templates with their modification times.
  std::map<std::string, fsys::file_time_type> compiledTemplates() const {
    std::map<std::string, fsys::file_time_type> found;
    for (const auto& entry :
         fsys::directory_iterator(fsys::path(u8(projectContext().templateCacheFolder)))) {
      if (entry.path().extension() == ".tpl") {
        found[entry.path().filename().string()] = entry.last_write_time();
      }
    }
    return found;
  }

  void generate() {
    generateSite(*proj_);
    ASSERT_EQ(u8(projectContext().lastErrorText), "");
  }

  std::string templateName_;
};

}  // namespace vantorel::test
