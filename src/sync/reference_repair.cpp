#include "sync/reference_repair.hpp"

#include <array>
#include <cstddef>
#include <initializer_list>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "agp/agp.hpp"
#include "fields/field.hpp"
#include "fields/field_settings.hpp"
#include "fields/fields.hpp"
#include "foundation/setting_values.hpp"
#include "model/chart.hpp"
#include "model/charts.hpp"
#include "model/database.hpp"
#include "model/table.hpp"
#include "model/tables.hpp"
#include "sync/sync_run.hpp"

namespace vantorel {

namespace {

using NoCaseSet = std::set<std::u16string, NoCaseLess>;

std::u16string fieldKey(const std::u16string& table, const std::u16string& field) {
  return table + u"\r\n" + field;
}

// The settings that name a field of the same table, reached by name through the field's bag.
constexpr std::array<std::u16string_view, 8> kSameTableRefs{
    u"FileNameFld",    u"FileTypeFld", u"FileSizeFld",     u"ImageWidthFld",
    u"ImageHeightFld", u"FldHrefFld",  u"FldParentSelect", u"FldTooltipFld",
};

// What the change records of this run say was renamed and deleted.
struct Changes {
  NoCaseMap renamedTables;  // old name -> new name
  NoCaseMap newToOld;       // the same, the other way round
  NoCaseMap renamedFields;  // old table CR LF old field -> new field
  NoCaseSet deletedTables;
  NoCaseSet deletedFields;  // table CR LF field

  // A table renamed in this run is known under both names: rename records carry its old name,
  // later records its new one.
  std::vector<std::u16string> namesOf(const std::u16string& table) const {
    std::vector<std::u16string> names{table};
    if (auto it = renamedTables.find(table); it != renamedTables.end()) names.push_back(it->second);
    if (auto it = newToOld.find(table); it != newToOld.end()) names.push_back(it->second);
    return names;
  }
  bool tableDeleted(const std::u16string& table) const {
    for (const std::u16string& name : namesOf(table)) {
      if (deletedTables.count(name)) return true;
    }
    return false;
  }
  bool fieldDeleted(const std::u16string& table, const std::u16string& field) const {
    for (const std::u16string& name : namesOf(table)) {
      if (deletedFields.count(fieldKey(name, field))) return true;
    }
    return false;
  }
  const std::u16string* fieldRenamed(const std::u16string& table,
                                     const std::u16string& field) const {
    for (const std::u16string& name : namesOf(table)) {
      if (auto it = renamedFields.find(fieldKey(name, field)); it != renamedFields.end()) {
        return &it->second;
      }
    }
    return nullptr;
  }
};

Changes readChanges(const SyncRun& run) {
  Changes c;
  AGPTables& tables = run.db.tables();
  auto exists = [&](const std::u16string& name) { return tables.tableExist(Variant(name)); };
  for (const SyncLogEntry& e : run.log.entries()) {
    if (e.action == u"C" && !e.oldValue.empty() && exists(e.oldValue)) {
      if (e.field.empty()) {
        if (c.renamedTables.emplace(e.table, e.oldValue).second) {
          c.newToOld.emplace(e.oldValue, e.table);
        }
      } else {
        c.renamedFields.emplace(fieldKey(e.table, e.field), e.newValue);
      }
    } else if (e.action == u"D") {
      const bool tableGone = !exists(e.table);
      if (tableGone) c.deletedTables.insert(e.table);
      if (!e.field.empty()) {
        Ref<AGPTable> table = tableGone ? Ref<AGPTable>() : tables.item(Variant(e.table));
        if (!table || !table->fields().fieldExist(Variant(e.field))) {
          c.deletedFields.insert(fieldKey(e.table, e.field));
        }
      }
    }
  }
  return c;
}

class FieldRepair {
 public:
  FieldRepair(SyncRun& run, const Changes& changes, AGPTable& table, AGPField& field)
      : run_(run), changes_(changes), table_(table), field_(field), bag_(field.properties()) {}

  void run() {
    if (!text(kFldTagLnkTbl).empty()) repairLookup();
    repairSameTable();
  }

