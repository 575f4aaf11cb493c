#include "model/trends.hpp"

#include "model/model_items.hpp"
#include "platform/automation/class_info.hpp"

namespace vantorel {

const ClassInfo& AGPTrends::classInfo() const noexcept {
  return MemberTable<AGPTrends>::get(u"AGPTrends");
}

std::u16string AGPTrends::curSeq() const {
  return seqText(curSeq_);
}

bool AGPTrends::add(const std::u16string& name) {
  return addNamed(
      name, kTrendName, HeldName::MadeCurrent,
      [&](const std::u16string& stored) { return change(stored, name); },
      [&](AGPTrend& trend) { trend.setTrendName(name); }, &AGPTrend::setTrendSeq,
      &AGPTrend::trendSeq);
}

bool AGPTrends::change(const std::u16string& oldName, const std::u16string& newName) {
  return changeNamed(
      oldName, newName, Clash::Raised,
      [&](AGPTrend& trend) {
        items().changeKey(oldName, newName);
        return trend.trendSeq();
      },
      [](AGPTrend&) {});
}

bool AGPTrends::remove(const Variant& index) {
  const std::u16string key = indexText(index);
  AGPTrend* trend = find(key);
  if (!trend) return false;
  closeSeqGap(trend->trendSeq(), &AGPTrend::trendSeq,
              [](AGPTrend& t, std::int16_t s) { t.setTrendSeq(lowerSeq(s)); });
  items().remove(Variant(key));
  return true;
}

Ref<AGPTrend> AGPTrends::item(const Variant& index) {
  AGPTrend* trend = lookup(index);
  if (!trend) return nullptr;
  curName_ = trend->trendName();
  curSeq_ = trend->trendSeq();
  return Ref<AGPTrend>(trend);
}

Ref<AGPTrend> AGPTrends::seq(std::int16_t index) const {
  return Ref<AGPTrend>(firstWithSeq(index, &AGPTrend::trendSeq));
}

}  // namespace vantorel
