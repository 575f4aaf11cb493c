#include "sync/field_marks.hpp"

#include <cstddef>

#include "fields/field_settings.hpp"
#include "fields/fields.hpp"
#include "foundation/setting_values.hpp"
#include "platform/text/strings.hpp"
#include "schema/definition_copies.hpp"
#include "schema/live_schema.hpp"

namespace vantorel {

std::vector<Ref<AGPField>> fieldsOf(AGPTable& table) {
  std::vector<Ref<AGPField>> out;
  AGPFields& fields = table.fields();
  for (std::size_t f = 0, n = static_cast<std::size_t>(fields.count()); f < n; ++f) {
    out.emplace_back(&fields.at(f));
  }
  return out;
}

std::u16string typeText(std::int16_t type) {
  return toU16(static_cast<long long>(type));
}

void keepUnchangedFields(AGPTable& table, const AGSchemaTable& rec) {
  for (std::size_t j = 1, m = fieldRecordCount(rec); j <= m; ++j) {
    const AGSchemaField& sf = rec.TblFields.fld[j];
    for (const Ref<AGPField>& field : fieldsOf(table)) {
      if (settingAsBool(field->properties().setting(kFldSync)) || field->FldName() != sf.FldName ||
          field->FldType() != sf.FldType) {
        continue;
      }
      field->properties().setting(kFldSync) = Variant(true);
      CopyFieldFromSchema(*field, sf, false);
      break;
    }
  }
}

}  // namespace vantorel
