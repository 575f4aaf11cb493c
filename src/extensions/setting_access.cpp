#include "extensions/setting_access.hpp"

#include "agp/agp.hpp"
#include "extensions/declarations.hpp"
#include "extensions/extension_operations.hpp"
#include "extensions/extensions.hpp"
#include "fields/fields.hpp"
#include "model/charts.hpp"
#include "model/database.hpp"
#include "model/table.hpp"
#include "model/tables.hpp"

namespace vantorel {

namespace {

Variant null() {
  return Variant::null();
}

// Stores the value as given when the bag declares the setting; never declares one.
bool store(AGProperties& bag, const std::u16string& att, const Variant& val) {
  const std::optional<SettingSlot> slot = bag.slotOf(att);
  if (!slot) return false;
  bag.setValue(*slot, val);
  return true;
}

Variant read(const AGProperties& bag, const std::u16string& att) {
  const Variant* value = bag.findValue(att);
  return value ? *value : null();
}

AGPTable* modelTable(AGP& proj, const std::u16string& name) {
  const Ref<AGPDatabase> db = proj.DB();
  return db && !name.empty() ? db->tables().find(name) : nullptr;
}

// The extension's table entry, made from the declaration file when missing.
AGPExtTable* tableEntry(AGP& proj, AGPExtension& extension, const std::u16string& tbl) {
  AGPExtTables& tables = extension.proj().db().tables();
  if (AGPExtTable* entry = tables.find(tbl)) return entry;
  ExtensionDeclarations declarations;
  if (extension.xmlFile().empty() || !declarations.load(extension.xmlFile())) return nullptr;
  if (!AddExtendedTable(proj, extension.name(), tbl, declarations.node(DeclarationLevel::Table))) {
    return nullptr;
  }
  return tables.find(tbl);
}

// The extension's table entry when the reader finds one; nothing is made.
AGPExtTable* existingTableEntry(const std::u16string& ext, const std::u16string& tbl) {
  AGPExtension* extension = SharedExtensions().find(ext);
  return extension ? extension->proj().db().tables().find(tbl) : nullptr;
}

}  // namespace

bool SetExtProjAtt(AGP& /*proj*/, const std::u16string& ext, const std::u16string& att,
                   const Variant& val) {
  AGPExtension* extension = SharedExtensions().find(ext);
  return extension && store(extension->proj().properties(), att, val);
}

Variant GetExtProjAtt(AGP& /*proj*/, const std::u16string& ext, const std::u16string& att) {
  AGPExtension* extension = SharedExtensions().find(ext);
  return extension ? read(extension->proj().properties(), att) : null();
}

bool SetExtDbAtt(AGP& /*proj*/, const std::u16string& ext, const std::u16string& att,
                 const Variant& val) {
  AGPExtension* extension = SharedExtensions().find(ext);
  return extension && store(extension->proj().db().properties(), att, val);
}

Variant GetExtDbAtt(AGP& /*proj*/, const std::u16string& ext, const std::u16string& att) {
  AGPExtension* extension = SharedExtensions().find(ext);
  return extension ? read(extension->proj().db().properties(), att) : null();
}

bool SetExtTblAtt(AGP& proj, const std::u16string& ext, const std::u16string& tbl,
                  const std::u16string& att, const Variant& val) {
  if (!modelTable(proj, tbl)) return false;
  AGPExtension* extension = SharedExtensions().find(ext);
  if (!extension) return false;
  AGPExtTable* entry = tableEntry(proj, *extension, tbl);
  return entry && store(entry->properties(), att, val);
}

Variant GetExtTblAtt(AGP& /*proj*/, const std::u16string& ext, const std::u16string& tbl,
                     const std::u16string& att) {
  AGPExtTable* entry = existingTableEntry(ext, tbl);
  return entry ? read(entry->properties(), att) : null();
}

bool SetExtChartAtt(AGP& proj, const std::u16string& ext, const std::u16string& tbl,
                    const std::u16string& chart, const std::u16string& att, const Variant& val) {
  AGPTable* table = modelTable(proj, tbl);
  if (!table || !table->charts().find(chart)) return false;
  AGPExtension* extension = SharedExtensions().find(ext);
  if (!extension) return false;
  AGPExtTable* entry = tableEntry(proj, *extension, tbl);
  if (!entry) return false;
  if (!entry->charts().find(chart)) {
    ExtensionDeclarations declarations;
    if (extension->xmlFile().empty() || !declarations.load(extension->xmlFile())) return false;
    if (!AddExtendedChart(proj, extension->name(), tbl, chart,
                          declarations.node(DeclarationLevel::Chart))) {
      return false;
    }
  }
  AGPExtChart* chartEntry = entry->charts().find(chart);
  return chartEntry && store(chartEntry->properties(), att, val);
}

Variant GetExtChartAtt(AGP& /*proj*/, const std::u16string& ext, const std::u16string& tbl,
                       const std::u16string& chart, const std::u16string& att) {
  AGPExtTable* entry = existingTableEntry(ext, tbl);
  AGPExtChart* chartEntry = entry ? entry->charts().find(chart) : nullptr;
  return chartEntry ? read(chartEntry->properties(), att) : null();
}

bool SetExtFldAtt(AGP& proj, const std::u16string& ext, const std::u16string& tbl,
                  const std::u16string& fld, const std::u16string& att, const Variant& val) {
  AGPTable* table = modelTable(proj, tbl);
  if (!table || !table->fields().find(fld)) return false;
  AGPExtension* extension = SharedExtensions().find(ext);
  if (!extension) return false;
  AGPExtTable* entry = tableEntry(proj, *extension, tbl);
  if (!entry) return false;
  if (!entry->fields().find(fld)) {
    ExtensionDeclarations declarations;
    if (extension->xmlFile().empty() || !declarations.load(extension->xmlFile())) return false;
    if (!AddExtendedField(proj, extension->name(), tbl, fld,
                          declarations.node(DeclarationLevel::Field))) {
      return false;
    }
  }
  AGPExtField* fieldEntry = entry->fields().find(fld);
  return fieldEntry && store(fieldEntry->properties(), att, val);
}

Variant GetExtFldAtt(AGP& /*proj*/, const std::u16string& ext, const std::u16string& tbl,
                     const std::u16string& fld, const std::u16string& att) {
  AGPExtTable* entry = existingTableEntry(ext, tbl);
  AGPExtField* fieldEntry = entry ? entry->fields().find(fld) : nullptr;
  return fieldEntry ? read(fieldEntry->properties(), att) : null();
}

}  // namespace vantorel
