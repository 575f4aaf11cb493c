#include "model/chart.hpp"

#include "foundation/project_context.hpp"
#include "foundation/registry_defaults.hpp"
#include "foundation/setting_access.hpp"
#include "foundation/setting_members.hpp"
#include "model/model_items.hpp"
#include "platform/automation/class_info.hpp"
#include "platform/automation/variant_convert.hpp"

namespace vantorel {

const SettingCatalog& chartCatalog() {
  static const SettingCatalog catalog{
      {u"ChartSeq", u"Integer", false, 0, false, false},
      {u"ChartName", u"String", false, 0, true, false},
      {u"ChartVar", u"String", false, 0, false, false},
      {u"ShowChart", u"Boolean", true, 1, true, true},
      {u"ChartXFldName", u"String", false, 0, true, true},
      {u"ChartYFldName", u"String", false, 0, true, true},
      {u"ChartSeriesYAxis", u"String", false, 0, true, true},
      {u"ChartNameFldName", u"String", false, 0, true, true},
      {u"ChartSeriesFldName", u"String", false, 0, true, true},
      {u"ChartSeriesFldOrder", u"String", false, 0, true, true},
      {u"ChartSummaryType", u"String", false, 0, true, true},
      {u"ChartType", u"Integer", true, 4, true, true},
      {u"ChartSeriesType", u"Integer", true, 4, true, true},
      {u"ChartWidth", u"Integer", true, 4, true, true},
      {u"ChartHeight", u"Integer", true, 4, true, true},
      {u"ChartBgColor", u"String", true, 1, true, true},
      {u"ChartCaption", u"String", false, 0, true, true},
      {u"ChartChartBgColor", u"String", true, 1, true, true},
      {u"ChartChartBorderColor", u"String", true, 1, true, true},
      {u"ChartNumGridLines", u"Integer", true, 4, true, true},
      {u"ChartGridColor", u"String", true, 1, true, true},
      {u"ChartXAxisName", u"String", false, 0, true, true},
      {u"ChartXAxisNameRotated", u"Boolean", true, 1, true, true},
      {u"ChartYAxisName", u"String", false, 0, true, true},
      {u"ChartPYAxisName", u"String", false, 0, true, true},
      {u"ChartSYAxisName", u"String", false, 0, true, true},
      {u"ChartYAxisNameRotated", u"Boolean", true, 1, true, true},
      {u"ChartYAxisMinValue", u"Long", true, 4, true, true},
      {u"ChartYAxisMaxValue", u"Long", true, 4, true, true},
      {u"ChartShowNames", u"Boolean", true, 1, true, true},
      {u"ChartShowValues", u"Boolean", true, 1, true, true},
      {u"ChartShowHover", u"Boolean", true, 1, true, true},
      {u"ChartAlpha", u"Integer", true, 4, true, true},
      {u"ChartColorPalette", u"String", true, 1, true, true},
      {u"ChartSortType", u"Integer", true, 4, true, true},
      {u"ChartSortSeq", u"String", true, 1, true, true},
      {u"ChartPosition", u"Integer", true, 4, true, true},
  };
  return catalog;
}

AGPChart::AGPChart() {
  loadRegistryDefaults(properties(), projectContext().chartKey, MissingDefault::TypedZero);
}

const ClassInfo& AGPChart::classInfo() const noexcept {
  return MemberTable<AGPChart>::get(u"AGPChart");
}

AGProperties& AGPChart::properties() {
  if (!properties_) properties_ = makeRef<AGProperties>(chartCatalog());
  return *properties_;
}

std::u16string AGPChart::GetV(const std::u16string& name) {
  return toString(getSettingText(properties(), name));
}

Variant AGPChart::SetV(const std::u16string& name, const std::u16string& value) {
  setSettingConverted(properties(), name, Variant(value));
  return Variant();
}

AGPTrends& AGPChart::trendlines() {
  if (!trendlines_) trendlines_ = makeRef<AGPTrends>();
  return *trendlines_;
}

std::int16_t AGPChart::chartSeq() {
  return storedSeq(properties().setting(kChartSeq));
}

void AGPChart::setChartSeq(std::int16_t seq) {
  properties().setting(kChartSeq) = Variant(seq);
}

std::u16string AGPChart::chartName() {
  return storedText(properties().setting(kChartName));
}

void AGPChart::setChartName(const std::u16string& name) {
  properties().setting(kChartName) = Variant(name);
}

std::u16string AGPChart::chartVar() {
  return toString(properties().setting(kChartVar));
}

void AGPChart::setChartVar(const std::u16string& name) {
  properties().setting(kChartVar) = Variant(name);
}

std::u16string AGPChart::chartCaption() {
  return toString(properties().setting(kChartCaption));
}

void AGPChart::setChartCaption(const std::u16string& caption) {
  properties().setting(kChartCaption) = Variant(caption);
}

}  // namespace vantorel
