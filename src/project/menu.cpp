#include "project/menu.hpp"

#include <algorithm>
#include <array>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/class_info.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"
#include "platform/xml/attributes.hpp"

namespace vantorel {

namespace {

enum class Kind { Long, Integer, Boolean, Text };

struct FieldDesc {
  std::u16string_view attribute;  // lower case, as Load and MenuAtt match it
  Kind kind;
  std::int32_t AGMenuFields::*longField = nullptr;
  std::int16_t AGMenuFields::*intField = nullptr;
  bool AGMenuFields::*boolField = nullptr;
  std::u16string AGMenuFields::*textField = nullptr;
};

constexpr FieldDesc longF(std::u16string_view a, std::int32_t AGMenuFields::*f) {
  return {a, Kind::Long, f, nullptr, nullptr, nullptr};
}
constexpr FieldDesc textF(std::u16string_view a, std::u16string AGMenuFields::*f) {
  return {a, Kind::Text, nullptr, nullptr, nullptr, f};
}
constexpr FieldDesc boolF(std::u16string_view a, bool AGMenuFields::*f) {
  return {a, Kind::Boolean, nullptr, nullptr, f, nullptr};
}

const std::array<FieldDesc, 13>& fieldTable() {
  static const std::array<FieldDesc, 13> table = {
      longF(u"menuid", &AGMenuFields::MenuId),
      textF(u"menutext", &AGMenuFields::MenuText),
      longF(u"menuparentid", &AGMenuFields::MenuParentId),
      textF(u"menusource", &AGMenuFields::MenuSource),
      textF(u"menuexturl", &AGMenuFields::MenuExtUrl),
      FieldDesc{u"menuanonymous", Kind::Integer, nullptr, &AGMenuFields::MenuAnonymous, nullptr,
                nullptr},
      textF(u"menusecurity", &AGMenuFields::MenuSecurity),
      textF(u"menuurl", &AGMenuFields::MenuUrl),
      textF(u"menutype", &AGMenuFields::MenuType),
      boolF(u"menucustomurl", &AGMenuFields::MenuCustomUrl),
      longF(u"menulevel", &AGMenuFields::MenuLevel),
      boolF(u"menushow", &AGMenuFields::MenuShow),
      longF(u"menudisplayorder", &AGMenuFields::MenuDisplayOrder),
  };
  return table;
}

const FieldDesc* findField(std::u16string_view name) {
  const std::u16string lower = toLower(name);
  for (const FieldDesc& d : fieldTable()) {
    if (d.attribute == lower) return &d;
  }
  return nullptr;
}

// Stores the attribute's text converted to the field's type; a value that does not convert
// leaves the field alone.
void storeConverted(AGMenuFields& f, const FieldDesc& d, const std::u16string& text) {
  try {
    switch (d.kind) {
      case Kind::Long:
        f.*d.longField = toLong(Variant(text));
        break;
      case Kind::Integer:
        f.*d.intField = toInteger(Variant(text));
        break;
      case Kind::Boolean:
        f.*d.boolField = toBool(Variant(text));
        break;
      case Kind::Text:
        f.*d.textField = text;
        break;
    }
  } catch (const AutomationError&) {
  }
}

}  // namespace

const ClassInfo& AGPMenu::classInfo() const noexcept {
  return MemberTable<AGPMenu>::get(u"AGPMenu");
}

bool AGPMenu::MenuAttExist(const std::u16string& Name) const {
  return findField(Name) != nullptr;
}

std::u16string AGPMenu::MenuAtt(const std::u16string& Name) const {
  const FieldDesc* d = findField(Name);
  if (!d) return {};
  switch (d->kind) {
    case Kind::Long:
      return toU16(f_.*d->longField);
    case Kind::Integer:
      return toU16(f_.*d->intField);
    case Kind::Boolean:
      return f_.*d->boolField ? u"True" : u"False";
    case Kind::Text:
      return f_.*d->textField;
  }
  return {};
}

void AGPMenu::Load(const xml::Node& element) {
  f_.MenuId = 0;
  f_.MenuParentId = -1;
  f_.MenuCustomUrl = false;
  f_.MenuShow = false;
  others_.clear();
  for (const xml::Attribute a : element.attributes()) {
    std::u16string name = xml::nameOf(a);
    if (const FieldDesc* d = findField(name)) {
      storeConverted(f_, *d, xml::valueOf(a));
      continue;
    }
    std::u16string value = xml::valueOf(a);
    if (!xml::isXmlName(name) || xml::firstNonXmlChar(value)) continue;
    const auto same = std::find_if(others_.begin(), others_.end(), [&](const OtherAttribute& o) {
      return equalsNoCase(o.name, name);
    });
    if (same != others_.end()) {
      same->value = std::move(value);
    } else {
      others_.push_back({std::move(name), std::move(value)});
    }
  }
}

void AGPMenu::scriptLoad(Variant& xmlControl) {
  if (!xmlControl.isString()) return;
  xml::Document doc;
  if (const xml::Node element =
          xml::parseElementMarkup(doc, xmlControl.stringValue(), xml::ReadMode::Exact)) {
    Load(element);
  }
}

}  // namespace vantorel
