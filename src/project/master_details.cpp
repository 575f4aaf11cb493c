#include "project/master_details.hpp"

#include "foundation/foundation_classes.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/class_info.hpp"
#include "project/advanced_filter.hpp"

namespace vantorel {

namespace {

std::u16string linkKey(const std::u16string& masterTable, const std::u16string& detailTable) {
  return masterTable + u"__" + detailTable;
}

}  // namespace

const ClassInfo& AGPMasterDetails::classInfo() const noexcept {
  return MemberTable<AGPMasterDetails>::get(u"AGPMasterDetails");
}

AGPMasterDetail* AGPMasterDetails::findLink(const std::u16string& masterTable,
                                            const std::u16string& detailTable) const {
  for (std::size_t i = 0, n = static_cast<std::size_t>(count()); i < n; ++i) {
    AGPMasterDetail& link = at(i);
    if (link.masterTable() == masterTable && link.detailTable() == detailTable) return &link;
  }
  return nullptr;
}

bool AGPMasterDetails::masterDetailExist(const std::u16string& masterTable,
                                         const std::u16string& detailTable) const {
  return findLink(masterTable, detailTable) != nullptr;
}

bool AGPMasterDetails::add(const std::u16string& masterTable, const std::u16string& detailTable) {
  if (masterTable.empty() || detailTable.empty()) return false;
  if (masterDetailExist(masterTable, detailTable)) {
    curMasterTable_ = masterTable;
    curDetailTable_ = detailTable;
    return true;
  }
  const std::int16_t seq = nextSeq(count());
  auto link = makeRef<AGPMasterDetail>();
  link->setMasterTable(masterTable);
  link->setDetailTable(detailTable);
  link->setSeq(seq);
  // A clashing key raises here; curSeq moves only once the link is in, so that it never names
  // a link that does not exist.
  append(link, linkKey(masterTable, detailTable));
  curSeq_ = seq;
  curMasterTable_ = masterTable;
  curDetailTable_ = detailTable;
  return true;
}

bool AGPMasterDetails::remove(const std::u16string& masterTable,
                              const std::u16string& detailTable) {
  if (masterTable.empty() || detailTable.empty()) return false;
  // The link goes as the object found by its exact names, not by key: a script may have
  // renamed a link's tables, after which its key would miss it or reach another link.
  AGPMasterDetail* link = findLink(masterTable, detailTable);
  if (!link) return false;
  closeSeqGap(link->seq(), &AGPMasterDetail::seq,
              [](AGPMasterDetail& l, std::int16_t s) { l.setSeq(lowerSeq(s)); });
  removeItem(*link);
  return true;
}

Ref<AGPMasterDetail> AGPMasterDetails::item(const std::u16string& masterTable,
                                            const std::u16string& detailTable) {
  AGPMasterDetail* link = findLink(masterTable, detailTable);
  if (!link) return nullptr;
  curMasterTable_ = masterTable;
  curDetailTable_ = detailTable;
  curSeq_ = link->seq();
  return Ref<AGPMasterDetail>(link);
}

Ref<AGPMasterDetail> AGPMasterDetails::seq(std::int16_t index) const {
  return Ref<AGPMasterDetail>(firstWithSeq(index, &AGPMasterDetail::seq));
}

void registerProjectLinkClasses(ClassFactory& factory) {
  registerEngineClass<AGPMasterDetail>(factory, u"AGPMasterDetail");
  registerEngineClass<AGPMasterDetails>(factory, u"AGPMasterDetails");
  registerEngineClass<AGPFilter>(factory, u"AGPFilter");
}

}  // namespace vantorel
