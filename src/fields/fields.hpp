#pragma once
// AGPFields: the fields of one table in the order they were added, keyed by name without
// regard to case, each numbered by its FldSeq (kept 1 to Count). Renames and deletions carry
// over to the field's phrases and extension settings, addressed by the owning table's name.
#include <cstdint>
#include <string>

#include "fields/field.hpp"
#include "foundation/named_collection.hpp"
#include "platform/automation/variant.hpp"

namespace vantorel {

class AGPFields final : public NamedCollection<AGPField> {
 public:
  const ClassInfo& classInfo() const noexcept override;

  // The field last added, renamed or looked up.
  const std::u16string& curName() const noexcept { return curName_; }
  std::int16_t curSeq() const noexcept { return curSeq_; }

  // False, adding nothing, for an empty name or one held in any case.
  bool add(const std::u16string& TblName, const std::u16string& Name);
  // Renames OldName (any case) to NewName, keeping position and FldSeq; the field's phrases and
  // extension settings follow. False, changing nothing, when refused.
  bool change(const std::u16string& TblName, const std::u16string& OldName,
              const std::u16string& NewName);
  // Deletes the field whose name is the text of Index (a number is a name, never a position),
  // closes the gap in the FldSeq numbers and removes its phrases and extension settings.
  bool remove(const std::u16string& TblName, const Variant& Index);
  // Deletes every field with its phrases and extension settings, highest FldSeq first; what the
  // owning table does when it is released. Holes or duplicates in FldSeq skip nothing.
  void removeAll(const std::u16string& TblName);
  bool fieldExist(const Variant& Index) const { return holdsKey(Index); }
  // By position (a number, from 1) or name (a text, any case); the found field becomes current.
  // Nothing when there is none; the current field then stays.
  Ref<AGPField> item(const Variant& Index);
  // The first field in position order whose FldSeq is Index; the current field stays.
  Ref<AGPField> seq(std::int16_t Index) const;
  void setItem(const Variant& Index);
  void setSeq(std::int16_t Index);

  Variant scriptDelete(const std::u16string& TblName, const Variant& Index) {
    return Variant(remove(TblName, Index));
  }

 private:
  void makeCurrent(AGPField& field);
};

}  // namespace vantorel
