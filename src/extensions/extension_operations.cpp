#include "extensions/extension_operations.hpp"

#include <vector>

#include "agp/agp.hpp"
#include "extensions/declarations.hpp"
#include "extensions/extensions.hpp"
#include "fields/field.hpp"
#include "fields/fields.hpp"
#include "foundation/project_context.hpp"
#include "foundation/reg_values.hpp"
#include "generator/control_conditions.hpp"
#include "generator/generation_run.hpp"
#include "model/chart.hpp"
#include "model/charts.hpp"
#include "model/database.hpp"
#include "model/model_items.hpp"
#include "model/table.hpp"
#include "model/tables.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant_convert.hpp"

namespace vantorel {

namespace {

bool truthOf(const Variant& v) noexcept {
  try {
    return !v.isEmpty() && !v.isNull() && toBool(v);
  } catch (...) {
    return false;
  }
}

AGPTable* modelTable(AGP& proj, const std::u16string& name) {
  const Ref<AGPDatabase> db = proj.DB();
  return db && !name.empty() ? db->tables().find(name) : nullptr;
}

bool tableLoaded(AGPTable& table) {
  return truthOf(table.properties().setting(kTblLoaded));
}

// Whether a declaration node's condition holds for the given current table and field. The
// condition language is generation's; outside a generation it runs in a run of its own, which
// must leave the project's expression engine and ProjErr as they were. A condition that cannot
// be evaluated does not hold.
}  // namespace

bool DeclarationHolds(AGP& proj, const xml::Node& node, const Ref<AGPTable>& table,
                      const Ref<AGPField>& field) {
  const std::u16string cond = GetCondAttr(node);
  if (cond.empty()) return true;
  const Ref<Object> exParse = proj.exParseEngine();
  const std::u16string lastError = projectContext().lastErrorText;
  bool holds = false;
  try {
    GenerationRun run(proj);
    run.currentTable = table;
    run.currentField = field;
    holds = EvalCtrlCond(run, cond);
  } catch (...) {
    holds = false;
  }
  proj.exParseEngine() = exParse;
  projectContext().lastErrorText = lastError;
  return holds;
}

namespace {

// The registered extensions in sequence order, held while a walk may change the list.
std::vector<Ref<AGPExtension>> extensionsInOrder() {
  std::vector<Ref<AGPExtension>> list;
  AGPExtensions& all = SharedExtensions();
  for (std::int32_t i = 1; i <= all.count() && i <= INT16_MAX; ++i) {
    if (Ref<AGPExtension> e = all.seq(static_cast<std::int16_t>(i))) list.push_back(std::move(e));
  }
  return list;
}

// The extension's declarations for one of the per-object operations; nothing when it has
// none or they do not read.
bool loadDeclarations(const AGPExtension& extension, ExtensionDeclarations& declarations) {
  return !extension.xmlFile().empty() && declarations.load(extension.xmlFile()).ok();
}

AGPExtTables& extensionTables(AGPExtension& extension) {
  return extension.proj().db().tables();
}

// The seven chart settings an extension's chart entry takes over when it declares them.
void moveChartSettings(AGPChart& chart, AGProperties& entry) {
  AGProperties& bag = chart.properties();
  const auto text = [&](const char16_t* from, const char16_t* to) {
    const Ref<AGProperty> p = bag.item(from);
    const std::u16string value = storedText(p->value());
    if (value.empty() || !entry.exists(to)) return;
    entry.item(to)->setValue(Variant(value));
    p->setValue(Variant(std::u16string()));
  };
  const auto number = [&](const char16_t* from, const char16_t* to, bool positiveOnly,
                          bool asLong) {
    const Ref<AGProperty> p = bag.item(from);
    std::int32_t value = 0;
    try {
      value = p->value().isEmpty() ? 0 : toLong(p->value());
    } catch (const AutomationError&) {
      return;
    }
    if ((positiveOnly ? value <= 0 : value == 0) || !entry.exists(to)) return;
    if (asLong) {
      entry.item(to)->setValue(Variant(value));
      p->setValue(Variant(std::int32_t{0}));
    } else {
      entry.item(to)->setValue(Variant(static_cast<std::int16_t>(value)));
      p->setValue(Variant(std::int16_t{0}));
    }
  };
  text(u"ChartChartBgColor", u"canvasBgColor");
  text(u"ChartChartBorderColor", u"canvasBorderColor");
  number(u"ChartNumGridLines", u"numDivLines", true, false);
  text(u"ChartGridColor", u"divLineColor");
  number(u"ChartYAxisMinValue", u"yAxisMinValue", false, true);
  number(u"ChartYAxisMaxValue", u"yAxisMaxValue", false, true);
  const Ref<AGProperty> rotated = bag.item(u"ChartXAxisNameRotated");
  if (truthOf(rotated->value()) && entry.exists(u"rotateNames")) {
    entry.item(u"rotateNames")->setValue(Variant(true));
    rotated->setValue(Variant(false));
  }
}

// One table with its charts and fields gets its entries in one extension.
void extendTable(AGP& proj, const std::u16string& extName, AGPTable& table,
                 const ExtensionDeclarations& declarations) {
  const std::u16string tblName = table.tblName();
  AddExtendedTable(proj, extName, tblName, declarations.node(DeclarationLevel::Table));
  AGPCharts& charts = table.charts();
  for (std::int32_t c = 1; c <= charts.count() && c <= INT16_MAX; ++c) {
    if (const Ref<AGPChart> chart = charts.seq(static_cast<std::int16_t>(c))) {
      AddExtendedChart(proj, extName, tblName, chart->chartName(),
                       declarations.node(DeclarationLevel::Chart));
    }
  }
  AGPFields& fields = table.fields();
  for (std::int32_t f = 1; f <= fields.count() && f <= INT16_MAX; ++f) {
    if (const Ref<AGPField> field = fields.seq(static_cast<std::int16_t>(f))) {
      AddExtendedField(proj, extName, tblName, field->FldName(),
                       declarations.node(DeclarationLevel::Field));
    }
  }
}

// The table entry of an extension, when the extension is registered and has one.
AGPExtTable* extensionTable(const std::u16string& extName, const std::u16string& tblName) {
  AGPExtension* extension = SharedExtensions().find(extName);
  return extension ? extensionTables(*extension).find(tblName) : nullptr;
}

}  // namespace

void ExtendLoadedTables(AGP& proj, const std::u16string& extName,
                        const ExtensionDeclarations& declarations) {
  const Ref<AGPDatabase> db = proj.DB();
  if (!db) return;
  AGPTables& tables = db->tables();
  for (std::int32_t i = 1; i <= tables.count() && i <= INT16_MAX; ++i) {
    const Ref<AGPTable> table = tables.seq(static_cast<std::int16_t>(i));
    if (table && tableLoaded(*table)) extendTable(proj, extName, *table, declarations);
  }
}

Ref<AGPExtension> RegisterExtension(const std::u16string& name, const std::u16string& templateFile,
                                    const std::u16string& xmlFile) {
  AGPExtensions& list = SharedExtensions();
  if (!list.add(name)) return nullptr;
  Ref<AGPExtension> extension = list.item(Variant(name));
  if (!extension) return nullptr;
  extension->setTemplateFile(templateFile);
  extension->setXmlFile(xmlFile);
  extension->setEnabled(true);
  return extension;
}

void DeclareExtensionLevels(AGP& proj, AGPExtension& extension,
                            const ExtensionDeclarations& declarations) {
  const xml::Node projectNode = declarations.node(DeclarationLevel::Project);
  if (DeclarationHolds(proj, projectNode, nullptr, nullptr)) {
    LoadAttributeDefs(extension.proj().properties(), projectNode);
  }
  if (!proj.DB()) return;
  const xml::Node databaseNode = declarations.node(DeclarationLevel::Database);
  if (DeclarationHolds(proj, databaseNode, nullptr, nullptr)) {
    LoadAttributeDefs(extension.proj().db().properties(), databaseNode);
  }
}

bool AddExtension(AGP& proj, const std::u16string& name, const std::u16string& templateFile,
                  const std::u16string& xmlFile) {
  const Ref<AGPExtension> extension = RegisterExtension(name, templateFile, xmlFile);
  if (!extension) return false;
  if (xmlFile.empty()) return true;
  ExtensionDeclarations declarations;
  if (!declarations.load(xmlFile)) return true;
  DeclareExtensionLevels(proj, *extension, declarations);
  ExtendLoadedTables(proj, extension->name(), declarations);
  return true;
}

Variant GetExtDefault(AGP& /*proj*/, const std::u16string& extName, const std::u16string& nodeType,
                      const std::u16string& attName) {
  AGPExtension* extension = SharedExtensions().find(extName);
  if (!extension) return Variant(std::u16string());
  ExtensionDeclarations declarations;
  if (extension->xmlFile().empty() || !declarations.load(extension->xmlFile())) {
    return Variant(std::u16string());
  }
  return DeclaredDefault(declarations.node(declarationLevelNamed(nodeType)), attName);
}

void LoadExtensions(AGP& proj) {
  cRegistry registry;
  registry.ClassKey(kHkeyCurrentUser);
  registry.SectionKey(projectContext().extensionsKey);
  std::vector<std::u16string> subkeys;
  std::int32_t count = 0;
  try {
    if (!registry.EnumerateSections(subkeys, count)) return;
  } catch (const AutomationError&) {
    return;
  }
  const auto value = [](const std::u16string& key, const char16_t* name) {
    try {
      return toString(GetRegValue(Variant(u"HKCU"), Variant(key), Variant(name)));
    } catch (const AutomationError&) {
      return std::u16string();
    }
  };
  for (const std::u16string& subkey : subkeys) {
    const std::u16string key = projectContext().extensionsKey + u"\\" + subkey;
    AddExtension(proj, value(key, u"Name"), value(key, u"Template"), value(key, u"XmlFile"));
  }
}

bool AddExtendedTable(AGP& proj, const std::u16string& extName, const std::u16string& tblName,
                      const xml::Node& tblNode) {
  AGPTable* table = modelTable(proj, tblName);
  if (!table) return false;
  AGPExtension* extension = SharedExtensions().find(extName);
  if (!extension) return false;
  AGPExtTables& tables = extensionTables(*extension);
  if (!tblNode || tables.find(tblName)) return false;
  if (!DeclarationHolds(proj, tblNode, Ref<AGPTable>(table), nullptr)) return false;
  if (!tables.add(tblName)) return false;
  if (AGPExtTable* entry = tables.find(tblName)) LoadAttributeDefs(entry->properties(), tblNode);
  return true;
}

bool AddExtendedChart(AGP& proj, const std::u16string& extName, const std::u16string& tblName,
                      const std::u16string& chartName, const xml::Node& chartNode) {
  AGPExtTable* entry = extensionTable(extName, tblName);
  if (!entry || !chartNode) return false;
  AGPExtCharts& charts = entry->charts();
  if (charts.find(chartName)) return false;
  if (!DeclarationHolds(proj, chartNode, nullptr, nullptr)) return false;
  if (!charts.add(chartName)) return false;
  AGPExtChart* chartEntry = charts.find(chartName);
  if (!chartEntry) return true;
  LoadAttributeDefs(chartEntry->properties(), chartNode);
  if (AGPTable* table = modelTable(proj, tblName)) {
    if (AGPChart* chart = table->charts().find(chartName)) {
      moveChartSettings(*chart, chartEntry->properties());
    }
  }
  return true;
}

bool AddExtendedField(AGP& proj, const std::u16string& extName, const std::u16string& tblName,
                      const std::u16string& fldName, const xml::Node& fldNode) {
  AGPTable* table = modelTable(proj, tblName);
  AGPField* field = table ? table->fields().find(fldName) : nullptr;
  if (!field) return false;
  AGPExtTable* entry = extensionTable(extName, tblName);
  if (!entry || !fldNode) return false;
  AGPExtFields& fields = entry->fields();
  if (fields.find(fldName)) return false;
  if (!DeclarationHolds(proj, fldNode, Ref<AGPTable>(table), Ref<AGPField>(field))) return false;
  if (!fields.add(fldName)) return false;
  if (AGPExtField* fieldEntry = fields.find(fldName)) {
    LoadAttributeDefs(fieldEntry->properties(), fldNode);
  }
  return true;
}

void ApplyExtensionsToTable(AGP& proj, const std::u16string& tableName) {
  AGPTable* table = modelTable(proj, tableName);
  if (!table) return;
  const Ref<AGPTable> hold(table);
  for (const Ref<AGPExtension>& extension : extensionsInOrder()) {
    ExtensionDeclarations declarations;
    if (!loadDeclarations(*extension, declarations) || !tableLoaded(*table)) continue;
    extendTable(proj, extension->name(), *table, declarations);
  }
}

void ApplyExtensionsToChart(AGP& proj, const std::u16string& tableName,
                            const std::u16string& chartName) {
  AGPTable* table = modelTable(proj, tableName);
  if (!table || !table->charts().find(chartName) || !tableLoaded(*table)) return;
  for (const Ref<AGPExtension>& extension : extensionsInOrder()) {
    ExtensionDeclarations declarations;
    if (!loadDeclarations(*extension, declarations)) continue;
    AddExtendedChart(proj, extension->name(), table->tblName(), chartName,
                     declarations.node(DeclarationLevel::Chart));
  }
}

void ApplyExtensionsToField(AGP& proj, const std::u16string& tableName,
                            const std::u16string& fieldName) {
  AGPTable* table = modelTable(proj, tableName);
  if (!table || !table->fields().find(fieldName) || !tableLoaded(*table)) return;
  for (const Ref<AGPExtension>& extension : extensionsInOrder()) {
    ExtensionDeclarations declarations;
    if (!loadDeclarations(*extension, declarations)) continue;
    AddExtendedField(proj, extension->name(), table->tblName(), fieldName,
                     declarations.node(DeclarationLevel::Field));
  }
}

void CopyChartToExtensions(AGP& proj, const std::u16string& tableName,
                           const std::u16string& oldChartName, const std::u16string& newChartName) {
  AGPTable* table = modelTable(proj, tableName);
  if (!table || !table->charts().find(oldChartName) || !table->charts().find(newChartName) ||
      !tableLoaded(*table)) {
    return;
  }
  const std::u16string tblName = table->tblName();
  for (const Ref<AGPExtension>& extension : extensionsInOrder()) {
    ExtensionDeclarations declarations;
    if (!loadDeclarations(*extension, declarations)) continue;
    AGPExtTable* entry = extensionTables(*extension).find(tblName);
    AGPExtChart* oldEntry = entry ? entry->charts().find(oldChartName) : nullptr;
    if (!oldEntry) continue;
    const Ref<AGPExtChart> holdOld(oldEntry);
    if (!AddExtendedChart(proj, extension->name(), tblName, newChartName,
                          declarations.node(DeclarationLevel::Chart))) {
      continue;
    }
    AGPExtChart* newEntry = entry->charts().find(newChartName);
    if (!newEntry) continue;
    oldEntry->properties().forEachSetting(
        [&](SettingSlot, const SettingRecord& record, const Variant& value) {
          if (record.sync) newEntry->properties().item(record.name)->setValue(value);
        });
  }
}

bool DeleteExtension(const std::u16string& name) {
  return SharedExtensions().remove(Variant(name));
}

// ---- following the model ----

void ExtensionsRenameTable(const std::u16string& oldName, const std::u16string& newName) {
  for (const Ref<AGPExtension>& extension : extensionsInOrder()) {
    AGPExtTables& tables = extensionTables(*extension);
    if (tables.find(oldName)) tables.change(oldName, newName);
  }
}

void ExtensionsDeleteTable(const std::u16string& name) {
  for (const Ref<AGPExtension>& extension : extensionsInOrder()) {
    AGPExtTables& tables = extensionTables(*extension);
    AGPExtTable* entry = tables.find(name);
    if (!entry) continue;
    const Ref<AGPExtTable> hold(entry);
    AGPExtCharts& charts = entry->charts();
    for (std::int32_t j = charts.count(); j >= 1; --j) {
      if (const Ref<AGPExtChart> c = charts.seq(static_cast<std::int16_t>(j))) {
        charts.remove(Variant(c->name()));
      }
    }
    AGPExtFields& fields = entry->fields();
    for (std::int32_t j = fields.count(); j >= 1; --j) {
      if (const Ref<AGPExtField> f = fields.seq(static_cast<std::int16_t>(j))) {
        fields.remove(Variant(f->name()));
      }
    }
    tables.remove(Variant(name));
  }
}

void ExtensionsRenameChart(const std::u16string& table, const std::u16string& oldName,
                           const std::u16string& newName) {
  for (const Ref<AGPExtension>& extension : extensionsInOrder()) {
    AGPExtTable* entry = extensionTables(*extension).find(table);
    if (entry && entry->charts().find(oldName)) entry->charts().change(oldName, newName);
  }
}

void ExtensionsDeleteChart(const std::u16string& table, const std::u16string& chart) {
  for (const Ref<AGPExtension>& extension : extensionsInOrder()) {
    AGPExtTable* entry = extensionTables(*extension).find(table);
    if (entry && entry->charts().find(chart)) entry->charts().remove(Variant(chart));
  }
}

void ExtensionsRenameField(const std::u16string& table, const std::u16string& oldName,
                           const std::u16string& newName) {
  for (const Ref<AGPExtension>& extension : extensionsInOrder()) {
    AGPExtTable* entry = extensionTables(*extension).find(table);
    if (entry && entry->fields().find(oldName)) entry->fields().change(oldName, newName);
  }
}

void ExtensionsDeleteField(const std::u16string& table, const std::u16string& field) {
  for (const Ref<AGPExtension>& extension : extensionsInOrder()) {
    AGPExtTable* entry = extensionTables(*extension).find(table);
    if (entry && entry->fields().find(field)) entry->fields().remove(Variant(field));
  }
}

}  // namespace vantorel