 private:
  std::u16string text(SettingSlot slot) { return settingAsText(bag_.setting(slot)); }
  void set(SettingSlot slot, const std::u16string& value) { bag_.setting(slot) = Variant(value); }
  void record(const std::u16string& message) {
    run_.log.AddSyncLog(u"C", u"Field", table_.tblName(), field_.FldName(), message);
  }

  void repairLookup() {
    const std::u16string lookup = text(kFldTagLnkTbl);
    const bool gone = changes_.tableDeleted(lookup) ||
                      changes_.fieldDeleted(lookup, text(kFldTagLnkFld)) ||
                      changes_.fieldDeleted(lookup, text(kFldTagLnkDisplay));
    if (gone) {
      record(u"Clear lookup table " + lookup);
      // The settings that only mean something with the lookup go with it.
      for (SettingSlot slot : {kFldTagLnkTbl, kFldTagLnkFld, kFldTagLnkDisplay, kFldTagLnkDisp2,
                               kFldTagLnkOrderBy, kFldSelectFilterFld}) {
        set(slot, u"");
      }
      set(kFldSelectType, u"Values");
      set(kFldHtmlTag, u"TEXT");
      return;
    }
    struct Dependent {
      SettingSlot slot;
      const char16_t* clear;
    };
    for (const Dependent& d :
         {Dependent{kFldTagLnkDisp2, u"Clear lookup table display field 2 "},
          Dependent{kFldTagLnkOrderBy, u"Clear lookup table order by field "},
          Dependent{kFldSelectFilterFld, u"Clear lookup table filter field "}}) {
      const std::u16string value = text(d.slot);
      if (!value.empty() && changes_.fieldDeleted(lookup, value)) {
        record(d.clear + value);
        set(d.slot, u"");
      }
    }
    struct Renamed {
      SettingSlot slot;
      const char16_t* what;
    };
    for (const Renamed& r :
         {Renamed{kFldTagLnkFld, u"Rename lookup table link field from "},
          Renamed{kFldTagLnkDisplay, u"Rename lookup table display field from "},
          Renamed{kFldTagLnkDisp2, u"Rename lookup table display field 2 from "},
          Renamed{kFldTagLnkOrderBy, u"Rename lookup table order by field from "},
          Renamed{kFldSelectFilterFld, u"Rename lookup table filter field from "}}) {
      const std::u16string value = text(r.slot);
      if (value.empty()) continue;
      if (const std::u16string* to = changes_.fieldRenamed(lookup, value)) {
        record(r.what + value + u" to " + *to);
        set(r.slot, *to);
      }
    }
    // After the fields, whose records carry the table's old name.
    if (auto it = changes_.renamedTables.find(lookup); it != changes_.renamedTables.end()) {
      record(u"Rename lookup table from " + lookup + u" to " + it->second);
      set(kFldTagLnkTbl, it->second);
    }
  }

  void repairSameTable() {
    const std::u16string tableName = table_.tblName();
    for (std::u16string_view name : kSameTableRefs) {
      const std::optional<SettingSlot> slot = bag_.slotOf(name);
      if (!slot) continue;
      const std::u16string value = settingAsText(bag_.value(*slot));
      if (value.empty()) continue;
      if (changes_.fieldDeleted(tableName, value)) {
        record(u"Clear " + std::u16string(name) + u" field");
        bag_.setValue(*slot, Variant(u""));
        continue;
      }
      if (const std::u16string* to = changes_.fieldRenamed(tableName, value)) {
        record(u"Rename " + std::u16string(name) + u" field from " + value + u" to " + *to);
        bag_.setValue(*slot, Variant(*to));
      }
    }
  }

  SyncRun& run_;
  const Changes& changes_;
  AGPTable& table_;
  AGPField& field_;
  AGProperties& bag_;
};

// The settings of a table that name a table or a field: its master/detail link (the master
// table, the master's field and this table's field that matches it) and its user id field.
class TableRepair {
 public:
  TableRepair(SyncRun& run, const Changes& changes, AGPTable& table)
      : run_(run), changes_(changes), table_(table), bag_(table.properties()) {}

