#include "model/table_keys.hpp"

#include <vector>

#include "fields/field.hpp"
#include "fields/fields.hpp"
#include "foundation/setting_values.hpp"
#include "foundation/value_format.hpp"
#include "model/database.hpp"
#include "model/table.hpp"
#include "model/tables.hpp"
#include "platform/text/strings.hpp"

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

std::u16string UnquoteName(std::u16string_view name) {
  if (name.size() < 2) return std::u16string(name);
  std::u16string result(name);
  if (result.front() == u'"' && result.back() == u'"') {
    result = replaceAll(std::u16string_view(result).substr(1, result.size() - 2), u"\"\"", u"\"");
  }
  if (result.size() >= 2 && result.front() == u'[' && result.back() == u']') {
    result = result.substr(1, result.size() - 2);
  }
  return result;
}

void SetFieldsFromTblKey(AGPTable& table) {
  std::vector<std::u16string> names;
  for (const std::u16string& entry :
       split(settingText(table.properties().setting(kTblKey)), u"\r\n")) {
    names.push_back(UnquoteName(entry));
  }
  AGPFields& fields = table.fields();
  for (std::size_t f = 0, n = static_cast<std::size_t>(fields.count()); f < n; ++f) {
    AGPField& field = fields.at(f);
    const std::u16string name = field.FldName();
    bool isKey = false;
    for (const std::u16string& keyName : names) {
      if (keyName == name) {
        isKey = true;
        break;
      }
    }
    field.setFldIsPrimaryKey(isKey);
  }
}

}  // namespace vantorel
