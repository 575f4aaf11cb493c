// The database object's members.
#include "database/ado_database_loader.hpp"
#include "database/dao_database_loader.hpp"
#include "foundation/setting_members.hpp"
#include "model/database.hpp"
#include "platform/automation/bind.hpp"
#include "platform/automation/variant_convert.hpp"
#include "surface/surface_tables.hpp"

namespace vantorel::surface {

namespace {

// Scripts pass every argument by reference; the loaders only read them.
std::int16_t loadADODB(AGPDatabase& db, Variant& DBType, Variant& DBName, Variant& uid,
                       Variant& pwd, Variant& sConnStr, Variant& sTableName, Variant& sSchema) {
  return LoadADODB(db, {toString(DBType), toString(DBName), toString(uid), toString(pwd),
                        toString(sConnStr), toString(sTableName), toString(sSchema)});
}

std::int16_t loadDAODB(AGPDatabase& db, Variant& DBPath, Variant& DBPhyPath,
                       Variant& DBUseServerMapPath, Variant& uid, Variant& pwd,
                       Variant& sTableName) {
  return loadDaoDatabase(db, {toString(DBPath), toString(DBPhyPath), toBool(DBUseServerMapPath),
                              toString(uid), toString(pwd), toString(sTableName)});
}

std::int16_t loadADOCustomView(AGPDatabase& db, Variant& sConnStr, Variant& sTableName,
                               Variant& sSQL) {
  return LoadADOCustomView(db, toString(sConnStr), toString(sTableName), toString(sSQL));
}

}  // namespace

void installDatabaseTables() noexcept {
  using T = AGPDatabase;
  static const ClassInfo& database = describeClass(u"AGPDatabase", [](ClassInfo& c) {
    ClassBuilder<T>(c)
        .get<&T::scriptProperties>(u"Properties")
        .method<&T::GetV>(u"GetV")
        .method<&T::SetV>(u"SetV")
        .get<&T::scriptTables>(u"Tables")
        .prop<&T::dbName, &T::setDbName>(u"Key")
        .settings<&T::properties>(databaseCatalog())
        .prop<&T::secDefault, &T::setSecDefault>(u"SecDefault")
        .method<&loadADODB>(u"LoadADODB")
        .method<&loadDAODB>(u"LoadDAODB")
        .method<&loadADOCustomView>(u"LoadADOCustomView");
    // What the provider reports is recorded by database loading alone.
    for (SettingSlot row = kDBADOVer; row <= kDBProviderVer; ++row) {
      c.define(databaseCatalog()[row].name).slotLet = nullptr;
    }
  });
  MemberTable<T>::install(database);
}

}  // namespace vantorel::surface
