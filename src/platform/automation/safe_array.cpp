#include "platform/automation/safe_array.hpp"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/automation/automation_error.hpp"
#include "platform/sys/memory_tuning.hpp"

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
  std::vector<Variant> none;
  resizeStorage(elementCount(bounds_), none);
}

SafeArray::~SafeArray() {
  for (std::size_t i = 0; i < writtenEnd_; ++i) data_[i].~Variant();
  freeStorage();
}

void SafeArray::freeStorage() noexcept {
  if (mapped_) {
    sys::unmapBlock(data_, capacity_ * sizeof(Variant));
  } else {
    std::free(data_);
  }
  data_ = nullptr;
  capacity_ = 0;
  mapped_ = false;
  writtenEnd_ = 0;
  readyEnd_ = SIZE_MAX;
  refreshDerived();
}

void SafeArray::refreshDerived() noexcept {
  dimensioned_ = !bounds_.empty();
  if (dimensioned_) {
    firstLower_ = bounds_.front().lower;
    firstUpper_ = bounds_.front().upper();
  }
  if (bounds_.size() == 1) {
    soleLower_ = bounds_.front().lower;
    soleEnd_ = std::min(size_, readyEnd_);
  } else {
    soleEnd_ = 0;
  }
}

void SafeArray::faultInFrom(std::size_t offset) noexcept {
  // The rest of the huge page's stretch the element lies in: the next writes go there.
  constexpr std::uintptr_t kStretch = sys::BlockPages::kStretch;
  const auto from = reinterpret_cast<std::uintptr_t>(data_ + offset);
  const std::uintptr_t to = std::min((from & ~(kStretch - 1)) + kStretch,
                                     reinterpret_cast<std::uintptr_t>(data_ + capacity_));
  readyEnd_ =
      pages_.faultIn(data_ + offset, to - from) ? offset + (to - from) / sizeof(Variant) : SIZE_MAX;
  refreshDerived();
}

Ref<SafeArray> SafeArray::fromValues(std::vector<Variant> values, VarType elementType) {
  Ref<SafeArray> a(
      new SafeArray({ArrayBound{0, static_cast<std::int32_t>(values.size())}}, elementType));
  std::move(values.begin(), values.end(), a->elements().begin());
  return a;
}

void SafeArray::reallocate(std::size_t capacity) {
  if (capacity > SIZE_MAX / sizeof(Variant)) throw std::bad_alloc();
  const std::size_t bytes = capacity * sizeof(Variant);
  const std::size_t oldBytes = capacity_ * sizeof(Variant);
  // Arrays of millions of elements (a growing buffer, a ReDim of a large one) take a mapping of
  // their own: it grows by remapping, so the elements are neither copied nor faulted in again,
  // and its new pages read zero, so the new elements need no writing; its pages are faulted in
  // a stretch at a time ahead of the writes (see BlockPages). Below that size, the heap's
  // realloc, which keeps freed blocks for reuse.
  constexpr std::size_t kMappedBlock = 8 * 1024 * 1024;
  // The live elements move as bytes (a Variant holds no pointer to itself), and only those
  // ever written: the rest are Empty, which fresh pages and the constructor both give.
  const std::size_t moved = std::min(size_, writtenEnd_);
  void* p = nullptr;
  if (bytes >= kMappedBlock) {
    p = mapped_ ? sys::remapBlock(data_, oldBytes, bytes) : nullptr;
    if (p) {
      pages_.adopt(p, bytes);
    } else {
      // A fresh mapping: the first, or where the kernel (or a tool watching the process) will
      // not remap.
      p = sys::mapBlock(bytes);
      if (!p) throw std::bad_alloc();
      pages_.adopt(p, bytes);
      readyEnd_ = pages_.faultIn(p, moved * sizeof(Variant)) ? moved : SIZE_MAX;
      if (moved > 0) std::memcpy(p, static_cast<void*>(data_), moved * sizeof(Variant));
      if (mapped_) {
        sys::unmapBlock(data_, oldBytes);
      } else {
        std::free(data_);
      }
    }
    mapped_ = true;
  } else if (mapped_) {
    p = std::malloc(bytes);
    if (!p) throw std::bad_alloc();
    if (moved > 0) std::memcpy(p, static_cast<void*>(data_), moved * sizeof(Variant));
    auto* elements = static_cast<Variant*>(p);
    for (std::size_t i = moved; i < size_; ++i) new (elements + i) Variant();
    sys::unmapBlock(data_, oldBytes);
    mapped_ = false;
    readyEnd_ = SIZE_MAX;
  } else {
    p = std::realloc(static_cast<void*>(data_), bytes);
    if (!p) throw std::bad_alloc();
  }
  data_ = static_cast<Variant*>(p);
  capacity_ = capacity;
  refreshDerived();
}

void SafeArray::shrinkStorage() noexcept {
  if (size_ == 0) {
    freeStorage();
    return;
  }
  try {
    reallocate(size_);
  } catch (const std::bad_alloc&) {
    // The larger block stays: nothing is lost.
  }
}

void SafeArray::resizeStorage(std::size_t n, std::vector<Variant>& dropped) {
  if (n > capacity_) {
    // Doubling when growing; a first allocation, or a jump past double, takes what it needs.
    reallocate(capacity_ == 0 ? n : std::max(n, capacity_ * 2));
  }
  // Only the elements written may hold anything to release; the ones cut off are left Empty,
  // as a mapped block's storage beyond its size must be.
  std::size_t containers = 0;
  for (std::size_t i = n; i < writtenEnd_; ++i) containers += data_[i].holdsContainer() ? 1 : 0;
  dropped.reserve(containers);
  // A mapped block's elements beyond the size are Empty already; heap storage gained is not.
  if (!mapped_) {
    for (std::size_t i = size_; i < n; ++i) new (data_ + i) Variant();
  }
  for (std::size_t i = n; i < writtenEnd_; ++i) {
    if (data_[i].holdsContainer()) {
      dropped.push_back(std::move(data_[i]));
    } else {
      data_[i].clear();
    }
  }
  writtenEnd_ = std::min(writtenEnd_, n);
  size_ = n;
  // An array cut to a small part of its storage gives the rest back.
  if (n < capacity_ / 4) shrinkStorage();
  refreshDerived();
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

Variant& SafeArray::at(std::span<const std::int32_t> indexes) {
  return forWrite(offsetOf(indexes));
}

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
  std::vector<ArrayBound> newBounds = bounds;
  // Objects and arrays cut off are released once the array has its new bounds: releasing one
  // may run a Class_Terminate that reads or changes this array.
  std::vector<Variant> dropped;
  resizeStorage(elementCount(newBounds), dropped);
  bounds_.swap(newBounds);
  refreshDerived();
  releaseHeld(dropped);
}

Ref<SafeArray> SafeArray::clone() const {
  Ref<SafeArray> copy(new SafeArray(bounds_, elementType_));
  std::copy(data_, data_ + writtenEnd_, copy->data_);
  copy->writtenEnd_ = writtenEnd_;
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
  // One pass over the elements: containers move out, the rest are released here, so the
  // destructor has nothing left to walk. Elements never written are not read: the pages of a
  // large array never written stay unfaulted.
  Variant::releaseAll(data_, writtenEnd_, held);
  writtenEnd_ = 0;
  delete this;
}

}  // namespace vantorel