  void run() {
    if (!text(kTblMasterTbl).empty()) repairMasterLink();
    const std::u16string userId = text(kTblUserIDFld);
    if (userId.empty()) return;
    if (changes_.fieldDeleted(table_.tblName(), userId)) {
      record(u"Clear user id field " + userId);
      set(kTblUserIDFld, u"");
    } else if (const std::u16string* to = changes_.fieldRenamed(table_.tblName(), userId)) {
      record(u"Rename user id field from " + userId + u" to " + *to);
      set(kTblUserIDFld, *to);
    }
  }

 private:
  std::u16string text(SettingSlot slot) { return settingAsText(bag_.setting(slot)); }
  void set(SettingSlot slot, const std::u16string& value) { bag_.setting(slot) = Variant(value); }
  void record(const std::u16string& message) {
    run_.log.AddSyncLog(u"C", table_.tblType(), table_.tblName(), u"", message);
  }

  void repairMasterLink() {
    const std::u16string master = text(kTblMasterTbl);
    const std::u16string masterField = text(kTblMasterFld);
    const std::u16string detailField = text(kTblDetailFld);
    // A link missing either end or either field of its pair leads nowhere: it goes whole.
    if (changes_.tableDeleted(master) || changes_.fieldDeleted(master, masterField) ||
        changes_.fieldDeleted(table_.tblName(), detailField)) {
      record(u"Clear master table " + master);
      for (SettingSlot slot : {kTblMasterTbl, kTblMasterFld, kTblDetailFld}) set(slot, u"");
      return;
    }
    if (const std::u16string* to = changes_.fieldRenamed(master, masterField)) {
      record(u"Rename master table field from " + masterField + u" to " + *to);
      set(kTblMasterFld, *to);
    }
    if (const std::u16string* to = changes_.fieldRenamed(table_.tblName(), detailField)) {
      record(u"Rename detail field from " + detailField + u" to " + *to);
      set(kTblDetailFld, *to);
    }
    // After the fields, whose records carry the table's old name.
    if (auto it = changes_.renamedTables.find(master); it != changes_.renamedTables.end()) {
      record(u"Rename master table from " + master + u" to " + it->second);
      set(kTblMasterTbl, it->second);
    }
  }

  SyncRun& run_;
  const Changes& changes_;
  AGPTable& table_;
  AGProperties& bag_;
};

// The settings above the tables follow the renames of this run: a generated login that names
// the users table or its fields by their old names fails. What was deleted stays named, so that
// generation says what is missing instead of a login going without a word.
class SettingsRepair {
 public:
  SettingsRepair(SyncRun& run, const Changes& changes, AGProperties& bag, std::u16string_view owner)
      : run_(run), changes_(changes), bag_(bag), owner_(owner) {}

  // The setting that names a table, with the settings that name fields of it; the table's new
  // name when it was renamed, "" when the setting is empty.
  std::u16string table(std::u16string_view tableSetting,
                       std::initializer_list<std::u16string_view> fieldSettings) {
    const std::optional<SettingSlot> slot = bag_.slotOf(tableSetting);
    if (!slot) return u"";
    const std::u16string named = settingAsText(bag_.value(*slot));
    if (named.empty()) return u"";
    const auto renamed = changes_.renamedTables.find(named);
    const std::u16string current =
        renamed == changes_.renamedTables.end() ? named : renamed->second;
    fields(named, current, fieldSettings);
    // After the fields, whose records carry the table's old name.
    if (current != named) rename(*slot, tableSetting, named, current, current);
    return current;
  }

  // Settings that name fields of a table already under its current name.
  void fields(const std::u16string& table, const std::u16string& current,
              std::initializer_list<std::u16string_view> fieldSettings) {
    for (std::u16string_view name : fieldSettings) {
      const std::optional<SettingSlot> slot = bag_.slotOf(name);
      if (!slot) continue;
      const std::u16string value = settingAsText(bag_.value(*slot));
      if (value.empty()) continue;
      if (const std::u16string* to = changes_.fieldRenamed(table, value)) {
        rename(*slot, name, value, *to, current);
      }
    }
  }

