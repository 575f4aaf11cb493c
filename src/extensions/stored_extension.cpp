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

// The bag of the entry of that name, made when missing and then given its declarations.
template <class Entries, class Declare>
AGProperties* entryOf(Entries& entries, const std::u16string& name, Declare&& declare) {
  if (!entries.find(name)) {
    if (!entries.add(name)) return nullptr;
    if (auto* made = entries.find(name)) declare(made->properties());
  }
  auto* entry = entries.find(name);
  return entry ? &entry->properties() : nullptr;
}

class StoredEntries final : public ProjectExtensionStore::StoredExtension {
 public:
  StoredEntries(AGP& proj, Ref<AGPExtension> extension,
                std::unique_ptr<ExtensionDeclarations> declarations)
      : proj_(proj), extension_(std::move(extension)), declarations_(std::move(declarations)) {}

  AGProperties& properties() override { return extension_->properties(); }
  AGProperties& project() override { return extension_->proj().properties(); }
  AGProperties& database() override { return extension_->proj().db().properties(); }

  AGProperties* table(const std::u16string& name) override {
    AGPExtTables& tables = extension_->proj().db().tables();
    AGProperties* bag = entryOf(tables, name, [&](AGProperties& made) {
      declare(made, DeclarationLevel::Table, Ref<AGPTable>(modelTable(name)), nullptr);
    });
    table_ = bag ? Ref<AGPExtTable>(tables.find(name)) : nullptr;
    return bag;
  }

  AGProperties* chart(const std::u16string& name) override {
    if (!table_) return nullptr;
    // The file holds the entry's values: no chart setting moves into it.
    return entryOf(table_->charts(), name, [&](AGProperties& made) {
      declare(made, DeclarationLevel::Chart, nullptr, nullptr);
    });
  }

  AGProperties* field(const std::u16string& name) override {
    if (!table_) return nullptr;
    return entryOf(table_->fields(), name, [&](AGProperties& made) {
      AGPTable* table = modelTable(table_->name());
      AGPField* field = table ? table->fields().find(name) : nullptr;
      declare(made, DeclarationLevel::Field, Ref<AGPTable>(table), Ref<AGPField>(field));
    });
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
    if (Expected<> read = declarations->load(xmlFile); !read) {
      problem = std::move(read.failure().text);
      declarations.reset();
    }
  }
  if (declarations) DeclareExtensionLevels(proj, *extension, *declarations);
  return std::make_unique<StoredEntries>(proj, std::move(extension), std::move(declarations));
}

}  // namespace vantorel
