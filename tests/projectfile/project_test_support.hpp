#pragma once
// A fresh user, documents folder and recorded user interface for each project file test, a few
// builders of model content, and a list of custom scripts in place of the extensions subsystem.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "agp/agp.hpp"
#include "fields/fields.hpp"
#include "foundation/project_context.hpp"
#include "foundation/registry_test_support.hpp"
#include "model/charts.hpp"
#include "model/databases.hpp"
#include "model/tables.hpp"
#include "platform/text/unicode.hpp"
#include "platform/ui/recording_backend.hpp"
#include "platform/ui/ui.hpp"
#include "project/language.hpp"
#include "project/menus.hpp"
#include "projectfile/project_file_seams.hpp"

namespace vantorel::test {

// The names in a folder, sorted (none for a missing folder): what a failed save must have left
// as it was.
inline std::vector<std::string> fileNames(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  if (!std::filesystem::is_directory(folder)) return names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class ScriptStore final : public ProjectCustomScriptStore {
 public:
  ScriptStore() : previous_(Installed<ProjectCustomScriptStore>::install(this)) {}
  ~ScriptStore() override { Installed<ProjectCustomScriptStore>::install(previous_); }
  std::vector<Script> scriptsForSave() override {
    std::vector<Script> out;
    for (auto& [keys, props, code] : entries) out.push_back({props.get(), code});
    return out;
  }
  bool add(const Keys& k) override {
    if (k.type.empty() || k.codeType.empty() || k.name.empty()) return false;
    auto props = makeRef<AGProperties>();
    const std::pair<const char16_t*, const std::u16string*> fields[] = {
        {u"ScriptType", &k.type},     {u"ScriptCodeType", &k.codeType}, {u"ScriptName", &k.name},
        {u"ScriptCtrlID", &k.ctrlId}, {u"ScriptL1Key", &k.l1Key},       {u"ScriptL2Key", &k.l2Key}};
    for (const auto& [name, value] : fields) {
      props->add(name);
      props->setValue(*props->slotOf(name), Variant(*value));
    }
    entries.push_back({k, props, u""});
    return true;
  }
  void setCode(const Keys& k, const std::u16string& code) override {
    for (Entry& e : entries) {
      if (e.keys.type == k.type && e.keys.name == k.name) e.code = code;
    }
  }
  struct Entry {
    Keys keys;
    Ref<AGProperties> props;
    std::u16string code;
  };
  std::vector<Entry> entries;

 private:
  ProjectCustomScriptStore* previous_;
};

// Extensions for the project's table "Orders": each holds project, database, table and field
// settings, the field "ID" only.
class ExtensionStore final : public ProjectExtensionStore {
 public:
  ExtensionStore() : previous_(Installed<ProjectExtensionStore>::install(this)) {}
  ~ExtensionStore() override { Installed<ProjectExtensionStore>::install(previous_); }
  struct Ext {
    Ref<AGProperties> props = makeRef<AGProperties>(), project = makeRef<AGProperties>(),
                      database = makeRef<AGProperties>(), table = makeRef<AGProperties>(),
                      field = makeRef<AGProperties>();
  };
  std::vector<Extension> extensionsForSave() override {
    std::vector<Extension> out;
    for (Ext& e : exts) {
      out.push_back({e.props.get(),
                     e.project.get(),
                     e.database.get(),
                     {{e.table.get(), {}, {e.field.get()}}}});
    }
    return out;
  }
  bool empty() override { return exts.empty(); }
  bool noneWanted() override { return noneSaid; }
  void setNoneWanted(bool none) override { noneSaid = none; }
  // Holds what the file gives for the table "Orders" and its field "ID"; other entries are
  // not kept.
  class Stored final : public StoredExtension {
   public:
    explicit Stored(Ext& ext) : ext_(ext) {}
    AGProperties& properties() override { return *ext_.props; }
    AGProperties& project() override { return *ext_.project; }
    AGProperties& database() override { return *ext_.database; }
    AGProperties* table(const std::u16string& name) override {
      return name == u"Orders" ? ext_.table.get() : nullptr;
    }
    AGProperties* chart(const std::u16string&) override { return nullptr; }
    AGProperties* field(const std::u16string& name) override {
      return name == u"ID" ? ext_.field.get() : nullptr;
    }
    void finish() override {}

   private:
    Ext& ext_;
  };
  std::unique_ptr<StoredExtension> readExtension(AGP&, const std::u16string&, const std::u16string&,
                                                 const std::u16string&, std::u16string&) override {
    return std::make_unique<Stored>(exts.emplace_back());
  }
  void loadInstalled(AGP&) override { ++installedLoads; }
  std::deque<Ext> exts;
  int installedLoads = 0;
  bool noneSaid = false;

 private:
  ProjectExtensionStore* previous_;
};

class ProjectFileTest : public RegistryTest {
 protected:
  void SetUp() override {
    ui::setBackendForTesting(ui_);
    // Menus and phrases are the thread's; each test starts without any.
    SharedLanguage().InitSettings();
    while (SharedMenus().Count() > 0) SharedMenus().DeleteMenu(SharedMenus().Item(1)->MenuId());
    // So are the extensions and custom scripts.
    projectContext().extensions = nullptr;
    projectContext().customScripts = nullptr;
    projectContext().lastErrorText.clear();
  }
  void TearDown() override { ui::setBackendForTesting(nullptr); }

  std::filesystem::path work() const { return dir_.path() / "work"; }
  std::u16string workFile(const std::string& name) const {
    std::filesystem::create_directories(work());
    return fromUtf8((work() / name).string());
  }
  std::vector<std::u16string> messages() const {
    std::vector<std::u16string> out;
    for (const auto& e : ui_->events(ui::RecordingBackend::Event::Kind::Asked)) {
      out.push_back(e.question.text);
    }
    return out;
  }

  static AGPDatabase& addDatabase(AGP& project, const std::u16string& name) {
    project.databases().add(name);
    project.setDB(project.databases().item(Variant(name)));
    return *project.DB();
  }
  static AGPTable& addTable(AGPDatabase& db, const std::u16string& name) {
    db.tables().add(name);
    return *db.tables().find(name);
  }
  static AGPField& addField(AGPTable& table, const std::u16string& name) {
    table.fields().add(table.tblName(), name);
    return *table.fields().find(name);
  }
  static AGPChart& addChart(AGPTable& table, const std::u16string& name) {
    table.charts().add(table.tblName(), name);
    return *table.charts().item(Variant(name));
  }

  std::shared_ptr<ui::RecordingBackend> ui_ = std::make_shared<ui::RecordingBackend>();
  ScopedEnv docs_{"XDG_DOCUMENTS_DIR", (dir_.path() / "docs").string()};
};

}  // namespace vantorel::test
