// The element reader: the elements of a project file placed into the model, the extensions'
// settings and the custom scripts, and the attribute copier under all of them.
#include "projectfile/project_element_reader.hpp"

#include "foundation/project_context.hpp"
#include "projectfile/load_notes.hpp"
#include "projectfile/project_reader.hpp"

#include <algorithm>
#include <iterator>
#include <optional>
#include <string_view>
#include <vector>

#include "agp/agp.hpp"
#include "fields/field_settings.hpp"
#include "fields/fields.hpp"
#include "foundation/custom_settings.hpp"
#include "foundation/script_text.hpp"
#include "foundation/setting_values.hpp"
#include "foundation/sql_quoting.hpp"
#include "foundation/status.hpp"
#include "foundation/value_conversion.hpp"
#include "foundation/value_format.hpp"
#include "model/chart.hpp"
#include "model/charts.hpp"
#include "model/database.hpp"
#include "model/databases.hpp"
#include "model/table.hpp"
#include "model/tables.hpp"
#include "model/trend.hpp"
#include "model/trends.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/expected.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/fs/files.hpp"
#include "platform/text/byte_words.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"
#include "platform/xml/attributes.hpp"
#include "project/language.hpp"
#include "projectfile/project_file_seams.hpp"

namespace vantorel {

namespace {

// The layout nests five levels deep; anything far deeper is not a project file.
constexpr int kMaxDepth = 32;

// The attribute's text as the declared type, as ConvertValue converts it: a text that does not
// convert leaves the setting empty. The common texts take a short way.
Variant convertAttribute(std::u16string value, SettingType type) {
  if (type == SettingType::String || type == SettingType::Variant) return Variant(std::move(value));
  // No number or Boolean is written as the empty text; it is what an empty setting saves as.
  if (value.empty()) return Variant();
  if (type == SettingType::Boolean && value.size() == 1 && (value[0] == u'0' || value[0] == u'1')) {
    return Variant(value[0] == u'1');
  }
  try {
    const Variant text(std::move(value));
    switch (type) {
      case SettingType::Boolean:
        return Variant(toBool(text));
      case SettingType::Integer:
        return Variant(toInteger(text));
      case SettingType::Long:
        return Variant(toLong(text));
      case SettingType::Single:
        return Variant(toSingle(text));
      default:
        return Variant(toDouble(text));
    }
  } catch (const std::exception&) {
    return Variant();
  }
}

// A short whole number as the writer puts most of them ("0", "-2", "202") in a Number setting,
// converted without making text; nothing for any other text, which takes the general way.
std::optional<Variant> shortWholeNumber(std::string_view raw, SettingType type) {
  const bool negative = !raw.empty() && raw[0] == '-';
  const std::string_view digits = raw.substr(negative ? 1 : 0);
  if (digits.empty() || digits.size() > 6) return std::nullopt;
  std::int32_t n = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + (c - '0');
  }
  if (negative) {
    if (n == 0) return std::nullopt;  // "-0" keeps its sign where the type has one
    n = -n;
  }
  switch (type) {
    case SettingType::Integer:
      if (n < INT16_MIN || n > INT16_MAX) return std::nullopt;
      return Variant(static_cast<std::int16_t>(n));
    case SettingType::Long:
      return Variant(n);
    case SettingType::Single:
      return Variant(static_cast<float>(n));
    case SettingType::Double:
      return Variant(static_cast<double>(n));
    default:
      return std::nullopt;
  }
}

// A number as the writer puts it: an optional sign, digits, a fraction and an exponent.
bool plainNumber(std::u16string_view t) {
  std::size_t i = 0;
  const auto digits = [&] {
    const std::size_t from = i;
    while (i < t.size() && t[i] >= u'0' && t[i] <= u'9') ++i;
    return i > from;
  };
  if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) ++i;
  bool any = digits();
  if (i < t.size() && t[i] == u'.') {
    ++i;
    any = digits() || any;
  }
  if (!any) return false;
  if (i < t.size() && (t[i] == u'E' || t[i] == u'e')) {
    ++i;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) ++i;
    if (!digits()) return false;
  }
  return i == t.size();
}

