#include "generator/language_files.hpp"

#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

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
#include "project/language.hpp"
#include "project/menu.hpp"
#include "project/menus.hpp"
#include "projectfile/file_writing.hpp"

namespace vantorel {

namespace {

constexpr char kCrLf[] = "\r\n";
// Whitespace, comments and processing instructions of the source are written back as they were.
constexpr unsigned kLoadOptions = (pugi::parse_full | pugi::parse_ws_pcdata) & ~pugi::parse_eol;

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

pugi::xml_encoding declaredEncoding(std::string_view bytes) {
  // Byte-order marks and UTF-16 are found by the parser itself; only a declared single-byte
  // encoding has to be named.
  if (!bytes.starts_with("<?xml")) return pugi::encoding_auto;
  const std::u16string head = toLower(fromUtf8(bytes.substr(0, bytes.find('>'))));
  if (head.find(u"iso-8859-1") != std::u16string::npos ||
      head.find(u"latin1") != std::u16string::npos) {
    return pugi::encoding_latin1;
  }
  return pugi::encoding_auto;
}

bool loadSource(const std::u16string& source, pugi::xml_document& doc) {
  const std::optional<std::string> bytes = fs::readFile(source);
  if (!bytes) return false;
  const pugi::xml_parse_result result =
      doc.load_buffer(bytes->data(), bytes->size(), kLoadOptions, declaredEncoding(*bytes));
  return result && doc.document_element();
}

// The file is written as UTF-8, so a declaration that names another encoding would mislabel it.
void declareUtf8(pugi::xml_document& doc) {
  for (pugi::xml_node node = doc.first_child(); node; node = node.next_sibling()) {
    if (node.type() != pugi::node_declaration) continue;
    pugi::xml_attribute encoding = node.attribute("encoding");
    if (encoding) encoding.set_value("UTF-8");
    return;
  }
}

void appendLineBreak(pugi::xml_node parent) {
  parent.append_child(pugi::node_pcdata).set_value(kCrLf);
}

pugi::xml_node appendElement(pugi::xml_node parent, const char* name) {
  pugi::xml_node element = parent.append_child(name);
  appendLineBreak(parent);
  return element;
}

pugi::xml_node appendElement(pugi::xml_node parent, const char* name, const std::u16string& id) {
  pugi::xml_node element = parent.append_child(name);
  element.append_attribute("id").set_value(toUtf8(id).c_str());
  appendLineBreak(parent);
  return element;
}

void appendPhrase(pugi::xml_node parent, std::u16string_view name, const std::u16string& text) {
  if (text.empty()) return;
  pugi::xml_node phrase = parent.append_child("phrase");
  phrase.append_attribute("id").set_value(toUtf8(toLower(name)).c_str());
  phrase.append_attribute("value").set_value(toUtf8(text).c_str());
  appendLineBreak(parent);
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

  void project(pugi::xml_node parent) {
    AGProperties& bag = proj_.properties();
    for (const std::u16string& name : attributeList(u"LanguageProjectAttributes").names) {
      if (!bag.exists(name)) continue;
      appendPhrase(parent, name, phraseText(lang_.GetProjectPhrase(id_, name), bag, name));
    }
  }

  void menus(pugi::xml_node parent) {
    const AttributeList list = attributeList(u"LanguageMenuAttributes");
    if (!list.configured) return;
    AGPMenus& menus = proj_.MenuList();
    for (std::int32_t i = 1; i <= menus.Count(); ++i) {
      const Ref<AGPMenu> menu = menus.Item(i);
      if (!menu) continue;
      const std::u16string menuId = toU16(menu->MenuId());
      pugi::xml_node element = appendElement(parent, "menu", menuId);
      for (const std::u16string& name : list.names) {
        if (!menu->MenuAttExist(name)) continue;
        std::u16string text = lang_.GetMenuPhrase(id_, menuId, name);
        if (text.empty()) text = menu->MenuAtt(name);
        appendPhrase(element, name, text);
      }
    }
  }

  void tables(pugi::xml_node parent) {
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
      pugi::xml_node element =
          appendElement(parent, "table", toLower(settingValueText(bag, u"TblVar")));
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
  void tablePhrase(pugi::xml_node element, const AGProperties& bag, const std::u16string& tblName,
                   const std::u16string& name) {
    appendPhrase(element, name, phraseText(lang_.GetTablePhrase(id_, tblName, name), bag, name));
  }

  void charts(pugi::xml_node parent, AGPTable& table, const std::u16string& tblName,
              const AttributeList& list) {
    AGPCharts& charts = table.charts();
    for (std::size_t c = 0; c < static_cast<std::size_t>(charts.count()); ++c) {
      AGPChart& chart = charts.at(c);
      AGProperties& bag = chart.properties();
      const std::u16string chartName = chart.chartName();
      pugi::xml_node element = appendElement(parent, "chart", toLower(chart.chartVar()));
      for (const std::u16string& name : list.names) {
        if (!bag.exists(name)) continue;
        appendPhrase(element, name,
                     phraseText(lang_.GetChartPhrase(id_, tblName, chartName, name), bag, name));
      }
    }
  }

  void fields(pugi::xml_node parent, AGPTable& table, const std::u16string& tblName,
              const AttributeList& list) {
    AGPFields& fields = table.fields();
    for (std::size_t f = 0; f < static_cast<std::size_t>(fields.count()); ++f) {
      AGPField& field = fields.at(f);
      AGProperties& bag = field.properties();
      const std::u16string fldName = field.FldName();
      pugi::xml_node element = appendElement(parent, "field", toLower(field.FldParm()));
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

void AddProjectPhrases(AGP& proj, pugi::xml_document& doc, const std::u16string& languageId,
                       int year, int month, int day) {
  pugi::xml_node root = doc.document_element();
  const std::u16string date = toU16(year) + u"/" + toU16(month) + u"/" + toU16(day);
  pugi::xml_attribute dateAttribute = root.attribute("date");
  if (!dateAttribute) dateAttribute = root.append_attribute("date");
  dateAttribute.set_value(toUtf8(date).c_str());
  for (const pugi::xpath_node& hit : doc.select_nodes("//global/phrase")) {
    pugi::xml_attribute id = hit.node().attribute("id");
    if (id) id.set_value(toUtf8(toLower(fromUtf8(id.value()))).c_str());
  }

  pugi::xml_node project = appendElement(root, "project");
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
  pugi::xml_document doc;
  if (!loadSource(source, doc)) return Variant(true);

  const std::time_t now = std::chrono::system_clock::to_time_t(sys::now());
  std::tm local{};
  localtime_r(&now, &local);
  AddProjectPhrases(proj, doc, proj.Language().GetFileId(name), local.tm_year + 1900,
                    local.tm_mon + 1, local.tm_mday);
  declareUtf8(doc);
  SaveXmlFile(target, doc, Variant(true));
  StepProgress();
  return Variant(true);
}

}  // namespace vantorel
