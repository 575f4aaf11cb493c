// The script members of the foundation's classes: collections, the property bag, the string
// builder, status, and the settings and keyword lists.
#include <exception>
#include <string>

#include "foundation/collection_keys.hpp"
#include "foundation/control_items.hpp"
#include "foundation/custom_settings.hpp"
#include "foundation/keyword_list.hpp"
#include "foundation/properties.hpp"
#include "foundation/status.hpp"
#include "foundation/string_builder.hpp"
#include "foundation/super_collection.hpp"
#include "platform/automation/bind.hpp"
#include "platform/automation/variant_convert.hpp"
#include "surface/install_table.hpp"
#include "surface/surface_tables.hpp"

namespace vantorel::surface {

namespace {

// A script's argument as a file's path: Null, or an object without a value, names none.
std::u16string pathText(const Variant& file) {
  try {
    return toString(file);
  } catch (const std::exception&) {
    return {};
  }
}

// AGPKeyword.Load: True when the file's words were added; a failure is shown as the list says.
bool loadKeywordFile(AGPKeyword& list, const Variant& file) {
  const Expected<> loaded = list.load(pathText(file));
  if (!loaded) showKeywordLoadFailure(loaded.failure());
  return loaded.ok();
}

// AGPSettings.LoadSettings: a file that does not load is shown; always False.
bool loadSettingsFile(AGPSettings& settings) {
  if (const Expected<> loaded = settings.load(); !loaded) {
    showSettingsLoadFailure(loaded.failure());
  }
  return false;
}

}  // namespace

void installFoundationTables() noexcept {
  installTable<cKey>(u"cKey", [](ClassInfo& c) {
    ClassBuilder<cKey>(c).get<&cKey::name>(u"Name").get<&cKey::associatedIndex>(u"AssociatedIndex");
  });
  installTable<CKeys>(u"CKeys", [](ClassInfo& c) {
    ClassBuilder<CKeys>(c)
        .get<&CKeys::count>(u"Count")
        .get<&CKeys::newEnum>(u"NewEnum")
        .enumerator<&CKeys::newEnum>();
  });
  installTable<AGControlItem>(u"AGControlItem", [](ClassInfo& c) {
    using T = AGControlItem;
    ClassBuilder<T>(c)
        .prop<&T::Key, &T::setKey>(u"Key")
        .prop<&T::ItemId, &T::setItemId>(u"ItemId")
        .prop<&T::ItemFn, &T::setItemFn>(u"ItemFn")
        .prop<&T::ItemGen, &T::setItemGen>(u"ItemGen")
        .prop<&T::ItemRemark, &T::setItemRemark>(u"ItemRemark");
  });
  installTable<AGControlItems>(u"AGControlItems", [](ClassInfo& c) {
    using T = AGControlItems;
    ClassBuilder<T>(c)
        .method<&T::Add>(u"Add")
        .method<&T::Count>(u"Count")
        .method<&T::Delete>(u"Delete")
        .method<&T::ItemExist>(u"ItemExist")
        .method<&T::Item>(u"Item")
        .method<&T::scriptNewEnum>(u"NewEnum_item")
        .enumerator<&T::newEnum>();
  });
  installTable<CSuperCollection>(u"CSuperCollection", [](ClassInfo& c) {
    ClassBuilder<CSuperCollection>(c)
        .prop<&CSuperCollection::compareMode, &CSuperCollection::setCompareMode>(u"CompareMode")
        .prop<&CSuperCollection::allowItemAsignments, &CSuperCollection::setAllowItemAsignments>(
            u"AllowItemAsignments")
        .prop<&CSuperCollection::baseIndex, &CSuperCollection::setBaseIndex>(u"BaseIndex")
        .get<&CSuperCollection::keys>(u"Keys")
        .get<&CSuperCollection::scriptKey>(u"Key")
        .get<&CSuperCollection::scriptKeyExists>(u"KeyExists")
        .method<&CSuperCollection::scriptChangeKey>(u"ChangeKey")
        .method<&CSuperCollection::scriptChangeKeyForIndex>(u"ChangeKeyForIndex")
        .method<&CSuperCollection::scriptAdd>(u"Add")
        .get<&CSuperCollection::count>(u"Count")
        .method<&CSuperCollection::remove>(u"Remove")
        .prop<&CSuperCollection::item, &CSuperCollection::setItem>(u"Item")
        .get<&CSuperCollection::newEnum>(u"NewEnum")
        .method<&CSuperCollection::scriptClear>(u"Clear")
        .method<&CSuperCollection::moveItem>(u"MoveItem")
        .defaultMember(u"Item")
        .enumerator<&CSuperCollection::newEnum>();
  });
  installTable<AGPStringBuilder>(u"AGPStringBuilder", [](ClassInfo& c) {
    ClassBuilder<AGPStringBuilder>(c)
        .method<&AGPStringBuilder::clear>(u"Clear")
        .method<&AGPStringBuilder::append>(u"Append")
        .method<&AGPStringBuilder::toString>(u"ToString");
  });
  installTable<AGPStatus>(u"AGPStatus", [](ClassInfo& c) {
    ClassBuilder<AGPStatus>(c)
        .method<&AGPStatus::DispStatus>(u"DispStatus")
        .method<&AGPStatus::ShowStatus>(u"ShowStatus")
        .method<&AGPStatus::ShowStatus2>(u"ShowStatus2")
        .method<&AGPStatus::ShowStatus3>(u"ShowStatus3")
        .method<&AGPStatus::StatusIsCancelled>(u"StatusIsCancelled")
        .method<&AGPStatus::CloseStatus>(u"CloseStatus")
        .method<&AGPStatus::SetStatus>(u"SetStatus")
        .method<&AGPStatus::Refresh>(u"Refresh")
        .method<&AGPStatus::GetSysCode>(u"GetSysCode");
  });
  installTable<AGProperty>(u"AGProperty", [](ClassInfo& c) {
    ClassBuilder<AGProperty>(c)
        .prop<&AGProperty::name, &AGProperty::setName>(u"Key")
        .prop<&AGProperty::name, &AGProperty::setName>(u"Name")
        .prop<&AGProperty::dataType, &AGProperty::setDataType>(u"DataType")
        .prop<&AGProperty::value, &AGProperty::setValue>(u"Value")
        .prop<&AGProperty::regSave, &AGProperty::setRegSave>(u"RegSave")
        .prop<&AGProperty::regFormat, &AGProperty::setRegFormat>(u"RegFormat")
        .prop<&AGProperty::fileSave, &AGProperty::setFileSave>(u"FileSave")
        .prop<&AGProperty::sync, &AGProperty::setSync>(u"Sync");
  });
  installTable<AGProperties>(u"AGProperties", [](ClassInfo& c) {
    ClassBuilder<AGProperties>(c)
        .method<&AGProperties::scriptAdd>(u"Add")
        .get<&AGProperties::count>(u"Count")
        .method<&AGProperties::scriptDelete>(u"Delete")
        .get<&AGProperties::scriptPropertyExist>(u"PropertyExist")
        .get<&AGProperties::scriptItem>(u"Item")
        .get<&AGProperties::newEnum>(u"NewEnum_prp")
        .defaultMember(u"Item")
        .enumerator<&AGProperties::newEnum>();
  });
  installTable<AGPSettings>(u"AGPSettings", [](ClassInfo& c) {
    ClassBuilder<AGPSettings>(c)
        .method<&loadSettingsFile>(u"LoadSettings")
        .method<&AGPSettings::LoadSettingType>(u"LoadSettingType")
        .method<&AGPSettings::LoadSettingValue>(u"LoadSettingValue");
  });
  installTable<AGPKeyword>(u"AGPKeyword", [](ClassInfo& c) {
    ClassBuilder<AGPKeyword>(c)
        .get<&AGPKeyword::curIndex>(u"curIndex")
        .get<&AGPKeyword::Count>(u"Count")
        .method<&AGPKeyword::IsKeyword>(u"IsKeyword")
        .method<&loadKeywordFile>(u"Load");
  });
}

}  // namespace vantorel::surface
