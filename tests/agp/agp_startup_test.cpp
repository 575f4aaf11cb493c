#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "agp/agp.hpp"
#include "foundation/locale_charset.hpp"
#include "foundation/project_context.hpp"
#include "foundation/reg_values.hpp"
#include "foundation/registry_test_support.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/sys/folders.hpp"
#include "platform/text/unicode.hpp"
#include "project/project_catalogue.hpp"
#include "support/test_files.hpp"

namespace vantorel {
namespace {

// The folder of the shipped data, which the test program publishes as VANTOREL_DATA.
std::string shippedData() {
  const char* data = std::getenv("VANTOREL_DATA");
  return data ? data : "";
}

const std::string kUser = "HKEY_CURRENT_USER\\Software\\Vantorel\\4.0\\";

// A fresh user (settings store and documents folder); the machine-wide settings are the shipped
// ones unless a test writes its own.
class AgpStartupTest : public test::RegistryTest {
 protected:
  std::filesystem::path docs() const { return dir_.path() / "docs"; }
  void useShippedMachineStore() {
    std::filesystem::create_directories(machineFile().parent_path());
    std::filesystem::copy_file(std::filesystem::path(shippedData()) / "machine.reg", machineFile());
  }
  test::ScopedEnv docs_{"XDG_DOCUMENTS_DIR", (dir_.path() / "docs").string()};
};

std::u16string userText(const std::u16string& key, const std::u16string& name) {
  return toString(GetRegValue(u"HKCU", key, name));
}

TEST_F(AgpStartupTest, FirstRunCopiesMachineSettingsAndAppliesThem) {
  useShippedMachineStore();
  projectContext().templateName.clear();
  const Ref<AGP> agp = makeRef<AGP>();

  // The three trees arrived, values with their types.
  EXPECT_FALSE(userText(projectContext().generalKey, u"LanguageFolder").empty());
  EXPECT_EQ(GetRegValue(u"HKCU", projectContext().advancedFiltersKey + u"\\Date\\Today", u"Order")
                .longValue(),
            1);
  EXPECT_EQ(projectContext().lastRegValueType, 4);
  EXPECT_EQ(userText(projectContext().generalKey, u"ScriptEngineTimeout"), u"60000");
  const std::u16string data = fromUtf8(shippedData());
  // Paths the engine composes use "/", as every other path on this system.
  EXPECT_EQ(projectContext().extensionsFolder, data + u"/extensions");
  // The bundled set goes by its name, which the engine finds in the data folder.
  EXPECT_EQ(projectContext().templateName, u"sample.zip");
  EXPECT_EQ(projectContext().templateFile, data + u"/templates/sample.zip");
  EXPECT_EQ(agp->get(u"Template").stringValue(), u"sample.zip");

  // Engine options from the copied general settings.
  EXPECT_EQ(projectContext().languageFolderPath, data + u"/languages");
  EXPECT_EQ(projectContext().scriptEngineTimeout, 60000);
  EXPECT_EQ(agp->UnloadThreshold(), 20);
  // Backups of generated pages are the user's choice, off to begin with.
  EXPECT_FALSE(agp->BackupFileFlag());

  // Working folders below the documents folder; backups and reports below VANTOREL_HOME.
  const std::filesystem::path userData = docs() / "Vantorel";
  const std::filesystem::path home = userFile().parent_path();
  EXPECT_EQ(projectContext().userDataFolder, fromUtf8(userData.string()));
  for (const auto& folder : {userData, home / "Backup", home / "Report"}) {
    EXPECT_TRUE(std::filesystem::is_directory(folder)) << folder;
  }
  EXPECT_EQ(projectContext().backupFolder, fromUtf8((home / "Backup").string()));
  EXPECT_EQ(projectContext().reportFolder, fromUtf8((home / "Report").string()));
  EXPECT_FALSE(agp->ProjInit());
  EXPECT_EQ(agp->FullVersion(), u"4.0.0.0");
  EXPECT_EQ(projectContext().shortVersion, u"4.0");
  EXPECT_EQ(projectContext().projectKey, u"Software\\Vantorel\\4.0\\Settings\\Project");
}

TEST_F(AgpStartupTest, NewUserWithoutDefaultsReadsTheFixedValues) {
  spillStore(machineFile(), "");
  InitLocaleCharset();
  const Ref<AGP> agp = makeRef<AGP>();
  const SettingCatalog& catalog = projectCatalog();
  for (SettingSlot slot = 0; slot < catalog.size(); ++slot) {
    const SettingRecord& r = catalog[slot];
    const Variant v = agp->get(r.name);
    const std::string name = toUtf8(r.name);
    if (r.name == u"SecType") {
      EXPECT_EQ(v.stringValue(), u"None");
    } else if (r.name == u"XMLEncoding") {
      EXPECT_EQ(v.stringValue(), projectContext().systemCharset);
    } else if (r.name == u"AutoSync" || r.name == u"OtherGen") {
      EXPECT_TRUE(v.boolValue()) << name;
    } else if (r.name == u"PagerStyle") {
      EXPECT_EQ(v.integerValue(), 2);
    } else if (r.dataType == u"String") {
      EXPECT_EQ(v.stringValue(), u"") << name;
    } else if (r.dataType == u"Boolean") {
      EXPECT_EQ(v.type(), VarType::Boolean) << name;
      EXPECT_FALSE(v.boolValue()) << name;
    } else {
      EXPECT_EQ(toLong(v), 0) << name;
      EXPECT_EQ(v.type(), r.dataType == u"Long" ? VarType::Long : VarType::Integer) << name;
    }
  }
  // Without a machine copy the first run copies nothing and the defaults apply.
  EXPECT_EQ(agp->UnloadThreshold(), 20);
  EXPECT_EQ(projectContext().extensionsFolder, sys::programFolder() + u"/extensions");
}

TEST_F(AgpStartupTest, ExistingUserKeepsDefaultsButNotTheFixedOnes) {
  spillStore(machineFile(),
             "[HKEY_LOCAL_MACHINE\\Software\\Vantorel\\4.0\\AdvancedFilters\\G]\n"
             "\"Order\"=dword:00000001\n");
  spillStore(userFile(), "[" + kUser +
                             "Settings\\General]\n\"LanguageFolder\"=\"/lang\"\n"
                             "\"UnloadThresholdCount\"=dword:00000005\n"
                             "\"BackupFile\"=\"yes\"\n\"USERCODE\"=\"/u.vbs\"\n"
                             "[" +
                             kUser +
                             "Extensions]\n\"SourceFolder\"=\"/ext\"\n"
                             "[" +
                             kUser +
                             "Settings\\Project]\n"
                             "\"Template\"=\"C:\\\\templates\\\\Blue Sky\"\n"
                             "\"PagerStyle\"=dword:00000007\n\"LinkOnLeft\"=\"True\"\n"
                             "\"MultiDelete\"=\"1\"\n\"XMLEncoding\"=\"windows-1252\"\n"
                             "\"defaultDateFormat\"=\"7\"\n\"SmtpServerPort\"=dword:00000019\n"
                             "\"RecPerPage\"=\"many\"\n\"ExportCsv\"=\"True\"\n"
                             "\"BodyFont\"=\"\\\"Arial\\\"\"\n\"SecRegisterActivate\"=\"1\"\n"
                             "\"SecType\"=\"Basic\"\n\"AppRelatedProject\"=\"other\"\n");
  const Ref<AGP> agp = makeRef<AGP>();
  // No first-run copy: the user already has a language folder.
  EXPECT_TRUE(
      GetRegValue(u"HKCU", projectContext().advancedFiltersKey + u"\\G", u"Order").isEmpty());
  EXPECT_EQ(projectContext().extensionsFolder, u"/ext");
  EXPECT_EQ(projectContext().templateName, u"Blue Sky");
  EXPECT_EQ(agp->UnloadThreshold(), 5);
  EXPECT_FALSE(agp->BackupFileFlag());
  EXPECT_EQ(agp->UserCodePath(), u"/u.vbs");
  EXPECT_EQ(projectContext().currentDateFormat, 7);
  const std::vector<std::pair<std::u16string, std::u16string>> reads = {
      {u"PagerStyle", u"2"},        {u"LinkOnLeft", u"False"},
      {u"MultiDelete", u"False"},   {u"XMLEncoding", u"windows-1252"},
      {u"defaultDateFormat", u"7"}, {u"SmtpServerPort", u"25"},
      {u"RecPerPage", u"0"},        {u"ExportCsv", u"True"},
      {u"BodyFont", u"Arial"},      {u"SecRegisterActivate", u"True"},
      {u"SecType", u"None"},        {u"AppRelatedProject", u""},
  };
  for (const auto& [name, text] : reads) {
    EXPECT_EQ(toString(agp->get(name)), text) << toUtf8(name);
  }
}

TEST_F(AgpStartupTest, StartUpFailuresAndTemplateNameKept) {
  struct Case {
    std::string general;  // values of the user's general key
    std::string project;  // values of the user's project key
    std::int32_t error;   // 0: start-up succeeds
    std::u16string templateName;
  };
  const std::vector<Case> cases = {
      {"\"UnloadThresholdCount\"=\"abc\"\n", "", vberr::kTypeMismatch, u"kept"},
      {"\"UnloadThresholdCount\"=dword:00010000\n", "", vberr::kOverflow, u"kept"},
      // A name alone is a set of the data folder, and the set's name.
      {"\"UnloadThresholdCount\"=dword:00000000\n", "\"Template\"=\"bare\"\n", 0, u"bare"},
      {"", "\"Template\"=\"a\\\\b\\\\\"\n", 0, u""},
  };
  spillStore(machineFile(), "");
  for (const Case& c : cases) {
    projectContext().templateName = u"kept";
    spillStore(userFile(), "[" + kUser + "Settings\\General]\n\"LanguageFolder\"=\"x\"\n" +
                               c.general + "[" + kUser + "Settings\\Project]\n" + c.project);
    try {
      const Ref<AGP> agp = makeRef<AGP>();
      EXPECT_EQ(c.error, 0);
      EXPECT_EQ(agp->UnloadThreshold(), 20);
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.number(), c.error);
    }
    EXPECT_EQ(projectContext().templateName, c.templateName);
  }
  projectContext().templateName.clear();
}

TEST_F(AgpStartupTest, NoDocumentsFolderMakesNoFolders) {
  spillStore(machineFile(), "");
  test::ScopedEnv noDocs{"XDG_DOCUMENTS_DIR", ""};
  test::ScopedEnv noHome{"HOME", ""};
  const Ref<AGP> agp = makeRef<AGP>();
  if (projectContext().myDocumentsFolder.empty()) {
    EXPECT_EQ(projectContext().userDataFolder, u"");
    // VANTOREL_HOME still holds the user's backups.
    EXPECT_EQ(projectContext().backupFolder,
              fromUtf8((userFile().parent_path() / "Backup").string()));
    EXPECT_FALSE(std::filesystem::exists("/Vantorel"));
  }
}

// The project backups hold passwords: their folder is its owner's. It follows VANTOREL_HOME,
// and without it lies in the documents folder.
TEST_F(AgpStartupTest, BackupAndReportFoldersFollowTheUsersHome) {
  spillStore(machineFile(), "");
  const std::filesystem::path ownHome = dir_.path() / "own";
  const struct {
    const char* label;
    std::optional<std::string> vantorelHome;
    std::filesystem::path base;
  } cases[] = {
      {"VANTOREL_HOME set", userFile().parent_path().string(), userFile().parent_path()},
      {"VANTOREL_HOME unset", std::nullopt, docs() / "Vantorel"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    test::ScopedEnv home{"VANTOREL_HOME", c.vantorelHome ? c.vantorelHome->c_str() : nullptr};
    test::ScopedEnv config{"XDG_CONFIG_HOME", (ownHome / "config").string()};
    std::filesystem::remove_all(c.base / "Backup");
    const Ref<AGP> agp = makeRef<AGP>();
    EXPECT_EQ(projectContext().backupFolder, fromUtf8((c.base / "Backup").string()));
    EXPECT_EQ(projectContext().reportFolder, fromUtf8((c.base / "Report").string()));
    EXPECT_EQ(std::filesystem::status(c.base / "Backup").permissions(),
              std::filesystem::perms::owner_all);
  }
}

// A first run killed while it copied the machine-wide settings left a store with some of them:
// the copy was skipped for good once one general value existed. Now the copy is one write, and
// a store left half copied is completed without touching what the user has.
TEST_F(AgpStartupTest, AHalfCopiedStoreIsCompletedInOneWrite) {
  useShippedMachineStore();
  spillStore(userFile(), "[" + kUser + "Settings\\General]\n\"LanguageFolder\"=\"/mine\"\n");
  {
    const Ref<AGP> agp = makeRef<AGP>();
    EXPECT_EQ(userText(projectContext().generalKey, u"LanguageFolder"), u"/mine");
    EXPECT_EQ(userText(projectContext().generalKey, u"ScriptEngineTimeout"), u"60000");
    EXPECT_FALSE(userText(projectContext().extensionsKey, u"SourceFolder").empty());
    // The advanced filters came first and whole in any earlier copy; one the user removed
    // stays removed.
    EXPECT_TRUE(
        GetRegValue(u"HKCU", projectContext().advancedFiltersKey + u"\\Date\\Today", u"Order")
            .isEmpty());
  }
  // A complete store is not written again.
  const std::string whole = test::readFile(userFile());
  EXPECT_NE(whole.find("; end of store"), std::string::npos);
  { const Ref<AGP> again = makeRef<AGP>(); }
  EXPECT_EQ(test::readFile(userFile()), whole);

  // A fresh user's copy arrives in one write: the store holds it all, sealed.
  std::filesystem::remove(userFile());
  { const Ref<AGP> fresh = makeRef<AGP>(); }
  const std::string copied = test::readFile(userFile());
  EXPECT_NE(copied.find("; end of store"), std::string::npos);
  EXPECT_EQ(GetRegValue(u"HKCU", projectContext().advancedFiltersKey + u"\\Date\\Today", u"Order")
                .longValue(),
            1);
}

}  // namespace
}  // namespace vantorel
