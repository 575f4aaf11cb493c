// The script members of tables, charts and trendlines, their lists, and the list of databases.
#include "foundation/setting_members.hpp"
#include "model/chart.hpp"
#include "model/charts.hpp"
#include "model/databases.hpp"
#include "model/table.hpp"
#include "model/tables.hpp"
#include "model/trend.hpp"
#include "model/trends.hpp"
#include "platform/automation/bind.hpp"
#include "surface/install_table.hpp"
#include "surface/list_members.hpp"
#include "surface/surface_tables.hpp"

namespace vantorel::surface {

void installModelTables() noexcept {
  installTable<AGPTable>(u"AGPTable", [](ClassInfo& c) {
    using T = AGPTable;
    ClassBuilder<T> b(c);
    b.get<&T::scriptProperties>(u"Properties")
        .method<&T::GetV>(u"GetV")
        .method<&T::SetV>(u"SetV")
        .get<&T::scriptCharts>(u"Charts")
        .get<&T::scriptFields>(u"Fields")
        .get<&T::scriptControlList>(u"ControlList")
        .prop<&T::tblName, &T::setTblName>(u"Key")
        .settings<&T::properties>(tableCatalog())
        .prop<&T::tblGen, &T::setTblGen>(u"TblGen")
        .method<&T::LoadTableDefault>(u"LoadTableDefault");
  });
  installTable<AGPTables>(u"AGPTables", [](ClassInfo& c) {
    using T = AGPTables;
    ClassBuilder<T> b(c);
    listHeadMembers<&T::remove, &T::tableExist>(b, u"TableExist")
        .method<&T::setItem>(u"SetItem")
        .method<&T::setSeq>(u"SetSeq")
        .method<&T::scriptNewEnum>(u"NewEnum_tbl")
        .enumerator<&T::newEnum>();
  });
  installTable<AGPChart>(u"AGPChart", [](ClassInfo& c) {
    using T = AGPChart;
    ClassBuilder<T> b(c);
    b.get<&T::scriptProperties>(u"Properties")
        .method<&T::GetV>(u"GetV")
        .method<&T::SetV>(u"SetV")
        .get<&T::scriptTrendlines>(u"Trendlines");
    // Key sits between ChartSeq and ChartName.
    c.define(u"ChartSeq");
    b.prop<&T::chartName, &T::setChartName>(u"Key");
    b.settings<&T::properties>(chartCatalog());
  });
  installTable<AGPCharts>(u"AGPCharts", [](ClassInfo& c) {
    using T = AGPCharts;
    ClassBuilder<T> b(c);
    listHeadMembers<&T::remove, &T::chartExist>(b, u"ChartExist")
        .method<&T::scriptNewEnum>(u"NewEnum_cht")
        .enumerator<&T::newEnum>();
  });
  installTable<AGPTrend>(u"AGPTrend", [](ClassInfo& c) {
    using T = AGPTrend;
    ClassBuilder<T> b(c);
    b.get<&T::scriptProperties>(u"Properties");
    // Key sits between TrendSeq and TrendName.
    c.define(u"TrendSeq");
    b.prop<&T::trendName, &T::setTrendName>(u"Key");
    b.settings<&T::properties>(trendCatalog());
  });
  installTable<AGPTrends>(u"AGPTrends", [](ClassInfo& c) {
    using T = AGPTrends;
    ClassBuilder<T> b(c);
    listHeadMembers<&T::remove, &T::trendExist>(b, u"TrendExist")
        .method<&T::scriptNewEnum>(u"NewEnum_trend")
        .enumerator<&T::newEnum>();
  });
  installTable<AGPDatabases>(u"AGPDatabases", [](ClassInfo& c) {
    using T = AGPDatabases;
    ClassBuilder<T>(c)
        .get<&T::curName>(u"curName")
        .get<&T::curSeq>(u"curSeq")
        .method<&T::scriptAdd>(u"Add")
        .method<&T::count>(u"Count")
        .method<&T::remove>(u"Delete")
        .method<&T::item>(u"Item")
        .method<&T::scriptNewEnum>(u"NewEnum_db")
        .enumerator<&T::newEnum>();
  });
}

}  // namespace vantorel::surface
