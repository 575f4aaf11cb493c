// The project object's database entries as scripts call them, and what the entries share.
#include "agp/agp.hpp"
#include "foundation/keyword_list.hpp"
#include "foundation/project_context.hpp"
#include "foundation/reg_values.hpp"
#include "foundation/setting_values.hpp"
#include "platform/automation/variant_convert.hpp"

namespace vantorel {

void AGP::ReloadKeywords() {
  keywordFile_ = settingAsText(GetRegValue(u"HKCU", projectContext().generalKey, u"Keyword"));
  // A file that cannot be read is told of here; loading goes on without it.
  if (const Expected<> loaded = SharedKeywords().load(keywordFile_); !loaded) {
    showKeywordLoadFailure(loaded.failure());
  }
}

// Scripts pass every argument by reference; the entries only read them.
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
