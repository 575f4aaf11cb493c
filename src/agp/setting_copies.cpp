// AGP.CopyTableSettings and AGP.CopyFieldSettings: one table's or field's synchronised settings
// carried over to another. Both answer False, copying nothing, when there is nothing to copy
// from or to, so that the host learns of a mistyped name.
#include "agp/agp.hpp"
#include "foundation/synced_settings.hpp"
#include "model/database.hpp"

namespace vantorel {

namespace {

// The table of that name (any case), or nullptr; also without a database.
Ref<AGPTable> findTable(AGP& project, const std::u16string& name) {
  const Ref<AGPDatabase> db = project.DB();
  if (!db || name.empty() || !db->tables().tableExist(Variant(name))) return nullptr;
  return db->tables().item(Variant(name));
}

Ref<AGPField> findField(AGPTable& table, const std::u16string& name) {
  if (name.empty() || !table.fields().fieldExist(Variant(name))) return nullptr;
  return table.fields().item(Variant(name));
}

}  // namespace

bool AGP::CopyTableSettings(const std::u16string& SourceTable, const std::u16string& TargetTable) {
  const Ref<AGPTable> source = findTable(*this, SourceTable);
  const Ref<AGPTable> target = findTable(*this, TargetTable);
  if (!source || !target) return false;
  CopySyncedSettings(source->properties(), target->properties());
  AGPFields& fields = source->fields();
  for (std::size_t i = 0, n = static_cast<std::size_t>(fields.count()); i < n; ++i) {
    // A field the target lacks is simply not copied: the tables may differ.
    const std::u16string name = fields.at(i).FldName();
    if (const Ref<AGPField> to = findField(*target, name)) {
      CopySyncedSettings(fields.at(i).properties(), to->properties());
    }
  }
  return true;
}

bool AGP::CopyFieldSettings(const std::u16string& SourceTable, const std::u16string& SourceField,
                            const std::u16string& TargetTable, const std::u16string& TargetField) {
  const Ref<AGPTable> sourceTable = findTable(*this, SourceTable);
  const Ref<AGPTable> targetTable = findTable(*this, TargetTable);
  if (!sourceTable || !targetTable) return false;
  const Ref<AGPField> source = findField(*sourceTable, SourceField);
  const Ref<AGPField> target = findField(*targetTable, TargetField);
  if (!source || !target) return false;
  CopySyncedSettings(source->properties(), target->properties());
  return true;
}

}  // namespace vantorel
