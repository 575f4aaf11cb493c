#include "project/master_details.hpp"

#include <limits>
#include <optional>

#include "foundation/foundation_classes.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/bind.hpp"
#include "project/advanced_filter.hpp"

namespace vantorel {

namespace {

std::u16string linkKey(const std::u16string& masterTable, const std::u16string& detailTable) {
  return masterTable + u"__" + detailTable;
}


}  // namespace

AGPMasterDetails::AGPMasterDetails() : links_(makeRef<CSuperCollection>()) {
  links_->setCompareMode(1);
}

const ClassInfo& AGPMasterDetails::classInfo() const noexcept {
  using T = AGPMasterDetails;
  static const ClassInfo info(u"AGPMasterDetails", [](ClassInfo& c) {
    ClassBuilder<T>(c)
        .get<&T::curMasterTable>(u"curMasterTable")
        .get<&T::curDetailTable>(u"curDetailTable")
        .get<&T::curSeq>(u"curSeq")
        .method<&T::add>(u"Add")
        .method<&T::count>(u"Count")
        .method<&T::remove>(u"Delete")
        .method<&T::masterDetailExist>(u"MasterDetailExist")
        .method<&T::item>(u"Item")
        .method<&T::seq>(u"Seq")
        .method<&T::scriptNewEnum>(u"NewEnum_md")
        .enumerator<&T::newEnum>();
  });
  return info;
}

AGPMasterDetail& AGPMasterDetails::at(std::size_t index) const {
  // The collection is private and holds nothing but links.
  return *static_cast<AGPMasterDetail*>(links_->valueAt(index).objectValue());
}

std::optional<std::size_t> AGPMasterDetails::find(const std::u16string& masterTable,
                                                  const std::u16string& detailTable) const {
  for (std::size_t i = 0, n = static_cast<std::size_t>(count()); i < n; ++i) {
    const AGPMasterDetail& link = at(i);
    if (link.masterTable() == masterTable && link.detailTable() == detailTable) return i;
  }
  return std::nullopt;
}

bool AGPMasterDetails::masterDetailExist(const std::u16string& masterTable,
                                         const std::u16string& detailTable) const {
  return find(masterTable, detailTable).has_value();
}

bool AGPMasterDetails::add(const std::u16string& masterTable, const std::u16string& detailTable) {
  if (masterTable.empty() || detailTable.empty()) return false;
  if (masterDetailExist(masterTable, detailTable)) {
    curMasterTable_ = masterTable;
    curDetailTable_ = detailTable;
    return true;
  }
  if (count() >= std::numeric_limits<std::int16_t>::max()) raiseVbError(vberr::kOverflow);
  const auto seq = static_cast<std::int16_t>(count() + 1);
  auto link = makeRef<AGPMasterDetail>();
  link->setMasterTable(masterTable);
  link->setDetailTable(detailTable);
  link->setSeq(seq);
  // A clashing key raises here; curSeq moves only once the link is in, so that it never names
  // a link that does not exist.
  links_->add(Variant(link), linkKey(masterTable, detailTable));
  curSeq_ = seq;
  curMasterTable_ = masterTable;
  curDetailTable_ = detailTable;
  return true;
}

bool AGPMasterDetails::remove(const std::u16string& masterTable,
                              const std::u16string& detailTable) {
  if (masterTable.empty() || detailTable.empty()) return false;
  // The link goes by the position where its exact names were found, not by key: a script may
  // have renamed a link's tables, after which its key would miss it or reach another link.
  const std::optional<std::size_t> found = find(masterTable, detailTable);
  if (!found) return false;
  const std::int16_t removedSeq = at(*found).seq();
  for (std::size_t i = 0, n = static_cast<std::size_t>(count()); i < n; ++i) {
    AGPMasterDetail& link = at(i);
    // A Seq at the bottom of the range cannot go lower; such a link keeps its number.
    if (link.seq() >= removedSeq && link.seq() > std::numeric_limits<std::int16_t>::min()) {
      link.setSeq(static_cast<std::int16_t>(link.seq() - 1));
    }
  }
  links_->remove(Variant(static_cast<std::int32_t>(*found) + links_->baseIndex()));
  return true;
}

Ref<AGPMasterDetail> AGPMasterDetails::item(const std::u16string& masterTable,
                                            const std::u16string& detailTable) {
  const std::optional<std::size_t> found = find(masterTable, detailTable);
  if (!found) return nullptr;
  AGPMasterDetail& link = at(*found);
  curMasterTable_ = masterTable;
  curDetailTable_ = detailTable;
  curSeq_ = link.seq();
  return Ref<AGPMasterDetail>(&link);
}

Ref<AGPMasterDetail> AGPMasterDetails::seq(std::int16_t index) const {
  for (std::size_t i = 0, n = static_cast<std::size_t>(count()); i < n; ++i) {
    AGPMasterDetail& link = at(i);
    if (link.seq() == index) return Ref<AGPMasterDetail>(&link);
  }
  return nullptr;
}

void registerProjectLinkClasses(ClassFactory& factory) {
  registerEngineClass<AGPMasterDetail>(factory, u"AGPMasterDetail");
  registerEngineClass<AGPMasterDetails>(factory, u"AGPMasterDetails");
  registerEngineClass<AGPFilter>(factory, u"AGPFilter");
}

}  // namespace vantorel
