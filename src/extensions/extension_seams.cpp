// What the layers below reach through their seams: the model's renames and deletions, the
// loading, synchronising and unloading entries' hooks, the project file's saving and reading of
// the extension trees and custom scripts, generation's view of the extension list and the code
// base, and the lists the script host hands out. Each piece is stateless and works on
// the calling thread's shared lists.
#include <algorithm>
#include <vector>

#include "agp/agp.hpp"
#include "agp/extension_hooks.hpp"
#include "extensions/code_base.hpp"
#include "extensions/custom_scripts.hpp"
#include "extensions/extension_operations.hpp"
#include "extensions/extension_setup.hpp"
#include "extensions/extensions.hpp"
#include "extensions/stored_extension.hpp"
#include "generator/generation_extensions.hpp"
#include "project/extension_cascade.hpp"
#include "projectfile/project_file_seams.hpp"
#include "templates/empty_model_list.hpp"

namespace vantorel {

namespace {

class Cascade final : public ExtensionCascade {
 public:
  void renameTable(std::u16string_view o, std::u16string_view n) override {
    ExtensionsRenameTable(std::u16string(o), std::u16string(n));
  }
  void deleteTable(std::u16string_view name) override {
    ExtensionsDeleteTable(std::u16string(name));
  }
  void renameChart(std::u16string_view t, std::u16string_view o, std::u16string_view n) override {
    ExtensionsRenameChart(std::u16string(t), std::u16string(o), std::u16string(n));
  }
  void deleteChart(std::u16string_view t, std::u16string_view c) override {
    ExtensionsDeleteChart(std::u16string(t), std::u16string(c));
  }
  void renameField(std::u16string_view t, std::u16string_view o, std::u16string_view n) override {
    ExtensionsRenameField(std::u16string(t), std::u16string(o), std::u16string(n));
  }
  void deleteField(std::u16string_view t, std::u16string_view f) override {
    ExtensionsDeleteField(std::u16string(t), std::u16string(f));
  }
  bool changeCustomScripts(std::u16string_view o, std::u16string_view n) override {
    return SharedCustomScripts().change(std::u16string(o), std::u16string(n));
  }
};

class Hooks final : public ExtensionHooks {
 public:
  void loadExtensions(AGP& project) override { LoadExtensions(project); }
  void applyToTable(AGP& project, const std::u16string& table) override {
    ApplyExtensionsToTable(project, table);
  }
  void applyToChart(AGP& project, const std::u16string& table,
                    const std::u16string& chart) override {
    ApplyExtensionsToChart(project, table, chart);
  }
  void applyToField(AGP& project, const std::u16string& table,
                    const std::u16string& field) override {
    ApplyExtensionsToField(project, table, field);
  }
  void copyChart(AGP& project, const std::u16string& table, const std::u16string& oldChart,
                 const std::u16string& newChart) override {
    CopyChartToExtensions(project, table, oldChart, newChart);
  }
  // Unloading the database: every extension and every custom script goes, the last first, so no
  // sequence number is renumbered on the way.
  void deleteAll(AGP& /*project*/) override {
    AGPExtensions& extensions = SharedExtensions();
    while (extensions.count() > 0) {
      const auto last = static_cast<std::size_t>(extensions.count() - 1);
      if (!extensions.remove(Variant(extensions.at(last).name()))) break;
    }
    AGPCustomScripts& scripts = SharedCustomScripts();
    while (scripts.count() > 0) {
      if (!scripts.remove(scripts.at(static_cast<std::size_t>(scripts.count() - 1)).keys())) break;
    }
  }
};

// The items of a collection in the order of their sequence numbers; an item whose number is
// out of step with the others is still written, after those before it.
template <class Item, class List>
std::vector<Item*> bySeq(const List& list) {
  std::vector<Item*> items;
  for (std::int32_t i = 0; i < list.count(); ++i)
    items.push_back(&list.at(static_cast<std::size_t>(i)));
  std::stable_sort(items.begin(), items.end(),
                   [](const Item* a, const Item* b) { return a->seq() < b->seq(); });
  return items;
}

class ExtensionStore final : public ProjectExtensionStore {
 public:
  std::vector<Extension> extensionsForSave() override {
    std::vector<Extension> out;
    for (AGPExtension* ext : bySeq<AGPExtension>(SharedExtensions())) {
      Extension e;
      e.properties = &ext->properties();
      if (ext->isExtended()) {
        AGPExtProj& proj = ext->proj();
        e.project = &proj.properties();
        if (proj.dbCnt() >= 1) {
          AGPExtDb& db = proj.db();
          e.database = &db.properties();
          for (AGPExtTable* table : bySeq<AGPExtTable>(db.tables())) {
            TableSettings t;
            t.properties = &table->properties();
            for (AGPExtChart* c : bySeq<AGPExtChart>(table->charts())) {
              t.charts.push_back(&c->properties());
            }
            for (AGPExtField* f : bySeq<AGPExtField>(table->fields())) {
              t.fields.push_back(&f->properties());
            }
            e.tables.push_back(std::move(t));
          }
        }
      }
      out.push_back(std::move(e));
    }
    return out;
  }

