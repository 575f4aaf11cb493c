#include "agp/menu_sync.hpp"

#include <cstdint>
#include <string>

#include "agp/agp.hpp"
#include "foundation/setting_values.hpp"
#include "model/database.hpp"
#include "project/menus.hpp"

namespace vantorel {

namespace {

constexpr char16_t kTableType[] = u"Table";
constexpr char16_t kChartType[] = u"Chart";

// The table a "Table" or "Chart" link points to; "" for other entries, which are kept.
std::u16string linkedTable(const AGPMenu& item) {
  if (item.MenuType() == kTableType) return item.MenuUrl();
  if (item.MenuType() == kChartType) return item.MenuUrl().substr(0, item.MenuUrl().find(u'|'));
  return {};
}

bool isLink(const AGPMenu& item) {
  return item.MenuType() == kTableType || item.MenuType() == kChartType;
}

void removeStaleLinks(AGPMenus& menus, const AGPTables& tables) {
  // Backwards, so that a removal does not move the entries still to be visited.
  for (std::int32_t i = menus.Count(); i >= 1; --i) {
    const Ref<AGPMenu> item = menus.Item(i);
    if (!item || !isLink(*item)) continue;
    const std::u16string table = linkedTable(*item);
    if (table.empty() || !tables.tableExist(Variant(table))) menus.DeleteMenu(item->MenuId());
  }
}

AGMenuFields link(std::u16string text, std::int32_t parent, std::u16string url,
                  const char16_t* type, bool show, std::int32_t order) {
  AGMenuFields f;
  f.MenuId = -1;
  f.MenuText = std::move(text);
  f.MenuParentId = parent;
  f.MenuUrl = std::move(url);
  f.MenuType = type;
  f.MenuShow = show;
  f.MenuDisplayOrder = order;
  return f;
}

void addMissingLinks(AGPMenus& menus, const AGPTables& tables) {
  for (std::size_t t = 0, n = static_cast<std::size_t>(tables.count()); t < n; ++t) {
    AGPTable& table = tables.at(t);
    AGProperties& bag = table.properties();
    if (!settingAsBool(bag.setting(kTblLoaded))) continue;
    const std::u16string name = table.tblName();
    const bool listed = settingAsBool(bag.setting(kTblGen)) && settingAsBool(bag.setting(kTblList));
    if (!menus.MenuHasTable(kTableType, name)) {
      menus.AddMenu(
          link(settingAsText(bag.setting(kTblCaption)), -1, name, kTableType, listed, -1));
    }
    const Ref<AGPMenu> parent = menus.GetItemByTableName(kTableType, name);
    // A table whose link could not be made (a name the list refuses) has no parent to give.
    if (!parent) continue;
    AGPCharts& charts = table.charts();
    for (std::size_t c = 0, m = static_cast<std::size_t>(charts.count()); c < m; ++c) {
      AGPChart& chart = charts.at(c);
      const std::u16string url = name + u"|" + chart.chartName();
      if (menus.MenuHasTable(kChartType, url)) continue;
      const auto order = static_cast<std::int32_t>((c + 1) * 100);
      menus.AddMenu(link(settingAsText(chart.properties().setting(kChartCaption)), parent->MenuId(),
                         url, kChartType,
                         settingAsBool(chart.properties().setting(kShowChart)) && listed, order));
    }
  }
}

}  // namespace

void SyncMenus(AGP& project) {
  const Ref<AGPDatabase> db = project.DB();
  if (!db) return;
  AGPMenus& menus = project.MenuList();
  removeStaleLinks(menus, db->tables());
  addMissingLinks(menus, db->tables());
}

}  // namespace vantorel
