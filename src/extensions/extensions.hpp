#pragma once
// The thread's list of extensions (AGPExtensions, which scripts see as "EXTS") and the upper
// part of each extension's settings tree: the extension itself, its project level (PROJ) and
// the one database level below it (PROJ.DB), which holds the table entries.
#include <cstdint>
#include <string>

#include "extensions/ext_entries.hpp"
#include "foundation/model_collection.hpp"
#include "foundation/properties.hpp"
#include "platform/automation/object.hpp"
#include "platform/automation/variant.hpp"

namespace vantorel {

class AGPExtDb final : public Object {
 public:
  AGPExtDb();
  const ClassInfo& classInfo() const noexcept override;

  AGProperties& properties() const { return *properties_; }
  Ref<AGProperties> scriptProperties() const { return properties_; }
  AGPExtTables& tables();
  Ref<AGPExtTables> scriptTables() { return Ref<AGPExtTables>(&tables()); }
  std::u16string dbName() const;
  void setDbName(const std::u16string& name);

 private:
  Ref<AGProperties> properties_;
  Ref<AGPExtTables> tables_;
};

// Holds one database entry at most.
class AGPExtDbs final : public ModelCollection<AGPExtDb> {
 public:
  const ClassInfo& classInfo() const noexcept override;

  const std::u16string& curName() const noexcept { return curName_; }
  // Adds the first entry; a second is refused with False.
  bool add(const std::u16string& name);
  // Add as scripts call it: a refusal leaves "support 1 db only!" in LastErrorText; the first
  // entry is added without touching it, as no extension operation leaves a message.
  void scriptAdd(const std::u16string& name);
  // Both raise "Key not found." for a missing key.
  void remove(const Variant& index);
  Ref<AGPExtDb> item(const Variant& index);

 private:
  std::u16string curName_;
};

class AGPExtProj final : public Object {
 public:
  AGPExtProj();
  const ClassInfo& classInfo() const noexcept override;

  // The one database entry, made under the name "DB" when there is none.
  AGPExtDb& db();
  Ref<AGPExtDb> scriptDb() { return Ref<AGPExtDb>(&db()); }
  std::int16_t dbCnt() const noexcept { return static_cast<std::int16_t>(dbs_->count()); }
  AGProperties& properties() const { return *properties_; }
  Ref<AGProperties> scriptProperties() const { return properties_; }

 private:
  Ref<AGProperties> properties_;
  Ref<AGPExtDbs> dbs_;
  std::u16string curDbName_;
};

class AGPExtension final : public Object {
 public:
  AGPExtension();
  const ClassInfo& classInfo() const noexcept override;

  AGProperties& properties() const { return *properties_; }
  Ref<AGProperties> scriptProperties() const { return properties_; }
  // True once PROJ has been reached; asking does not make it.
  bool isExtended() const noexcept { return static_cast<bool>(proj_); }
  AGPExtProj& proj();
  Ref<AGPExtProj> scriptProj() { return Ref<AGPExtProj>(&proj()); }

  std::int16_t seq() const;
  void setSeq(std::int16_t seq);
  std::u16string name() const;
  void setName(const std::u16string& name);
  std::u16string templateFile() const;
  void setTemplateFile(const std::u16string& file);
  std::u16string xmlFile() const;
  void setXmlFile(const std::u16string& file);
  bool enabled() const;
  void setEnabled(bool enabled);

 private:
  Ref<AGProperties> properties_;
  Ref<AGPExtProj> proj_;
};

class AGPExtensions final : public ModelCollection<AGPExtension> {
 public:
  const ClassInfo& classInfo() const noexcept override;

  const std::u16string& curName() const noexcept { return curName_; }
  std::u16string curSeq() const;
  // False for ""; a name held already becomes current and gives True.
  bool add(const std::u16string& name);
  bool remove(const Variant& index);
  bool extensionExist(const Variant& index) const { return holdsKey(index); }
  // Looked up as a key whatever the index's type; the found extension becomes current.
  Ref<AGPExtension> item(const Variant& index);
  Ref<AGPExtension> seq(std::int16_t index) const;
  // True once the last extension was deleted (or a project file said it has none), until one
  // is added: the project then wants none of the installed ones.
  bool noneWanted() const noexcept { return noneWanted_; }
  void setNoneWanted(bool none) noexcept { noneWanted_ = none; }

 private:
  std::u16string curName_;
  std::int16_t curSeq_ = 0;
  bool noneWanted_ = false;
};

// The thread's list, made on first use.
AGPExtensions& SharedExtensions();

}  // namespace vantorel
