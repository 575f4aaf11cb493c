// AGP.LoadChart and AGP.CopyChart: a new chart of a table, empty or as a copy of another chart
// of the same table with its synchronised settings and its trendlines.
#include <cstdint>

#include "agp/agp.hpp"
#include "agp/entry_steps.hpp"
#include "agp/extension_hooks.hpp"
#include "agp/menu_sync.hpp"
#include "foundation/entry_error_text.hpp"
#include "foundation/synced_settings.hpp"
#include "model/database.hpp"

namespace vantorel {

namespace {

// The table a chart entry works on, or the entry's refusal.
Expected<Ref<AGPTable>> chartSource(AGP& project, const std::u16string& sTableName) {
  const Ref<AGPDatabase> db = project.DB();
  if (!db) return Failure{databaseNotLoaded()};
  AGPTables& tables = db->tables();
  if (!tables.tableExist(Variant(sTableName))) {
    return Failure{titledMessage(u"Chart source " + sTableName + u" not exist!")};
  }
  return tables.item(Variant(sTableName));
}

// Adds the chart unless its name is taken.
Expected<> addChart(AGPTable& table, const std::u16string& name) {
  AGPCharts& charts = table.charts();
  if (charts.chartExist(Variant(name))) {
    return Failure{titledMessage(u"Chart " + name + u" already exists!")};
  }
  if (!charts.add(table.tblName(), name)) {
    return Failure{titledMessage(u"Add Chart " + name + u" failed!")};
  }
  return {};
}

Expected<> addChartTo(AGP& project, const std::u16string& sChartName,
                      const std::u16string& sTableName) {
  const Expected<Ref<AGPTable>> table = chartSource(project, sTableName);
  if (!table) return table.failure();
  return addChart(**table, sChartName);
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

// The copy of a chart with its synchronised settings and trendlines, up to the menus.
Expected<> copyChart(AGP& project, const std::u16string& sOldChartName,
                     const std::u16string& sNewChartName, const std::u16string& sTableName) {
  const Expected<Ref<AGPTable>> table = chartSource(project, sTableName);
  if (!table) return table.failure();
  AGPCharts& charts = (*table)->charts();
  if (!charts.chartExist(Variant(sOldChartName))) {
    return Failure{titledMessage(u"Chart " + sOldChartName + u" does not exist!")};
  }
  if (Expected<> added = addChart(**table, sNewChartName); !added) return added;
  const Ref<AGPChart> from = charts.item(Variant(sOldChartName));
  const Ref<AGPChart> to = charts.item(Variant(sNewChartName));
  // The copy keeps the caption made from its own name.
  CopySyncedSettings(from->properties(), to->properties(), u"ChartCaption");
  copyTrendlines(*from, *to);
  hooks::CopyChartToExtensions(project, sTableName, sOldChartName, sNewChartName);
  SyncMenus(project);
  return {};
}

}  // namespace

bool AGP::LoadChart(const std::u16string& sChartName, const std::u16string& sTableName) {
  const Expected<> added = addChartTo(*this, sChartName, sTableName);
  reportEntry(added);
  if (!added) return false;
  hooks::ApplyExtensionsToChart(*this, sTableName, sChartName);
  SyncMenus(*this);
  return true;
}

bool AGP::CopyChart(const std::u16string& sOldChartName, const std::u16string& sNewChartName,
                    const std::u16string& sTableName) {
  const Expected<> copied = copyChart(*this, sOldChartName, sNewChartName, sTableName);
  reportEntry(copied);
  return copied.ok();
}

}  // namespace vantorel
