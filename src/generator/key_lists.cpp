#include "generator/key_lists.hpp"

#include <vector>

#include "fields/field.hpp"
#include "fields/fields.hpp"
#include "foundation/setting_values.hpp"
#include "generator/generation_run.hpp"
#include "model/table.hpp"
#include "platform/text/strings.hpp"

namespace vantorel {

namespace {

// Blanks and line breaks alone name no key field.
bool namesNoField(std::u16string_view list) {
  return list.find_first_not_of(u" \t\r\n") == std::u16string_view::npos;
}

}  // namespace

bool TableHasPrimaryKey(AGPTable& table) {
  AGPFields& fields = table.fields();
  for (std::size_t f = 0, n = static_cast<std::size_t>(fields.count()); f < n; ++f) {
    if (fields.at(f).FldIsPrimaryKey()) return true;
  }
  return false;
}

void LoadTableGenSettings(GenerationRun& run, AGPTable* table) {
  if (table == nullptr) return;
  AGProperties& settings = table->properties();
  run.currentTableVar = settingText(settings.setting(kTblVar));
  // A list of blanks names no field, so the pages that find a record by its key cannot work.
  if (!namesNoField(settingText(settings.setting(kTblKey)))) return;
  for (const SettingSlot slot :
       {kTblAdd, kTblCopy, kTblView, kTblEdit, kTblInlineEdit, kTblDelete}) {
    settings.setting(slot) = Variant(false);
  }
}

}  // namespace vantorel
