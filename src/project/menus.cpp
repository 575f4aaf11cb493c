#include "project/menus.hpp"

#include <utility>

#include "foundation/foundation_classes.hpp"
#include "foundation/project_context.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/class_info.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/fs/files.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"
#include "platform/xml/attributes.hpp"
#include "project/language.hpp"

namespace vantorel {

namespace {

// The local name of an element, without its namespace prefix.
std::u16string baseName(const xml::Node& node) {
  const std::u16string name = xml::nameOf(node);
  const std::size_t colon = name.find(u':');
  return colon == std::u16string::npos ? name : name.substr(colon + 1);
}

}  // namespace

const ClassInfo& AGPMenus::classInfo() const noexcept {
  return MemberTable<AGPMenus>::get(u"AGPMenus");
}

AGMenuFields AGPMenus::addDefaults() {
  AGMenuFields f;
  f.MenuId = -1;
  f.MenuParentId = -1;
  f.MenuShow = true;
  f.MenuDisplayOrder = -1;
  return f;
}

std::u16string AGPMenus::toText(const Variant& v) {
  return toString(v);
}

template <class Pred>
std::optional<std::size_t> AGPMenus::firstWhere(Pred pred) const {
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (pred(*items_[i])) return i;
  }
  return std::nullopt;
}

std::optional<std::size_t> AGPMenus::findId(std::int32_t id) const {
  return firstWhere([&](const AGPMenu& m) { return m.MenuId() == id; });
}

std::optional<std::size_t> AGPMenus::findLink(const std::u16string& type,
                                              const std::u16string& url) const {
  return firstWhere([&](const AGPMenu& m) { return m.MenuType() == type && m.MenuUrl() == url; });
}

bool AGPMenus::LoadMenus(const std::u16string& file) {
  Expected<> loaded = loadMenuFile(file);
  if (!loaded) projectContext().lastErrorText = std::move(loaded.failure().text);
  return loaded.ok();
}

Expected<> AGPMenus::loadMenuFile(const std::u16string& file) {
  xml::Document doc;
  if (xml::parseFile(doc, file, xml::ReadMode::ExactWithProlog, xml::Encoding::Declared)) {
    return Failure{projectContext().productTitle + u": Load project file failed!"};
  }
  return LoadMenusFrom(doc.document_element());
}

Expected<> AGPMenus::LoadMenusFrom(const xml::Node& root) {
  items_.clear();
  if (toLower(baseName(root)) != u"project") {
    return Failure{projectContext().productTitle + u": Project file is invalid!"};
  }
  for (const xml::Node child : root.children()) {
    if (xml::isElementNamed(child, u"menu")) {
      LoadMenu(child);
    }
  }
  return {};
}

void AGPMenus::LoadMenu(const xml::Node& node) {
  auto menu = makeRef<AGPMenu>();
  menu->Load(node);
  if (menu->MenuType().empty()) menu->setMenuType(u"Table");
  if (menu->MenuId() > highestMenuId_) highestMenuId_ = menu->MenuId();
  items_.push_back(std::move(menu));
}

bool AGPMenus::AddMenu(const AGMenuFields& entry) {
  if (!entry.MenuCustomUrl) {
    if (entry.MenuUrl.empty()) return false;
    if (MenuHasTable(entry.MenuType, entry.MenuUrl)) return false;
  }
  AGMenuFields f = entry;
  if (entry.MenuId > -1 && !MenuHasID(entry.MenuId)) {
    if (highestMenuId_ < entry.MenuId) highestMenuId_ = entry.MenuId;
  } else {
    // An id at the top of the range cannot be followed; such a list takes no new ids.
    if (highestMenuId_ == INT32_MAX) raiseVbError(vberr::kOverflow);
    f.MenuId = ++highestMenuId_;
  }
  items_.push_back(makeRef<AGPMenu>(std::move(f)));
  return true;
}

bool AGPMenus::ChangeMenu(const AGMenuFields& entry) {
  if (!entry.MenuCustomUrl) {
    if (entry.MenuUrl.empty()) return false;
    const bool linkTaken = firstWhere([&](const AGPMenu& m) {
                             return m.MenuId() != entry.MenuId && m.MenuType() == entry.MenuType &&
                                    m.MenuUrl() == entry.MenuUrl;
                           }).has_value();
    if (linkTaken) return false;
  }
  const Ref<AGPMenu> menu = GetItemByID(entry.MenuId);
  if (!menu) return false;
  AGMenuFields f = entry;
  f.MenuId = menu->MenuId();
  menu->fields() = std::move(f);
  return true;
}

bool AGPMenus::DeleteMenu(std::int32_t Id) {
  const std::optional<std::size_t> found = findId(Id);
  if (!found) return false;
  SharedLanguage().DeleteMenuPhrase(toU16(Id));
  items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(*found));
  highestMenuId_ = 0;
  for (const Ref<AGPMenu>& m : items_) {
    if (m->MenuParentId() == Id) m->setMenuParentId(-1);
    if (m->MenuId() > highestMenuId_) highestMenuId_ = m->MenuId();
  }
  return true;
}

