#pragma once
// AGPTrend: one trendline or trend zone of a chart, its settings in a bag declared from the
// trendline catalog and defaulted from the user's TrendlineKey when the trendline is made.
#include <cstdint>
#include <string>

#include "foundation/properties.hpp"
#include "foundation/setting_catalog.hpp"
#include "platform/automation/object.hpp"

namespace vantorel {

enum TrendSetting : SettingSlot {
  kTrendSeq,
  kTrendName,
  kTrendShow,
  kTrendStartValue,
  kTrendEndValue,
  kTrendColor,
  kTrendDisplayValue,
  kTrendThickness,
  kTrendIsTrendZone,
  kTrendShowOnTop,
  kTrendAlpha,
};

const SettingCatalog& trendCatalog();

class AGPTrend final : public Object {
 public:
  // Declares the catalog and reads the registry defaults.
  AGPTrend();

  const ClassInfo& classInfo() const noexcept override;

  AGProperties& properties();
  Ref<AGProperties> scriptProperties() { return Ref<AGProperties>(&properties()); }

  std::int16_t trendSeq();
  void setTrendSeq(std::int16_t seq);
  // Key and TrendName are one setting; the collection key does not follow them.
  std::u16string trendName();
  void setTrendName(const std::u16string& name);

 private:
  Ref<AGProperties> properties_;
};

}  // namespace vantorel
