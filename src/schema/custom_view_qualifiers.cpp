#include "schema/custom_view_qualifiers.hpp"

#include <optional>

#include "database/custom_view_loader.hpp"
#include "fields/field_settings.hpp"
#include "foundation/project_context.hpp"
#include "foundation/setting_values.hpp"
#include "foundation/sql_quoting.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/data/connection.hpp"
#include "platform/text/case_fold.hpp"
#include "schema/custom_views.hpp"

namespace vantorel {

namespace {

// Where the model's tables live, as a qualifier written in the query must name it.
class ModelQualifiers {
 public:
  ModelQualifiers(AGP& project, AGPDatabase& db, std::int16_t kind)
      : project_(project), db_(db), kind_(kind) {}

  bool names(const std::u16string& qualifier, AGPTable& table) {
    // MariaDB's qualifier is a database, and the model holds the connection's database only.
    if (kind_ == kDbmsMySql) return qualifier == connectionDatabase();
    std::u16string schema = settingAsText(table.properties().setting(kTblSchema));
    if (schema.empty() && kind_ == kDbmsPostgreSql) schema = currentSchema();
    // A table loaded without a schema on other databases has nothing to compare with.
    return schema.empty() || equalsNoCase(qualifier, schema);
  }

 private:
  // The schema the loader restricted the database to, else the one unqualified names find.
  std::u16string currentSchema() {
    const std::u16string loaded = settingAsText(db_.properties().setting(kDBSchema));
    return loaded.empty() ? std::u16string(u"public") : loaded;
  }

  // Asked of the server once, and only when a query names a database.
  const std::u16string& connectionDatabase() {
    if (!database_) {
      database_.emplace();
      try {
        const data::Connection cnn(CustomViewConnStr(project_));
        *database_ = cnn.properties().currentCatalog;
      } catch (const AutomationError&) {
        // Unknown: no qualified source can be shown to be the model's.
      }
    }
    return *database_;
  }

  AGP& project_;
  AGPDatabase& db_;
  std::int16_t kind_;
  std::optional<std::u16string> database_;
};

}  // namespace

void dropForeignQualifiedSources(AGP& project, AGPDatabase& db, AGPTable& view) {
  const std::int16_t kind = GetDbmsType(projectContext().currentDbmsName);
  CustomSqlAnalyzer analyzer;
  if (!analyzer.analyse(settingAsText(view.properties().setting(kTblCustomSQL)), kind)) return;
  ModelQualifiers model(project, db, kind);
  AGPFields& fields = view.fields();
  for (std::int32_t i = 0; i < fields.count(); ++i) {
    AGPField& field = fields.at(static_cast<std::size_t>(i));
    const CustomSqlColumn column = describeCustomViewColumn(analyzer, field.FldName());
    if (column.sourceSchema.empty()) continue;
    AGPTable* table = db.tables().find(column.sourceTable);
    if (table && model.names(column.sourceSchema, *table)) continue;
    AGProperties& bag = field.properties();
    bag.setting(kFldSourceTable) = Variant(u"");
    bag.setting(kFldSourceField) = Variant(u"");
  }
}

}  // namespace vantorel
