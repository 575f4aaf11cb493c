#include "projectfile/table_keys.hpp"

#include "fields/fields.hpp"
#include "foundation/value_format.hpp"
#include "model/database.hpp"
#include "model/table.hpp"
#include "model/tables.hpp"

namespace vantorel {

void SetTblKeyFromFields(AGPDatabase& db) {
  AGPTables& tables = db.tables();
  for (std::size_t t = 0, n = static_cast<std::size_t>(tables.count()); t < n; ++t) {
    AGPTable& table = tables.at(t);
    AGPFields& fields = table.fields();
    std::u16string list;
    for (std::size_t f = 0, m = static_cast<std::size_t>(fields.count()); f < m; ++f) {
      AGPField& field = fields.at(f);
      if (!field.FldIsPrimaryKey()) continue;
      if (!list.empty()) list += u"\r\n";
      list += field.FldName();
    }
    table.properties().setting(kTblKey) = SortLines(Variant(list));
  }
}

}  // namespace vantorel
