// AGP.LoadChart and AGP.CopyChart: a new chart of a table, empty or as a copy of another chart
// of the same table with its synchronised settings and its trendlines.
#include <cstdint>

#include "agp/agp.hpp"
#include "agp/entry_steps.hpp"
#include "agp/extension_hooks.hpp"
#include "agp/menu_sync.hpp"
#include "foundation/project_context.hpp"
#include "foundation/synced_settings.hpp"
#include "model/database.hpp"

namespace vantorel {

namespace {

// The table a chart entry works on, or nullptr with the entry's message left.
Ref<AGPTable> chartSource(AGP& project, const std::u16string& sTableName) {
  ProjectContext& context = projectContext();
  const Ref<AGPDatabase> db = project.DB();
  if (!db) {
    context.lastErrorText = databaseNotLoaded();
    return nullptr;
  }
  AGPTables& tables = db->tables();
  if (!tables.tableExist(Variant(sTableName))) {
    context.lastErrorText = titledMessage(u"Chart source " + sTableName + u" not exist!");
    return nullptr;
  }
  return tables.item(Variant(sTableName));
}

// Adds the chart unless its name is taken; false with the entry's message left.
bool addChart(AGPTable& table, const std::u16string& name) {
  ProjectContext& context = projectContext();
  AGPCharts& charts = table.charts();
  if (charts.chartExist(Variant(name))) {
    context.lastErrorText = titledMessage(u"Chart " + name + u" already exists!");
    return false;
  }
  if (!charts.add(table.tblName(), name)) {
    context.lastErrorText = titledMessage(u"Add Chart " + name + u" failed!");
    return false;
  }
  return true;
}

void copyTrendlines(AGPChart& from, AGPChart& to) {
  AGPTrends& source = from.trendlines();
  AGPTrends& target = to.trendlines();
  for (std::int16_t i = 1, n = static_cast<std::int16_t>(source.count()); i <= n; ++i) {
    const Ref<AGPTrend> trend = source.seq(i);
    if (!trend) continue;
    const std::u16string name = trend->trendName();
    if (!target.add(name)) continue;
    CopySyncedSettings(trend->properties(), target.item(Variant(name))->properties());
  }
}

}  // namespace

bool AGP::LoadChart(const std::u16string& sChartName, const std::u16string& sTableName) {
  const Ref<AGPTable> table = chartSource(*this, sTableName);
  if (!table || !addChart(*table, sChartName)) return false;
  projectContext().lastErrorText.clear();
  hooks::ApplyExtensionsToChart(*this, sTableName, sChartName);
  SyncMenus(*this);
  return true;
}

bool AGP::CopyChart(const std::u16string& sOldChartName, const std::u16string& sNewChartName,
                    const std::u16string& sTableName) {
  const Ref<AGPTable> table = chartSource(*this, sTableName);
  if (!table) return false;
  AGPCharts& charts = table->charts();
  if (!charts.chartExist(Variant(sOldChartName))) {
    projectContext().lastErrorText = titledMessage(u"Chart " + sOldChartName + u" does not exist!");
    return false;
  }
  if (!addChart(*table, sNewChartName)) return false;
  const Ref<AGPChart> from = charts.item(Variant(sOldChartName));
  const Ref<AGPChart> to = charts.item(Variant(sNewChartName));
  // The copy keeps the caption made from its own name.
  CopySyncedSettings(from->properties(), to->properties(), u"ChartCaption");
  copyTrendlines(*from, *to);
  hooks::CopyChartToExtensions(*this, sTableName, sOldChartName, sNewChartName);
  SyncMenus(*this);
  projectContext().lastErrorText.clear();
  return true;
}

}  // namespace vantorel
