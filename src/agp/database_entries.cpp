// The project object's database entries as scripts call them, the two that the loading layer
// installs, and what the entries share.
#include "agp/agp.hpp"
#include "agp/database_entry_operations.hpp"
#include "foundation/installed_operation.hpp"
#include "foundation/keyword_list.hpp"
#include "foundation/project_context.hpp"
#include "foundation/reg_values.hpp"
#include "foundation/setting_values.hpp"
#include "platform/automation/variant_convert.hpp"

namespace vantorel {

DatabaseEntryOperations& databaseEntryOperations() noexcept {
  static DatabaseEntryOperations operations;
  return operations;
}

void AGP::LoadDB(const DatabaseLoadArguments& arguments) {
  installedOperation(databaseEntryOperations().loadDB, u"AGP", u"LoadDB")(*this, arguments);
}

void AGP::LoadTable(const std::u16string& sTableName) {
  installedOperation(databaseEntryOperations().loadTable, u"AGP", u"LoadTable")(*this, sTableName);
}

void AGP::ReloadKeywords() {
  keywordFile_ = settingAsText(GetRegValue(u"HKCU", projectContext().generalKey, u"Keyword"));
  // A file that cannot be read is reported by the list itself; loading goes on without it.
  SharedKeywords().Load(Variant(keywordFile_));
}

// Scripts pass every argument by reference; the entries only read them.
void AGP::scriptLoadDB(Variant& sDbName, Variant& sDbType, Variant& sPath, Variant& sPhyPath,
                       Variant& bDBUseServerMapPath, Variant& sUID, Variant& sPwd,
                       Variant& sConnStr, Variant& sSchema) {
  LoadDB({toString(sDbName), toString(sDbType), toString(sPath), toString(sPhyPath),
          settingAsBool(bDBUseServerMapPath), toString(sUID), toString(sPwd), toString(sConnStr),
          toString(sSchema)});
}

void AGP::scriptLoadTable(Variant& sTableName) {
  LoadTable(toString(sTableName));
}

void AGP::scriptUnLoadTable(Variant& sTableName) {
  UnLoadTable(toString(sTableName));
}

bool AGP::scriptLoadReport(Variant& sTableName, Variant& sFromTableName) {
  return LoadReport(toString(sTableName), toString(sFromTableName));
}

bool AGP::scriptLoadChart(Variant& sChartName, Variant& sTableName) {
  return LoadChart(toString(sChartName), toString(sTableName));
}

bool AGP::scriptCopyChart(Variant& sOldChartName, Variant& sNewChartName, Variant& sTableName) {
  return CopyChart(toString(sOldChartName), toString(sNewChartName), toString(sTableName));
}

}  // namespace vantorel
