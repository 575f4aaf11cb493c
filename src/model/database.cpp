#include "model/database.hpp"

#include <cstdint>

#include "foundation/project_context.hpp"
#include "foundation/registry_defaults.hpp"
#include "foundation/setting_access.hpp"
#include "foundation/setting_members.hpp"
#include "foundation/status.hpp"
#include "foundation/value_format.hpp"
#include "model/model_items.hpp"
#include "platform/automation/bind.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/ui/ui.hpp"

namespace vantorel {

const SettingCatalog& databaseCatalog() {
  static const SettingCatalog catalog{
      {u"DBName", u"String", false, 0, true, false},
      {u"DBType", u"String", false, 0, true, false},
      {u"DBPath", u"String", false, 0, true, false},
      {u"DBUseServerMapPath", u"Boolean", false, 0, true, false},
      {u"DBPhyPath", u"String", false, 0, true, false},
      {u"DBUID", u"String", false, 0, true, false},
      {u"DBPwd", u"String", false, 0, true, false},
      {u"DBQuoteS", u"String", false, 0, true, false},
      {u"DBQuoteE", u"String", false, 0, true, false},
      {u"DBConnstr", u"String", false, 0, true, false},
      {u"DBADOVer", u"String", false, 0, true, false},
      {u"DBDBMSName", u"String", false, 0, true, false},
      {u"DBDBMSVer", u"String", false, 0, true, false},
      {u"DBOLEDBVer", u"String", false, 0, true, false},
      {u"DBProviderName", u"String", false, 0, true, false},
      {u"DBProviderVer", u"String", false, 0, true, false},
      {u"DBSchema", u"String", false, 0, true, false},
      {u"MaxUploadSize", u"Long", true, 4, true, true},
      {u"SecUserLevelFld", u"String", false, 0, true, true},
      {u"SecDefault", u"String", false, 0, true, true},
      {u"SecuUserIDFld", u"String", false, 0, true, true},
      {u"UseDynamicUserLevel", u"Boolean", false, 0, true, true},
      {u"UserLevelTbl", u"String", false, 0, true, true},
      {u"UserLevelIdFld", u"String", false, 0, true, true},
      {u"UserLevelNameFld", u"String", false, 0, true, true},
      {u"UserLevelPrivTbl", u"String", false, 0, true, true},
      {u"UserLevelPrivTblNameFld", u"String", false, 0, true, true},
      {u"UserLevelPrivUserLevelFld", u"String", false, 0, true, true},
      {u"UserLevelPrivPrivFld", u"String", false, 0, true, true},
      {u"SecuParentUserIDFld", u"String", false, 0, true, true},
  };
  return catalog;
}
static_assert(kSecuParentUserIDFld + 1 == 30);

AGPDatabase::AGPDatabase() {
  loadRegistryDefaults(properties(), projectContext().databaseKey, MissingDefault::TypedZero);
}

const ClassInfo& AGPDatabase::classInfo() const noexcept {
  return MemberTable<AGPDatabase>::get(u"AGPDatabase");
}

AGProperties& AGPDatabase::properties() {
  if (!properties_) properties_ = makeRef<AGProperties>(databaseCatalog());
  return *properties_;
}

std::u16string AGPDatabase::GetV(const std::u16string& name) {
  return toString(getSettingText(properties(), name));
}

Variant AGPDatabase::SetV(const std::u16string& name, const std::u16string& value) {
  setSettingConverted(properties(), name, Variant(value));
  return Variant();
}

AGPTables& AGPDatabase::tables() {
  if (!tables_) tables_ = makeRef<AGPTables>();
  return *tables_;
}

std::u16string AGPDatabase::dbName() {
  return storedText(properties().setting(kDBName));
}

void AGPDatabase::setDbName(const std::u16string& name) {
  properties().setting(kDBName) = Variant(name);
}

std::u16string AGPDatabase::secDefault() {
  return toString(properties().setting(kSecDefault));
}

void AGPDatabase::setSecDefault(const std::u16string& value) {
  properties().setting(kSecDefault) = Variant(value);
  projectContext().currentSecDefault = value;
}

void AGPDatabase::terminate() noexcept {
  try {
    const std::int32_t total = tables_ ? tables_->count() : 0;
    std::int32_t loaded = total;
    AGPStatus& status = Status();
    status.ShowStatus(Variant(std::int32_t{0}),
                      Variant(projectContext().productTitle + u" - Unloading Database..."));
    ui::yieldToHost();
    if (tables_) {
      tables_->removeAll(
          [&](AGPTable& table) {
            status.DispStatus(
                Variant(u"Unloading " + table.tblType() + u" " + table.tblName() + u"..."));
          },
          [&] {
            --loaded;
            status.SetStatus(Variant(GetPercent(loaded, total)));
          });
    }
    status.CloseStatus();
  } catch (...) {
    // A display that fails must not keep the tables from going; a second failure here must not
    // escape the release.
    ignoringErrors([&] {
      if (tables_) tables_->removeAll([](AGPTable&) {}, [] {});
    });
    ignoringErrors([] { Status().CloseStatus(); });
  }
  projectContext().currentSecDefault.clear();
}

}  // namespace vantorel
