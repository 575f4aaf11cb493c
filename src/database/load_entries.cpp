// The project object's entries that read the live database: LoadDB gives the project its one
// database, LoadTable reads one table or view of it.
#include "database/load_entries.hpp"

#include <cstdint>
#include <exception>
#include <utility>
#include <vector>

#include "agp/agp.hpp"
#include "agp/entry_steps.hpp"
#include "agp/extension_hooks.hpp"
#include "agp/menu_sync.hpp"
#include "database/ado_database_loader.hpp"
#include "database/dao_database_loader.hpp"
#include "database/database_load.hpp"
#include "database/schema_question.hpp"
#include "foundation/entry_error_text.hpp"
#include "foundation/project_context.hpp"
#include "foundation/registry_defaults.hpp"
#include "foundation/setting_values.hpp"
#include "model/database.hpp"
#include "model/databases.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/ui/ui.hpp"
#include "project/project_catalogue.hpp"

namespace vantorel {

namespace {

constexpr char16_t kLoadFailed[] = u"Load Database failed!";

bool isAccess(const std::u16string& type) {
  return equalsNoCase(type, u"ACCESS");
}

// The loaders tell an ODBC data source by the type "ODBC" exactly; the entries take it in any
// letter case, and a data source named as "Odbc" must not end in a failed connection.
std::u16string loaderType(const std::u16string& type) {
  if (equalsNoCase(type, u"ODBC")) return u"ODBC";
  return type;
}

// The key the database is held under: an Access file's name, the data source name, or "DB".
std::u16string databaseKey(const DatabaseLoadArguments& a) {
  if (isAccess(a.sDbType)) {
    const std::size_t at = a.sPhyPath.find_last_of(u"\\/");
    return at == std::u16string::npos ? a.sPhyPath : a.sPhyPath.substr(at + 1);
  }
  if (equalsNoCase(a.sDbType, u"ODBC")) return a.sDbName.empty() ? u"ODBC" : a.sDbName;
  return u"DB";
}

// The project settings the loaders and the field defaults read while the load runs. What an
// earlier database left (its DBMS name) is gone before the new one is read, so that nothing of
// it reaches the new tables or outlives a failed load.
DatabaseLoad copyLoadSettings(AGP& project) {
  ProjectContext& context = projectContext();
  context.currentDbmsName.clear();
  AGProperties& bag = project.properties();
  DatabaseLoad load;
  load.sqlQuoteSetting = settingAsText(bag.setting(kProjSQLQuote));
  copyDateFormatSetting(bag);
  load.dynamicLoad = settingAsBool(bag.setting(kProjDynamicLoadDB));
  std::int16_t repeatColumns = 0;
  try {
    repeatColumns = toInteger(bag.setting(kProjRepeatColumns));
  } catch (const AutomationError&) {
    // A value that is no number counts as none.
  }
  context.currentRepeatColumns = repeatColumns;
  return load;
}

// The number of a failed load whose loader gave no reason of its own: its text is what the
// entry says only where LastErrorText holds nothing yet.
constexpr std::int32_t kNoReasonOfItsOwn = 1;

// Runs a loader and tells the user what it had to say. A failure, returned or raised, comes
// back with the loader's reason, else what it raised, else the entry's own words.
template <typename Loader>
Expected<> runLoader(const DatabaseLoad& load, Loader&& loader) {
  LoadOutcome outcome;
  Failure unexplained{kLoadFailed, kNoReasonOfItsOwn};
  try {
    outcome = loader();
  } catch (const AutomationError& e) {
    outcome = LoadOutcome::failed(1);
    if (!e.description().empty()) unexplained.text = e.description();
  } catch (const std::exception&) {
    // Out of memory and the like: the load is over, the caller discards what it made.
    outcome = LoadOutcome::failed(1);
  }
  showLoadNotices(load);
  if (outcome.loaded()) return {};
  if (!outcome.reason.empty()) return Failure{outcome.reason};
  return unexplained;
}

// A table read again (after UnLoadTable) keeps what the user set on it; only what the loaders
// read from the database is new. The loaders give every table its defaults as they read it,
// which would otherwise lose the user's captions, pages and security with every re-read.
class KeptTableSettings {
 public:
  // Nothing is kept for a table that never had its defaults (only registered by a dynamic
  // load): its first read gives them.
  explicit KeptTableSettings(AGPTable& table) {
    AGProperties& bag = table.properties();
    if (settingAsText(bag.setting(kTblVar)).empty()) return;
    bag.forEachSetting([&](SettingSlot slot, const SettingRecord&, const Variant& value) {
      if (!readFromDatabase(slot)) kept_.emplace_back(slot, value);
    });
  }
  void restore(AGPTable& table) const {
    AGProperties& bag = table.properties();
    for (const auto& [slot, value] : kept_) bag.setValue(slot, value);
  }

 private:
  static bool readFromDatabase(SettingSlot slot) {
    switch (slot) {
      case kTblType:
      case kTblSchema:
      case kTblKey:
      case kTblSQL:
      case kTblError:
      case kTblLoaded:
      case kTblUpdatable:
        return true;
      default:
        return false;
    }
  }