// Whether a plain number's text stands for a whole number ("12", "1.50E1", "-0.0"): no digit
// other than 0 is left after the point once the exponent has moved it.
bool denotesWholeNumber(std::u16string_view t) {
  const std::size_t e = t.find_first_of(u"Ee");
  std::u16string_view mantissa = t.substr(0, e);
  std::int64_t exponent = 0;
  if (e != std::u16string_view::npos) {
    std::u16string_view digits = t.substr(e + 1);
    const bool negative = !digits.empty() && digits[0] == u'-';
    if (!digits.empty() && (digits[0] == u'-' || digits[0] == u'+')) digits.remove_prefix(1);
    for (const char16_t c : digits) {
      exponent = std::min<std::int64_t>(exponent * 10 + (c - u'0'), 1 << 20);
    }
    if (negative) exponent = -exponent;
  }
  if (!mantissa.empty() && (mantissa[0] == u'-' || mantissa[0] == u'+')) mantissa.remove_prefix(1);
  const std::size_t dot = mantissa.find(u'.');
  const std::u16string_view whole = mantissa.substr(0, dot);
  const std::u16string_view fraction =
      dot == std::u16string_view::npos ? std::u16string_view() : mantissa.substr(dot + 1);
  const auto total = static_cast<std::int64_t>(whole.size() + fraction.size());
  const std::int64_t point = static_cast<std::int64_t>(whole.size()) + exponent;
  for (std::int64_t i = std::max<std::int64_t>(point, 0); i < total; ++i) {
    const auto k = static_cast<std::size_t>(i);
    if ((k < whole.size() ? whole[k] : fraction[k - whole.size()]) != u'0') return false;
  }
  return true;
}

// Fails, saying why, when a number's or Boolean's text was not taken as written; the converted
// value is what the setting got. A whole-number setting rounds a fraction as the script
// language's CInt and CLng do, half to even.
Expected<> takenAsWritten(std::u16string_view written, SettingType type, const Variant& converted) {
  if (converted.isEmpty())
    return Failure{u"is no valid value of its type; the setting is left empty"};
  if (type == SettingType::Boolean) {
    const std::u16string lower = toLower(written);
    if (lower == u"true" || lower == u"false" || lower == u"-1" || lower == u"0" || lower == u"1") {
      return {};
    }
  } else if (plainNumber(written) && ((type != SettingType::Integer && type != SettingType::Long) ||
                                      denotesWholeNumber(written))) {
    return {};
  }
  return Failure{u"is read as " + settingAsText(converted)};
}

// Whether an attribute's name can stand in a project file: XML allows ':', which the writer
// refuses, and the parser has checked only the ASCII characters of a name.
bool holdableName(const xml::AttributeView& a) {
  return a.plainName ||
         (a.name.find(':') == std::string_view::npos && xml::isXmlName(fromUtf8(a.name)));
}

// What stands in the text where a value holds a character a project file cannot hold: the
// reference as written, or the character's code.
std::u16string unholdableText(std::string_view text, std::size_t at) {
  if (text[at] == '&') {
    return u"\"" + fromUtf8(text.substr(at, text.find(';', at) + 1 - at)) + u"\"";
  }
  return text.substr(at, 3) == "\xEF\xBF\xBE" ? u"U+FFFE" : u"U+FFFF";
}

// Attributes whose text is read in a way of its own.
enum class AttributeRule : std::uint8_t {
  Plain,
  ScriptFile,  // a file name, taken only when the file exists
  PipeLines,   // lines joined by '|' in the file
};

AttributeRule ruleOf(std::string_view name) noexcept {
  if (xml::nameEqualsAscii(name, "js")) return AttributeRule::ScriptFile;
  if (xml::nameEqualsAscii(name, "chartyfldname") || xml::nameEqualsAscii(name, "fldtagvalues")) {
    return AttributeRule::PipeLines;
  }
  return AttributeRule::Plain;
}

