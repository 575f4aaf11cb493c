#include "database/custom_view_qualifiers.hpp"

#include "foundation/setting_values.hpp"
#include "foundation/sql_quoting.hpp"
#include "platform/text/case_fold.hpp"

namespace vantorel {

bool ModelQualifiers::namesModelTable(const std::u16string& qualifier,
                                      const std::u16string& table) const {
  AGPTable* model = db_.tables().find(table);
  if (!model) return false;
  // MariaDB's qualifier is a database, and the model holds the connection's database only.
  if (kind_ == kDbmsMySql) return qualifier == connectionDatabase_;
  std::u16string schema = settingAsText(model->properties().setting(kTblSchema));
  if (schema.empty() && kind_ == kDbmsPostgreSql) {
    // The schema the loader restricted the database to, else the one unqualified names find.
    schema = settingAsText(db_.properties().setting(kDBSchema));
    if (schema.empty()) schema = u"public";
  }
  // A table loaded without a schema on other databases has nothing to compare with.
  return schema.empty() || equalsNoCase(qualifier, schema);
}

}  // namespace vantorel