  std::vector<std::pair<SettingSlot, Variant>> kept_;
};

// The database read into the project, up to its extensions and menus; a load that fails leaves
// no database behind.
Expected<> loadDatabase(AGP& project, const DatabaseLoadArguments& a) {
  ProjectContext& context = projectContext();
  context.statusText = context.productTitle + u" - Loading Database...";
  if (project.DB()) return Failure{u"database already loaded!"};
  const std::u16string key = databaseKey(a);
  // An Access path without a file name (empty, or ending in a separator) names no database.
  if (isAccess(a.sDbType) && key.empty()) return Failure{u"invalid database path!"};
  project.setCurrentDbKey(key);
  project.ReloadKeywords();
  EntryStatus status(project, u"Loading Database", false);
  AGPDatabases& databases = project.databases();
  if (!databases.add(key)) {
    // A database left in the collection by an earlier error: nothing new to load into.
    project.setCurrentDbKey(u"");
    return Failure{u"support 1 db only!"};
  }
  const Ref<AGPDatabase> db(databases.find(key));
  project.setDB(db);
  DatabaseLoad load = copyLoadSettings(project);
  // The thousands of tables and fields a large database makes take their defaults from one
  // snapshot of the user's settings.
  Expected<> loaded = runLoader(load, [&] {
    const RegistryDefaultsScope pinned;
    if (isAccess(a.sDbType)) {
      return loadAccessDatabase(load, *db,
                                {a.sPath, a.sPhyPath, a.bDBUseServerMapPath, a.sUID, a.sPwd, u""});
    }
    return loadAdoDatabase(
        load, *db, {loaderType(a.sDbType), a.sDbName, a.sUID, a.sPwd, a.sConnStr, u"", a.sSchema},
        &askForOracleSchema);
  });
  status.close();
  if (!loaded) {
    project.setDB(nullptr);
    databases.removeDatabase(*db);
    project.setCurrentDbKey(u"");
  }
  return loaded;
}

// The table read into the model, up to its extensions and menus.
Expected<> loadTable(AGP& project, const std::u16string& sTableName) {
  const Ref<AGPDatabase> db = project.DB();
  if (!db) return Failure{databaseNotLoaded()};
  AGPTables& tables = db->tables();
  Ref<AGPTable> table = tableNamedExactly(tables, sTableName);
  const bool added = !table;
  if (added) {
    if (!tables.add(sTableName)) {
      return Failure{titledMessage(u"Table " + sTableName + u" cannot be added!")};
    }
    table = tables.item(Variant(sTableName));
    table->properties().setting(kTblGen) = Variant(false);
    table->properties().setting(kTblLoaded) = Variant(false);
  }
  if (settingAsBool(table->properties().setting(kTblLoaded))) {
    return Failure{titledMessage(u"Table " + sTableName + u" already loaded!")};
  }
  const KeptTableSettings kept(*table);
  // What an earlier load said of the table is no reason for this one.
  table->properties().setting(kTblError) = Variant(u"");
  ui::yieldToHost();
  project.ReloadKeywords();
  DatabaseLoad load;
  load.sqlQuoteSetting = settingAsText(project.properties().setting(kProjSQLQuote));
  copyDateFormatSetting(project.properties());

  AGProperties& d = db->properties();
  const std::u16string type = settingAsText(d.setting(kDBType));
  Expected<> read = runLoader(load, [&] {
    const RegistryDefaultsScope pinned;
    if (isAccess(type)) {
      return loadAccessDatabase(
          load, *db,
          {settingAsText(d.setting(kDBPath)), settingAsText(d.setting(kDBPhyPath)),
           settingAsBool(d.setting(kDBUseServerMapPath)), settingAsText(d.setting(kDBUID)),
           settingAsText(d.setting(kDBPwd)), sTableName});
    }
    return loadAdoDatabase(
        load, *db,
        {loaderType(type), settingAsText(d.setting(kDBName)), settingAsText(d.setting(kDBUID)),
         settingAsText(d.setting(kDBPwd)), settingAsText(d.setting(kDBConnstr)), sTableName,
         settingAsText(d.setting(kDBSchema))},
        &askForOracleSchema);
  });
  const bool loaded = settingAsBool(table->properties().setting(kTblLoaded));
  // The loader's reason for a table it found but could not read (a privilege, a lock): the
  // table is there, and "not found" would send the user looking for the wrong fault.
  const std::u16string readError = settingAsText(table->properties().setting(kTblError));
  // A table this call added and could not read is not in the database, or not reachable now:
  // it goes again rather than stay behind as a table without fields.
  if (added && !loaded) tables.remove(table->tblName());
  if (!read) return read;
  if (!loaded && !readError.empty()) {
    return Failure{titledMessage(u"Table " + sTableName + u" could not be read! " + readError)};
  }
  if (!loaded) return Failure{titledMessage(u"Table " + sTableName + u" not found!")};
  kept.restore(*table);
  hooks::ApplyExtensionsToTable(project, sTableName);
  SyncMenus(project);
  return {};
}

}  // namespace

void LoadDB(AGP& project, const DatabaseLoadArguments& a) {
  // A failure replaces whatever text an earlier call left, explained or not.
  const Expected<> loaded = loadDatabase(project, a);
  reportEntry(loaded);
  if (!loaded) return;
  hooks::LoadExtensions(project);
  SyncMenus(project);
}

void LoadTable(AGP& project, const std::u16string& sTableName) {
  const Expected<> loaded = loadTable(project, sTableName);
  // A read that failed without a reason of its own leaves a text already there.
  if (!loaded && loaded.failure().number == kNoReasonOfItsOwn &&
      !projectContext().lastErrorText.empty()) {
    return;
  }
  reportEntry(loaded);
}

}  // namespace vantorel
