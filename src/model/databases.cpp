#include "model/databases.hpp"

#include "foundation/project_context.hpp"
#include "model/model_items.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/bind.hpp"
#include "platform/text/case_fold.hpp"

namespace vantorel {

AGPDatabases::AGPDatabases() : items_(makeRef<CSuperCollection>()) {
  items_->setCompareMode(1);
}

const ClassInfo& AGPDatabases::classInfo() const noexcept {
  using T = AGPDatabases;
  static const ClassInfo info(u"AGPDatabases", [](ClassInfo& c) {
    ClassBuilder<T>(c)
        .get<&T::curName>(u"curName")
        .get<&T::curSeq>(u"curSeq")
        .method<&T::scriptAdd>(u"Add")
        .method<&T::count>(u"Count")
        .method<&T::remove>(u"Delete")
        .method<&T::item>(u"Item")
        .method<&T::scriptNewEnum>(u"NewEnum_db")
        .enumerator<&T::newEnum>();
  });
  return info;
}

AGPDatabase& AGPDatabases::at(std::size_t index) const {
  return itemAt<AGPDatabase>(*items_, index);
}

std::u16string AGPDatabases::curSeq() const {
  return seqText(curSeq_);
}

bool AGPDatabases::add(const std::u16string& name) {
  if (count() >= 1) {
    projectContext().lastErrorText = u"support 1 db only!";
    return false;
  }
  projectContext().lastErrorText.clear();
  auto db = makeRef<AGPDatabase>();
  db->setDbName(name);
  // The empty name cannot be a key; the database is then held without one.
  items_->add(Variant(db), name);
  curName_ = name;
  curSeq_ = static_cast<std::int16_t>(count());
  return true;
}

AGPDatabase* AGPDatabases::find(const std::u16string& name) const {
  if (AGPDatabase* db = keyedItem<AGPDatabase>(*items_, name)) return db;
  for (std::size_t i = 0, n = static_cast<std::size_t>(count()); i < n; ++i) {
    if (equalsNoCase(at(i).dbName(), name)) return &at(i);
  }
  return nullptr;
}

std::size_t AGPDatabases::resolve(const Variant& index) const {
  if (index.isString()) {
    if (AGPDatabase* db = find(index.stringValue())) {
      if (auto pos = positionOf(*items_, *db)) return *pos;
    }
    throw AutomationError(collection_error::kKeyNotFound, u"Key not found.");
  }
  Object* found = lookupItem(*items_, index);
  if (!found) {
    // Other kinds of index raise the collection's own error.
    (void)items_->item(index);
    raiseVbError(vberr::kSubscriptOutOfRange);
  }
  return *positionOf(*items_, *found);
}

void AGPDatabases::remove(const Variant& index) {
  removeAt(*items_, resolve(index));
}

bool AGPDatabases::removeDatabase(const AGPDatabase& db) {
  const std::optional<std::size_t> pos = positionOf(*items_, db);
  if (!pos) return false;
  removeAt(*items_, *pos);
  return true;
}

Ref<AGPDatabase> AGPDatabases::item(const Variant& index) {
  AGPDatabase& db = at(resolve(index));
  curName_ = db.dbName();
  return Ref<AGPDatabase>(&db);
}

}  // namespace vantorel
