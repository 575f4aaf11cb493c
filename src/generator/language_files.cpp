#include "generator/language_files.hpp"

#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "agp/agp.hpp"
#include "fields/field.hpp"
#include "fields/fields.hpp"
#include "foundation/control_items.hpp"
#include "foundation/properties.hpp"
#include "foundation/status.hpp"
#include "generator/output_items.hpp"
#include "generator/output_paths.hpp"
#include "generator/page_generation.hpp"
#include "model/chart.hpp"
#include "model/charts.hpp"
#include "model/database.hpp"
#include "model/table.hpp"
#include "model/tables.hpp"
#include "platform/fs/files.hpp"
#include "platform/sys/clock.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"
#include "platform/xml/attributes.hpp"
#include "project/language.hpp"
#include "project/menu.hpp"
#include "project/menus.hpp"
#include "projectfile/file_writing.hpp"

namespace vantorel {

namespace {

// The setting names of one level: the user's list, each name trimmed, empty names dropped.
struct AttributeList {
  bool configured = false;  // the user's value is not empty
  std::vector<std::u16string> names;
};

AttributeList attributeList(std::u16string_view valueName) {
  AttributeList list;
  const std::u16string value = userGeneralText(valueName);
  list.configured = !value.empty();
  for (const std::u16string& name : split(value, u",")) {
    const std::u16string_view trimmed = trimBlanks(name);
    if (!trimmed.empty()) list.names.emplace_back(trimmed);
  }
  return list;
}

xml::Encoding declaredEncoding(std::string_view bytes) {
  // Byte-order marks and UTF-16 are found by the parser itself; only a declared single-byte
  // encoding has to be named.
  if (!bytes.starts_with("<?xml")) return xml::Encoding::Auto;
  const std::u16string head = toLower(fromUtf8(bytes.substr(0, bytes.find('>'))));
  if (head.find(u"iso-8859-1") != std::u16string::npos ||
      head.find(u"latin1") != std::u16string::npos) {
    return xml::Encoding::Latin1;
  }
  return xml::Encoding::Auto;
}

bool loadSource(const std::u16string& source, xml::Document& doc) {
  const std::optional<std::string> bytes = fs::readFile(source);
  return bytes &&
         !xml::parseBuffer(doc, *bytes, xml::ReadMode::Verbatim, declaredEncoding(*bytes)) &&
         doc.document_element();
}

// The file is written as UTF-8, so a declaration that names another encoding would mislabel it.
void declareUtf8(xml::Document& doc) {
  for (xml::Node node = doc.first_child(); node; node = node.next_sibling()) {
    if (node.type() != xml::kDeclarationNode) continue;
    xml::Attribute encoding = node.attribute("encoding");
    if (encoding) encoding.set_value("UTF-8");
    return;
  }
}

xml::Node appendElement(xml::Node parent, const char* name) {
  xml::Node element = parent.append_child(name);
  xml::appendLineBreak(parent);
  return element;
}

xml::Node appendElement(xml::Node parent, const char* name, const std::u16string& id) {
  xml::Node element = parent.append_child(name);
  xml::setAttribute(element, "id", id);
  xml::appendLineBreak(parent);
  return element;
}

void appendPhrase(xml::Node parent, std::u16string_view name, const std::u16string& text) {
  if (text.empty()) return;
  xml::Node phrase = parent.append_child("phrase");
  xml::setAttribute(phrase, "id", toLower(name));
  xml::setAttribute(phrase, "value", text);
  xml::appendLineBreak(parent);
}

// The project's translation, else the setting's own value.
std::u16string phraseText(const std::u16string& translation, const AGProperties& bag,
                          std::u16string_view name) {
  return translation.empty() ? settingValueText(bag, name) : translation;
}

class PhraseWriter {
 public:
  PhraseWriter(AGP& proj, const std::u16string& languageId)
      : proj_(proj), lang_(proj.Language()), id_(languageId) {}

  void project(xml::Node parent) {
    AGProperties& bag = proj_.properties();
    for (const std::u16string& name : attributeList(u"LanguageProjectAttributes").names) {
      if (!bag.exists(name)) continue;
      appendPhrase(parent, name, phraseText(lang_.GetProjectPhrase(id_, name), bag, name));
    }
  }

  void menus(xml::Node parent) {
    const AttributeList list = attributeList(u"LanguageMenuAttributes");
    if (!list.configured) return;
    AGPMenus& menus = proj_.MenuList();
    for (std::int32_t i = 1; i <= menus.Count(); ++i) {
      const Ref<AGPMenu> menu = menus.Item(i);
      if (!menu) continue;
      const std::u16string menuId = toU16(menu->MenuId());
      xml::Node element = appendElement(parent, "menu", menuId);
      for (const std::u16string& name : list.names) {
        if (!menu->MenuAttExist(name)) continue;
        std::u16string text = lang_.GetMenuPhrase(id_, menuId, name);
        if (text.empty()) text = menu->MenuAtt(name);
        appendPhrase(element, name, text);
      }
    }
  }

