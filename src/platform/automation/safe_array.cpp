#include "platform/automation/safe_array.hpp"

#include "platform/automation/automation_error.hpp"

namespace vantorel {

namespace {

std::size_t elementCount(const std::vector<ArrayBound>& bounds) {
  std::size_t n = bounds.empty() ? 0 : 1;
  for (const ArrayBound& b : bounds) {
    if (b.count < 0) raiseVbError(vberr::kSubscriptOutOfRange);
    n *= static_cast<std::size_t>(b.count);
  }
  return n;
}

}  // namespace

SafeArray::SafeArray(std::vector<ArrayBound> bounds, VarType elementType)
    : elementType_(elementType), bounds_(std::move(bounds)) {
  data_.resize(elementCount(bounds_));
}

Ref<SafeArray> SafeArray::fromValues(std::vector<Variant> values, VarType elementType) {
  Ref<SafeArray> a(new SafeArray({ArrayBound{0, static_cast<std::int32_t>(values.size())}}, elementType));
  a->data_ = std::move(values);
  return a;
}

std::size_t SafeArray::offsetOf(std::span<const std::int32_t> indexes) const {
  if (indexes.size() != bounds_.size()) raiseVbError(vberr::kSubscriptOutOfRange);
  std::size_t offset = 0;
  std::size_t stride = 1;
  for (std::size_t d = 0; d < bounds_.size(); ++d) {
    const ArrayBound& b = bounds_[d];
    std::int64_t i = static_cast<std::int64_t>(indexes[d]) - b.lower;
    if (i < 0 || i >= b.count) raiseVbError(vberr::kSubscriptOutOfRange);
    offset += static_cast<std::size_t>(i) * stride;
    stride *= static_cast<std::size_t>(b.count);
  }
  return offset;
}

Variant& SafeArray::at(std::span<const std::int32_t> indexes) { return data_[offsetOf(indexes)]; }

const Variant& SafeArray::at(std::span<const std::int32_t> indexes) const {
  return data_[offsetOf(indexes)];
}

void SafeArray::resizePreserving(const std::vector<ArrayBound>& bounds) {
  if (fixed_) raiseVbError(vberr::kArrayFixedOrLocked);
  if (bounds.size() != bounds_.size()) raiseVbError(vberr::kSubscriptOutOfRange);
  for (std::size_t d = 0; d + 1 < bounds.size(); ++d) {
    if (bounds[d].lower != bounds_[d].lower || bounds[d].count != bounds_[d].count) {
      raiseVbError(vberr::kSubscriptOutOfRange);
    }
  }
  // Storage is first-dimension-fastest, so a change of the last dimension only appends or
  // truncates whole slices.
  data_.resize(elementCount(bounds));
  bounds_ = bounds;
}

Ref<SafeArray> SafeArray::clone() const {
  Ref<SafeArray> copy(new SafeArray(bounds_, elementType_));
  copy->data_ = data_;
  copy->fixed_ = fixed_;
  return copy;
}

void SafeArray::releaseLast() noexcept {
  std::vector<Variant> held;
  releaseInto(held);
  releaseHeld(held);
}

void SafeArray::releaseInto(std::vector<Variant>& held) noexcept {
  if (--refs_ != 0) return;
  for (Variant& v : data_) {
    if (v.holdsContainer()) held.push_back(std::move(v));
  }
  delete this;
}

}  // namespace vantorel
