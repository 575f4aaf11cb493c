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

  // One stored extension while its element is read: its settings bags, each made when the
  // file holds it, whatever the declaration file says, so that every stored value is kept.
  class StoredExtension {
   public:
    virtual ~StoredExtension() = default;
    virtual AGProperties& properties() = 0;
    virtual AGProperties& project() = 0;
    virtual AGProperties& database() = 0;
    // The table entry, made when missing; it becomes the one charts and fields are read into.
    // nullptr when no entry can have that name.
    virtual AGProperties* table(const std::u16string& name) = 0;
    // Of the table entry read last; nullptr before any.
    virtual AGProperties* chart(const std::u16string& name) = 0;
    virtual AGProperties* field(const std::u16string& name) = 0;
    // After the element's content: the loaded objects the file gave no entry get theirs.
    virtual void finish() = 0;
  };

  virtual ~ProjectExtensionStore() = default;
  // Every extension of the thread's list in Seq order; raises when the tree cannot be walked.
  virtual std::vector<Extension> extensionsForSave() = 0;
  virtual bool empty() = 0;
  // Whether the project has none because its extensions were deleted (or its file said it
  // has none): then a load registers no installed ones and a save says so.
  virtual bool noneWanted() = 0;
  virtual void setNoneWanted(bool none) = 0;
  // Registers a stored extension and declares its project and database settings (under their
  // conditions); nullptr when it cannot be registered. A declaration file that cannot be read
  // leaves its reason in problem.
  virtual std::unique_ptr<StoredExtension> readExtension(AGP& project, const std::u16string& name,
                                                         const std::u16string& templateFile,
                                                         const std::u16string& xmlFile,
                                                         std::u16string& problem) = 0;
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
