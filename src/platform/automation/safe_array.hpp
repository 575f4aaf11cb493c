#pragma once
// Arrays of any rank with their bounds, as automation and scripts see them. Elements are stored
// with the first dimension varying fastest, so that growing the last dimension keeps every
// element in place (what ReDim Preserve needs). The storage grows geometrically and by realloc
// (a Variant is a tag and a word, so moving its bytes moves it), or by remapping once it is
// large, so that a script growing an array one element at a time, or doubling it, pays
// amortised constant time per element.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/automation/variant.hpp"
#include "platform/sys/block_pages.hpp"

namespace vantorel {

struct ArrayBound {
  std::int32_t lower = 0;
  std::int32_t count = 0;  // elements in this dimension; the upper bound is lower + count - 1
  std::int32_t upper() const noexcept { return lower + count - 1; }
};

class SafeArray {
 public:
  // elementType is what VarType() reports for the elements: Variant for script arrays, Byte for
  // binary data.
  SafeArray(std::vector<ArrayBound> bounds, VarType elementType = VarType::Variant);
  // A one-dimensional array from 0 holding the values.
  static Ref<SafeArray> fromValues(std::vector<Variant> values,
                                   VarType elementType = VarType::Variant);

  void addRef() noexcept { ++refs_; }
  void release() noexcept {
    if (refs_ > 1) {
      --refs_;
    } else {
      releaseLast();
    }
  }
  // The last release hands the objects and arrays among the elements to `held` (see
  // Variant::releaseInto); any other release only counts down.
  void releaseInto(std::vector<Variant>& held) noexcept;
  std::size_t refCount() const noexcept { return refs_; }

  VarType elementType() const noexcept { return elementType_; }
  std::size_t rank() const noexcept { return bounds_.size(); }
  // Dimension numbers run from 1, as LBound and UBound count them.
  const ArrayBound& bound(std::size_t dimension) const { return bounds_.at(dimension - 1); }
  // The first dimension's upper or lower bound (UBound(a), LBound(a)), kept beside the element
  // fields so that a loop's test reads one word; false for an array without dimensions.
  [[gnu::always_inline]] bool firstBound(bool upper, std::int64_t& out) const noexcept {
    if (!dimensioned_) return false;
    out = upper ? firstUpper_ : firstLower_;
    return true;
  }
  const std::vector<ArrayBound>& bounds() const noexcept { return bounds_; }
  std::size_t size() const noexcept { return size_; }

  // Raises "Subscript out of range" (9) when the rank or any index is off.
  Variant& at(std::span<const std::int32_t> indexes);
  const Variant& at(std::span<const std::int32_t> indexes) const;
  // One-dimensional shortcut, answered here for the commonest case: a one-dimensional array.
  Variant& at(std::int32_t index) { return forWrite(offsetOf1(index)); }
  const Variant& at(std::int32_t index) const { return data_[offsetOf1(index)]; }

  // The element of a one-dimensional array for writing, when its holder is the only one (else
  // the array must be copied first); false for a shared array, another rank, an index out of
  // range or an element whose pages are still to be faulted in, all of which at() answers.
  // fresh tells that the element was not written since it was last Empty, so it is Empty (a
  // growing buffer's next element).
  [[gnu::always_inline]] bool soleElementForWrite(std::int32_t index, Variant*& element,
                                                  bool& fresh) noexcept {
    const auto i = static_cast<std::size_t>(index - soleLower_);
    if (refs_ != 1 || i >= soleEnd_) return false;
    fresh = i >= writtenEnd_;
    if (fresh) writtenEnd_ = i + 1;
    element = data_ + i;
    return true;
  }

  // Element storage in storage order (first dimension fastest), as For Each walks it.
  std::span<Variant> elements() noexcept {
    writtenEnd_ = size_;
    return {data_, size_};
  }
  std::span<const Variant> elements() const noexcept { return {data_, size_}; }

  // ReDim Preserve: only the last dimension's upper bound may change; anything else raises 9.
  void resizePreserving(const std::vector<ArrayBound>& bounds);
  // Fixed arrays (declared with bounds) refuse ReDim with error 10.
  bool fixed() const noexcept { return fixed_; }
  void setFixed(bool fixed) noexcept { fixed_ = fixed; }

  Ref<SafeArray> clone() const;

 private:
  ~SafeArray();
  void releaseLast() noexcept;
  std::size_t offsetOf(std::span<const std::int32_t> indexes) const;
  // Every element handed out for writing passes here.
  Variant& forWrite(std::size_t offset) noexcept {
    if (offset >= writtenEnd_) {
      writtenEnd_ = offset + 1;
      if (offset >= readyEnd_) faultInFrom(offset);
    }
    return data_[offset];
  }
  std::size_t offsetOf1(std::int32_t index) const {
    if (bounds_.size() == 1) {
      const std::int64_t i = static_cast<std::int64_t>(index) - bounds_[0].lower;
      if (i >= 0 && i < bounds_[0].count) return static_cast<std::size_t>(i);
    }
    return offsetOf(std::span<const std::int32_t>(&index, 1));
  }
  // Sets the element count: new elements are Empty; the objects and arrays among the ones cut
  // off go to dropped, for the caller to release once the array is consistent again.
  void resizeStorage(std::size_t n, std::vector<Variant>& dropped);
  void reallocate(std::size_t capacity);
  void shrinkStorage() noexcept;
  void faultInFrom(std::size_t offset) noexcept;
  void freeStorage() noexcept;
  // Called whenever the bounds, the size or readyEnd_ change: sets the fields derived from them.
  void refreshDerived() noexcept;

  // The fields the hot paths read come first, in one cache line.
  std::size_t refs_ = 0;
  // What soleElementForWrite needs, in two words instead of the bounds and the two ends: the
  // lower bound of a one-dimensional array, and the end of its elements that may be handed out
  // without faulting pages in (0 for any other rank).
  std::int64_t soleLower_ = 0;
  std::size_t soleEnd_ = 0;
  // Elements from writtenEnd_ (at most size_) have not been handed out for writing since they
  // were last Empty: they are Empty, and a cut or the release need not read them, so the pages
  // of a large array that were never written stay unfaulted. In storage of many megabytes,
  // which is a mapping of its own (see reallocate), the storage beyond size_ holds Empty
  // elements too: its pages read zero until written, and zero bytes are an Empty Variant.
  std::size_t writtenEnd_ = 0;
  Variant* data_ = nullptr;
  // bounds_.front(), for firstBound.
  std::int64_t firstLower_ = 0;
  std::int64_t firstUpper_ = 0;
  bool dimensioned_ = false;
  bool fixed_ = false;
  bool mapped_ = false;
  VarType elementType_;
  std::vector<ArrayBound> bounds_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
  // A mapped block's pages are faulted in ahead of the writes, a stretch at a time, up to the
  // element readyEnd_ (beyond every element for storage on the heap).
  std::size_t readyEnd_ = SIZE_MAX;
  sys::BlockPages pages_;
};

}  // namespace vantorel