  bool empty() override { return SharedExtensions().count() == 0; }
  bool noneWanted() override { return SharedExtensions().noneWanted(); }
  void setNoneWanted(bool none) override { SharedExtensions().setNoneWanted(none); }

  std::unique_ptr<StoredExtension> readExtension(AGP& project, const std::u16string& name,
                                                 const std::u16string& templateFile,
                                                 const std::u16string& xmlFile,
                                                 std::u16string& problem) override {
    return ReadStoredExtension(project, name, templateFile, xmlFile, problem);
  }

  void loadInstalled(AGP& project) override { LoadExtensions(project); }
};

class ScriptStore final : public ProjectCustomScriptStore {
 public:
  std::vector<Script> scriptsForSave() override {
    std::vector<Script> out;
    for (AGPCustomScript* script : bySeq<AGPCustomScript>(SharedCustomScripts())) {
      out.push_back({&script->properties(), script->code()});
    }
    return out;
  }
  bool add(const Keys& k) override {
    return SharedCustomScripts().add({k.type, k.codeType, k.name, k.ctrlId, k.l1Key, k.l2Key});
  }
  void setCode(const Keys& k, const std::u16string& code) override {
    if (AGPCustomScript* script = SharedCustomScripts().scriptItem(
            {k.type, k.codeType, k.name, k.ctrlId, k.l1Key, k.l2Key})) {
      script->setCode(code);
    }
  }
};

class GenerationView final : public GenerationExtensions {
 public:
  std::int32_t count() const override { return SharedExtensions().count(); }
  std::optional<Entry> seq(std::int32_t index) const override {
    if (index < 1 || index > INT16_MAX) return std::nullopt;
    const Ref<AGPExtension> e = SharedExtensions().seq(static_cast<std::int16_t>(index));
    if (!e) return std::nullopt;
    return Entry{e->name(), e->templateFile(), e->enabled()};
  }
  bool exists(const std::u16string& name) const override {
    return SharedExtensions().find(name) != nullptr;
  }
  void setEnabled(const std::u16string& name, bool enabled) override {
    if (AGPExtension* e = SharedExtensions().find(name)) e->setEnabled(enabled);
  }
  void loadCodeBase(const std::u16string& file) override { SharedCodeBase().Load(file); }
};

class ScriptListObjects final : public ScriptLists {
 public:
  Ref<Object> extensions() override { return Ref<Object>(&SharedExtensions()); }
  Ref<Object> customScripts() override { return Ref<Object>(&SharedCustomScripts()); }
};

}  // namespace

void installExtensionSeams() noexcept {
  static Cascade cascade;
  static Hooks hooks;
  static ExtensionStore extensionStore;
  static ScriptStore scriptStore;
  static GenerationView generation;
  static ScriptListObjects scriptLists;
  Installed<ExtensionCascade>::install(&cascade);
  Installed<ExtensionHooks>::install(&hooks);
  Installed<ProjectExtensionStore>::install(&extensionStore);
  Installed<ProjectCustomScriptStore>::install(&scriptStore);
  Installed<GenerationExtensions>::install(&generation);
  Installed<ScriptLists>::install(&scriptLists);
}

}  // namespace vantorel
