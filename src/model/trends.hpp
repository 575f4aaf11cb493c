#pragma once
// AGPTrends: a chart's trendlines in the order they were added, keyed by name without regard
// to case, numbered 1 to Count in their TrendSeq.
#include <cstdint>
#include <string>

#include "foundation/named_collection.hpp"
#include "model/trend.hpp"

namespace vantorel {

class AGPTrends final : public NamedCollection<AGPTrend> {
 public:
  const ClassInfo& classInfo() const noexcept override;

  const std::u16string& curName() const noexcept { return curName_; }
  std::u16string curSeq() const;

  // False for "". An existing key becomes current (curName as passed) and gives True.
  bool add(const std::u16string& name);
  // False for an empty name or a missing OldName; a NewName held by another trendline raises
  // the collection's duplicate-key error and changes nothing.
  bool change(const std::u16string& oldName, const std::u16string& newName);
  // By key only; renumbers the trendlines behind the deleted one.
  bool remove(const Variant& index);
  // The index as text, looked up as a key.
  bool trendExist(const Variant& index) const { return holdsKey(index); }
  Ref<AGPTrend> item(const Variant& index);
  Ref<AGPTrend> seq(std::int16_t index) const;
};

}  // namespace vantorel
