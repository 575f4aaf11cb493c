#pragma once
// The key list of a CSuperCollection: CKeys walks cKey objects (key and position) in key order.
#include <cstdint>
#include <memory>
#include <string>

#include "foundation/super_collection.hpp"

namespace vantorel {

class cKey final : public Object {
 public:
  cKey(std::u16string name, std::int32_t associatedIndex)
      : name_(std::move(name)), associatedIndex_(associatedIndex) {}

  const ClassInfo& classInfo() const noexcept override;

  const std::u16string& name() const noexcept { return name_; }
  std::int32_t associatedIndex() const noexcept { return associatedIndex_; }

 private:
  std::u16string name_;
  std::int32_t associatedIndex_;
};

class CKeys final : public Object {
 public:
  // Holds no reference on the collection: a key list outliving it is simply empty.
  explicit CKeys(std::shared_ptr<collection_detail::Link> link) : link_(std::move(link)) {}

  const ClassInfo& classInfo() const noexcept override;

  std::int32_t count() const noexcept;
  // Reads the collection's keys now, in key order.
  Ref<Enumerator> newEnum() override;

 private:
  std::shared_ptr<collection_detail::Link> link_;
};

}  // namespace vantorel
