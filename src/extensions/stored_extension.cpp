#include "extensions/stored_extension.hpp"

#include "agp/agp.hpp"
#include "extensions/declarations.hpp"
#include "extensions/extension_operations.hpp"
#include "extensions/extensions.hpp"
#include "fields/fields.hpp"
#include "model/database.hpp"
#include "model/table.hpp"
#include "model/tables.hpp"

namespace vantorel {

namespace {

class StoredEntries final : public ProjectExtensionStore::StoredExtension {
 public:
  StoredEntries(AGP& proj, Ref<AGPExtension> extension,
                std::unique_ptr<ExtensionDeclarations> declarations)
      : proj_(proj), extension_(std::move(extension)), declarations_(std::move(declarations)) {}

  AGProperties& properties() override { return extension_->properties(); }
  AGProperties& project() override { return extension_->proj().properties(); }
  AGProperties& database() override { return extension_->proj().db().properties(); }

  AGProperties* table(const std::u16string& name) override {
    table_ = nullptr;
    AGPExtTables& tables = extension_->proj().db().tables();
    if (!tables.find(name)) {
      if (!tables.add(name)) return nullptr;
      if (AGPExtTable* entry = tables.find(name)) {
        declare(entry->properties(), DeclarationLevel::Table, Ref<AGPTable>(modelTable(name)),
                nullptr);
      }
    }
    table_ = Ref<AGPExtTable>(tables.find(name));
    return table_ ? &table_->properties() : nullptr;
  }

  AGProperties* chart(const std::u16string& name) override {
    if (!table_) return nullptr;
    AGPExtCharts& charts = table_->charts();
    if (!charts.find(name)) {
      if (!charts.add(name)) return nullptr;
      // The file holds the entry's values: no chart setting moves into it.
      if (AGPExtChart* entry = charts.find(name)) {
        declare(entry->properties(), DeclarationLevel::Chart, nullptr, nullptr);
      }
    }
    AGPExtChart* entry = charts.find(name);
    return entry ? &entry->properties() : nullptr;
  }

  AGProperties* field(const std::u16string& name) override {
    if (!table_) return nullptr;
    AGPExtFields& fields = table_->fields();
    if (!fields.find(name)) {
      if (!fields.add(name)) return nullptr;
      if (AGPExtField* entry = fields.find(name)) {
        AGPTable* table = modelTable(table_->name());
        AGPField* field = table ? table->fields().find(name) : nullptr;
        declare(entry->properties(), DeclarationLevel::Field, Ref<AGPTable>(table),
                Ref<AGPField>(field));
      }
    }
    AGPExtField* entry = fields.find(name);
    return entry ? &entry->properties() : nullptr;
  }

  void finish() override {
    table_ = nullptr;
    if (declarations_) ExtendLoadedTables(proj_, extension_->name(), *declarations_);
  }

 private:
  AGPTable* modelTable(const std::u16string& name) const {
    const Ref<AGPDatabase> db = proj_.DB();
    return db ? db->tables().find(name) : nullptr;
  }

  // A stored entry gets the level's declarations when their condition holds for it; else its
  // values stay as the file wrote them.
  void declare(AGProperties& bag, DeclarationLevel level, const Ref<AGPTable>& table,
               const Ref<AGPField>& field) {
    if (!declarations_) return;
    const xml::Node node = declarations_->node(level);
    if (DeclarationHolds(proj_, node, table, field)) LoadAttributeDefs(bag, node);
  }

  AGP& proj_;
  Ref<AGPExtension> extension_;
  std::unique_ptr<ExtensionDeclarations> declarations_;  // null when none could be read
  Ref<AGPExtTable> table_;
};

}  // namespace

std::unique_ptr<ProjectExtensionStore::StoredExtension> ReadStoredExtension(
    AGP& proj, const std::u16string& name, const std::u16string& templateFile,
    const std::u16string& xmlFile, std::u16string& problem) {
  Ref<AGPExtension> extension = RegisterExtension(name, templateFile, xmlFile);
  if (!extension) return nullptr;
  std::unique_ptr<ExtensionDeclarations> declarations;
  if (!xmlFile.empty()) {
    declarations = std::make_unique<ExtensionDeclarations>();
    if (std::optional<std::u16string> why = declarations->load(xmlFile)) {
      problem = std::move(*why);
      declarations.reset();
    }
  }
  if (declarations) DeclareExtensionLevels(proj, *extension, *declarations);
  return std::make_unique<StoredEntries>(proj, std::move(extension), std::move(declarations));
}

}  // namespace vantorel
