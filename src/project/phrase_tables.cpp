#include "project/phrase_tables.hpp"

#include "platform/automation/automation_error.hpp"
#include "platform/text/case_fold.hpp"

namespace vantorel {

std::u16string PhraseList::phrase(std::u16string_view id) const {
  const auto found = byLowerId_.find(toLower(id));
  return found == byLowerId_.end() ? std::u16string() : entries_[found->second].Phrase;
}

bool PhraseList::add(std::u16string_view id, std::u16string_view phrase) {
  std::u16string key = toLower(id);
  if (byLowerId_.contains(key)) return false;
  if (count() >= kCapacity) raiseVbError(vberr::kOverflow);
  byLowerId_.emplace(std::move(key), entries_.size());
  entries_.push_back({std::u16string(id), std::u16string(phrase)});
  return true;
}

bool PhraseList::replace(std::u16string_view id, std::u16string_view phrase) {
  const auto found = byLowerId_.find(toLower(id));
  if (found == byLowerId_.end()) return false;
  entries_[found->second].Phrase = phrase;
  return true;
}

void PhraseList::clear() noexcept {
  entries_.clear();
  byLowerId_.clear();
}

void PhraseState::clear() noexcept {
  list.clear();
  project.clear();
  menu.clear();
  table.clear();
  chart.clear();
  field.clear();
}

}  // namespace vantorel
