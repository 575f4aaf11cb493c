#include "projectfile/project_writer.hpp"

#include <functional>
#include <optional>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "agp/agp.hpp"
#include "fields/fields.hpp"
#include "foundation/locale_charset.hpp"
#include "foundation/project_context.hpp"
#include "foundation/properties.hpp"
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
#include "project/language.hpp"
#include "project/menus.hpp"
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
std::u16string ownerOf(const xml::Node& element, const AGProperties* props) {
  std::u16string owner = xml::nameOf(element);
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
// one: such a value stops the save before anything is backed up or written.
void refuseUnwritableText(const xml::Node& element, const AGProperties* props,
                          std::u16string_view setting, std::u16string_view text) {
  const std::optional<std::size_t> at = xml::firstNonXmlChar(text);
  if (!at) return;
  static constexpr char16_t kHex[] = u"0123456789ABCDEF";
  std::u16string code = u"U+";
  for (int shift = 12; shift >= 0; shift -= 4) code += kHex[(text[*at] >> shift) & 0xF];
  refuseSetting(ownerOf(element, props), setting,
                u"its value holds the character " + code + u", which a project file cannot hold");
}

void setTextAttribute(xml::Node element, std::string_view name, std::u16string_view text) {
  if (xml::firstNonXmlChar(text)) refuseUnwritableText(element, nullptr, fromUtf8(name), text);
  xml::setAttribute(element, name, text);
}

void writeTrendlines(xml::Node chartElement, AGPChart& chart) {
  AGPTrends& trends = chart.trendlines();
  for (std::size_t i : bySequence(trends.count(), u"Trendline",
                                  [&](std::size_t k) { return trends.at(k).trendSeq(); })) {
    WritePropertiesAsAttributes(chartElement.append_child("Trendline"), trends.at(i).properties());
    xml::appendLineBreak(chartElement);
  }
}

void writeTable(xml::Node tableElement, AGPTable& table) {
  xml::appendLineBreak(tableElement);
  AGPCharts& charts = table.charts();
  for (std::size_t i : bySequence(charts.count(), u"Chart",
                                  [&](std::size_t k) { return charts.at(k).chartSeq(); })) {
    AGPChart& chart = charts.at(i);
    xml::Node element = tableElement.append_child("Chart");
    WritePropertiesAsAttributes(element, chart.properties());
    xml::appendLineBreak(element);
    writeTrendlines(element, chart);
    xml::appendLineBreak(tableElement);
  }
  AGPFields& fields = table.fields();
  for (std::size_t i :
       bySequence(fields.count(), u"Field", [&](std::size_t k) { return fields.at(k).FldSeq(); })) {
    WritePropertiesAsAttributes(tableElement.append_child("Field"), fields.at(i).properties());
    xml::appendLineBreak(tableElement);
  }
}

void writeDatabase(xml::Node root, AGPDatabase& db) {
  xml::Node element = root.append_child("Database");
  WritePropertiesAsAttributes(element, db.properties());
  xml::appendLineBreak(element);
  AGPTables& tables = db.tables();
  for (std::size_t i :
       bySequence(tables.count(), u"Table", [&](std::size_t k) { return tables.at(k).tblSeq(); })) {
    AGPTable& table = tables.at(i);
    xml::Node tableElement = element.append_child("Table");
    WritePropertiesAsAttributes(tableElement, table.properties());
    writeTable(tableElement, table);
    xml::appendLineBreak(element);
  }
}

// The extensions' setters store values as given.
constexpr NonBooleanValue kAsText = NonBooleanValue::AsText;

void writeExtensions(xml::Node root) {
  ProjectExtensionStore* store = projectExtensionStore();
  if (!store) return;
  const std::vector<ProjectExtensionStore::Extension> extensions = store->extensionsForSave();
  if (extensions.empty()) {
    // Without this a load would register every installed extension again.
    if (store->noneWanted()) {
      xml::appendLineBreak(root);
      root.append_child("Extensions");
      xml::appendLineBreak(root);
    }
    return;
  }
  xml::appendLineBreak(root);
  for (const ProjectExtensionStore::Extension& ext : extensions) {
    xml::Node element = root.append_child("Extension");
    WritePropertiesAsAttributes(element, *ext.properties, kAsText);
    if (ext.project) {
      xml::appendLineBreak(element);
      xml::Node project = element.append_child("ExtProject");
      WritePropertiesAsAttributes(project, *ext.project, kAsText);
      xml::appendLineBreak(project);
      if (ext.database) {
        xml::Node database = project.append_child("ExtDatabase");
        WritePropertiesAsAttributes(database, *ext.database, kAsText);
        xml::appendLineBreak(database);
        for (const ProjectExtensionStore::TableSettings& table : ext.tables) {
          xml::Node tableElement = database.append_child("ExtTable");
          WritePropertiesAsAttributes(tableElement, *table.properties, kAsText);
          xml::appendLineBreak(tableElement);
          for (AGProperties* chart : table.charts) {
            WritePropertiesAsAttributes(tableElement.append_child("ExtChart"), *chart, kAsText);
            xml::appendLineBreak(tableElement);
          }
          for (AGProperties* field : table.fields) {
            WritePropertiesAsAttributes(tableElement.append_child("ExtField"), *field, kAsText);
            xml::appendLineBreak(tableElement);
          }
          xml::appendLineBreak(database);
        }
      }
    }
    xml::appendLineBreak(root);
  }
}

void writeCustomScripts(xml::Node root) {
  ProjectCustomScriptStore* store = projectCustomScriptStore();
  if (!store) return;
  const std::vector<ProjectCustomScriptStore::Script> scripts = store->scriptsForSave();
  if (scripts.empty()) return;
  xml::appendLineBreak(root);
  for (const ProjectCustomScriptStore::Script& script : scripts) {
    xml::Node element = root.append_child("CustomScript");
    WritePropertiesAsAttributes(element, *script.properties);
    xml::appendLineBreak(element);
    xml::appendCData(element, script.code);
    xml::appendLineBreak(element);
    xml::appendLineBreak(root);
  }
}

void writeMenus(xml::Node root) {
  const std::vector<Ref<AGPMenu>>& menus = SharedMenus().items();
  if (menus.empty()) return;
  xml::appendLineBreak(root);
  for (const Ref<AGPMenu>& menu : menus) {
    const AGMenuFields& f = menu->fields();
    xml::Node element = root.append_child("Menu");
    xml::setAttribute(element, "MenuID", f.MenuId);
    setTextAttribute(element, "MenuText", f.MenuText);
    xml::setAttribute(element, "MenuParentID", f.MenuParentId);
    setTextAttribute(element, "MenuSource", f.MenuSource);
    setTextAttribute(element, "MenuExtUrl", f.MenuExtUrl);
    xml::setAttribute(element, "MenuAnonymous", f.MenuAnonymous);
    setTextAttribute(element, "MenuSecurity", f.MenuSecurity);
    setTextAttribute(element, "MenuUrl", f.MenuUrl);
    setTextAttribute(element, "MenuType", f.MenuType);
    xml::setAttribute(element, "MenuCustomUrl", f.MenuCustomUrl ? 1 : 0);
    xml::setAttribute(element, "MenuLevel", f.MenuLevel);
    xml::setAttribute(element, "MenuShow", f.MenuShow ? 1 : 0);
    xml::setAttribute(element, "MenuDisplayOrder", f.MenuDisplayOrder);
    for (const AGPMenu::OtherAttribute& other : menu->otherAttributes()) {
      setTextAttribute(element, toUtf8(other.name), other.value);
    }
    xml::appendLineBreak(root);
  }
}

// Writes one phrase element per record that qualifies, with the record's fields as attributes.
template <class R>
void writePhrases(xml::Node root, const char* elementName, std::int32_t count,
                  R (AGPLanguage::*item)(std::int32_t) const,
                  const std::function<bool(const R&)>& qualifies) {
  const AGPLanguage& language = SharedLanguage();
  for (std::int32_t i = 1; i <= count; ++i) {
    const R record = (language.*item)(i);
    if (record.Phrase.empty() || !qualifies(record)) continue;
    xml::Node element = root.append_child(elementName);
    for (const RecordField<R>& field : PhraseRecordTraits<R>::kFields) {
      setTextAttribute(element, toUtf8(field.name), record.*field.member);
    }
    xml::appendLineBreak(root);
  }
}

bool menuExists(const AGMenuPhrase& record) {
  try {
    return SharedMenus().MenuHasID(toLong(Variant(record.MenuId)));
  } catch (const AutomationError&) {
    return false;  // an identifier that is no number names no menu item
  }
}

void writeAllPhrases(xml::Node root, AGPDatabase* db) {
  const AGPLanguage& language = SharedLanguage();
  writePhrases<AGProjectPhrase>(root, "ProjectPhrase", language.ProjectCount(),
                                &AGPLanguage::ProjectItem,
                                [](const AGProjectPhrase&) { return true; });
  writePhrases<AGMenuPhrase>(root, "MenuPhrase", language.MenuCount(), &AGPLanguage::MenuItem,
                             menuExists);
  if (!db) return;
  AGPTables& tables = db->tables();
  writePhrases<AGTablePhrase>(
      root, "TablePhrase", language.TableCount(), &AGPLanguage::TableItem,
      [&](const AGTablePhrase& r) { return tables.find(r.TableName) != nullptr; });
  writePhrases<AGChartPhrase>(root, "ChartPhrase", language.ChartCount(), &AGPLanguage::ChartItem,
                              [&](const AGChartPhrase& r) {
                                AGPTable* table = tables.find(r.TableName);
                                return table && table->charts().chartExist(Variant(r.ChartName));
                              });
  writePhrases<AGFieldPhrase>(root, "FieldPhrase", language.FieldCount(), &AGPLanguage::FieldItem,
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
        buffer = toUtf8(text);
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

void WritePropertiesAsAttributes(xml::Node element, const AGProperties& props,
                                 NonBooleanValue nonBoolean) {
  // The catalog's rows have unique names, so they need no look-up on an element that has no
  // attributes yet; a setting added later or renamed by a script may repeat any name. From the
  // first such setting on, the names written are kept in a set, so a bag of many undeclared
  // settings is written in linear time.
  std::optional<std::unordered_set<std::string>> names;
  const auto startNames = [&] {
    names.emplace();
    for (xml::Attribute a = element.first_attribute(); a; a = a.next_attribute()) {
      names->emplace(a.name());
    }
  };
  if (element.first_attribute()) startNames();
  const SettingCatalog* catalog = props.catalog();
  std::string name;
  std::string text;
  props.forEachSetting([&](SettingSlot slot, const SettingRecord& record, const Variant& value) {
    if (!record.fileSave) return;
    if (value.isString()) refuseUnwritableText(element, &props, record.name, value.stringValue());
    const char* attributeText = attributeUtf8(record, value, text, nonBoolean);
    const char* attributeName;
    // A row as the catalog declares it is the catalog's own record; one a script renamed
    // through its view is a copy.
    if (catalog && slot < catalog->size() &&
        (&(*catalog)[slot] == &record || (*catalog)[slot].name == record.name)) {
      attributeName = catalog->utf8Name(slot).c_str();
    } else {
      // A name that is no XML name makes a file the reader refuses as a whole.
      if (!xml::isXmlName(record.name)) {
        refuseSetting(ownerOf(element, &props), record.name,
                      u"a project file cannot hold a setting of that name");
      }
      name = toUtf8(record.name);
      attributeName = name.c_str();
      if (!names) startNames();
    }
    xml::Attribute attribute;
    if (names && !names->emplace(attributeName).second) {
      attribute = element.attribute(attributeName);
    }
    if (!attribute) attribute = element.append_attribute(attributeName);
    attribute.set_value(attributeText);
  });
}

void buildProjectDocument(AGP& project, xml::Document& doc) {
  xml::Node declaration = doc.append_child(xml::kDeclarationNode);
  declaration.append_attribute("version").set_value("1.0");
  declaration.append_attribute("encoding").set_value("UTF-8");
  declaration.append_attribute("standalone").set_value("yes");
  xml::appendLineBreak(doc);
  xml::Node root = doc.append_child("Project");
  xml::setAttribute(root, "Version", project.FullVersion());
  xml::setAttribute(root, "Product", projectContext().productName);
  WritePropertiesAsAttributes(root, project.properties());
  xml::appendLineBreak(root);

  const Ref<AGPDatabase> db = project.DB();
  if (db) writeDatabase(root, *db);
  writeExtensions(root);
  writeCustomScripts(root);
  writeMenus(root);
  writeAllPhrases(root, db.get());
}

void saveProject(AGP& project, const std::u16string& projFile) {
  projectContext().lastErrorText.clear();
  if (std::optional<std::u16string> missing = CheckComponents()) {
    projectContext().lastErrorText = std::move(*missing);
    return;
  }
  InitLocaleCharset();
  xml::Document doc;
  buildProjectDocument(project, doc);
  // Saves killed before their renames left their temporaries in both folders a save writes to.
  const std::u16string parent = fs::parentFolder(projFile);
  const std::u16string folder = parent.empty() ? std::u16string(u".") : parent;
  const std::u16string& backupFolder = projectContext().backupFolder;
  fs::removeStaleTemporaries(folder, false);
  if (!backupFolder.empty()) fs::removeStaleTemporaries(backupFolder, false);
  try {
    fs::refuseLinksBelow(folder, projFile, "save");
  } catch (const fs::FileError& e) {
    raiseVbError(vberr::kPermissionDenied, fromUtf8(e.what()));
  }
  try {
    MakeBackupCopy(projFile, backupFolder, maxProjectBackupCount());
  } catch (const fs::FileError& e) {
    raiseVbError(vberr::kPermissionDenied,
                 u"The project file \"" + projFile +
                     u"\" was not saved, because its backup copy could not be made: " +
                     fromUtf8(e.what()));
  }
  SaveXmlFile(projFile, doc, Variant(true), folder);
}

}  // namespace vantorel
