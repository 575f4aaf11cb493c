// AGP.LoadReport: a report is a table of the model with no object of its own in the database.
// It takes copies of a loaded source's fields, with every setting but the name, and has the
// add, view, edit, search and register switches of each field turned off.
#include "agp/agp.hpp"
#include "agp/entry_steps.hpp"
#include "agp/extension_hooks.hpp"
#include "agp/menu_sync.hpp"
#include "fields/field_settings.hpp"
#include "foundation/entry_error_text.hpp"
#include "foundation/setting_values.hpp"
#include "model/database.hpp"

namespace vantorel {

namespace {

void copyReportField(AGPField& source, AGPField& target) {
  const AGProperties& from = source.properties();
  AGProperties& to = target.properties();
  // Every row, whatever its Sync flag: the report shows what its source shows.
  from.forEachSetting([&](SettingSlot, const SettingRecord& record, const Variant& value) {
    if (record.name == u"FldName") return;
    if (const std::optional<SettingSlot> slot = to.slotOf(record.name)) to.setValue(*slot, value);
  });
  for (const FieldSetting row :
       {kFldAdd, kFldView, kFldEdit, kFldSearch, kFldBasicSearch, kFldRegister}) {
    to.setting(row) = Variant(false);
  }
}

// The report with its copied fields, up to the menus.
Expected<> loadReport(AGP& project, const std::u16string& sTableName,
                      const std::u16string& sFromTableName) {
  const Ref<AGPDatabase> db = project.DB();
  if (!db) return Failure{databaseNotLoaded()};
  AGPTables& tables = db->tables();
  bool nameTaken = false;
  Ref<AGPTable> source;
  for (std::int16_t i = 1, n = static_cast<std::int16_t>(tables.count()); i <= n; ++i) {
    const Ref<AGPTable> table = tables.seq(i);
    if (!table) continue;
    const std::u16string name = table->tblName();
    if (name == sTableName) nameTaken = true;
    if (name == sFromTableName && settingAsBool(table->properties().setting(kTblLoaded))) {
      source = table;
    }
  }
  const std::u16string nameTakenText = u"Table/View " + sTableName + u" already exists!";
  if (nameTaken) return Failure{titledMessage(nameTakenText)};
  if (!source) {
    return Failure{titledMessage(u"Table/View " + sFromTableName + u" not exist or loaded!")};
  }
  project.ReloadKeywords();
  EntryStatus status(project, u"Loading " + sTableName, true);
  // A name held in another letter case (or the empty name) is refused by the collection.
  if (!tables.add(sTableName)) return Failure{titledMessage(nameTakenText)};
  const Ref<AGPTable> report = tables.item(Variant(sTableName));
  AGProperties& bag = report->properties();
  bag.setting(kTblType) = Variant(u"REPORT");
  bag.setting(kTblRptSrc) = Variant(sFromTableName);
  bag.setting(kTblLoaded) = Variant(true);
  report->setTblGen(true);
  report->LoadTableDefault();
  AGProperties& from = source->properties();
  bag.setting(kTblUserIDFld) = from.setting(kTblUserIDFld);
  bag.setting(kTblSecurity) = from.setting(kTblSecurity);

  AGPFields& sourceFields = source->fields();
  AGPFields& fields = report->fields();
  for (std::size_t i = 0, n = static_cast<std::size_t>(sourceFields.count()); i < n; ++i) {
    AGPField& field = sourceFields.at(i);
    const std::u16string name = field.FldName();
    if (!fields.add(sTableName, name)) continue;
    copyReportField(field, *fields.item(Variant(name)));
  }
  status.close();
  hooks::ApplyExtensionsToTable(project, sTableName);
  SyncMenus(project);
  return {};
}

}  // namespace

bool AGP::LoadReport(const std::u16string& sTableName, const std::u16string& sFromTableName) {
  const Expected<> loaded = loadReport(*this, sTableName, sFromTableName);
  reportEntry(loaded);
  return loaded.ok();
}

}  // namespace vantorel