// The catalog row of an attribute written as the catalog declares its name. A saved file lists
// a bag's settings in row order, so the rows just after the last one found are tried before the
// catalog's own lookup.
std::optional<SettingSlot> catalogRowNamed(const SettingCatalog& catalog, std::string_view name,
                                           SettingSlot& next) {
  for (SettingSlot row = next; row < catalog.size() && row < next + 4; ++row) {
    if (words::sameBytes(catalog.utf8Name(row), name)) {
      next = row + 1;
      return row;
    }
  }
  const std::optional<SettingSlot> row = catalog.findUtf8(name);
  if (row) next = *row + 1;
  return row;
}

// The quote character of a field's values in SQL, by its ADO type and the DBMS kind; nothing for
// a type the rules leave as the file has it.
std::optional<std::u16string> fieldQuote(std::int16_t type, std::int16_t dbmsKind) {
  switch (type) {
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
    case 11:
    case 14:
    case 16:
    case 17:
    case 18:
    case 19:
    case 20:
    case 21:
    case 131:
    case 139:
      return std::u16string();
    case 8:
    case 72:
    case 129:
    case 130:
    case 200:
    case 201:
    case 202:
    case 203:
    case 204:
    case 205:
      return std::u16string(u"'");
    case 7:
    case 133:
    case 134:
    case 135:
      return std::u16string(dbmsKind == kDbmsAccess ? u"#" : u"'");
    default:
      return std::nullopt;
  }
}

std::int16_t fieldType(AGPField& field) {
  try {
    return field.FldType();
  } catch (const AutomationError&) {
    return -1;
  }
}

// The custom script's code: the element's first child must be CDATA. Code holding "]]>" was
// written as adjacent CDATA sections, which together are the code.
std::u16string customScriptCode(const xml::Node& element) {
  xml::Node child = element.first_child();
  if (child.type() != xml::kCDataNode) {
    raiseVbError(vberr::kTypeMismatch, u"CustomScript without its CDATA code");
  }
  std::string code;
  for (; child && child.type() == xml::kCDataNode; child = child.next_sibling()) {
    code += child.value();
  }
  return fromUtf8(code);
}

std::u16string describe(const ElementTag& tag) {
  std::u16string out = u"<" + fromUtf8(tag.name);
  // The element's own name attribute says which one it is.
  for (const xml::AttributeView& a : tag.attributes) {
    if (a.name.size() > 4 && a.name.ends_with("Name")) {
      out += u" " + fromUtf8(a.name) + u"=\"" + fromUtf8(a.value) + u"\"";
      break;
    }
  }
  return out + u">";
}

// A kept node seen as a tag; the views live as long as the tag.
struct NodeTag {
  explicit NodeTag(const xml::Node& node)
      : views(xml::attributeViews(node)), tag{node.name(), views} {}
  std::vector<xml::AttributeView> views;
  ElementTag tag;
};

}  // namespace

ProjectElementReader::Kind ProjectElementReader::kindOf(const char* name) {
  if (std::string_view(name) == "CustomScript") return Kind::CustomScript;
  for (const char* model : {"database", "table", "chart", "trendline", "field", "projectphrase",
                            "menuphrase", "tablephrase", "chartphrase", "fieldphrase"}) {
    if (xml::nameEqualsAscii(name, model)) return Kind::Model;
  }
  for (const char* extension : {"extensions", "extension", "extproject", "extdatabase", "exttable",
                                "extchart", "extfield"}) {
    if (xml::nameEqualsAscii(name, extension)) return Kind::Extension;
  }
  return Kind::Other;
}

AGPTable* ProjectElementReader::currentTable() const {
  AGPDatabase* database = project_.DB().get();
  if (!database) return nullptr;
  const std::u16string& name = database->tables().curName();
  return name.empty() ? nullptr : database->tables().find(name);
}

void ProjectElementReader::dropped(const ElementTag& tag, std::u16string_view why) {
  if (notes_) notes_->say(describe(tag) + u" left out: " + std::u16string(why));
}