 private:
  void rename(SettingSlot slot, std::u16string_view setting, const std::u16string& from,
              const std::u16string& to, const std::u16string& table) {
    Ref<AGPTable> named = run_.db.tables().item(Variant(table));
    run_.log.AddSyncLog(u"C", named ? named->tblType() : std::u16string(u"TABLE"), table, u"",
                        u"Rename " + std::u16string(owner_) + u" setting " +
                            std::u16string(setting) + u" from " + from + u" to " + to);
    bag_.setValue(slot, Variant(to));
  }

  SyncRun& run_;
  const Changes& changes_;
  AGProperties& bag_;
  std::u16string_view owner_;
};

// The chart settings that name a field of the chart's table.
constexpr std::array<std::u16string_view, 4> kChartFieldRefs{
    u"ChartXFldName", u"ChartYFldName", u"ChartNameFldName", u"ChartSeriesFldName"};

void repairCharts(SyncRun& run, const Changes& changes, AGPTable& table) {
  AGPCharts& charts = table.charts();
  for (std::size_t c = 0, n = static_cast<std::size_t>(charts.count()); c < n; ++c) {
    AGPChart& chart = charts.at(c);
    AGProperties& bag = chart.properties();
    for (std::u16string_view name : kChartFieldRefs) {
      const std::optional<SettingSlot> slot = bag.slotOf(name);
      if (!slot) continue;
      const std::u16string value = settingAsText(bag.value(*slot));
      if (value.empty()) continue;
      if (const std::u16string* to = changes.fieldRenamed(table.tblName(), value)) {
        run.log.AddSyncLog(u"C", table.tblType(), table.tblName(), u"",
                           u"Rename chart " + chart.chartName() + u" setting " +
                               std::u16string(name) + u" from " + value + u" to " + *to);
        bag.setValue(*slot, Variant(*to));
      }
    }
  }
}

void repairProjectSettings(SyncRun& run, const Changes& changes) {
  SettingsRepair project(run, changes, run.project.properties(), u"project");
  const std::u16string users = project.table(
      u"SecTbl", {u"SecLoginIDFld", u"SecPasswdFld", u"SecEmailFld", u"SecRegisterActivateFld"});
  SettingsRepair database(run, changes, run.db.properties(), u"database");
  // The database's user fields are fields of the project's users table.
  if (!users.empty()) {
    database.fields(users, users, {u"SecUserLevelFld", u"SecuUserIDFld", u"SecuParentUserIDFld"});
  }
  database.table(u"UserLevelTbl", {u"UserLevelIdFld", u"UserLevelNameFld"});
  database.table(u"UserLevelPrivTbl", {u"UserLevelPrivTblNameFld", u"UserLevelPrivUserLevelFld",
                                       u"UserLevelPrivPrivFld"});
}

}  // namespace

void SyncFieldRefs(SyncRun& run) {
  const Changes changes = readChanges(run);
  repairProjectSettings(run, changes);
  AGPTables& tables = run.db.tables();
  for (std::size_t t = 0, n = static_cast<std::size_t>(tables.count()); t < n; ++t) {
    AGPTable& table = tables.at(t);
    // A table that is only listed still names its master; its fields are not known.
    TableRepair(run, changes, table).run();
    repairCharts(run, changes, table);
    if (!settingAsBool(table.properties().setting(kTblLoaded))) continue;
    AGPFields& fields = table.fields();
    for (std::size_t f = 0, m = static_cast<std::size_t>(fields.count()); f < m; ++f) {
      FieldRepair(run, changes, table, fields.at(f)).run();
    }
  }
}

void FollowTableRename(SyncRun& run, const std::u16string& oldName, const std::u16string& newName) {
  AGPTables& tables = run.db.tables();
  for (std::size_t t = 0, n = static_cast<std::size_t>(tables.count()); t < n; ++t) {
    AGPTable& report = tables.at(t);
    Variant& source = report.properties().setting(kTblRptSrc);
    if (!equalsNoCase(settingAsText(source), oldName)) continue;
    if (report.tblType() != u"REPORT") {
      // Every other table names itself as its report source: the renamed one follows.
      if (report.tblName() == newName) source = Variant(newName);
      continue;
    }
    source = Variant(newName);
    run.log.AddSyncLog(u"C", u"REPORT", report.tblName(), u"",
                       u"Rename source table from " + oldName + u" to " + newName);
  }
}

}  // namespace vantorel