  void tables(xml::Node parent) {
    const AttributeList tableList = attributeList(u"LanguageTableAttributes");
    if (!tableList.configured) return;
    const AttributeList chartList = attributeList(u"LanguageChartAttributes");
    const AttributeList fieldList = attributeList(u"LanguageFieldAttributes");
    const Ref<AGPDatabase> db = proj_.DB();
    if (!db) return;
    AGPTables& tables = db->tables();
    for (std::size_t t = 0; t < static_cast<std::size_t>(tables.count()); ++t) {
      AGPTable& table = tables.at(t);
      AGProperties& bag = table.properties();
      const std::u16string tblName = table.tblName();
      xml::Node element = appendElement(parent, "table", toLower(settingValueText(bag, u"TblVar")));
      for (const std::u16string& name : tableList.names) {
        if (bag.exists(name)) {
          tablePhrase(element, bag, tblName, name);
        } else if (name.find(u"%n") != std::u16string::npos) {
          // A numbered family: Title%n stands for Title1, Title2, ... up to the first gap.
          for (long long n = 1;; ++n) {
            const std::u16string numbered = replaceAll(name, u"%n", toU16(n));
            if (!bag.exists(numbered)) break;
            tablePhrase(element, bag, tblName, numbered);
          }
        }
      }
      if (chartList.configured) charts(element, table, tblName, chartList);
      if (fieldList.configured) fields(element, table, tblName, fieldList);
    }
  }

 private:
  void tablePhrase(xml::Node element, const AGProperties& bag, const std::u16string& tblName,
                   const std::u16string& name) {
    appendPhrase(element, name, phraseText(lang_.GetTablePhrase(id_, tblName, name), bag, name));
  }

  void charts(xml::Node parent, AGPTable& table, const std::u16string& tblName,
              const AttributeList& list) {
    AGPCharts& charts = table.charts();
    for (std::size_t c = 0; c < static_cast<std::size_t>(charts.count()); ++c) {
      AGPChart& chart = charts.at(c);
      AGProperties& bag = chart.properties();
      const std::u16string chartName = chart.chartName();
      xml::Node element = appendElement(parent, "chart", toLower(chart.chartVar()));
      for (const std::u16string& name : list.names) {
        if (!bag.exists(name)) continue;
        appendPhrase(element, name,
                     phraseText(lang_.GetChartPhrase(id_, tblName, chartName, name), bag, name));
      }
    }
  }

  void fields(xml::Node parent, AGPTable& table, const std::u16string& tblName,
              const AttributeList& list) {
    AGPFields& fields = table.fields();
    for (std::size_t f = 0; f < static_cast<std::size_t>(fields.count()); ++f) {
      AGPField& field = fields.at(f);
      AGProperties& bag = field.properties();
      const std::u16string fldName = field.FldName();
      xml::Node element = appendElement(parent, "field", toLower(field.FldParm()));
      for (const std::u16string& name : list.names) {
        if (!bag.exists(name)) continue;
        appendPhrase(element, name,
                     phraseText(lang_.GetFieldPhrase(id_, tblName, fldName, name), bag, name));
      }
    }
  }

  AGP& proj_;
  AGPLanguage& lang_;
  const std::u16string& id_;
};

}  // namespace

void AddProjectPhrases(AGP& proj, xml::Document& doc, const std::u16string& languageId, int year,
                       int month, int day) {
  xml::Node root = doc.document_element();
  const std::u16string date = toU16(year) + u"/" + toU16(month) + u"/" + toU16(day);
  xml::setAttribute(root, "date", date);
  for (const xml::Node& global : xml::descendantsNamed(doc, "global")) {
    for (const xml::Node phrase : global.children("phrase")) {
      xml::Attribute id = phrase.attribute("id");
      if (id) id.set_value(toUtf8(toLower(xml::valueOf(id))).c_str());
    }
  }

  xml::Node project = appendElement(root, "project");
  PhraseWriter writer(proj, languageId);
  writer.project(project);
  writer.menus(project);
  writer.tables(project);
}

Variant CreateLanguageFile(AGP& proj, const std::u16string& id, const std::u16string& status,
                           const std::u16string& remark, const std::u16string& source,
                           const std::u16string& folder, bool checkOnly) {
  if (source.empty() || !fs::fileExists(source)) return {};
  const std::u16string name = fileNamePart(source);
  const std::u16string target = GetDestPath(proj, folder, name, checkOnly);
  if (checkOnly) {
    proj.controlList().Add(id, name, true, remark);
    return Variant(fs::fileExists(target));
  }
  if (!IsOutputItemOn(proj, id)) return Variant(false);

  Status().DispStatus(Variant(status));
  xml::Document doc;
  if (!loadSource(source, doc)) return Variant(true);

  const std::time_t now = std::chrono::system_clock::to_time_t(sys::now());
  std::tm local{};
  localtime_r(&now, &local);
  AddProjectPhrases(proj, doc, proj.Language().GetFileId(name), local.tm_year + 1900,
                    local.tm_mon + 1, local.tm_mday);
  declareUtf8(doc);
  SaveXmlFile(target, doc, Variant(true), OutputRootOf(proj, target));
  StepProgress();
  return Variant(true);
}

}  // namespace vantorel
