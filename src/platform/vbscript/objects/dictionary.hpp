#pragma once
// Scripting.Dictionary: keys of any type but arrays, in insertion order, found in O(1). Numbers
// are the same key whatever their numeric type (1, CLng(1) and 1.0); strings compare by code
// unit or, with CompareMode = vbTextCompare, without regard to case; objects by identity.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/automation/enumerator.hpp"
#include "platform/automation/object.hpp"

namespace vantorel::vbs {

class Dictionary final : public Object {
 public:
  Dictionary() = default;
  const ClassInfo& classInfo() const noexcept override;

  // Raises 457 when the key is there already.
  void add(const Variant& key, const Variant& item);
  bool exists(const Variant& key) const;
  // Reading a missing key adds it with an Empty item, as the script runtime's does.
  Variant item(const Variant& key);
  void setItem(const Variant& key, const Variant& item);
  // Renames a key in place; raises 32811 when it is missing and 457 when the new one is taken.
  void setKey(const Variant& key, const Variant& newKey);
  Variant items() const;  // array from 0, in insertion order
  Variant keys() const;
  // Raises 32811 when the key is missing.
  void remove(const Variant& key);
  void removeAll();
  std::int32_t count() const { return static_cast<std::int32_t>(live_); }
  std::int32_t compareMode() const { return compareMode_; }
  // Raises 5 when the dictionary holds anything, or for a negative mode.
  void setCompareMode(std::int32_t mode);
  std::int32_t hashVal(const Variant& key) const;
  // Walks a snapshot of the keys.
  Ref<Enumerator> newEnum() override;

 protected:
  void detachHeld(std::vector<Variant>& held) noexcept override;

 private:
  struct Entry {
    Variant key;
    Variant item;
    std::size_t hash = 0;
    bool live = false;
  };
  // A slot keeps part of the key's hash beside the entry index, so that a probe past other
  // keys rarely has to touch their entries.
  struct Slot {
    std::uint32_t entry;
    std::uint32_t tag;
  };
  static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;
  static constexpr std::uint32_t kRemoved = 0xFFFFFFFEu;
  static std::uint32_t tagOf(std::size_t hash) { return static_cast<std::uint32_t>(hash >> 32); }

  bool textCompare() const { return compareMode_ != 0; }
  std::size_t hashOf(const Variant& key) const;
  bool sameKey(const Variant& a, const Variant& b) const;
  // The slot of the key, or kNoSlot.
  std::size_t findSlot(const Variant& key, std::size_t hash) const;
  std::size_t insertEntry(Variant key, Variant item, std::size_t hash);
  void placeInTable(std::uint32_t entry, std::size_t hash);
  void rebuildTable(std::size_t capacity);
  void compact();

  std::vector<Entry> entries_;  // insertion order; removed entries stay as holes until compact
  std::vector<Slot> slots_;     // open addressing over entry indexes; size a power of two
  std::size_t live_ = 0;
  std::size_t usedSlots_ = 0;  // live and removed slots
  std::int32_t compareMode_ = 0;
};

}  // namespace vantorel::vbs
