#include "platform/automation/enumerator.hpp"

#include "platform/automation/bind.hpp"
#include "platform/automation/safe_array.hpp"

namespace vantorel {

void Enumerator::skip(std::size_t n) {
  Variant ignored;
  while (n-- > 0 && next(ignored)) {
  }
}

const ClassInfo& Enumerator::classInfo() const noexcept {
  static const ClassInfo& info = describeClass(u"IEnumVARIANT", [](ClassInfo&) {});
  return info;
}

namespace {

class ArrayEnumerator final : public Enumerator {
 public:
  ArrayEnumerator(Ref<SafeArray> array, std::size_t position)
      : array_(std::move(array)), position_(position) {}

  bool next(Variant& out) override {
    if (!array_ || position_ >= array_->size()) return false;
    out = array_->elements()[position_++];
    return true;
  }
  void reset() override { position_ = 0; }
  Ref<Enumerator> clone() override { return makeRef<ArrayEnumerator>(array_, position_); }

 private:
  Ref<SafeArray> array_;  // shared: a write to the script's array copies it first
  std::size_t position_;
};

}  // namespace

Ref<Enumerator> makeArrayEnumerator(const Variant& array) {
  return makeRef<ArrayEnumerator>(array.arrayRef(), 0);
}

}  // namespace vantorel
