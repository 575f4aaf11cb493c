#pragma once
// AGP: the project object a host creates first and template scripts know as "PROJ". One object
// holds one project: its settings bag (the project catalogue), its database collection with the
// current database, and the engine options read with the user's defaults. Creating it forms the
// thread's product, key and folder strings, seeds a new user's settings from the machine-wide
// copy and applies the user's defaults. The members whose work lies in a higher layer (Save,
// Load, GenScript, LoadDB, CheckDB, the extensions ...) are that layer's functions of an AGP&,
// which the automation surface (src/surface/project_members.cpp) gives scripts as members.
#include <cstdint>
#include <string>

#include "foundation/control_items.hpp"
#include "foundation/properties.hpp"
#include "platform/automation/object.hpp"
#include "platform/automation/variant.hpp"

namespace vantorel {

class AGPDatabase;
class AGPDatabases;
class AGPLanguage;
class AGPMenus;

class AGP final : public Object {
 public:
  AGP();
  ~AGP() override;

  const ClassInfo& classInfo() const noexcept override;

  std::int32_t lhWnd() const noexcept { return lhWnd_; }
  void setLhWnd(std::int32_t hwnd) noexcept { lhWnd_ = hwnd; }
  bool ProjInit() const noexcept { return projInit_; }
  // The project-level output files, created empty on first use.
  AGControlItems& controlList();
  Ref<AGControlItems> scriptControlList() { return Ref<AGControlItems>(&controlList()); }
  // The current database, or nullptr.
  Ref<AGPDatabase> DB() const;
  AGPMenus& MenuList() const;
  // Number of databases held (0 or 1).
  std::int16_t DBCnt();
  // The settings bag, created on first use.
  AGProperties& properties();
  AGPLanguage& Language() const;

  // A declared setting converted to its data type; an undeclared name is declared from the
  // custom settings file (section "Project") with that file's type and value, which is returned.
  // The empty name raises 5 and declares nothing.
  Variant GetV(const std::u16string& Name);
  // Stores the value converted to the setting's type; an undeclared name is declared as GetV
  // does and gets the value unconverted. Always Empty. The empty name raises 5.
  Variant SetV(const std::u16string& Name, const Variant& Value);

  const std::u16string& ProjErr() const;
  void setProjErr(const std::u16string& text);

  // The project-name write also gives ProjVar, the project's script identifier.
  std::u16string ProjName();
  void setProjName(const std::u16string& str);
  std::u16string ProjVar();
  std::u16string SyncLog();
  // The destination write also becomes the thread's DestinationFolder.
  std::u16string Destination();
  void setDestination(const std::u16string& str);

  // Starts a new project: name and script identifier, then the user's defaults. Nothing held
  // before (database, menus, phrases) is cleared.
  void AddProj(const std::u16string& strProjName);
  // Empties every setting (declared again without values) and drops the databases.
  void DeleteProj();

  // The user's defaults under ProjectKey for every RegSave setting, the engine options under
  // GeneralKey, then the fixed values every project starts from.
  void LoadDefault();

  // ---- The live database: unloading, reports, charts and setting copies ----
  // Each leaves its outcome in ProjErr: empty after success, else the reason.

  // Drops a loaded table's charts and fields; the table stays, not loaded and not generated.
  void UnLoadTable(const std::u16string& sTableName);
  // A report named sTableName over the loaded table or view sFromTableName.
  bool LoadReport(const std::u16string& sTableName, const std::u16string& sFromTableName);
  bool LoadChart(const std::u16string& sChartName, const std::u16string& sTableName);
  // A new chart of the same table with the old one's synchronised settings and trendlines.
  bool CopyChart(const std::u16string& sOldChartName, const std::u16string& sNewChartName,
                 const std::u16string& sTableName);
  // The synchronised settings of a table and of each field of the same name in the other.
  // False, copying nothing, without a database or when a table is missing.
  bool CopyTableSettings(const std::u16string& SourceTable, const std::u16string& TargetTable);
  // False, copying nothing, without a database or when a table or field is missing.
  bool CopyFieldSettings(const std::u16string& SourceTable, const std::u16string& SourceField,
                         const std::u16string& TargetTable, const std::u16string& TargetField);
  // Back to the state without a database: the database, the menus and the login settings go.
  void UnLoadDB();
  // Reads the reserved words again from the file the user's settings name ("Keyword").
  void ReloadKeywords();

  const std::u16string& FullVersion() const noexcept { return fullVersion_; }
  // "*" stands for the script extension.
  std::u16string ResolveExt(const std::u16string& value) const;

  // Engine options read by LoadDefault.
  bool BackupFileFlag() const noexcept { return backupFileFlag_; }
  void setBackupFileFlag(bool v) noexcept { backupFileFlag_ = v; }
  const std::u16string& UserCodePath() const noexcept { return userCodePath_; }
  void setUserCodePath(const std::u16string& v) { userCodePath_ = v; }
  std::int16_t UnloadThreshold() const noexcept { return unloadThreshold_; }

  // The key the current database is held under in the database collection.
  const std::u16string& CurrentDbKey() const noexcept { return currentDbKey_; }
  void setCurrentDbKey(const std::u16string& key) { currentDbKey_ = key; }
  void setDB(Ref<AGPDatabase> db);
  AGPDatabases& databases();

  // The first run's copy of the machine-wide settings, in one write of the user's store. With
  // missingOnly it repairs a copy an older start-up left half done: only absent values are added.
  void CopyDefaultSettings(bool missingOnly = false);
  void CopyRegistryKey(const std::u16string& key, bool missingOnly);

  // The members as scripts reach them: every argument by reference, objects as references.
  Ref<AGProperties> scriptProperties() { return Ref<AGProperties>(&properties()); }
  Ref<AGPMenus> scriptMenuList() const;
  Ref<AGPLanguage> scriptLanguage() const;
  std::u16string scriptFldSrchOprs(Variant& ftype);
  void scriptUnLoadTable(Variant& sTableName);
  bool scriptLoadReport(Variant& sTableName, Variant& sFromTableName);
  bool scriptLoadChart(Variant& sChartName, Variant& sTableName);
  bool scriptCopyChart(Variant& sOldChartName, Variant& sNewChartName, Variant& sTableName);

  // Objects of later layers the project holds for them. The expression engine (an AGScript)
  // is set while a generation runs, so that BuildExParseFunction uses the run's engine; the
  // template controls (an AGPControls) are the control list of the template set last loaded,
  // which scripts see as "Controls" also between generations.
  Ref<Object>& exParseEngine() noexcept { return exParseEngine_; }
  Ref<Object>& templateControls() noexcept { return templateControls_; }
  // The schema snapshot (an AGPSchema) a check or synchronisation holds while it runs.
  Ref<Object>& schemaSnapshot() noexcept { return schemaSnapshot_; }

 private:
  void InitProjProperties();
  void ClearProperties();
  void MakeFolderPath(const std::u16string& path);
  void ClearSecurityTable();

  std::int32_t lhWnd_ = 0;
  bool projInit_ = false;
  bool backupFileFlag_ = false;
  std::int16_t unloadThreshold_ = 0;
  Ref<AGProperties> properties_;
  Ref<AGPDatabases> databases_;
  Ref<AGPDatabase> db_;
  Ref<AGControlItems> controlList_;
  Ref<Object> exParseEngine_;
  Ref<Object> templateControls_;
  Ref<Object> schemaSnapshot_;
  std::u16string currentDbKey_;
  std::u16string keywordFile_;
  std::u16string fullVersion_;
  std::u16string scriptExt_;
  std::u16string userCodePath_;
};

}  // namespace vantorel
