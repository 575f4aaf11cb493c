#pragma once
// AGP: the project object a host creates first and template scripts know as "PROJ". One object
// holds one project: its settings bag (the project catalogue), its database collection with the
// current database, and the engine options read with the user's defaults. Creating it forms the
// thread's product, key and folder strings, seeds a new user's settings from the machine-wide
// copy and applies the user's defaults.
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
  // Writes the project file (UTF-8 XML) after a numbered backup of the old one. A failed
  // component check is left in ProjErr; other failures raise, and the old file stays.
  void Save(const std::u16string& projFile);
  // Reads a project file into this project object; the outcome is left in ProjErr.
  void Load(const std::u16string& projFile);
  // Stores the RegSave settings of the project and its database, and the engine options, as
  // the user's defaults. Defined, with Save and Load, by the project file layer.
  void SaveDefault();

  // Generates the whole site of the loaded project; the outcome is in ProjErr, and a fatal
  // failure or the user's cancel raises -1. Defined by the generation layer.
  void GenScript();
  // The dry run before GenScript: fills the output lists and returns how many of the outputs
  // exist already (0 when it ends early, with the reason in ProjErr).
  std::int16_t GenCheck();
  // One piece of template text run as a template of its own: its output, or the text itself
  // when it does not parse. Defined with the script host.
  std::u16string BuildExParseFunction(const std::u16string& text);

  const std::u16string& FullVersion() const noexcept { return fullVersion_; }
  const std::u16string& ScriptExt() const noexcept { return scriptExt_; }
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

  // Objects of later layers the project holds for them. The expression engine (an AGScript)
  // is set while a generation runs, so that BuildExParseFunction uses the run's engine; the
  // template controls (an AGPControls) are the control list of the template set last loaded,
  // which scripts see as "Controls" also between generations.
  Ref<Object>& exParseEngine() noexcept { return exParseEngine_; }
  Ref<Object>& templateControls() noexcept { return templateControls_; }

 private:
  void InitProjProperties();
  void ClearProperties();
  // The first run's copy of the machine-wide settings, in one write of the user's store. With
  // missingOnly it repairs a copy an older start-up left half done: only absent values are added.
  void CopyDefaultSettings(bool missingOnly = false);
  void CopyRegistryKey(const std::u16string& key, bool missingOnly);
  void MakeFolderPath(const std::u16string& path);
  Ref<AGProperties> scriptProperties() { return Ref<AGProperties>(&properties()); }
  Ref<AGPMenus> scriptMenuList() const;
  Ref<AGPLanguage> scriptLanguage() const;
  std::u16string scriptFldSrchOprs(Variant& ftype);
  void scriptSave(Variant& projFile);
  void scriptLoad(Variant& projFile);

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
  std::u16string currentDbKey_;
  std::u16string fullVersion_;
  std::u16string scriptExt_;
  std::u16string userCodePath_;
};

}  // namespace vantorel
