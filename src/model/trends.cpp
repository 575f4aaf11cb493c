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
  if (name.empty()) return false;
  if (AGPTrend* existing = find(name)) {
    curName_ = name;
    curSeq_ = existing->trendSeq();
    return true;
  }
  if (auto stored = storedNameMatching(name, kTrendName)) return change(*stored, name);
  const std::int16_t seq = appendNew(
      name, [&](AGPTrend& trend) { trend.setTrendName(name); }, &AGPTrend::setTrendSeq);
  curName_ = name;
  curSeq_ = seq;
  return true;
}

bool AGPTrends::change(const std::u16string& oldName, const std::u16string& newName) {
  if (oldName.empty() || newName.empty()) return false;
  AGPTrend* trend = find(oldName);
  if (!trend) return false;
  Ref<AGPTrend> hold(trend);
  items().changeKey(oldName, newName);
  curName_ = newName;
  curSeq_ = trend->trendSeq();
  return true;
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
