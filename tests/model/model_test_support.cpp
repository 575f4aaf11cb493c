#include "model/model_test_support.hpp"

#include "foundation/project_context.hpp"
#include "foundation/reg_values.hpp"
#include "project/language.hpp"
#include "project/menus.hpp"
#include "support/shared_menus.hpp"

namespace vantorel::test {

namespace {

std::u16string s(std::u16string_view v) {
  return std::u16string(v);
}

}  // namespace

void CascadeLog::renameTable(std::u16string_view o, std::u16string_view n) {
  calls.push_back(u"renameTable:" + s(o) + u">" + s(n));
}
void CascadeLog::deleteTable(std::u16string_view name) {
  calls.push_back(u"deleteTable:" + s(name));
}
void CascadeLog::renameChart(std::u16string_view t, std::u16string_view o, std::u16string_view n) {
  calls.push_back(u"renameChart:" + s(t) + u"|" + s(o) + u">" + s(n));
}
void CascadeLog::deleteChart(std::u16string_view t, std::u16string_view c) {
  calls.push_back(u"deleteChart:" + s(t) + u"|" + s(c));
}
void CascadeLog::renameField(std::u16string_view t, std::u16string_view o, std::u16string_view n) {
  calls.push_back(u"renameField:" + s(t) + u"." + s(o) + u">" + s(n));
}
void CascadeLog::deleteField(std::u16string_view t, std::u16string_view f) {
  calls.push_back(u"deleteField:" + s(t) + u"." + s(f));
}
bool CascadeLog::changeCustomScripts(std::u16string_view o, std::u16string_view n) {
  calls.push_back(u"scripts:" + s(o) + u">" + s(n));
  return true;
}

void ModelTest::SetUp() {
  clearMenus();
  SharedLanguage().InitSettings();
}

void addMenu(const std::u16string& type, const std::u16string& url, bool custom) {
  AGMenuFields f = AGPMenus::addDefaults();
  f.MenuType = type;
  f.MenuUrl = url;
  f.MenuCustomUrl = custom;
  ASSERT_TRUE(SharedMenus().AddMenu(f));
}

void clearUserKey(const std::u16string& key) {
  cRegistry& reg = projectContext().registry;
  reg.ClassKey(kHkeyCurrentUser);
  reg.SectionKey(key);
  if (reg.KeyExists()) reg.DeleteKey();
}

std::u16string joined(const std::vector<std::u16string>& parts) {
  std::u16string out;
  for (const std::u16string& p : parts) out += (out.empty() ? u"" : u",") + p;
  return out;
}

std::u16string menuText() {
  std::vector<std::u16string> parts;
  for (const Ref<AGPMenu>& m : SharedMenus().items()) {
    parts.push_back(m->MenuType() + u":" + m->MenuUrl() + (m->MenuShow() ? u":1" : u":0"));
  }
  return joined(parts);
}

std::u16string phraseText() {
  AGPLanguage& lang = SharedLanguage();
  std::vector<std::u16string> parts;
  for (std::int32_t i = 1; i <= lang.TableCount(); ++i) {
    const AGTablePhrase p = lang.TableItem(i);
    parts.push_back(u"T:" + p.TableName + u"." + p.TableAttribute + u"=" + p.Phrase);
  }
  for (std::int32_t i = 1; i <= lang.ChartCount(); ++i) {
    const AGChartPhrase p = lang.ChartItem(i);
    parts.push_back(u"C:" + p.TableName + u"|" + p.ChartName + u"." + p.ChartAttribute + u"=" +
                    p.Phrase);
  }
  for (std::int32_t i = 1; i <= lang.FieldCount(); ++i) {
    const AGFieldPhrase p = lang.FieldItem(i);
    parts.push_back(u"F:" + p.TableName + u"." + p.FieldName + u"." + p.FieldAttribute + u"=" +
                    p.Phrase);
  }
  return joined(parts);
}

}  // namespace vantorel::test
