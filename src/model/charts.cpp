#include "model/charts.hpp"

#include "foundation/captions.hpp"
#include "model/model_items.hpp"
#include "model/name_links.hpp"
#include "platform/automation/class_info.hpp"
#include "project/extension_cascade.hpp"
#include "project/language.hpp"

namespace vantorel {

const ClassInfo& AGPCharts::classInfo() const noexcept {
  return MemberTable<AGPCharts>::get(u"AGPCharts");
}

std::u16string AGPCharts::curSeq() const {
  return seqText(curSeq_);
}

bool AGPCharts::add(const std::u16string& tblName, const std::u16string& name) {
  // A chart renamed through its own ChartName answers to that name.
  return addNamed(
      name, kChartName, HeldName::MadeCurrent,
      [&](const std::u16string& stored) { return change(tblName, stored, name); },
      [&](AGPChart& chart) {
        chart.setChartName(name);
        chart.setChartVar(itemVarName(name));
      },
      [&](AGPChart& chart, std::int16_t number) {
        chart.setChartSeq(number);
        chart.setChartCaption(NameToCaption(name));
      },
      &AGPChart::chartSeq);
}

bool AGPCharts::change(const std::u16string& tblName, const std::u16string& oldName,
                       const std::u16string& newName) {
  // Menus, phrases and extensions know the chart by the name it carries, which the caller may
  // have spelt in another case.
  std::u16string stored;
  return changeNamed(
      oldName, newName, Clash::Refused,
      [&](AGPChart& chart) {
        stored = chart.chartName();
        items().changeKey(oldName, newName);
        chart.setChartVar(itemVarName(newName));
        return chart.chartSeq();
      },
      [&](AGPChart&) {
        ExtRenameChart(tblName, stored, newName);
        renameChartMenus(tblName, stored, newName);
        // The user's captions and texts for the chart must survive its new name.
        renameChartPhrases(tblName, stored, newName);
      });
}

void AGPCharts::deleteChart(std::u16string_view tblName, AGPChart& doomed) {
  Ref<AGPChart> chart(&doomed);
  const std::u16string name = chart->chartName();
  closeSeqGap(chart->chartSeq(), &AGPChart::chartSeq, [](AGPChart& c, std::int16_t s) {
    ignoringErrors([&] { c.setChartSeq(lowerSeq(s)); });
  });
  ignoringErrors([&] { ExtDeleteChart(tblName, name); });
  ignoringErrors([&] { deleteChartMenus(tblName, name); });
  ignoringErrors([&] { SharedLanguage().DeleteChartPhrase(std::u16string(tblName), name); });
  // Found again: a cascade step may have moved it.
  removeItem(*chart);
}

bool AGPCharts::remove(const std::u16string& tblName, const Variant& index) {
  AGPChart* chart = find(indexText(index));
  if (!chart) return false;
  deleteChart(tblName, *chart);
  return true;
}

void AGPCharts::deleteAll(std::u16string_view tblName) {
  for (const Ref<AGPChart>& chart :
       highestSeqFirst(&AGPChart::chartSeq, EqualSeqs::InPositionOrder)) {
    if (positionOf(*chart)) deleteChart(tblName, *chart);
  }
}

Ref<AGPChart> AGPCharts::item(const Variant& index) {
  AGPChart* chart = lookup(index);
  if (!chart) return nullptr;
  curName_ = chart->chartName();
  curSeq_ = chart->chartSeq();
  return Ref<AGPChart>(chart);
}

Ref<AGPChart> AGPCharts::seq(std::int16_t index) const {
  return Ref<AGPChart>(firstWithSeq(index, &AGPChart::chartSeq));
}

}  // namespace vantorel
