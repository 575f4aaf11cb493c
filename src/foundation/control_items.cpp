#include "foundation/control_items.hpp"

#include <exception>

#include "foundation/model_collection.hpp"
#include "platform/automation/class_info.hpp"
#include "platform/automation/variant_convert.hpp"

namespace vantorel {

namespace {

// The text of an index; nothing for values without one (Null, objects, arrays), so that the
// look-ups never raise.
std::optional<std::u16string> textOf(const Variant& index) {
  try {
    if (index.isNull() || index.isObject() || index.isArray()) return std::nullopt;
    return toString(index);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace

const ClassInfo& AGControlItem::classInfo() const noexcept {
  return MemberTable<AGControlItem>::get(u"AGControlItem");
}

AGControlItems::AGControlItems() : items_(makeRef<CSuperCollection>()) {
  items_->setCompareMode(1);
}

const ClassInfo& AGControlItems::classInfo() const noexcept {
  return MemberTable<AGControlItems>::get(u"AGControlItems");
}

AGControlItem& AGControlItems::at(std::size_t index) const {
  // The collection is private and holds nothing but items.
  return *static_cast<AGControlItem*>(items_->valueAt(index).objectValue());
}

bool AGControlItems::Add(const std::u16string& ItemId, const std::u16string& ItemFn, bool ItemGen,
                         const std::u16string& ItemRemark) {
  if (ItemId.empty() || ItemExist(Variant(ItemId))) return false;
  auto item = makeRef<AGControlItem>();
  item->setItemId(ItemId);
  item->setItemFn(ItemFn);
  item->setItemGen(ItemGen);
  item->setItemRemark(ItemRemark);
  items_->add(Variant(item), ItemId);
  return true;
}

Variant AGControlItems::Delete(const Variant& Index) {
  const std::optional<std::u16string> id = textOf(Index);
  if (!id || id->empty() || !ItemExist(Variant(*id))) return Variant(false);
  items_->remove(Variant(*id));
  return Variant(true);
}

bool AGControlItems::ItemExist(const Variant& Index) const {
  const std::optional<std::u16string> id = textOf(Index);
  return id && !id->empty() && items_->keyExists(*id) != kNoPosition;
}

Ref<AGControlItem> AGControlItems::Item(const Variant& Index) const {
  if (const std::optional<std::int32_t> position = itemPosition(Index, Count())) {
    if (*position == 0) return nullptr;
    return Ref<AGControlItem>(&at(static_cast<std::size_t>(*position - 1)));
  }
  if (Index.type() != VarType::String) return nullptr;
  const std::int32_t position = items_->keyExists(Index.stringValue());
  if (position == kNoPosition) return nullptr;
  return Ref<AGControlItem>(&at(static_cast<std::size_t>(position - items_->baseIndex())));
}

}  // namespace vantorel
