#include "model/trend.hpp"

#include "foundation/project_context.hpp"
#include "foundation/registry_defaults.hpp"
#include "foundation/setting_members.hpp"
#include "model/model_items.hpp"
#include "platform/automation/class_info.hpp"
#include "platform/automation/variant_convert.hpp"

namespace vantorel {

const SettingCatalog& trendCatalog() {
  static const SettingCatalog catalog{
      {u"TrendSeq", u"Integer", false, 0, false, false},
      {u"TrendName", u"String", false, 0, true, false},
      {u"TrendShow", u"Boolean", false, 0, true, true},
      // Declared with the number format although they hold floating-point values.
      {u"TrendStartValue", u"Double", true, 4, true, true},
      {u"TrendEndValue", u"Double", true, 4, true, true},
      {u"TrendColor", u"String", true, 1, true, true},
      {u"TrendDisplayValue", u"String", true, 1, true, true},
      {u"TrendThickness", u"Integer", true, 4, true, true},
      {u"TrendIsTrendZone", u"Boolean", true, 1, true, true},
      {u"TrendShowOnTop", u"Boolean", true, 1, true, true},
      {u"TrendAlpha", u"Integer", true, 4, true, true},
  };
  return catalog;
}
static_assert(kTrendAlpha + 1 == 11);

AGPTrend::AGPTrend() {
  loadRegistryDefaults(properties(), projectContext().trendlineKey, MissingDefault::TypedZero);
}

const ClassInfo& AGPTrend::classInfo() const noexcept {
  return MemberTable<AGPTrend>::get(u"AGPTrend");
}

AGProperties& AGPTrend::properties() {
  if (!properties_) properties_ = makeRef<AGProperties>(trendCatalog());
  return *properties_;
}

std::int16_t AGPTrend::trendSeq() {
  return storedSeq(properties().setting(kTrendSeq));
}

void AGPTrend::setTrendSeq(std::int16_t seq) {
  properties().setting(kTrendSeq) = Variant(seq);
}

std::u16string AGPTrend::trendName() {
  return storedText(properties().setting(kTrendName));
}

void AGPTrend::setTrendName(const std::u16string& name) {
  properties().setting(kTrendName) = Variant(name);
}

}  // namespace vantorel
