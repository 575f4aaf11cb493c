#include "projectfile/project_writer.hpp"

#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "agp/agp.hpp"
#include "fields/fields.hpp"
#include "foundation/locale_charset.hpp"
#include "foundation/project_context.hpp"
#include "foundation/properties.hpp"
#include "foundation/setting_values.hpp"
#include "foundation/template_lookup.hpp"
#include "model/chart.hpp"
#include "model/charts.hpp"
#include "model/database.hpp"
#include "model/table.hpp"
#include "model/tables.hpp"
#include "model/trend.hpp"
#include "model/trends.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/fs/files.hpp"
#include "platform/fs/link_free_paths.hpp"
#include "platform/fs/path.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"
#include "platform/xml/attributes.hpp"
#include "platform/xml/markup_writer.hpp"
#include "project/language.hpp"
#include "project/menus.hpp"
#include "project/project_catalogue.hpp"
#include "projectfile/database_file_path.hpp"
#include "projectfile/file_writing.hpp"
#include "projectfile/project_backups.hpp"
#include "projectfile/project_file_seams.hpp"
#include "projectfile/working_folders.hpp"

namespace vantorel {

namespace {

std::u16string valueText(const Variant& value) {
  if (value.isEmpty() || value.isNull()) return {};
  if (value.isString()) return value.stringValue();
  return toString(value);
}

// The 0-based positions of items 1 to count in the order of their sequence numbers: for each
// number the first item carrying it. A number no item carries raises, naming what is missing.
std::vector<std::size_t> bySequence(std::int32_t count, std::u16string_view what,
                                    const std::function<std::int16_t(std::size_t)>& seqOf) {
  if (count > 32767) raiseVbError(vberr::kOverflow);
  const auto n = static_cast<std::size_t>(count);
  constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  std::vector<std::size_t> order(n, kNone);
  for (std::size_t i = 0; i < n; ++i) {
    const std::int16_t seq = seqOf(i);
    if (seq >= 1 && static_cast<std::size_t>(seq) <= n && order[seq - 1] == kNone) {
      order[seq - 1] = i;
    }
  }
  for (std::size_t s = 0; s < n; ++s) {
    if (order[s] == kNone) {
      raiseVbError(vberr::kObjectVariableNotSet, std::u16string(what) + u" number " +
                                                     toU16(static_cast<long long>(s + 1)) +
                                                     u" is missing");
    }
  }
  return order;
}

// The object a failure names: the element and, where the object has one, its name.
std::u16string ownerOf(const xml::StartTag& element, const AGProperties* props) {
  std::u16string owner = fromUtf8(element.name());
  if (!props) return owner;
  for (const char16_t* key :
       {u"TblName", u"FldName", u"ChartName", u"TrendName", u"DBName", u"Name"}) {
    const Variant* name = props->findValue(key);
    if (name && name->isString() && !name->stringValue().empty()) {
      return owner + u" \"" + name->stringValue() + u"\"";
    }
  }
  return owner;
}

[[noreturn]] void refuseSetting(const std::u16string& owner, std::u16string_view setting,
                                std::u16string_view why) {
  raiseVbError(vberr::kInvalidProcedureCall, u"Cannot save the setting \"" +
                                                 std::u16string(setting) + u"\" of " + owner +
                                                 u": " + std::u16string(why));
}

// A file other readers reject, or one that loses what follows a NUL, must never replace the old
// one: such a value stops the save before the new file replaces it or the old one is backed up.
void refuseUnwritableText(const xml::StartTag& element, const AGProperties* props,
                          std::u16string_view setting, std::u16string_view text) {
  const std::optional<std::size_t> at = xml::firstNonXmlChar(text);
  if (!at) return;
  static constexpr char16_t kHex[] = u"0123456789ABCDEF";
  std::u16string code = u"U+";
  for (int shift = 12; shift >= 0; shift -= 4) code += kHex[(text[*at] >> shift) & 0xF];
  refuseSetting(ownerOf(element, props), setting,
                u"its value holds the character " + code + u", which a project file cannot hold");
}

// The project's markup written element by element: one start tag is filled at a time.
class ProjectMarkup {
 public:
  explicit ProjectMarkup(xml::MarkupWriter& out) : out_(out) {}