ProjectElementReader::Opened ProjectElementReader::open(const ElementTag& tag, int depth) {
  const char* rawName = tag.name;
  const auto a = [&](std::string_view attr) {
    return xml::attributeTextNoCase(tag.attributes, attr);
  };
  Opened opened;
  if (xml::nameEqualsAscii(rawName, "database")) {
    std::u16string name = a("DBName");
    if (name.empty()) name = u"zt_db";
    AGPDatabases& databases = project_.databases();
    databases.add(name);
    project_.setDB(databases.item(Variant(name)));
    project_.setCurrentDbKey(name);
    loadTagAttributes(tag, project_.DB()->properties(), notes_);
    opened.readChildren = true;
  } else if (xml::nameEqualsAscii(rawName, "table")) {
    AGPDatabase* database = project_.DB().get();
    const std::u16string name = a("TblName");
    if (!database || name.empty()) {
      dropped(tag, database ? u"the table has no name" : u"no database before it");
      return opened;
    }
    if (projectContext().progressTotal > 0) {
      Status().DispStatus(Variant(u"Loading TABLE/VIEW \"" + name + u"\"..."));
      ++projectContext().progressCount;
      Status().SetStatus(
          Variant(GetPercent(projectContext().progressCount, projectContext().progressTotal)));
    }
    AGPTables& tables = database->tables();
    if (!tables.add(name)) {
      dropped(tag, u"a table of that name is read already");
      return opened;
    }
    AGPTable& table = *tables.find(name);
    table.LoadTableDefault();
    AGProperties& props = table.properties();
    loadTagAttributes(tag, props, notes_);
    props.setting(kTblVar) = GetVarName(props.setting(kTblName), Variant(u""));
    const Variant& reportType = props.setting(kTblReportType);
    if (reportType.isString() && reportType.stringValue() == u"list") {
      props.setting(kTblReportType) = Variant(u"rpt");
    }
    opened.readChildren = true;
    opened.table = &table;
  } else if (xml::nameEqualsAscii(rawName, "chart")) {
    AGPTable* table = currentTable();
    const std::u16string name = a("ChartName");
    if (!table || name.empty()) {
      dropped(tag, table ? u"the chart has no name" : u"no table before it");
      return opened;
    }
    AGPCharts& charts = table->charts();
    const Ref<AGPChart> chart =
        charts.add(table->tblName(), name) ? charts.item(Variant(name)) : Ref<AGPChart>();
    if (!chart) {
      dropped(tag, u"a chart of that name is read already");
      return opened;
    }
    AGProperties& props = chart->properties();
    loadTagAttributes(tag, props, notes_);
    props.setting(kChartVar) = GetVarName(props.setting(kChartName), Variant(u""));
    opened.readChildren = true;
    opened.chart = chart;
  } else if (xml::nameEqualsAscii(rawName, "trendline")) {
    AGPTable* table = currentTable();
    const std::u16string name = a("TrendName");
    if (!table || name.empty()) {
      dropped(tag, table ? u"the trend line has no name" : u"no table before it");
      return opened;
    }
    AGPCharts& charts = table->charts();
    if (charts.curName().empty() || !charts.chartExist(Variant(charts.curName()))) {
      dropped(tag, u"no chart before it");
      return opened;
    }
    const Ref<AGPChart> chart = charts.item(Variant(charts.curName()));
    AGPTrends& trends = chart->trendlines();
    if (!trends.add(name)) {
      dropped(tag, u"a trend line of that name is read already");
      return opened;
    }
    if (const Ref<AGPTrend> trend = trends.item(Variant(name))) {
      loadTagAttributes(tag, trend->properties(), notes_);
    }
  } else if (xml::nameEqualsAscii(rawName, "field")) {
    readField(tag);
  } else {
    readPhrase(tag);
  }
  if (opened.readChildren && depth + 1 > kMaxDepth) {
    raiseVbError(vberr::kInvalidProcedureCall, u"Project file nested too deeply");
  }
  return opened;
}

void ProjectElementReader::readField(const ElementTag& tag) {
  AGPTable* table = currentTable();
  const std::u16string name = xml::attributeTextNoCase(tag.attributes, "FldName");
  if (!table || name.empty()) {
    dropped(tag, table ? u"the field has no name" : u"no table before it");
    return;
  }
  AGPFields& fields = table->fields();
  AGPField* field = fields.add(table->tblName(), name) ? fields.find(name) : nullptr;
  if (!field) {
    dropped(tag, u"a field of that name is read already");
    return;
  }
  AGProperties& props = field->properties();
  loadTagAttributes(tag, props, notes_);
  props.setting(kFldVar) = GetVarName(props.setting(kFldName), Variant(u"x_"));
  const std::int16_t kind =
      GetDbmsType(settingAsText(project_.DB()->properties().setting(kDBDBMSName)));
  if (const auto quote = fieldQuote(fieldType(*field), kind)) {
    props.setting(kFldQuoteS) = Variant(*quote);
    props.setting(kFldQuoteE) = Variant(*quote);
  }
  if (settingAsBool(props.setting(kFldAutoIncrement))) props.setting(kFldAdd) = Variant(false);
  props.setting(kFldGenerate) = props.setting(kFldSupport);
}

