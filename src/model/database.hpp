#pragma once
// AGPDatabase: the project's one database, its 30 connection and site-security settings in a
// bag declared from the database catalog (MaxUploadSize defaulted from the user's DatabaseKey)
// and its tables. Releasing it unloads the tables one by one under a progress display.
#include <optional>
#include <string>

#include "foundation/properties.hpp"
#include "foundation/setting_catalog.hpp"
#include "model/tables.hpp"
#include "platform/automation/object.hpp"

namespace vantorel {

enum DatabaseSetting : SettingSlot {
  kDBName,
  kDBType,
  kDBPath,
  kDBUseServerMapPath,
  kDBPhyPath,
  kDBUID,
  kDBPwd,
  kDBQuoteS,
  kDBQuoteE,
  kDBConnstr,
  kDBADOVer,
  kDBDBMSName,
  kDBDBMSVer,
  kDBOLEDBVer,
  kDBProviderName,
  kDBProviderVer,
  kDBSchema,
  kMaxUploadSize,
  kSecUserLevelFld,
  kSecDefault,
  kSecuUserIDFld,
  kUseDynamicUserLevel,
  kUserLevelTbl,
  kUserLevelIdFld,
  kUserLevelNameFld,
  kUserLevelPrivTbl,
  kUserLevelPrivTblNameFld,
  kUserLevelPrivUserLevelFld,
  kUserLevelPrivPrivFld,
  kSecuParentUserIDFld,
};

const SettingCatalog& databaseCatalog();

class AGPDatabase final : public Object {
 public:
  // Declares the catalog and reads the registry defaults.
  AGPDatabase();

  const ClassInfo& classInfo() const noexcept override;

  AGProperties& properties();
  Ref<AGProperties> scriptProperties() { return Ref<AGProperties>(&properties()); }
  // Any setting by name as text; an undeclared name is declared as a saved "String" row.
  std::u16string GetV(const std::u16string& name);
  // Converted by the row's type; an undeclared name is declared and keeps the text as given.
  Variant SetV(const std::u16string& name, const std::u16string& value);
  AGPTables& tables();
  Ref<AGPTables> scriptTables() { return Ref<AGPTables>(&tables()); }

  // Key and DBName are one setting; the key the database was added under does not follow.
  std::u16string dbName();
  void setDbName(const std::u16string& name);
  std::u16string secDefault();
  // Also becomes the security default of tables loaded from now on (CurrentSecDefault).
  void setSecDefault(const std::u16string& value);

  // Kept by database loading while it reads the tables of one schema.
  Variant& schemaFilter() noexcept { return schemaFilter_; }

  // A connection string as the project file in folder stored it, read as resolved (a file
  // named relative to the project file made absolute). A save into the same folder writes the
  // stored text back while DBConnstr is still the resolved one.
  struct StoredConnstr {
    std::u16string stored;
    std::u16string resolved;
    std::u16string folder;
  };
  std::optional<StoredConnstr>& storedConnstr() noexcept { return storedConnstr_; }

 protected:
  void terminate() noexcept override;

 private:
  Ref<AGProperties> properties_;
  std::optional<StoredConnstr> storedConnstr_;
  Ref<AGPTables> tables_;
  Variant schemaFilter_{std::u16string()};
};

}  // namespace vantorel
