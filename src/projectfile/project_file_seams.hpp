#pragma once
// What the project file reads and writes on behalf of the extensions layer above it: the
// extensions' settings trees and custom scripts stored in the file. Each is an interface that
// layer installs (Installed<...>); while none is installed, extensions and custom scripts are
// neither saved nor read.
#include <memory>
#include <string>
#include <vector>

#include "foundation/installed.hpp"

namespace vantorel {

class AGP;
class AGProperties;

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

// Installed at start-up by the extensions layer; each store works on the calling thread's own
// lists.

}  // namespace vantorel
