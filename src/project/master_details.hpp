#pragma once
// AGPMasterDetails: the master/detail links of whoever creates the collection, in the order
// they were added. Keys (MasterTable & "__" & DetailTable) compare without regard to case,
// while finding a link by its table names compares them exactly.
#include <cstdint>
#include <string>

#include "foundation/model_collection.hpp"
#include "platform/automation/class_factory.hpp"
#include "project/master_detail.hpp"

namespace vantorel {

class AGPMasterDetails final : public ModelCollection<AGPMasterDetail> {
 public:
  const ClassInfo& classInfo() const noexcept override;

  // The link last added or found.
  const std::u16string& curMasterTable() const noexcept { return curMasterTable_; }
  const std::u16string& curDetailTable() const noexcept { return curDetailTable_; }
  std::int16_t curSeq() const noexcept { return curSeq_; }

  // False for an empty name. An existing link (exact names) becomes current by name and True
  // is returned. A new link whose key clashes with another's (names differing only in case,
  // or splitting the same joined text) raises the collection's duplicate-key error.
  bool add(const std::u16string& masterTable, const std::u16string& detailTable);
  // Removes the link and closes the gap in the Seq numbers behind it.
  bool remove(const std::u16string& masterTable, const std::u16string& detailTable);
  bool masterDetailExist(const std::u16string& masterTable,
                         const std::u16string& detailTable) const;
  // The link with exactly these names, made current; nullptr when there is none.
  Ref<AGPMasterDetail> item(const std::u16string& masterTable, const std::u16string& detailTable);
  // The first link, in collection order, whose Seq is index; the current link stays.
  Ref<AGPMasterDetail> seq(std::int16_t index) const;

 private:
  // The first link with exactly these names.
  AGPMasterDetail* findLink(const std::u16string& masterTable,
                            const std::u16string& detailTable) const;

  std::u16string curMasterTable_;
  std::u16string curDetailTable_;
  std::int16_t curSeq_ = 0;
};

// Makes AGPMasterDetail, AGPMasterDetails and AGPFilter creatable as "vantorel4.<class>".
void registerProjectLinkClasses(ClassFactory& factory);

}  // namespace vantorel
