#include "model/name_links.hpp"

#include <cstdint>
#include <vector>

#include "platform/text/case_fold.hpp"
#include "project/language.hpp"
#include "project/menus.hpp"

namespace vantorel {

namespace {

constexpr std::u16string_view kTableType = u"Table";
constexpr std::u16string_view kChartType = u"Chart";

// The table part of a chart entry's URL: the text before the first "|", or all of it.
std::u16string_view tablePart(std::u16string_view url) {
  return url.substr(0, url.find(u'|'));
}

// Ids first, deletions after: DeleteMenu moves the entries behind the one it removes.
void deleteMenus(const std::vector<std::int32_t>& ids) {
  for (std::int32_t id : ids) SharedMenus().DeleteMenu(id);
}

}  // namespace

std::u16string chartMenuUrl(std::u16string_view table, std::u16string_view chart) {
  std::u16string url(table);
  url += u'|';
  url += chart;
  return url;
}

void renameTableMenus(std::u16string_view oldName, std::u16string_view newName) {
  for (const Ref<AGPMenu>& m : SharedMenus().items()) {
    if (m->MenuCustomUrl()) continue;
    const std::u16string& url = m->MenuUrl();
    if (m->MenuType() == kTableType && url == oldName) {
      m->setMenuUrl(std::u16string(newName));
    } else if (m->MenuType() == kChartType && url.find(u'|') != std::u16string::npos &&
               tablePart(url) == oldName) {
      // Everything after the table part stays, a second "|" included.
      m->setMenuUrl(std::u16string(newName) + url.substr(oldName.size()));
    }
  }
}

void deleteTableMenus(std::u16string_view table) {
  std::vector<std::int32_t> ids;
  for (const Ref<AGPMenu>& m : SharedMenus().items()) {
    if (!m->MenuCustomUrl() && m->MenuType() == kTableType && m->MenuUrl() == table) {
      ids.push_back(m->MenuId());
    }
  }
  deleteMenus(ids);
}

void renameChartMenus(std::u16string_view table, std::u16string_view oldName,
                      std::u16string_view newName) {
  const std::u16string oldUrl = chartMenuUrl(table, oldName);
  for (const Ref<AGPMenu>& m : SharedMenus().items()) {
    if (!m->MenuCustomUrl() && m->MenuType() == kChartType && m->MenuUrl() == oldUrl) {
      m->setMenuUrl(chartMenuUrl(table, newName));
    }
  }
}

void deleteChartMenus(std::u16string_view table, std::u16string_view chart) {
  const std::u16string url = chartMenuUrl(table, chart);
  std::vector<std::int32_t> ids;
  for (const Ref<AGPMenu>& m : SharedMenus().items()) {
    if (!m->MenuCustomUrl() && m->MenuUrl() == url) ids.push_back(m->MenuId());
  }
  deleteMenus(ids);
}

void showTableMenus(std::u16string_view table, bool show) {
  for (const Ref<AGPMenu>& m : SharedMenus().items()) {
    const std::u16string& url = m->MenuUrl();
    if (m->MenuType() == kTableType) {
      if (url == table) m->setMenuShow(show);
    } else if (m->MenuType() == kChartType && !url.empty() && tablePart(url) == table) {
      m->setMenuShow(show);
    }
  }
}

// Phrases match their table, chart and field by name without regard to case, as the save does;
// each moves under the new name, the old entries removed by their own spelling.
void renameTablePhrases(std::u16string_view oldName, std::u16string_view newName) {
  if (oldName == newName) return;
  AGPLanguage& lang = SharedLanguage();
  // Collected before anything changes: deleting and setting reorder the tables.
  std::vector<AGTablePhrase> tables;
  for (std::int32_t i = 1, n = lang.TableCount(); i <= n; ++i) {
    AGTablePhrase p = lang.TableItem(i);
    if (equalsNoCase(p.TableName, oldName)) tables.push_back(std::move(p));
  }
  std::vector<AGChartPhrase> charts;
  for (std::int32_t i = 1, n = lang.ChartCount(); i <= n; ++i) {
    AGChartPhrase p = lang.ChartItem(i);
    if (equalsNoCase(p.TableName, oldName)) charts.push_back(std::move(p));
  }
  std::vector<AGFieldPhrase> fields;
  for (std::int32_t i = 1, n = lang.FieldCount(); i <= n; ++i) {
    AGFieldPhrase p = lang.FieldItem(i);
    if (equalsNoCase(p.TableName, oldName)) fields.push_back(std::move(p));
  }
  const std::u16string to(newName);
  for (const AGTablePhrase& p : tables) lang.DeleteTablePhrase(p.TableName);
  for (const AGChartPhrase& p : charts) lang.DeleteChartPhrase(p.TableName, p.ChartName);
  for (const AGFieldPhrase& p : fields) lang.DeleteFieldPhrase(p.TableName, p.FieldName);
  for (const AGTablePhrase& p : tables) {
    lang.SetTablePhrase(p.LanguageId, to, p.TableAttribute, p.Phrase);
  }
  for (const AGChartPhrase& p : charts) {
    lang.SetChartPhrase(p.LanguageId, to, p.ChartName, p.ChartAttribute, p.Phrase);
  }
  for (const AGFieldPhrase& p : fields) {
    lang.SetFieldPhrase(p.LanguageId, to, p.FieldName, p.FieldAttribute, p.Phrase);
  }
}

void renameChartPhrases(std::u16string_view table, std::u16string_view oldName,
                        std::u16string_view newName) {
  if (oldName == newName) return;
  AGPLanguage& lang = SharedLanguage();
  std::vector<AGChartPhrase> charts;
  for (std::int32_t i = 1, n = lang.ChartCount(); i <= n; ++i) {
    AGChartPhrase p = lang.ChartItem(i);
    if (equalsNoCase(p.TableName, table) && equalsNoCase(p.ChartName, oldName)) {
      charts.push_back(std::move(p));
    }
  }
  for (const AGChartPhrase& p : charts) lang.DeleteChartPhrase(p.TableName, p.ChartName);
  for (const AGChartPhrase& p : charts) {
    lang.SetChartPhrase(p.LanguageId, p.TableName, std::u16string(newName), p.ChartAttribute,
                        p.Phrase);
  }
}

}  // namespace vantorel