void ProjectElementReader::readPhrase(const ElementTag& tag) {
  const char* rawName = tag.name;
  AGPLanguage& language = SharedLanguage();
  const auto a = [&](std::string_view attr) {
    return xml::attributeTextNoCase(tag.attributes, attr);
  };
  if (xml::nameEqualsAscii(rawName, "projectphrase")) {
    language.SetProjectPhrase(a("LanguageId"), a("ProjectAttribute"), a("Phrase"));
  } else if (xml::nameEqualsAscii(rawName, "menuphrase")) {
    language.SetMenuPhrase(a("LanguageId"), a("MenuId"), a("MenuAttribute"), a("Phrase"));
  } else if (xml::nameEqualsAscii(rawName, "tablephrase")) {
    language.SetTablePhrase(a("LanguageId"), a("TableName"), a("TableAttribute"), a("Phrase"));
  } else if (xml::nameEqualsAscii(rawName, "chartphrase")) {
    language.SetChartPhrase(a("LanguageId"), a("TableName"), a("ChartName"), a("ChartAttribute"),
                            a("Phrase"));
  } else if (xml::nameEqualsAscii(rawName, "fieldphrase")) {
    language.SetFieldPhrase(a("LanguageId"), a("TableName"), a("FieldName"), a("FieldAttribute"),
                            a("Phrase"));
  }
}

void ProjectElementReader::close(const Opened& opened) {
  if (opened.table && opened.table->fields().count() >= 1) {
    opened.table->properties().setting(kTblLoaded) = Variant(true);
  }
  if (opened.chart) {
    AGPTrends& trends = opened.chart->trendlines();
    if (trends.count() == 0) {
      for (const char16_t* trend : {u"Trendline1", u"Trendline2", u"Trendline3", u"Trendline4"}) {
        trends.add(trend);
      }
    }
  }
}

void ProjectElementReader::read(const xml::Node& node, int depth) {
  if (depth > kMaxDepth) {
    raiseVbError(vberr::kInvalidProcedureCall, u"Project file nested too deeply");
  }
  for (xml::Node child = node.first_child(); child; child = child.next_sibling()) {
    if (child.type() != xml::kElementNode) continue;
    const Kind kind = kindOf(child.name());
    if (kind == Kind::CustomScript) {
      readCustomScript(child);
    } else if (kind == Kind::Model) {
      const NodeTag tag(child);
      const Opened opened = open(tag.tag, depth);
      if (opened.readChildren) read(child, depth + 1);
      close(opened);
    } else if (kind == Kind::Other) {
      dropped(NodeTag(child).tag, u"no such element is read here");
    }
  }
  for (xml::Node child = node.first_child(); child; child = child.next_sibling()) {
    if (child.type() == xml::kElementNode) readExtensionElement(child, depth);
  }
}

void ProjectElementReader::readCustomScript(const xml::Node& element) {
  ProjectCustomScriptStore::Keys keys{xml::attributeTextNoCase(element, "ScriptType"),
                                      xml::attributeTextNoCase(element, "ScriptCodeType"),
                                      xml::attributeTextNoCase(element, "ScriptName"),
                                      xml::attributeTextNoCase(element, "ScriptCtrlID"),
                                      xml::attributeTextNoCase(element, "ScriptL1Key"),
                                      xml::attributeTextNoCase(element, "ScriptL2Key")};
  ProjectCustomScriptStore* store = Installed<ProjectCustomScriptStore>::get();
  if (!store || !store->add(keys)) return;
  store->setCode(keys, customScriptCode(element));
}

