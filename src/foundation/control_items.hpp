#pragma once
// AGControlItems: the output files a generation would write, one AGControlItem each, keyed by the
// id of the control that makes it (compared without regard to case). The host switches single
// files off through ItemGen; the generation skips those and makes files that have no item.
#include <cstdint>
#include <optional>
#include <string>

#include "foundation/super_collection.hpp"
#include "platform/automation/object.hpp"
#include "platform/automation/variant.hpp"

namespace vantorel {

class AGControlItem final : public Object {
 public:
  const ClassInfo& classInfo() const noexcept override;

  const std::u16string& Key() const noexcept { return key_; }
  void setKey(const std::u16string& value) { key_ = value; }
  const std::u16string& ItemId() const noexcept { return itemId_; }
  void setItemId(const std::u16string& value) { itemId_ = value; }
  const std::u16string& ItemFn() const noexcept { return itemFn_; }
  void setItemFn(const std::u16string& value) { itemFn_ = value; }
  bool ItemGen() const noexcept { return itemGen_; }
  void setItemGen(bool value) noexcept { itemGen_ = value; }
  const std::u16string& ItemRemark() const noexcept { return itemRemark_; }
  void setItemRemark(const std::u16string& value) { itemRemark_ = value; }

 private:
  std::u16string key_;
  std::u16string itemId_;
  std::u16string itemFn_;
  bool itemGen_ = false;
  std::u16string itemRemark_;
};

class AGControlItems final : public Object {
 public:
  AGControlItems();
  const ClassInfo& classInfo() const noexcept override;

  // False, adding nothing, for an empty id or one already listed.
  bool Add(const std::u16string& ItemId, const std::u16string& ItemFn, bool ItemGen,
           const std::u16string& ItemRemark);
  std::int32_t Count() const noexcept { return items_->count(); }
  // By id (the text of Index); false for "" or an id not listed.
  Variant Delete(const Variant& Index);
  bool ItemExist(const Variant& Index) const;
  // A number is a position from 1, a text an id; anything else, or no match, is Nothing.
  Ref<AGControlItem> Item(const Variant& Index) const;
  Ref<Enumerator> newEnum() override { return items_->newEnum(); }

  Ref<Enumerator> scriptNewEnum() { return newEnum(); }

 private:
  AGControlItem& at(std::size_t index) const;

  Ref<CSuperCollection> items_;
};

}  // namespace vantorel