void AGPMenus::SwapMenus(std::size_t i, std::size_t j) noexcept {
  std::swap(items_[i], items_[j]);
}

void AGPMenus::MoveMenu(std::size_t k, std::size_t j) {
  if (j <= k) return;
  Ref<AGPMenu> taken = std::move(items_[j]);
  for (std::size_t p = j; p > k; --p) items_[p] = std::move(items_[p - 1]);
  items_[k] = std::move(taken);
}

void AGPMenus::Sort() {
  const std::size_t n = items_.size();
  if (n < 2) return;
  for (std::size_t i = 0; i + 1 < n; ++i) {
    for (std::size_t j = i + 1; j < n; ++j) {
      const AGPMenu& a = *items_[i];
      const AGPMenu& b = *items_[j];
      if (a.MenuParentId() > b.MenuParentId() ||
          (a.MenuParentId() == b.MenuParentId() && a.MenuDisplayOrder() > b.MenuDisplayOrder())) {
        SwapMenus(i, j);
      }
    }
  }
  for (std::size_t i = 0; i + 1 < n; ++i) {
    std::size_t k = i;
    for (std::size_t j = i + 1; j < n; ++j) {
      if (items_[j]->MenuParentId() == items_[i]->MenuId()) MoveMenu(++k, j);
    }
  }
}

bool AGPMenus::MenuHasID(std::int32_t Id) const {
  return findId(Id).has_value();
}

Ref<AGPMenu> AGPMenus::makeCurrent(std::optional<std::size_t> found) {
  if (!found) return nullptr;
  curIndex_ = static_cast<std::int32_t>(*found + 1);
  return items_[*found];
}

Ref<AGPMenu> AGPMenus::GetItemByID(std::int32_t Id) {
  return makeCurrent(findId(Id));
}

bool AGPMenus::MenuHasTable(const std::u16string& MenuType, const std::u16string& Name) const {
  return findLink(MenuType, Name).has_value();
}

Ref<AGPMenu> AGPMenus::GetItemByTableName(const std::u16string& MenuType,
                                          const std::u16string& Name) {
  return makeCurrent(findLink(MenuType, Name));
}

Ref<AGPMenu> AGPMenus::Item(std::int32_t Id) {
  if (Id < 1 || Id > Count()) return nullptr;
  return makeCurrent(static_cast<std::size_t>(Id - 1));
}

bool AGPMenus::scriptAddMenu(OptLong MenuId, OptText MenuText, OptLong MenuParentId,
                             OptText MenuSource, OptText MenuExtUrl, OptInt MenuAnonymous,
                             OptText MenuSecurity, OptText MenuUrl, OptText MenuType,
                             OptBool MenuCustomUrl, OptLong MenuLevel, OptBool MenuShow,
                             OptLong MenuDisplayOrder) {
  const AGMenuFields d = addDefaults();
  AGMenuFields f;
  f.MenuId = MenuId.value_or(d.MenuId);
  f.MenuText = MenuText.value_or(d.MenuText);
  f.MenuParentId = MenuParentId.value_or(d.MenuParentId);
  f.MenuSource = MenuSource.value_or(d.MenuSource);
  f.MenuExtUrl = MenuExtUrl.value_or(d.MenuExtUrl);
  f.MenuAnonymous = MenuAnonymous.value_or(d.MenuAnonymous);
  f.MenuSecurity = MenuSecurity.value_or(d.MenuSecurity);
  f.MenuUrl = MenuUrl.value_or(d.MenuUrl);
  f.MenuType = MenuType.value_or(d.MenuType);
  f.MenuCustomUrl = MenuCustomUrl.value_or(d.MenuCustomUrl);
  f.MenuLevel = MenuLevel.value_or(d.MenuLevel);
  f.MenuShow = MenuShow.value_or(d.MenuShow);
  f.MenuDisplayOrder = MenuDisplayOrder.value_or(d.MenuDisplayOrder);
  return AddMenu(f);
}

bool AGPMenus::scriptChangeMenu(std::int32_t MenuId, const std::u16string& MenuText,
                                std::int32_t MenuParentId, const std::u16string& MenuSource,
                                const std::u16string& MenuExtUrl, std::int16_t MenuAnonymous,
                                const std::u16string& MenuSecurity, const std::u16string& MenuUrl,
                                const std::u16string& MenuType, bool MenuCustomUrl,
                                std::int32_t MenuLevel, bool MenuShow,
                                std::int32_t MenuDisplayOrder) {
  return ChangeMenu(AGMenuFields{MenuId, MenuText, MenuParentId, MenuSource, MenuExtUrl,
                                 MenuAnonymous, MenuSecurity, MenuUrl, MenuType, MenuCustomUrl,
                                 MenuLevel, MenuShow, MenuDisplayOrder});
}

AGPMenus& SharedMenus() {
  return sharedObject<AGPMenus>(projectContext().menus);
}

void registerProjectMenuClasses(ClassFactory& factory) {
  registerEngineClass<AGPMenu>(factory, u"AGPMenu");
  registerEngineClass<AGPMenus>(factory, u"AGPMenus");
}

}  // namespace vantorel