void ProjectElementReader::readExtensionElement(const xml::Node& element, int depth) {
  ProjectExtensionStore* store = Installed<ProjectExtensionStore>::get();
  const char* name = element.name();
  if (!store) return;
  if (xml::nameEqualsAscii(name, "extensions")) {
    // Written in place of the extensions once all were deleted: none is to be registered.
    store->setNoneWanted(true);
  } else if (xml::nameEqualsAscii(name, "extension")) {
    readExtension(*store, element, depth);
  } else if (!stored_) {
    dropped(NodeTag(element).tag, u"no extension before it");
  } else if (xml::nameEqualsAscii(name, "extproject")) {
    LoadNodeAttribs(element, stored_->project());
    read(element, depth + 1);
  } else if (xml::nameEqualsAscii(name, "extdatabase")) {
    LoadNodeAttribs(element, stored_->database());
    read(element, depth + 1);
  } else if (xml::nameEqualsAscii(name, "exttable")) {
    AGProperties* props = stored_->table(xml::attributeTextNoCase(element, "TblName"));
    if (!props) {
      dropped(NodeTag(element).tag, u"the table entry has no name");
      return;
    }
    LoadNodeAttribs(element, *props);
    read(element, depth + 1);
  } else if (xml::nameEqualsAscii(name, "extchart") || xml::nameEqualsAscii(name, "extfield")) {
    const bool chart = xml::nameEqualsAscii(name, "extchart");
    const std::u16string entry = xml::attributeTextNoCase(element, chart ? "ChartName" : "FldName");
    AGProperties* props = entry.empty() ? nullptr
                          : chart       ? stored_->chart(entry)
                                        : stored_->field(entry);
    if (!props) {
      dropped(NodeTag(element).tag,
              entry.empty() ? u"the entry has no name" : u"no table entry before it");
      return;
    }
    LoadNodeAttribs(element, *props);
  }
}

// An extension element: the extension is registered, the entries the file holds are read into
// their own bags, then the loaded objects without one get theirs.
void ProjectElementReader::readExtension(ProjectExtensionStore& store, const xml::Node& element,
                                         int depth) {
  const std::u16string extName = xml::attributeTextNoCase(element, "Name");
  if (extName.empty()) {
    dropped(NodeTag(element).tag, u"the extension has no name");
    return;
  }
  std::u16string problem;
  stored_ = store.readExtension(project_, extName, xml::attributeTextNoCase(element, "Template"),
                                xml::attributeTextNoCase(element, "XmlFile"), problem);
  if (!problem.empty() && notes_) {
    notes_->say(u"extension \"" + extName + u"\": its declaration file could not be read, so its " +
                u"stored settings are kept as they are written: " + problem);
  }
  if (!stored_) return;
  LoadNodeAttribs(element, stored_->properties());
  read(element, depth + 1);
  stored_->finish();
  stored_.reset();
}

std::u16string GetNodeAttribNoCase(const xml::Node& node, std::u16string_view name) {
  return xml::attributeTextNoCase(node, name);
}

Variant GetNodeAttribute(const xml::Node& node, std::u16string_view name) {
  return Variant(xml::attributeText(node, toUtf8(name)));
}

void SetNodeAttribute(xml::Node node, std::u16string_view name, const Variant& value) {
  xml::setAttribute(node, toUtf8(name), settingAsText(value));
}

std::span<const xml::AttributeView> attributesToKeep(const ElementTag& tag, std::string_view text,
                                                     std::vector<xml::AttributeView>& kept,
                                                     LoadNotes* notes) {
  const auto holdable = [](const xml::AttributeView& a) {
    return a.unholdableAt == xml::kNoOffset && holdableName(a);
  };
  if (std::all_of(tag.attributes.begin(), tag.attributes.end(), holdable)) return tag.attributes;
  kept.clear();
  std::copy_if(tag.attributes.begin(), tag.attributes.end(), std::back_inserter(kept), holdable);
  if (!notes) return kept;
  const std::u16string element = describe(ElementTag{tag.name, kept});
  const std::size_t elementAt = notes->at();
  for (const xml::AttributeView& a : tag.attributes) {
    if (holdable(a)) continue;
    const std::u16string name = fromUtf8(a.name);
    if (!holdableName(a)) {
      notes->at(a.offset);
      notes->say(element + u": " + name +
                 u" left out: a project file cannot hold an attribute of that name");
    } else {
      notes->at(a.unholdableAt);
      notes->say(element + u": " + name + u" left out: its value holds " +
                 unholdableText(text, a.unholdableAt) +
                 u", a character a project file cannot hold");
    }
  }
  notes->at(elementAt);
  return kept;
}

