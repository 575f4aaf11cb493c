#include "foundation/collection_keys.hpp"
#include "platform/automation/class_info.hpp"

#include <utility>
#include <vector>

namespace vantorel {

namespace {

// Makes the cKey objects one at a time, so a large key list costs nothing until walked.
class KeysEnumerator final : public Enumerator {
 public:
  KeysEnumerator(std::shared_ptr<const std::vector<CollectionKey>> keys, std::size_t cursor)
      : keys_(std::move(keys)), cursor_(cursor) {}

  bool next(Variant& out) override {
    if (cursor_ >= keys_->size()) return false;
    const CollectionKey& k = (*keys_)[cursor_++];
    out = Variant(makeRef<cKey>(k.name, k.position));
    return true;
  }
  void skip(std::size_t n) override { cursor_ += std::min(n, keys_->size() - cursor_); }
  void reset() override { cursor_ = 0; }
  Ref<Enumerator> clone() override { return makeRef<KeysEnumerator>(keys_, cursor_); }

 private:
  std::shared_ptr<const std::vector<CollectionKey>> keys_;
  std::size_t cursor_;
};

}  // namespace

const ClassInfo& cKey::classInfo() const noexcept {
  return MemberTable<cKey>::get(u"cKey");
}

const ClassInfo& CKeys::classInfo() const noexcept {
  return MemberTable<CKeys>::get(u"CKeys");
}

std::int32_t CKeys::count() const noexcept {
  const CSuperCollection* owner = link_->owner;
  return owner ? static_cast<std::int32_t>(owner->keyCount()) : 0;
}

Ref<Enumerator> CKeys::newEnum() {
  auto keys = std::make_shared<std::vector<CollectionKey>>();
  if (const CSuperCollection* owner = link_->owner) *keys = owner->sortedKeys();
  return makeRef<KeysEnumerator>(std::move(keys), 0);
}

}  // namespace vantorel
