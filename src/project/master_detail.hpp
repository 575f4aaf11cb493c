#pragma once
// AGPMasterDetail: one master/detail link, a master table tied to a detail table through pairs
// of fields (master field i must match detail field i). Field names compare exactly.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/automation/object.hpp"
#include "platform/automation/variant.hpp"

namespace vantorel {

class AGPMasterDetail final : public Object {
 public:
  const ClassInfo& classInfo() const noexcept override;

  std::int16_t seq() const noexcept { return seq_; }
  void setSeq(std::int16_t value) noexcept { seq_ = value; }
  const std::u16string& masterTable() const noexcept { return masterTable_; }
  void setMasterTable(const std::u16string& value) { masterTable_ = value; }
  const std::u16string& detailTable() const noexcept { return detailTable_; }
  void setDetailTable(const std::u16string& value) { detailTable_ = value; }

  std::int16_t fieldCount() const noexcept { return static_cast<std::int16_t>(pairs_.size()); }
  // The selected pair, 0 when there is none. A write outside 1..FieldCount is ignored.
  std::int16_t currentField() const noexcept { return currentField_; }
  void setCurrentField(std::int16_t value) noexcept;
  // The names of the selected pair; "" and ignored writes when no pair is selected. Writes do
  // not check that names stay unique within the link.
  std::u16string currentMasterField() const;
  void setCurrentMasterField(const std::u16string& value);
  std::u16string currentDetailField() const;
  void setCurrentDetailField(const std::u16string& value);

  // Appends the pair and selects it; False for an empty name or when either name is already
  // used on its side of some pair.
  bool addRelation(const std::u16string& masterField, const std::u16string& detailField);
  // Removes the first pair whose master field or detail field matches (either one suffices).
  bool deleteRelation(const std::u16string& masterField, const std::u16string& detailField);
  // The names at pair i (1-based); "" outside 1..FieldCount.
  std::u16string masterField(std::int16_t i) const;
  std::u16string detailField(std::int16_t i) const;

  // Scripts get the results of these two as Variants holding a Boolean.
  Variant scriptAddRelation(const std::u16string& masterField, const std::u16string& detailField) {
    return Variant(addRelation(masterField, detailField));
  }
  Variant scriptDeleteRelation(const std::u16string& masterField,
                               const std::u16string& detailField) {
    return Variant(deleteRelation(masterField, detailField));
  }

 private:
  struct FieldPair {
    std::u16string master;
    std::u16string detail;
  };
  const FieldPair* current() const noexcept;
  FieldPair* current() noexcept;

  std::u16string masterTable_;
  std::u16string detailTable_;
  std::vector<FieldPair> pairs_;
  std::int16_t seq_ = 0;
  std::int16_t currentField_ = 0;
};

}  // namespace vantorel
