#include "extensions/extensions.hpp"

#include "foundation/project_context.hpp"
#include "model/model_items.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/class_info.hpp"
#include "platform/automation/variant_convert.hpp"

namespace vantorel {

namespace {

enum : SettingSlot { kExtSeq, kExtName, kExtTemplate, kExtXmlFile, kExtEnabled };

const SettingCatalog& extensionCatalog() {
  static const SettingCatalog catalog{
      {u"Seq", u"Integer", false, 0, false, false},
      {u"Name", u"String", false, 0, true, false},
      {u"Template", u"String", false, 0, true, false},
      {u"XmlFile", u"String", false, 0, true, false},
      {u"Enabled", u"Boolean", false, 0, true, false},
  };
  return catalog;
}

const SettingCatalog& extDbCatalog() {
  static const SettingCatalog catalog{
      {u"DBName", u"String", false, 0, false, false},
  };
  return catalog;
}

}  // namespace

// ---- AGPExtDb ----

AGPExtDb::AGPExtDb() : properties_(makeRef<AGProperties>(extDbCatalog())) {}

const ClassInfo& AGPExtDb::classInfo() const noexcept {
  return MemberTable<AGPExtDb>::get(u"AGPExtDb");
}

AGPExtTables& AGPExtDb::tables() {
  if (!tables_) tables_ = makeRef<AGPExtTables>();
  return *tables_;
}

std::u16string AGPExtDb::dbName() const {
  return storedText(properties_->setting(0));
}

void AGPExtDb::setDbName(const std::u16string& name) {
  properties_->setting(0) = Variant(name);
}

// ---- AGPExtDbs ----

const ClassInfo& AGPExtDbs::classInfo() const noexcept {
  return MemberTable<AGPExtDbs>::get(u"AGPExtDbs");
}

bool AGPExtDbs::add(const std::u16string& name) {
  if (count() >= 1) return false;
  auto db = makeRef<AGPExtDb>();
  db->setDbName(name);
  append(db, name);
  curName_ = name;
  return true;
}

void AGPExtDbs::scriptAdd(const std::u16string& name) {
  if (!add(name)) projectContext().lastErrorText = u"support 1 db only!";
}

void AGPExtDbs::remove(const Variant& index) {
  items().remove(Variant(indexText(index)));
}

Ref<AGPExtDb> AGPExtDbs::item(const Variant& index) {
  AGPExtDb* db = find(indexText(index));
  if (!db) throw AutomationError(collection_error::kKeyNotFound, u"Key not found.");
  curName_ = db->dbName();
  return Ref<AGPExtDb>(db);
}

// ---- AGPExtProj ----

AGPExtProj::AGPExtProj() : properties_(makeRef<AGProperties>()), dbs_(makeRef<AGPExtDbs>()) {}

const ClassInfo& AGPExtProj::classInfo() const noexcept {
  return MemberTable<AGPExtProj>::get(u"AGPExtProj");
}

AGPExtDb& AGPExtProj::db() {
  if (dbs_->count() == 0) {
    curDbName_ = u"DB";
    dbs_->add(curDbName_);
  }
  // Whatever name a host gave the one entry, it is the database level.
  if (AGPExtDb* db = dbs_->find(curDbName_)) return *db;
  return dbs_->at(0);
}

// ---- AGPExtension ----

AGPExtension::AGPExtension() : properties_(makeRef<AGProperties>(extensionCatalog())) {}

const ClassInfo& AGPExtension::classInfo() const noexcept {
  return MemberTable<AGPExtension>::get(u"AGPExtension");
}

AGPExtProj& AGPExtension::proj() {
  if (!proj_) proj_ = makeRef<AGPExtProj>();
  return *proj_;
}

std::int16_t AGPExtension::seq() const {
  return storedSeq(properties_->setting(kExtSeq));
}
void AGPExtension::setSeq(std::int16_t seq) {
  properties_->setting(kExtSeq) = Variant(seq);
}
std::u16string AGPExtension::name() const {
  return storedText(properties_->setting(kExtName));
}
void AGPExtension::setName(const std::u16string& name) {
  properties_->setting(kExtName) = Variant(name);
}
std::u16string AGPExtension::templateFile() const {
  return storedText(properties_->setting(kExtTemplate));
}
void AGPExtension::setTemplateFile(const std::u16string& file) {
  properties_->setting(kExtTemplate) = Variant(file);
}
std::u16string AGPExtension::xmlFile() const {
  return storedText(properties_->setting(kExtXmlFile));
}
void AGPExtension::setXmlFile(const std::u16string& file) {
  properties_->setting(kExtXmlFile) = Variant(file);
}
bool AGPExtension::enabled() const {
  const Variant& v = properties_->setting(kExtEnabled);
  // An unset row, or one a project file filled with something that is no truth value, is off.
  if (v.isEmpty()) return false;
  try {
    return toBool(v);
  } catch (const AutomationError&) {
    return false;
  }
}
void AGPExtension::setEnabled(bool enabled) {
  properties_->setting(kExtEnabled) = Variant(enabled);
}

// ---- AGPExtensions ----

const ClassInfo& AGPExtensions::classInfo() const noexcept {
  return MemberTable<AGPExtensions>::get(u"AGPExtensions");
}

std::u16string AGPExtensions::curSeq() const {
  return seqText(curSeq_);
}

bool AGPExtensions::add(const std::u16string& name) {
  if (name.empty()) return false;
  if (AGPExtension* existing = find(name)) {
    curName_ = name;
    curSeq_ = existing->seq();
    return true;
  }
  const std::int16_t seq = nextSeq(count());
  auto extension = makeRef<AGPExtension>();
  extension->setName(name);
  append(extension, name);
  extension->setSeq(seq);
  curName_ = name;
  curSeq_ = seq;
  noneWanted_ = false;
  return true;
}

bool AGPExtensions::remove(const Variant& index) {
  AGPExtension* extension = find(indexText(index));
  if (!extension) return false;
  Ref<AGPExtension> hold(extension);
  closeSeqGap(extension->seq(), &AGPExtension::seq, [](AGPExtension& e, std::int16_t s) {
    ignoringErrors([&] { e.setSeq(lowerSeq(s)); });
  });
  removeItem(*extension);
  if (count() == 0) noneWanted_ = true;
  return true;
}

Ref<AGPExtension> AGPExtensions::item(const Variant& index) {
  AGPExtension* extension = find(indexText(index));
  if (!extension) return nullptr;
  curName_ = extension->name();
  curSeq_ = extension->seq();
  return Ref<AGPExtension>(extension);
}

Ref<AGPExtension> AGPExtensions::seq(std::int16_t index) const {
  return Ref<AGPExtension>(firstWithSeq(index, &AGPExtension::seq));
}

AGPExtensions& SharedExtensions() {
  return sharedObject<AGPExtensions>(projectContext().extensions);
}

}  // namespace vantorel
