#include "model/database_operations.hpp"

#include "foundation/installed_operation.hpp"
#include "model/database.hpp"
#include "platform/automation/variant_convert.hpp"

namespace vantorel {

DatabaseOperations& databaseOperations() noexcept {
  static DatabaseOperations operations;
  return operations;
}

std::int16_t AGPDatabase::LoadADODB(const AdoLoadArguments& arguments) {
  return installedOperation(databaseOperations().loadADODB, u"AGPDatabase", u"LoadADODB")(
      *this, arguments);
}

std::int16_t AGPDatabase::LoadDAODB(const DaoLoadArguments& arguments) {
  return installedOperation(databaseOperations().loadDAODB, u"AGPDatabase", u"LoadDAODB")(
      *this, arguments);
}

std::int16_t AGPDatabase::LoadADOCustomView(const std::u16string& sConnStr,
                                            const std::u16string& sTableName,
                                            const std::u16string& sSQL) {
  return installedOperation(databaseOperations().loadADOCustomView, u"AGPDatabase",
                            u"LoadADOCustomView")(*this, sConnStr, sTableName, sSQL);
}

// Scripts pass every argument by reference; the loaders only read them.
std::int16_t AGPDatabase::scriptLoadADODB(Variant& DBType, Variant& DBName, Variant& uid,
                                          Variant& pwd, Variant& sConnStr, Variant& sTableName,
                                          Variant& sSchema) {
  return LoadADODB({toString(DBType), toString(DBName), toString(uid), toString(pwd),
                    toString(sConnStr), toString(sTableName), toString(sSchema)});
}

std::int16_t AGPDatabase::scriptLoadDAODB(Variant& DBPath, Variant& DBPhyPath,
                                          Variant& DBUseServerMapPath, Variant& uid,
                                          Variant& pwd, Variant& sTableName) {
  return LoadDAODB({toString(DBPath), toString(DBPhyPath), toBool(DBUseServerMapPath),
                    toString(uid), toString(pwd), toString(sTableName)});
}

std::int16_t AGPDatabase::scriptLoadADOCustomView(Variant& sConnStr, Variant& sTableName,
                                                  Variant& sSQL) {
  return LoadADOCustomView(toString(sConnStr), toString(sTableName), toString(sSQL));
}

}  // namespace vantorel
