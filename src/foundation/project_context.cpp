
#include "foundation/project_context.hpp"
#include "foundation/custom_settings.hpp"
#include "foundation/keyword_list.hpp"
#include "foundation/product.hpp"
#include "foundation/status.hpp"

namespace vantorel {

ProjectContext::ProjectContext() {
  formProductStrings();
}

ProjectContext::~ProjectContext() {
  // The shared objects go first, one by one, while everything they may reach as they go is
  // still here: a database released last by one of them unloads its tables through Status(),
  // which must not be made anew in (or read from) a context half torn down. The status display
  // goes last.
  for (Ref<Object>* slot : {&fileCache, &unzip, &filter, &language, &menus}) {
    const Ref<Object> released = std::move(*slot);
  }
  keywords = nullptr;
  settings = nullptr;
  status = nullptr;
}

void ProjectContext::formProductStrings() {
  techName = Variant(u"ASP");
  projectFileExt = u"vtp";
  productCode = u"VTX";
  productName = kProductName;
  productTitle = kProductTitle;
  shortVersion = vantorel::shortVersion();
  templateVersion = shortVersion;
  const std::u16string root = u"Software\\" + productName + u"\\" + shortVersion;
  settingsKey = root + u"\\Settings";
  generalKey = settingsKey + u"\\General";
  projectKey = settingsKey + u"\\Project";
  databaseKey = settingsKey + u"\\Database";
  tableKey = settingsKey + u"\\Table";
  chartKey = settingsKey + u"\\Chart";
  trendlineKey = settingsKey + u"\\Trendline";
  fieldKey = settingsKey + u"\\Field";
  advancedFiltersKey = root + u"\\AdvancedFilters";
  extensionsKey = root + u"\\Extensions";
  odbcIniKey = u"Software\\ODBC\\ODBC.INI";
  odbcInstIniKey = u"Software\\ODBC\\ODBCINST.INI";
}

ProjectContext& projectContext() {
  // The one per-thread object of the engine's project state; everything else hangs off it.
  thread_local ProjectContext context;
  return context;
}

}  // namespace vantorel
