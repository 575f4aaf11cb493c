#include "model/charts.hpp"

#include <algorithm>
#include <vector>

#include "foundation/captions.hpp"
#include "model/model_items.hpp"
#include "model/name_links.hpp"
#include "platform/automation/bind.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/case_fold.hpp"
#include "project/extension_cascade.hpp"
#include "project/language.hpp"

namespace vantorel {

AGPCharts::AGPCharts() : items_(makeRef<CSuperCollection>()) {
  items_->setCompareMode(1);
}

const ClassInfo& AGPCharts::classInfo() const noexcept {
  using T = AGPCharts;
  static const ClassInfo info(u"AGPCharts", [](ClassInfo& c) {
    ClassBuilder<T>(c)
        .get<&T::curName>(u"curName")
        .get<&T::curSeq>(u"curSeq")
        .method<&T::add>(u"Add")
        .method<&T::change>(u"Change")
        .method<&T::count>(u"Count")
        .method<&T::remove>(u"Delete")
        .method<&T::chartExist>(u"ChartExist")
        .method<&T::item>(u"Item")
        .method<&T::seq>(u"Seq")
        .method<&T::scriptNewEnum>(u"NewEnum_cht")
        .enumerator<&T::newEnum>();
  });
  return info;
}

AGPChart& AGPCharts::at(std::size_t index) const {
  return itemAt<AGPChart>(*items_, index);
}

std::u16string AGPCharts::curSeq() const {
  return seqText(curSeq_);
}

AGPChart* AGPCharts::findByKey(const std::u16string& key) const {
  return keyedItem<AGPChart>(*items_, key);
}

bool AGPCharts::chartExist(const Variant& index) const {
  return findByKey(indexText(index)) != nullptr;
}

bool AGPCharts::add(const std::u16string& tblName, const std::u16string& name) {
  if (name.empty()) return false;
  if (AGPChart* existing = findByKey(name)) {
    curName_ = name;
    curSeq_ = existing->chartSeq();
    return true;
  }
  // A chart renamed through its own ChartName answers to that name.
  if (auto stored = storedNameMatching<AGPChart>(*items_, name, kChartName)) {
    return change(tblName, *stored, name);
  }
  const std::int16_t seq = nextSeq(count());
  auto chart = makeRef<AGPChart>();
  chart->setChartName(name);
  chart->setChartVar(itemVarName(name));
  items_->add(Variant(chart), name);
  chart->setChartSeq(seq);
  chart->setChartCaption(NameToCaption(name));
  curName_ = name;
  curSeq_ = seq;
  return true;
}

bool AGPCharts::change(const std::u16string& tblName, const std::u16string& oldName,
                       const std::u16string& newName) {
  if (oldName.empty() || newName.empty()) return false;
  if (oldName == newName) return true;
  AGPChart* chart = findByKey(oldName);
  if (!chart) return false;
  if (!equalsNoCase(oldName, newName) && findByKey(newName)) return false;
  Ref<AGPChart> hold(chart);
  // Menus, phrases and extensions know the chart by the name it carries, which the caller may
  // have spelt in another case.
  const std::u16string stored = chart->chartName();
  items_->changeKey(oldName, newName);
  chart->setChartVar(itemVarName(newName));
  curName_ = newName;
  curSeq_ = chart->chartSeq();
  ExtRenameChart(tblName, stored, newName);
  renameChartMenus(tblName, stored, newName);
  // The user's captions and texts for the chart must survive its new name.
  renameChartPhrases(tblName, stored, newName);
  return true;
}

void AGPCharts::deleteAt(std::u16string_view tblName, std::size_t index) {
  Ref<AGPChart> chart(&at(index));
  const std::u16string name = chart->chartName();
  const std::int16_t removed = chart->chartSeq();
  for (std::size_t i = 0, n = static_cast<std::size_t>(count()); i < n; ++i) {
    AGPChart& c = at(i);
    const std::int16_t s = c.chartSeq();
    if (s >= removed) ignoringErrors([&] { c.setChartSeq(lowerSeq(s)); });
  }
  ignoringErrors([&] { ExtDeleteChart(tblName, name); });
  ignoringErrors([&] { deleteChartMenus(tblName, name); });
  ignoringErrors([&] { SharedLanguage().DeleteChartPhrase(std::u16string(tblName), name); });
  // Found again: a cascade step may have moved it.
  if (auto pos = positionOf(*items_, *chart)) removeAt(*items_, *pos);
}

bool AGPCharts::remove(const std::u16string& tblName, const Variant& index) {
  AGPChart* chart = findByKey(indexText(index));
  if (!chart) return false;
  if (auto pos = positionOf(*items_, *chart)) deleteAt(tblName, *pos);
  return true;
}

void AGPCharts::deleteAll(std::u16string_view tblName) {
  std::vector<std::pair<std::int16_t, Ref<AGPChart>>> order;
  for (std::size_t i = 0, n = static_cast<std::size_t>(count()); i < n; ++i) {
    order.emplace_back(at(i).chartSeq(), Ref<AGPChart>(&at(i)));
  }
  std::stable_sort(order.begin(), order.end(),
                   [](const auto& a, const auto& b) { return a.first > b.first; });
  for (const auto& [seq, chart] : order) {
    if (auto pos = positionOf(*items_, *chart)) deleteAt(tblName, *pos);
  }
}

Ref<AGPChart> AGPCharts::item(const Variant& index) {
  auto* chart = static_cast<AGPChart*>(lookupItem(*items_, index));
  if (!chart) return nullptr;
  curName_ = chart->chartName();
  curSeq_ = chart->chartSeq();
  return Ref<AGPChart>(chart);
}

Ref<AGPChart> AGPCharts::seq(std::int16_t index) const {
  for (std::size_t i = 0, n = static_cast<std::size_t>(count()); i < n; ++i) {
    AGPChart& chart = at(i);
    if (chart.chartSeq() == index) return Ref<AGPChart>(&chart);
  }
  return nullptr;
}

}  // namespace vantorel
