#pragma once
// AGPMenus: the ordered list of menu entries, read from a project file's Menu elements, edited by
// the host, the table and chart collections and the menu synchronisation, and sorted into tree
// order before a generation. MenuType and MenuUrl compare exactly (with case).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/automation/class_factory.hpp"
#include "platform/automation/expected.hpp"
#include "platform/automation/object.hpp"
#include "platform/automation/variant.hpp"
#include "platform/xml/xml_document.hpp"
#include "project/menu.hpp"

namespace vantorel {

class AGPMenus final : public Object {
 public:
  AGPMenus() = default;
  const ClassInfo& classInfo() const noexcept override;

  // The values AddMenu takes for arguments left out: id and parent -1 (choose an id, top level),
  // shown, display order -1, everything else 0, False or empty.
  static AGMenuFields addDefaults();

  // The position (1-based) of the entry last found by Item, GetItemByID or GetItemByTableName.
  std::int32_t curIndex() const noexcept { return curIndex_; }

  // Replaces the list by the Menu children of the project file's root element. A file that does
  // not load leaves the list as it was; a root other than "project" leaves it empty. Both fail
  // with their message. HighestMenuId never goes down here.
  Expected<> loadMenuFile(const std::u16string& file);
  // The same from the root element of a project file already loaded, which spares a large
  // project's reader a second parse of the whole file.
  Expected<> LoadMenusFrom(const xml::Node& root);
  // loadMenuFile for scripts: a failure's message goes to LastErrorText, and the result is False.
  bool LoadMenus(const std::u16string& file);

  // False, changing nothing, for a non-custom entry without a URL or whose (MenuType, MenuUrl)
  // link is in the list already. A MenuId above -1 that is free is kept; any other gets
  // HighestMenuId + 1.
  bool AddMenu(const AGMenuFields& entry);
  // Stores every value but the id in the entry with entry.MenuId. False for an unknown id, or a
  // non-custom entry without a URL or whose link another entry has.
  bool ChangeMenu(const AGMenuFields& entry);
  // Removes the first entry with that id and its menu phrases; its direct children become
  // top-level entries.
  bool DeleteMenu(std::int32_t Id);
  // Depth-first tree order: top-level entries by display order, each followed by its subtree.
  void Sort();
  std::int32_t Count() const noexcept { return static_cast<std::int32_t>(items_.size()); }

  bool MenuHasID(std::int32_t Id) const;
  // Found entries become current (curIndex); nullptr when none matches, curIndex unchanged.
  Ref<AGPMenu> GetItemByID(std::int32_t Id);
  bool MenuHasTable(const std::u16string& MenuType, const std::u16string& Name) const;
  Ref<AGPMenu> GetItemByTableName(const std::u16string& MenuType, const std::u16string& Name);
  // The entry at position Id (1 to Count), not the entry with MenuId Id.
  Ref<AGPMenu> Item(std::int32_t Id);

  std::int32_t highestMenuId() const noexcept { return highestMenuId_; }
  // The entries in list order, for C++ callers (the project file writer).
  const std::vector<Ref<AGPMenu>>& items() const noexcept { return items_; }

  using OptText = std::optional<std::u16string>;
  using OptLong = std::optional<std::int32_t>;
  using OptInt = std::optional<std::int16_t>;
  using OptBool = std::optional<bool>;
  bool scriptAddMenu(OptLong MenuId, OptText MenuText, OptLong MenuParentId, OptText MenuSource,
                     OptText MenuExtUrl, OptInt MenuAnonymous, OptText MenuSecurity,
                     OptText MenuUrl, OptText MenuType, OptBool MenuCustomUrl, OptLong MenuLevel,
                     OptBool MenuShow, OptLong MenuDisplayOrder);
  bool scriptChangeMenu(std::int32_t MenuId, const std::u16string& MenuText,
                        std::int32_t MenuParentId, const std::u16string& MenuSource,
                        const std::u16string& MenuExtUrl, std::int16_t MenuAnonymous,
                        const std::u16string& MenuSecurity, const std::u16string& MenuUrl,
                        const std::u16string& MenuType, bool MenuCustomUrl, std::int32_t MenuLevel,
                        bool MenuShow, std::int32_t MenuDisplayOrder);
  bool scriptLoadMenus(Variant& file) { return LoadMenus(toText(file)); }

 private:
  static std::u16string toText(const Variant& v);

  template <class Pred>
  std::optional<std::size_t> firstWhere(Pred pred) const;
  // The entry found, made current; nullptr when none was.
  Ref<AGPMenu> makeCurrent(std::optional<std::size_t> found);
  // 0-based index of the first entry with that id.
  std::optional<std::size_t> findId(std::int32_t id) const;
  std::optional<std::size_t> findLink(const std::u16string& type, const std::u16string& url) const;
  void LoadMenu(const xml::Node& node);
  void SwapMenus(std::size_t i, std::size_t j) noexcept;
  void MoveMenu(std::size_t k, std::size_t j);

  std::vector<Ref<AGPMenu>> items_;
  std::int32_t highestMenuId_ = 0;
  std::int32_t curIndex_ = 0;
};

// The thread's one list, created on first use and never released by the engine.
AGPMenus& SharedMenus();

// Makes AGPMenu and AGPMenus creatable as "vantorel4.<class>".
void registerProjectMenuClasses(ClassFactory& factory);

}  // namespace vantorel
