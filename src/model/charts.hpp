#pragma once
// AGPCharts: the charts of one table, keyed by name without regard to case and numbered 1 to
// Count in their ChartSeq. A rename or deletion is carried to the chart's menu entries, phrases
// and extension entries; the collection does not know its table, so callers pass its name.
#include <cstdint>
#include <string>
#include <string_view>

#include "foundation/named_collection.hpp"
#include "model/chart.hpp"

namespace vantorel {

class AGPCharts final : public NamedCollection<AGPChart> {
 public:
  const ClassInfo& classInfo() const noexcept override;

  const std::u16string& curName() const noexcept { return curName_; }
  std::u16string curSeq() const;

  // False for "". An existing key becomes current (curName as passed) and gives True; nothing
  // is created then.
  bool add(const std::u16string& tblName, const std::u16string& name);
  // True for two equal names; False, changing nothing, for a missing OldName or a NewName that
  // another chart holds.
  bool change(const std::u16string& tblName, const std::u16string& oldName,
              const std::u16string& newName);
  bool remove(const std::u16string& tblName, const Variant& index);
  bool chartExist(const Variant& index) const { return holdsKey(index); }
  Ref<AGPChart> item(const Variant& index);
  Ref<AGPChart> seq(std::int16_t index) const;

  // Deletes every chart, highest ChartSeq first, each with its cascade. Unlike a walk of Seq 1
  // to Count it reaches every chart whatever numbers they carry.
  void deleteAll(std::u16string_view tblName);

 private:
  // The deletion with its cascade; every step runs even when one before failed.
  void deleteChart(std::u16string_view tblName, AGPChart& chart);
};

}  // namespace vantorel
