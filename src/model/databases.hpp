#pragma once
// AGPDatabases: the collection that holds a project's database, keyed by the name it was added
// under (without regard to case). It accepts one database only.
#include <cstddef>
#include <cstdint>
#include <string>

#include "foundation/model_collection.hpp"
#include "model/database.hpp"

namespace vantorel {

class AGPDatabases final : public ModelCollection<AGPDatabase> {
 public:
  const ClassInfo& classInfo() const noexcept override;

  const std::u16string& curName() const noexcept { return curName_; }
  std::u16string curSeq() const;

  // Adds a new database named Name (any name, "" included); while one is held, changes nothing
  // and gives False.
  bool add(const std::u16string& name);
  // By key or position, as the collection finds it: a database keeps the key it was added
  // under when its DBName changes. A missing key raises "Key not found." and a position out of
  // range error 9, with nothing removed.
  void remove(const Variant& index);
  // Removes this database object whatever its name or key; False when it is not held. What
  // DeleteProj uses, so that a database renamed since it was added goes too.
  bool removeDatabase(const AGPDatabase& db) { return removeItem(db); }
  // By key or position, made current; a missing one raises as remove does.
  Ref<AGPDatabase> item(const Variant& index);

  // Add as scripts call it: empties LastErrorText, or leaves "support 1 db only!" there.
  void scriptAdd(const std::u16string& name);

 private:
  // The 0-based position Index names; raises for a missing key or a position out of range.
  std::size_t resolve(const Variant& index) const;

  std::u16string curName_;
  std::int16_t curSeq_ = 0;
};

}  // namespace vantorel
