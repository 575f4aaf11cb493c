#include "model/trends.hpp"

#include "model/model_items.hpp"
#include "platform/automation/bind.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/case_fold.hpp"

namespace vantorel {

AGPTrends::AGPTrends() : items_(makeRef<CSuperCollection>()) {
  items_->setCompareMode(1);
}

const ClassInfo& AGPTrends::classInfo() const noexcept {
  using T = AGPTrends;
  static const ClassInfo info(u"AGPTrends", [](ClassInfo& c) {
    ClassBuilder<T>(c)
        .get<&T::curName>(u"curName")
        .get<&T::curSeq>(u"curSeq")
        .method<&T::add>(u"Add")
        .method<&T::change>(u"Change")
        .method<&T::count>(u"Count")
        .method<&T::remove>(u"Delete")
        .method<&T::trendExist>(u"TrendExist")
        .method<&T::item>(u"Item")
        .method<&T::seq>(u"Seq")
        .method<&T::scriptNewEnum>(u"NewEnum_trend")
        .enumerator<&T::newEnum>();
  });
  return info;
}

AGPTrend& AGPTrends::at(std::size_t index) const {
  return itemAt<AGPTrend>(*items_, index);
}

std::u16string AGPTrends::curSeq() const {
  return seqText(curSeq_);
}

AGPTrend* AGPTrends::findByKey(const std::u16string& key) const {
  return keyedItem<AGPTrend>(*items_, key);
}

bool AGPTrends::trendExist(const Variant& index) const {
  return findByKey(indexText(index)) != nullptr;
}

bool AGPTrends::add(const std::u16string& name) {
  if (name.empty()) return false;
  if (AGPTrend* existing = findByKey(name)) {
    curName_ = name;
    curSeq_ = existing->trendSeq();
    return true;
  }
  if (auto stored = storedNameMatching<AGPTrend>(*items_, name, kTrendName)) {
    return change(*stored, name);
  }
  const std::int16_t seq = nextSeq(count());
  auto trend = makeRef<AGPTrend>();
  trend->setTrendName(name);
  items_->add(Variant(trend), name);
  trend->setTrendSeq(seq);
  curName_ = name;
  curSeq_ = seq;
  return true;
}

bool AGPTrends::change(const std::u16string& oldName, const std::u16string& newName) {
  if (oldName.empty() || newName.empty()) return false;
  AGPTrend* trend = findByKey(oldName);
  if (!trend) return false;
  Ref<AGPTrend> hold(trend);
  items_->changeKey(oldName, newName);
  curName_ = newName;
  curSeq_ = trend->trendSeq();
  return true;
}

bool AGPTrends::remove(const Variant& index) {
  const std::u16string key = indexText(index);
  AGPTrend* trend = findByKey(key);
  if (!trend) return false;
  const std::int16_t removed = trend->trendSeq();
  for (std::size_t i = 0, n = static_cast<std::size_t>(count()); i < n; ++i) {
    AGPTrend& t = at(i);
    const std::int16_t s = t.trendSeq();
    if (s >= removed) t.setTrendSeq(lowerSeq(s));
  }
  items_->remove(Variant(key));
  return true;
}

Ref<AGPTrend> AGPTrends::item(const Variant& index) {
  auto* trend = static_cast<AGPTrend*>(lookupItem(*items_, index));
  if (!trend) return nullptr;
  curName_ = trend->trendName();
  curSeq_ = trend->trendSeq();
  return Ref<AGPTrend>(trend);
}

Ref<AGPTrend> AGPTrends::seq(std::int16_t index) const {
  for (std::size_t i = 0, n = static_cast<std::size_t>(count()); i < n; ++i) {
    AGPTrend& trend = at(i);
    if (trend.trendSeq() == index) return Ref<AGPTrend>(&trend);
  }
  return nullptr;
}

}  // namespace vantorel
