#pragma once
// AGPMenu: one entry of the generated site's navigation menu. An entry of MenuType "Table" links
// the table named by MenuUrl, one of MenuType "Chart" the chart "table|chart"; with
// MenuCustomUrl True the URL is free text and links nothing.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/automation/object.hpp"
#include "platform/automation/variant.hpp"
#include "platform/xml/xml_document.hpp"

namespace vantorel {

// The thirteen fields of an entry, in the order the project file lists them.
struct AGMenuFields {
  std::int32_t MenuId = 0;
  std::u16string MenuText;
  std::int32_t MenuParentId = 0;
  std::u16string MenuSource;
  std::u16string MenuExtUrl;
  std::int16_t MenuAnonymous = 0;
  std::u16string MenuSecurity;
  std::u16string MenuUrl;
  std::u16string MenuType;
  bool MenuCustomUrl = false;
  std::int32_t MenuLevel = 0;
  bool MenuShow = false;
  std::int32_t MenuDisplayOrder = 0;
  bool operator==(const AGMenuFields&) const = default;
};

class AGPMenu final : public Object {
 public:
  AGPMenu() = default;
  explicit AGPMenu(AGMenuFields fields) : f_(std::move(fields)) {}

  const ClassInfo& classInfo() const noexcept override;

  // Attribute names compare in lower case ("menuid", "menutext", ...).
  bool MenuAttExist(const std::u16string& Name) const;
  // The field as text: numbers in decimal, Booleans "True"/"False"; "" for an unknown name.
  std::u16string MenuAtt(const std::u16string& Name) const;

  std::int32_t MenuId() const noexcept { return f_.MenuId; }
  void setMenuId(std::int32_t v) noexcept { f_.MenuId = v; }
  const std::u16string& MenuText() const noexcept { return f_.MenuText; }
  void setMenuText(const std::u16string& v) { f_.MenuText = v; }
  std::int32_t MenuParentId() const noexcept { return f_.MenuParentId; }
  void setMenuParentId(std::int32_t v) noexcept { f_.MenuParentId = v; }
  const std::u16string& MenuSource() const noexcept { return f_.MenuSource; }
  void setMenuSource(const std::u16string& v) { f_.MenuSource = v; }
  const std::u16string& MenuExtUrl() const noexcept { return f_.MenuExtUrl; }
  void setMenuExtUrl(const std::u16string& v) { f_.MenuExtUrl = v; }
  std::int16_t MenuAnonymous() const noexcept { return f_.MenuAnonymous; }
  void setMenuAnonymous(std::int16_t v) noexcept { f_.MenuAnonymous = v; }
  const std::u16string& MenuSecurity() const noexcept { return f_.MenuSecurity; }
  void setMenuSecurity(const std::u16string& v) { f_.MenuSecurity = v; }
  const std::u16string& MenuUrl() const noexcept { return f_.MenuUrl; }
  void setMenuUrl(const std::u16string& v) { f_.MenuUrl = v; }
  const std::u16string& MenuType() const noexcept { return f_.MenuType; }
  void setMenuType(const std::u16string& v) { f_.MenuType = v; }
  bool MenuCustomUrl() const noexcept { return f_.MenuCustomUrl; }
  void setMenuCustomUrl(bool v) noexcept { f_.MenuCustomUrl = v; }
  std::int32_t MenuLevel() const noexcept { return f_.MenuLevel; }
  void setMenuLevel(std::int32_t v) noexcept { f_.MenuLevel = v; }
  bool MenuShow() const noexcept { return f_.MenuShow; }
  void setMenuShow(bool v) noexcept { f_.MenuShow = v; }
  std::int32_t MenuDisplayOrder() const noexcept { return f_.MenuDisplayOrder; }
  void setMenuDisplayOrder(std::int32_t v) noexcept { f_.MenuDisplayOrder = v; }

  const AGMenuFields& fields() const noexcept { return f_; }
  AGMenuFields& fields() noexcept { return f_; }

  // Fills the entry from a "menu" element: MenuId 0, top-level, not custom and hidden unless the
  // element says otherwise; attribute names in any case; a value that does not convert to its
  // field's type leaves the field as it was; other attributes are kept as written (below).
  void Load(const xml::Node& element);

  // The attributes of the element the entry was read from that are none of its thirteen, in the
  // element's order, names and values as written, so that a save writes them back unchanged. A
  // name repeated in another case keeps its first place and takes the later value; one that a
  // project file cannot hold, or a value holding such a character, is not kept.
  struct OtherAttribute {
    std::u16string name;
    std::u16string value;
  };
  const std::vector<OtherAttribute>& otherAttributes() const noexcept { return others_; }

  // Scripts hand over the element as its markup text ("<menu menuid='3' .../>"); anything else,
  // or markup that does not parse, loads nothing.
  void scriptLoad(Variant& xmlControl);

 private:
  AGMenuFields f_;
  std::vector<OtherAttribute> others_;
};

}  // namespace vantorel
