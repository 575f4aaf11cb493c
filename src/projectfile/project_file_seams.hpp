#pragma once
// What the project file reads and writes on behalf of subsystems built later: the converter of
// older or foreign project files (an outside component), the schema check and synchronisation
// run after a load, and the extensions' settings trees and custom scripts stored in the file.
// Each is an interface the owning subsystem installs; while none is installed the project file
// behaves as on a machine without that part: no converter can be created, no schema check
// runs, and extensions and custom scripts are neither saved nor read.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "foundation/project_context.hpp"
#include "platform/automation/variant.hpp"

namespace vantorel {

class AGP;
class AGProperties;

// ---- Converter ("ztconvert.Converter2") ----

class ProjectConverter {
 public:
  virtual ~ProjectConverter() = default;
  // The path of the converted, current-format file made from projFile.
  virtual std::u16string convert(const std::u16string& projFile, const std::u16string& productCode,
                                 const std::u16string& fullVersion) = 0;
};

using ProjectConverterFactory = std::function<std::unique_ptr<ProjectConverter>()>;

// Process-wide, as a registered component is; an empty factory unregisters.
void setProjectConverterFactory(ProjectConverterFactory factory);
// Raises 429 (the component cannot be created) when no converter is registered.
std::unique_ptr<ProjectConverter> createProjectConverter();

// ---- Schema check and synchronisation after a load ----

// The stored connection of the loaded database, as the schema snapshot takes it.
struct StoredConnection {
  std::u16string name, type, path, phyPath;
  Variant useServerMapPath;
  std::u16string uid, pwd, connStr, schema;
};

class ProjectSchemaSync {
 public:
  virtual ~ProjectSchemaSync() = default;
  // Takes a new snapshot of the live schema; raises with the reason when it cannot.
  virtual void loadSnapshot(AGP& project, const StoredConnection& connection) = 0;
  // Differences of tables and views, custom views and reports, summed.
  virtual std::int16_t countDifferences(AGP& project) = 0;
  virtual bool fieldTypeNamesEmpty(AGP& project) = 0;
  // The passes of an update, renamed objects first, the synchronisation log last; scope "ALL"
  // while a load synchronises.
  virtual void synchronise(AGP& project, const std::u16string& scope) = 0;
  virtual void syncMenus(AGP& project) = 0;
  virtual void releaseSnapshot(AGP& project) = 0;
};

// Process-wide, installed at start-up by the schema check; the handler keeps what a load's
// check holds in the project object, so one handler serves every thread. The caller keeps it
// alive while installed; nullptr uninstalls. Returns the handler installed before.
ProjectSchemaSync* setProjectSchemaSync(ProjectSchemaSync* handler) noexcept;
ProjectSchemaSync* projectSchemaSync() noexcept;

// ---- Extensions' settings and custom scripts ----

class ProjectExtensionStore {
 public:
  // One extension as the file holds it; project is null when the extension holds no settings
  // for this project, database null when those hold no database.
  struct TableSettings {
    AGProperties* properties = nullptr;
    std::vector<AGProperties*> charts;  // in ChartSeq order
    std::vector<AGProperties*> fields;  // in FldSeq order
  };
  struct Extension {
    AGProperties* properties = nullptr;
    AGProperties* project = nullptr;
    AGProperties* database = nullptr;
    std::vector<TableSettings> tables;  // in TblSeq order
  };

  virtual ~ProjectExtensionStore() = default;
  // Every extension of the thread's list in Seq order; raises when the tree cannot be walked.
  virtual std::vector<Extension> extensionsForSave() = 0;
  virtual bool empty() = 0;
  // Adds the extension and applies its declaration file's attribute declarations; the new
  // extension becomes current. nullptr when it cannot be added.
  virtual AGProperties* addExtension(AGP& project, const std::u16string& name,
                                     const std::u16string& templateFile,
                                     const std::u16string& xmlFile) = 0;
  // Settings of the current extension; nullptr when it holds none of that level.
  virtual AGProperties* currentProject() = 0;
  virtual AGProperties* currentDatabase() = 0;
  // The extension table of that name, made current; nullptr when there is none.
  virtual AGProperties* table(const std::u16string& name) = 0;
  // The name of the current extension table; "" when none.
  virtual std::u16string currentTableName() = 0;
  virtual AGProperties* chart(const std::u16string& table, const std::u16string& chart) = 0;
  virtual AGProperties* field(const std::u16string& table, const std::u16string& field) = 0;
  // Adds the installed extensions listed in the user's registry.
  virtual void loadInstalled(AGP& project) = 0;
};

class ProjectCustomScriptStore {
 public:
  struct Keys {
    std::u16string type, codeType, name, ctrlId, l1Key, l2Key;
  };
  struct Script {
    AGProperties* properties = nullptr;
    std::u16string code;
  };

  virtual ~ProjectCustomScriptStore() = default;
  // In Seq order; raises when the list cannot be walked.
  virtual std::vector<Script> scriptsForSave() = 0;
  // False when refused (an empty type, code type or name).
  virtual bool add(const Keys& keys) = 0;
  virtual void setCode(const Keys& keys, const std::u16string& code) = 0;
};

// Process-wide, installed at start-up by the extensions layer; each store works on the calling
// thread's own lists. The caller keeps the store alive while installed; nullptr uninstalls.
// Each returns the store installed before.
ProjectExtensionStore* setProjectExtensionStore(ProjectExtensionStore* store) noexcept;
ProjectExtensionStore* projectExtensionStore() noexcept;
ProjectCustomScriptStore* setProjectCustomScriptStore(ProjectCustomScriptStore* store) noexcept;
ProjectCustomScriptStore* projectCustomScriptStore() noexcept;

}  // namespace vantorel