void LoadNodeAttribs(const xml::Node& node, AGProperties& props) {
  loadTagAttributes(NodeTag(node).tag, props, nullptr);
}

void loadTagAttributes(const ElementTag& tag, AGProperties& props, LoadNotes* notes) {
  const bool projectElement = xml::nameEqualsAscii(tag.name, "project");
  // While every row of the bag's catalog is in place (in every new model object), a name
  // written as the catalog declares it is found by that spelling; any other name, and every
  // name of a bag a script has thinned out, takes the bag's own lookup.
  const SettingCatalog* catalog = props.catalog();
  const SettingCatalog* exact = catalog && props.hasEveryCatalogRow() ? catalog : nullptr;
  SettingSlot nextRow = 0;
  for (const xml::AttributeView& a : tag.attributes) {
    std::optional<SettingSlot> slot;
    if (exact) slot = catalogRowNamed(*exact, a.name, nextRow);
    std::u16string name;
    if (!slot) {
      name = fromUtf8(a.name);
      slot = props.slotOf(name);
    }
    if (slot) {
      const AttributeRule rule = ruleOf(a.name);
      const SettingRecord& record = props.record(*slot);
      if (!record.fileSave) continue;
      // Numbers and Booleans written empty, 0 or 1 (most of a large file) need no text.
      const std::string_view raw = a.value;
      if (record.type != SettingType::String && record.type != SettingType::Variant) {
        if (raw.empty()) {
          props.setValue(*slot, Variant());
          continue;
        }
        if (record.type == SettingType::Boolean && raw.size() == 1 &&
            (raw[0] == '0' || raw[0] == '1')) {
          props.setValue(*slot, Variant(raw[0] == '1'));
          continue;
        }
        std::optional<Variant> number;
        if (rule == AttributeRule::Plain) number = shortWholeNumber(raw, record.type);
        if (number) {
          props.setValue(*slot, std::move(*number));
          continue;
        }
      } else if (rule == AttributeRule::Plain) {
        props.setValue(*slot, Variant(fromUtf8(raw)));
        continue;
      }
      std::u16string value = fromUtf8(raw);
      if (rule == AttributeRule::ScriptFile) {
        if (!value.empty() && fs::fileExists(value)) {
          props.setValue(*slot, ConvertValue(Variant(value), Variant(record.dataType)));
        }
      } else if (rule == AttributeRule::PipeLines) {
        props.setValue(*slot, Variant(replaceAll(value, u"|", u"\r\n")));
      } else if (notes && record.type != SettingType::String &&
                 record.type != SettingType::Variant) {
        Variant converted = convertAttribute(value, record.type);
        if (const Expected<> taken = takenAsWritten(value, record.type, converted); !taken) {
          notes->say(describe(tag) + u": " + fromUtf8(a.name) + u"=\"" + value + u"\" " +
                     taken.failure().text);
        }
        props.setValue(*slot, std::move(converted));
      } else {
        props.setValue(*slot, convertAttribute(std::move(value), record.type));
      }
      continue;
    }
    std::u16string value = fromUtf8(a.value);
    const std::u16string type =
        projectElement ? SharedSettings().LoadSettingType(u"Project", name) : u"String";
    if (!props.add(name, type, false, 0, true, true)) continue;
    // An attribute no declaration knows is kept exactly as the file holds it, so that it is
    // written back unchanged; typed ones are converted as the settings file types them.
    props.setValue(*props.slotOf(name), settingTypeFromName(type) == SettingType::String
                                            ? Variant(std::move(value))
                                            : ConvertSetting(Variant(value), Variant(type)));
  }
}

void LoadProjectNode(AGP& project, const xml::Node& node) {
  ProjectElementReader(project, nullptr).read(node, 0);
}

}  // namespace vantorel
