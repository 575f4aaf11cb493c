#include "project/master_detail.hpp"

#include <limits>
#include <utility>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/class_info.hpp"

namespace vantorel {

const ClassInfo& AGPMasterDetail::classInfo() const noexcept {
  return MemberTable<AGPMasterDetail>::get(u"AGPMasterDetail");
}

void AGPMasterDetail::setCurrentField(std::int16_t value) noexcept {
  if (value >= 1 && value <= fieldCount()) currentField_ = value;
}

const AGPMasterDetail::FieldPair* AGPMasterDetail::current() const noexcept {
  if (currentField_ < 1 || currentField_ > fieldCount()) return nullptr;
  return &pairs_[static_cast<std::size_t>(currentField_ - 1)];
}

AGPMasterDetail::FieldPair* AGPMasterDetail::current() noexcept {
  return const_cast<FieldPair*>(std::as_const(*this).current());
}

std::u16string AGPMasterDetail::currentMasterField() const {
  const FieldPair* pair = current();
  return pair ? pair->master : std::u16string();
}

void AGPMasterDetail::setCurrentMasterField(const std::u16string& value) {
  if (FieldPair* pair = current()) pair->master = value;
}

std::u16string AGPMasterDetail::currentDetailField() const {
  const FieldPair* pair = current();
  return pair ? pair->detail : std::u16string();
}

void AGPMasterDetail::setCurrentDetailField(const std::u16string& value) {
  if (FieldPair* pair = current()) pair->detail = value;
}

bool AGPMasterDetail::addRelation(const std::u16string& masterField,
                                  const std::u16string& detailField) {
  if (masterField.empty() || detailField.empty()) return false;
  for (const FieldPair& pair : pairs_) {
    if (pair.master == masterField || pair.detail == detailField) return false;
  }
  // The count is a 16-bit Integer to scripts; past its range the add fails loudly rather than
  // leaving a count that no longer matches the pairs.
  if (pairs_.size() >= static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max())) {
    raiseVbError(vberr::kOverflow);
  }
  pairs_.push_back({masterField, detailField});
  currentField_ = fieldCount();
  return true;
}

bool AGPMasterDetail::deleteRelation(const std::u16string& masterField,
                                     const std::u16string& detailField) {
  if (masterField.empty() || detailField.empty()) return false;
  for (auto it = pairs_.begin(); it != pairs_.end(); ++it) {
    if (it->master != masterField && it->detail != detailField) continue;
    pairs_.erase(it);
    if (currentField_ > fieldCount()) currentField_ = fieldCount();
    return true;
  }
  return false;
}

std::u16string AGPMasterDetail::masterField(std::int16_t i) const {
  if (i < 1 || i > fieldCount()) return {};
  return pairs_[static_cast<std::size_t>(i - 1)].master;
}

std::u16string AGPMasterDetail::detailField(std::int16_t i) const {
  if (i < 1 || i > fieldCount()) return {};
  return pairs_[static_cast<std::size_t>(i - 1)].detail;
}

}  // namespace vantorel
