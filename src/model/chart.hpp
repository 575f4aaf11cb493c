#pragma once
// AGPChart: one chart of a table, its 37 settings in a bag declared from the chart catalog and
// defaulted from the user's ChartKey when the chart is made, and its trendlines.
#include <cstdint>
#include <string>

#include "foundation/properties.hpp"
#include "foundation/setting_catalog.hpp"
#include "model/trends.hpp"
#include "platform/automation/object.hpp"

namespace vantorel {

// The rows the engine itself reads or writes.
enum ChartSetting : SettingSlot {
  kChartSeq = 0,
  kChartName = 1,
  kChartVar = 2,
  kShowChart = 3,
  kChartCaption = 16,
};

const SettingCatalog& chartCatalog();

class AGPChart final : public Object {
 public:
  // Declares the catalog and reads the registry defaults.
  AGPChart();

  const ClassInfo& classInfo() const noexcept override;

  AGProperties& properties();
  Ref<AGProperties> scriptProperties() { return Ref<AGProperties>(&properties()); }
  // Any setting by name as text; an undeclared name is declared as a saved "String" row.
  std::u16string GetV(const std::u16string& name);
  // Converted by the row's type; an undeclared name is declared and keeps the text as given.
  Variant SetV(const std::u16string& name, const std::u16string& value);
  AGPTrends& trendlines();
  Ref<AGPTrends> scriptTrendlines() { return Ref<AGPTrends>(&trendlines()); }

  std::int16_t chartSeq();
  void setChartSeq(std::int16_t seq);
  // Key and ChartName are one setting; the collection key does not follow them.
  std::u16string chartName();
  void setChartName(const std::u16string& name);
  std::u16string chartVar();
  void setChartVar(const std::u16string& name);
  std::u16string chartCaption();
  void setChartCaption(const std::u16string& caption);

 private:
  Ref<AGProperties> properties_;
  Ref<AGPTrends> trendlines_;
};

}  // namespace vantorel
