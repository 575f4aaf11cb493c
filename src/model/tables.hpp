#pragma once
// AGPTables: a database's tables, views, custom views and reports, keyed by name without regard
// to case and numbered 1 to Count in their TblSeq, with a current table for template loops. A
// rename or deletion is carried to the table's variable name, menu entries, charts, phrases,
// extension settings and custom scripts.
#include <cstdint>
#include <functional>
#include <string>

#include "foundation/named_collection.hpp"
#include "model/table.hpp"

namespace vantorel {

class AGPTables final : public NamedCollection<AGPTable> {
 public:
  const ClassInfo& classInfo() const noexcept override;

  const std::u16string& curName() const noexcept { return curName_; }
  std::int16_t curSeq() const noexcept { return curSeq_; }

  // False, changing nothing, for "" or a name held in any case.
  bool add(const std::u16string& name);
  // True for two equal names; False, changing nothing, for a missing OldName or a NewName that
  // another table holds.
  bool change(const std::u16string& oldName, const std::u16string& newName);
  bool remove(const std::u16string& index);
  // The index as text, looked up as a key; a number is a name, never a position.
  bool tableExist(const Variant& index) const { return holdsKey(index); }
  Ref<AGPTable> item(const Variant& index);
  Ref<AGPTable> seq(std::int16_t index) const;
  void setItem(const Variant& index);
  void setSeq(std::int16_t index);

  // Deletes every table with its cascade, highest TblSeq first, whatever numbers they carry;
  // before(table) and after() run around each deletion (the database's progress display).
  void removeAll(const std::function<void(AGPTable&)>& before, const std::function<void()>& after);

 private:
  // The deletion with its cascade; every step runs even when one before failed.
  void deleteTable(AGPTable& table);
  void makeCurrent(AGPTable& table);
};

}  // namespace vantorel
