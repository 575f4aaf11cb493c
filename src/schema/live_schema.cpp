#include "schema/live_schema.hpp"

#include <algorithm>

#include "agp/entry_steps.hpp"
#include "database/database_load.hpp"
#include "foundation/setting_values.hpp"
#include "model/database.hpp"
#include "schema/model_values.hpp"

namespace vantorel {

std::size_t tableRecordCount(const AGSchemaDB& live) noexcept {
  const std::size_t held = live.Tables.Tbl.empty() ? 0 : live.Tables.Tbl.size() - 1;
  return live.DBTblCnt < 0 ? 0 : std::min(static_cast<std::size_t>(live.DBTblCnt), held);
}

std::size_t fieldRecordCount(const AGSchemaTable& table) noexcept {
  const std::size_t held = table.TblFields.fld.empty() ? 0 : table.TblFields.fld.size() - 1;
  return table.TblFldCnt < 0 ? 0 : std::min(static_cast<std::size_t>(table.TblFldCnt), held);
}

void expectStoredObjects(AGPSchema& snapshot, AGPDatabase& db) {
  std::vector<StoredObject> objects;
  AGPTables& tables = db.tables();
  for (std::int32_t i = 0; i < tables.count(); ++i) {
    const AGProperties& bag = tables.at(static_cast<std::size_t>(i)).properties();
    std::u16string type = settingAsText(bag.setting(kTblType));
    if (!isTableOrView(type)) continue;
    objects.push_back(
        {settingAsText(bag.setting(kTblSchema)), settingAsText(bag.setting(kTblName)), type});
  }
  snapshot.expectObjects(std::move(objects));
}

Expected<> loadLiveSchema(AGPSchema& snapshot, AGPDatabase& db, const std::u16string& sTableName) {
  if (sTableName.empty()) expectStoredObjects(snapshot, db);
  snapshot.useSqlQuoteSetting(recordedSqlQuoteSetting(db));
  AGProperties& bag = db.properties();
  std::u16string name = settingAsText(bag.setting(kDBName));
  return snapshot.read(
      name, settingAsText(bag.setting(kDBType)), settingAsText(bag.setting(kDBPath)),
      settingAsText(bag.setting(kDBPhyPath)), settingAsBool(bag.setting(kDBUseServerMapPath)),
      settingAsText(bag.setting(kDBUID)), settingAsText(bag.setting(kDBPwd)),
      settingAsText(bag.setting(kDBConnstr)), settingAsText(bag.setting(kDBSchema)), sTableName);
}

Expected<> snapshotIsWhole(const AGPSchema& snapshot, AGPDatabase& db) {
  const AGSchemaDB& live = snapshot.database();
  if (!live.tableListError.empty()) {
    return Failure{titledMessage(u"The list of tables could not be read! " + live.tableListError)};
  }
  if (!live.viewListError.empty()) {
    return Failure{titledMessage(u"The list of views could not be read! " + live.viewListError)};
  }
  for (std::size_t i = 1, n = tableRecordCount(live); i <= n; ++i) {
    if (isTableOrView(live.Tables.Tbl[i].TblType)) return {};
  }
  AGPTables& tables = db.tables();
  for (std::int32_t i = 0; i < tables.count(); ++i) {
    if (isTableOrView(
            settingAsText(tables.at(static_cast<std::size_t>(i)).properties().setting(kTblType)))) {
      return Failure{titledMessage(
          u"The database holds no table or view! Please check if correct database is in use.")};
    }
  }
  return {};
}

}  // namespace vantorel
