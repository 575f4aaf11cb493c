// Where a custom view's query runs, and where each of its columns comes from.
#include "agp/agp.hpp"
#include "fields/field_settings.hpp"
#include "foundation/setting_values.hpp"
#include "model/database.hpp"
#include "platform/data/connection_string.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"
#include "schema/custom_views.hpp"

namespace vantorel {

namespace {

// The Access provider that reads a file of this engine version: ACE for 12, Jet otherwise.
std::u16string accessProvider(const std::u16string& dbmsVersion) {
  const std::u16string major = dbmsVersion.substr(0, dbmsVersion.find(u'.'));
  return major == u"12" ? u"Microsoft.ACE.OLEDB.12.0" : u"Microsoft.Jet.OLEDB.4.0";
}

// One part of "table.column": blanks trimmed, then the database's quotes taken off.
std::u16string unquotedPart(std::u16string_view part, const std::u16string& open,
                            const std::u16string& close) {
  std::u16string_view s = trimBlanks(part);
  if (s.size() >= 2 && s.substr(0, 1) == open && s.substr(s.size() - 1) == close) {
    s = s.substr(1, s.size() - 2);
  }
  return std::u16string(s);
}

}  // namespace

std::u16string CustomViewConnStr(AGP& project) {
  const Ref<AGPDatabase> db = project.DB();
  if (!db) return {};
  AGProperties& bag = db->properties();
  const std::u16string type = toUpper(settingAsText(bag.setting(kDBType)));
  if (type == u"ACCESS") {
    // A path or password holding ';' stays one value for the loader that reads the file.
    std::u16string s = u"Provider=" + accessProvider(settingAsText(bag.setting(kDBDBMSVer))) +
                       u";Data Source=" +
                       data::quoteConnectionValue(settingAsText(bag.setting(kDBPhyPath))) + u";";
    const std::u16string pwd = settingAsText(bag.setting(kDBPwd));
    if (!pwd.empty()) s += u"Jet OLEDB:Database Password=" + data::quoteConnectionValue(pwd) + u";";
    return s;
  }
  // An ODBC database connected without a data source name has only its connection string.
  const std::u16string name = settingAsText(bag.setting(kDBName));
  if (type == u"ODBC" && !name.empty()) {
    // The database load's own string: a password holding ';' reaches the driver whole.
    return data::dsnConnectionString(name, settingAsText(bag.setting(kDBUID)),
                                     settingAsText(bag.setting(kDBPwd)));
  }
  return settingAsText(bag.setting(kDBConnstr));
}

void SetCustomViewFieldSources(AGP& project, AGPField& fld) {
  const Ref<AGPDatabase> db = project.DB();
  if (!db) return;
  AGProperties& bag = fld.properties();
  const std::u16string source = settingAsText(bag.setting(kFldSourceName));
  if (source.empty()) return;
  // Exactly two parts: a name with a schema in front of the table is left alone.
  const std::size_t dot = source.find(u'.');
  if (dot == std::u16string::npos || source.find(u'.', dot + 1) != std::u16string::npos) return;
  const std::u16string_view parts[2] = {std::u16string_view(source).substr(0, dot),
                                        std::u16string_view(source).substr(dot + 1)};
  AGProperties& dbBag = db->properties();
  const std::u16string open = settingAsText(dbBag.setting(kDBQuoteS));
  const std::u16string close = settingAsText(dbBag.setting(kDBQuoteE));
  AGPTable* table = db->tables().find(unquotedPart(parts[0], open, close));
  if (!table) return;
  AGPField* field = table->fields().find(unquotedPart(parts[1], open, close));
  if (!field) return;
  // The model's spelling: the exact matches that use these names must find them.
  bag.setting(kFldSourceTable) = Variant(table->tblName());
  bag.setting(kFldSourceField) = Variant(field->FldName());
}

}  // namespace vantorel
