#include "model/databases.hpp"

#include "foundation/project_context.hpp"
#include "model/model_items.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/class_info.hpp"

namespace vantorel {

const ClassInfo& AGPDatabases::classInfo() const noexcept {
  return MemberTable<AGPDatabases>::get(u"AGPDatabases");
}

std::u16string AGPDatabases::curSeq() const {
  return seqText(curSeq_);
}

bool AGPDatabases::add(const std::u16string& name) {
  if (count() >= 1) return false;
  auto db = makeRef<AGPDatabase>();
  db->setDbName(name);
  // The empty name cannot be a key; the database is then held without one.
  append(db, name);
  curName_ = name;
  curSeq_ = static_cast<std::int16_t>(count());
  return true;
}

void AGPDatabases::scriptAdd(const std::u16string& name) {
  projectContext().lastErrorText = add(name) ? std::u16string() : u"support 1 db only!";
}

std::size_t AGPDatabases::resolve(const Variant& index) const {
  if (index.isString()) {
    if (AGPDatabase* db = find(index.stringValue())) {
      if (auto pos = positionOf(*db)) return *pos;
    }
    throw AutomationError(collection_error::kKeyNotFound, u"Key not found.");
  }
  AGPDatabase* found = lookup(index);
  if (!found) {
    // Other kinds of index raise the collection's own error.
    (void)items().item(index);
    raiseVbError(vberr::kSubscriptOutOfRange);
  }
  return *positionOf(*found);
}

void AGPDatabases::remove(const Variant& index) {
  removeAt(resolve(index));
}

Ref<AGPDatabase> AGPDatabases::item(const Variant& index) {
  AGPDatabase& db = at(resolve(index));
  curName_ = db.dbName();
  return Ref<AGPDatabase>(&db);
}

}  // namespace vantorel