  // A start tag of that name with the bag's settings, for open or empty.
  xml::StartTag& tag(std::string_view name, const AGProperties& props,
                     NonBooleanValue nonBoolean = NonBooleanValue::Refused) {
    tag_.reset(name);
    WritePropertiesAsAttributes(tag_, props, nonBoolean);
    return tag_;
  }
  xml::StartTag& tag(std::string_view name) {
    tag_.reset(name);
    return tag_;
  }
  void setText(std::string_view name, std::u16string_view text) {
    if (xml::firstNonXmlChar(text)) refuseUnwritableText(tag_, nullptr, fromUtf8(name), text);
    tag_.set(name, toUtf8(text));
  }
  void setNumber(std::string_view name, std::int64_t value) {
    tag_.set(name, std::to_string(value));
  }
  xml::StartTag& current() { return tag_; }
  xml::MarkupWriter& out() { return out_; }

 private:
  xml::MarkupWriter& out_;
  xml::StartTag tag_;
};

void writeTrendlines(ProjectMarkup& m, AGPChart& chart) {
  AGPTrends& trends = chart.trendlines();
  for (std::size_t i : bySequence(trends.count(), u"Trendline",
                                  [&](std::size_t k) { return trends.at(k).trendSeq(); })) {
    m.out().empty(m.tag("Trendline", trends.at(i).properties()));
    m.out().lineBreak();
  }
}

void writeTable(ProjectMarkup& m, AGPTable& table) {
  m.out().open(m.tag("Table", table.properties()));
  m.out().lineBreak();
  AGPCharts& charts = table.charts();
  for (std::size_t i : bySequence(charts.count(), u"Chart",
                                  [&](std::size_t k) { return charts.at(k).chartSeq(); })) {
    AGPChart& chart = charts.at(i);
    m.out().open(m.tag("Chart", chart.properties()));
    m.out().lineBreak();
    writeTrendlines(m, chart);
    m.out().close("Chart");
    m.out().lineBreak();
  }
  AGPFields& fields = table.fields();
  for (std::size_t i :
       bySequence(fields.count(), u"Field", [&](std::size_t k) { return fields.at(k).FldSeq(); })) {
    m.out().empty(m.tag("Field", fields.at(i).properties()));
    m.out().lineBreak();
  }
  m.out().close("Table");
}

void writeDatabase(ProjectMarkup& m, AGPDatabase& db, std::u16string_view projectFolder) {
  xml::StartTag& tag = m.tag("Database", db.properties());
  // A SQLite file the file named relative to itself stays so while it is saved where it was.
  if (const std::optional<AGPDatabase::StoredConnstr>& connstr = db.storedConnstr();
      connstr && connstr->folder == projectFolder &&
      settingAsText(db.properties().setting(kDBConnstr)) == connstr->resolved) {
    m.setText("DBConnstr", connstr->stored);
  }
  m.out().open(tag);
  m.out().lineBreak();
  AGPTables& tables = db.tables();
  for (std::size_t i :
       bySequence(tables.count(), u"Table", [&](std::size_t k) { return tables.at(k).tblSeq(); })) {
    writeTable(m, tables.at(i));
    m.out().lineBreak();
  }
  m.out().close("Database");
}

// The extensions' setters store values as given.
constexpr NonBooleanValue kAsText = NonBooleanValue::AsText;

void writeExtensionDatabase(ProjectMarkup& m, const ProjectExtensionStore::Extension& ext) {
  m.out().open(m.tag("ExtDatabase", *ext.database, kAsText));
  m.out().lineBreak();
  for (const ProjectExtensionStore::TableSettings& table : ext.tables) {
    m.out().open(m.tag("ExtTable", *table.properties, kAsText));
    m.out().lineBreak();
    for (AGProperties* chart : table.charts) {
      m.out().empty(m.tag("ExtChart", *chart, kAsText));
      m.out().lineBreak();
    }
    for (AGProperties* field : table.fields) {
      m.out().empty(m.tag("ExtField", *field, kAsText));
      m.out().lineBreak();
    }
    m.out().close("ExtTable");
    m.out().lineBreak();
  }
  m.out().close("ExtDatabase");
}

void writeExtensions(ProjectMarkup& m) {
  ProjectExtensionStore* store = Installed<ProjectExtensionStore>::get();
  if (!store) return;
  const std::vector<ProjectExtensionStore::Extension> extensions = store->extensionsForSave();
  if (extensions.empty()) {
    // Without this a load would register every installed extension again.
    if (store->noneWanted()) {
      m.out().lineBreak();
      m.out().empty(m.tag("Extensions"));
      m.out().lineBreak();
    }
    return;
  }
  m.out().lineBreak();
  for (const ProjectExtensionStore::Extension& ext : extensions) {
    xml::StartTag& element = m.tag("Extension", *ext.properties, kAsText);
    if (!ext.project) {
      m.out().empty(element);
      m.out().lineBreak();
      continue;
    }
    m.out().open(element);
    m.out().lineBreak();
    m.out().open(m.tag("ExtProject", *ext.project, kAsText));
    m.out().lineBreak();
    if (ext.database) writeExtensionDatabase(m, ext);
    m.out().close("ExtProject");
    m.out().close("Extension");
    m.out().lineBreak();
  }
}

void writeCustomScripts(ProjectMarkup& m) {
  ProjectCustomScriptStore* store = Installed<ProjectCustomScriptStore>::get();
  if (!store) return;
  const std::vector<ProjectCustomScriptStore::Script> scripts = store->scriptsForSave();
  if (scripts.empty()) return;
  m.out().lineBreak();
  for (const ProjectCustomScriptStore::Script& script : scripts) {
    m.out().open(m.tag("CustomScript", *script.properties));
    m.out().lineBreak();
    m.out().cdata(toUtf8(script.code));
    m.out().lineBreak();
    m.out().close("CustomScript");
    m.out().lineBreak();
  }
}

void writeMenus(ProjectMarkup& m) {
  const std::vector<Ref<AGPMenu>>& menus = SharedMenus().items();
  if (menus.empty()) return;
  m.out().lineBreak();
  for (const Ref<AGPMenu>& menu : menus) {
    const AGMenuFields& f = menu->fields();
    m.tag("Menu");
    m.setNumber("MenuID", f.MenuId);
    m.setText("MenuText", f.MenuText);
    m.setNumber("MenuParentID", f.MenuParentId);
    m.setText("MenuSource", f.MenuSource);
    m.setText("MenuExtUrl", f.MenuExtUrl);
    m.setNumber("MenuAnonymous", f.MenuAnonymous);
    m.setText("MenuSecurity", f.MenuSecurity);
    m.setText("MenuUrl", f.MenuUrl);
    m.setText("MenuType", f.MenuType);
    m.setNumber("MenuCustomUrl", f.MenuCustomUrl ? 1 : 0);
    m.setNumber("MenuLevel", f.MenuLevel);
    m.setNumber("MenuShow", f.MenuShow ? 1 : 0);
    m.setNumber("MenuDisplayOrder", f.MenuDisplayOrder);
    for (const AGPMenu::OtherAttribute& other : menu->otherAttributes()) {
      m.setText(toUtf8(other.name), other.value);
    }
    m.out().empty(m.current());
    m.out().lineBreak();
  }
}

// Writes one phrase element per record that qualifies, with the record's fields as attributes.
template <class R>
void writePhrases(ProjectMarkup& m, const char* elementName, std::int32_t count,
                  R (AGPLanguage::*item)(std::int32_t) const,
                  const std::function<bool(const R&)>& qualifies) {
  const AGPLanguage& language = SharedLanguage();
  for (std::int32_t i = 1; i <= count; ++i) {
    const R record = (language.*item)(i);
    if (record.Phrase.empty() || !qualifies(record)) continue;
    m.tag(elementName);
    for (const RecordField<R>& field : PhraseRecordTraits<R>::kFields) {
      m.setText(toUtf8(field.name), record.*field.member);
    }
    m.out().empty(m.current());
    m.out().lineBreak();
  }
}

bool menuExists(const AGMenuPhrase& record) {
  try {
    return SharedMenus().MenuHasID(toLong(Variant(record.MenuId)));
  } catch (const AutomationError&) {
    return false;  // an identifier that is no number names no menu item
  }
}

void writeAllPhrases(ProjectMarkup& m, AGPDatabase* db) {
  const AGPLanguage& language = SharedLanguage();
  writePhrases<AGProjectPhrase>(m, "ProjectPhrase", language.ProjectCount(),
                                &AGPLanguage::ProjectItem,
                                [](const AGProjectPhrase&) { return true; });
  writePhrases<AGMenuPhrase>(m, "MenuPhrase", language.MenuCount(), &AGPLanguage::MenuItem,
                             menuExists);
  if (!db) return;
  AGPTables& tables = db->tables();
  writePhrases<AGTablePhrase>(
      m, "TablePhrase", language.TableCount(), &AGPLanguage::TableItem,
      [&](const AGTablePhrase& r) { return tables.find(r.TableName) != nullptr; });
  writePhrases<AGChartPhrase>(m, "ChartPhrase", language.ChartCount(), &AGPLanguage::ChartItem,
                              [&](const AGChartPhrase& r) {
                                AGPTable* table = tables.find(r.TableName);
                                return table && table->charts().chartExist(Variant(r.ChartName));
                              });
  writePhrases<AGFieldPhrase>(m, "FieldPhrase", language.FieldCount(), &AGPLanguage::FieldItem,
                              [&](const AGFieldPhrase& r) {
                                AGPTable* table = tables.find(r.TableName);
                                return table && table->fields().find(r.FieldName) != nullptr;
                              });
}

// A Boolean setting's value as 1 or 0; nothing for a value that is no Boolean.
std::optional<bool> booleanValue(const Variant& value) {
  try {
    return BoolToNum(value) != 0;
  } catch (const AutomationError&) {
    return std::nullopt;
  }
}

// The attribute text of a setting as UTF-8, by the settings rule; the common kinds of value
// are formed without going through UTF-16. Returns a pointer into buffer or a constant.
const char* attributeUtf8(const SettingRecord& record, const Variant& value, std::string& buffer,
                          NonBooleanValue nonBoolean) {
  // The declared type's name decides, as written; the parsed type only saves the comparison.
  if (record.type == SettingType::Boolean && record.dataType == u"Boolean") {
    if (value.type() == VarType::Boolean) return value.boolValue() ? "1" : "0";
    if (nonBoolean == NonBooleanValue::Refused) return BoolToNum(value) ? "1" : "0";
    if (const std::optional<bool> b = booleanValue(value)) return *b ? "1" : "0";
    buffer = toUtf8(valueText(value));
    return buffer.c_str();
  }
  switch (value.type()) {
    case VarType::Empty:
    case VarType::Null:
      return "";
    case VarType::Integer:
    case VarType::Long:
    case VarType::Byte:
      buffer = std::to_string(toLong(value));
      return buffer.c_str();
    case VarType::String: {
      const std::u16string& text = value.stringValue();
      if (text.empty()) return "";
      if (text.find(u"\r\n") != std::u16string::npos) {
        buffer = toUtf8(settingAttributeText(record.name, record.dataType, value));
      } else {
        assignUtf8(buffer, text);
      }
      return buffer.c_str();
    }
    default:
      buffer = toUtf8(settingAttributeText(record.name, record.dataType, value));
      return buffer.c_str();
  }
}

}  // namespace

std::int16_t BoolToNum(const Variant& value) {
  if (value.type() == VarType::Boolean) return toBool(value) ? 1 : 0;
  const std::u16string text = valueText(value);
  if (text.empty()) return 0;
  return toBool(Variant(text)) ? 1 : 0;
}

std::u16string settingAttributeText(std::u16string_view name, std::u16string_view dataType,
                                    const Variant& value) {
  if (dataType == u"Boolean") return BoolToNum(value) ? u"1" : u"0";
  std::u16string text = valueText(value);
  if (equalsNoCase(name, u"fldtagvalues") || equalsNoCase(name, u"chartyfldname")) {
    text = replaceAll(text, u"\r\n", u"|");
  }
  return text;
}

void WritePropertiesAsAttributes(xml::StartTag& element, const AGProperties& props,
                                 NonBooleanValue nonBoolean) {
  // The catalog's rows have unique names, so they need no look-up on an element that has no
  // attributes yet; a setting added later or renamed by a script may repeat any name. From the
  // first such setting on, each name is looked up (the tag keeps them hashed), so a bag of many
  // undeclared settings is written in linear time.
  bool lookUp = element.size() != 0;
  element.expect(static_cast<std::size_t>(props.count()));
  const SettingCatalog* catalog = props.catalog();
  std::string name;
  std::string text;
  props.forEachSetting([&](SettingSlot slot, const SettingRecord& record, const Variant& value) {
    if (!record.fileSave) return;
    if (value.isString()) refuseUnwritableText(element, &props, record.name, value.stringValue());
    const char* attributeText = attributeUtf8(record, value, text, nonBoolean);
    std::string_view attributeName;
    // A row as the catalog declares it is the catalog's own record; one a script renamed
    // through its view is a copy.
    if (catalog && slot < catalog->size() &&
        (&(*catalog)[slot] == &record || (*catalog)[slot].name == record.name)) {
      attributeName = catalog->utf8Name(slot);
    } else {
      // A name that is no XML name makes a file the reader refuses as a whole.
      if (!xml::isXmlName(record.name)) {
        refuseSetting(ownerOf(element, &props), record.name,
                      u"a project file cannot hold a setting of that name");
      }
      assignUtf8(name, record.name);
      attributeName = name;
      lookUp = true;
    }
    if (lookUp) {
      element.set(attributeName, attributeText);
    } else {
      element.add(attributeName, attributeText);
    }
  });
}

void writeProjectMarkup(AGP& project, xml::MarkupWriter& out, std::u16string_view projectFolder) {
  out.raw("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n");
  ProjectMarkup m(out);
  xml::StartTag& root = m.tag("Project");
  root.add("Version", toUtf8(project.FullVersion()));
  root.add("Product", toUtf8(projectContext().productName));
  WritePropertiesAsAttributes(root, project.properties());
  // The shipped template set is stored by its name, which the engine finds wherever it lies.
  const std::u16string templateFile = settingAsText(project.properties().setting(kProjTemplate));
  const std::size_t slash = templateFile.find_last_of(u"\\/");
  if (slash != std::u16string::npos && slash + 1 < templateFile.size()) {
    const std::u16string name = templateFile.substr(slash + 1);
    if (fs::normalizeSeparators(templateFile) ==
        fs::normalizeSeparators(BundledTemplateSet(name))) {
      root.set("Template", toUtf8(name));
    }
  }
  out.open(root);
  out.lineBreak();

  const Ref<AGPDatabase> db = project.DB();
  if (db) writeDatabase(m, *db, projectFolder);
  writeExtensions(m);
  writeCustomScripts(m);
  writeMenus(m);
  writeAllPhrases(m, db.get());
  out.close("Project");
}

void saveProject(AGP& project, const std::u16string& projFile) {
  projectContext().lastErrorText.clear();
  if (Expected<> ready = CheckComponents(); !ready) {
    projectContext().lastErrorText = std::move(ready.failure().text);
    return;
  }
  InitLocaleCharset();
  // Saves killed before their renames left their temporaries in both folders a save writes to.
  const std::u16string parent = fs::parentFolder(projFile);
  const std::u16string folder = parent.empty() ? std::u16string(u".") : parent;
  const std::u16string backupFolder = projectBackupFolder(projectContext().backupFolder, projFile);
  fs::removeStaleTemporaries(folder, false);
  if (!backupFolder.empty()) fs::removeStaleTemporaries(backupFolder, false);
  try {
    fs::refuseLinksBelow(folder, projFile, "save");
  } catch (const fs::FileError& e) {
    raiseVbError(vberr::kPermissionDenied, fromUtf8(e.what()));
  }
  // The old file is backed up once the new one is whole: a model that cannot be written, or a
  // file that cannot be, leaves the backups as they were.
  const auto backUp = [&] {
    try {
      MakeBackupCopy(projFile, backupFolder, maxProjectBackupCount());
    } catch (const fs::FileError& e) {
      raiseVbError(vberr::kPermissionDenied,
                   u"The project file \"" + projFile +
                       u"\" was not saved, because its backup copy could not be made: " +
                       fromUtf8(e.what()));
    }
  };
  SaveXmlStreamed(
      projFile,
      [&](xml::MarkupWriter& out) {
        writeProjectMarkup(project, out, projectFileFolder(projFile));
      },
      folder, backUp, fs::kPrivateFileMode);
}

}  // namespace vantorel
