#include "project/project_state.hpp"

#include "foundation/product.hpp"

namespace vantorel {

namespace {

struct ProductStrings {
  std::u16string productName, productTitle, projectFileExt, productCode, shortVersion,
      templateVersion;
  Variant techName;
  std::u16string settings, general, project, database, table, chart, trendline, field,
      advancedFilters, extensions, odbcIni, odbcInstIni;
};

void form(ProductStrings& s) {
  s.techName = Variant(u"ASP");
  s.projectFileExt = u"vtp";
  s.productCode = u"VTX";
  s.productName = kProductName;
  s.productTitle = kProductTitle;
  s.shortVersion = shortVersion();
  s.templateVersion = s.shortVersion;
  const std::u16string root = u"Software\\" + s.productName + u"\\" + s.shortVersion;
  s.settings = root + u"\\Settings";
  s.general = s.settings + u"\\General";
  s.project = s.settings + u"\\Project";
  s.database = s.settings + u"\\Database";
  s.table = s.settings + u"\\Table";
  s.chart = s.settings + u"\\Chart";
  s.trendline = s.settings + u"\\Trendline";
  s.field = s.settings + u"\\Field";
  s.advancedFilters = root + u"\\AdvancedFilters";
  s.extensions = root + u"\\Extensions";
  s.odbcIni = u"Software\\ODBC\\ODBC.INI";
  s.odbcInstIni = u"Software\\ODBC\\ODBCINST.INI";
}

ProductStrings& strings() {
  thread_local ProductStrings s = [] {
    ProductStrings fresh;
    form(fresh);
    return fresh;
  }();
  return s;
}


}  // namespace

void formProductStrings() { form(strings()); }

std::u16string& LastErrorText() {
  thread_local std::u16string text;
  return text;
}

std::u16string& ProductName() { return strings().productName; }
std::u16string& ProductTitle() { return strings().productTitle; }
Variant& TechName() { return strings().techName; }
std::u16string& ProjectFileExt() { return strings().projectFileExt; }
std::u16string& ProductCode() { return strings().productCode; }
std::u16string& ShortVersion() { return strings().shortVersion; }
std::u16string& TemplateVersion() { return strings().templateVersion; }

std::u16string& TemplateName() {
  thread_local std::u16string name;
  return name;
}

std::u16string& SettingsKey() { return strings().settings; }
std::u16string& GeneralKey() { return strings().general; }
std::u16string& ProjectKey() { return strings().project; }
std::u16string& DatabaseKey() { return strings().database; }
std::u16string& TableKey() { return strings().table; }
std::u16string& ChartKey() { return strings().chart; }
std::u16string& TrendlineKey() { return strings().trendline; }
std::u16string& FieldKey() { return strings().field; }
std::u16string& AdvancedFiltersKey() { return strings().advancedFilters; }
std::u16string& ExtensionsKey() { return strings().extensions; }
std::u16string& OdbcIniKey() { return strings().odbcIni; }
std::u16string& OdbcInstIniKey() { return strings().odbcInstIni; }

namespace {

struct Folders {
  std::u16string documents, userData, backup, report, extensions, destination;
};

Folders& folders() {
  thread_local Folders f;
  return f;
}

}  // namespace

std::u16string& MyDocumentsFolder() { return folders().documents; }
std::u16string& UserDataFolder() { return folders().userData; }
std::u16string& BackupFolder() { return folders().backup; }
std::u16string& ReportFolder() { return folders().report; }
std::u16string& ExtensionsFolder() { return folders().extensions; }
std::u16string& DestinationFolder() { return folders().destination; }

std::int16_t& CurrentDateFormat() {
  thread_local std::int16_t format = 0;
  return format;
}

std::u16string& CurrentSecDefault() {
  thread_local std::u16string security;
  return security;
}

std::u16string& CurrentDbmsName() {
  thread_local std::u16string name;
  return name;
}

std::int16_t& CurrentRepeatColumns() {
  thread_local std::int16_t columns = 0;
  return columns;
}

}  // namespace vantorel
