#pragma once
// CSuperCollection: the keyed ordered container under every collection class of the engine.
// Items keep a fixed order (positions run from BaseIndex) and may carry a unique string key;
// cEnumerationObject walks them in position order and tolerates removals and appends made
// during the walk.
//
// Keys are found through a hash map (key -> slot) rather than a sorted key array, and each
// slot remembers its position, so keyed inserts and lookups stay constant time for large
// collections; the sorted order exists only where it is observable, in Keys.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/automation/enumerator.hpp"
#include "platform/automation/object.hpp"
#include "platform/automation/variant.hpp"

namespace vantorel {

class CKeys;
class CSuperCollection;

// The errors of the collection, raised with these numbers and descriptions and no source.
namespace collection_error {
inline constexpr std::int32_t kAlreadyInitialized = static_cast<std::int32_t>(0x80000500u);
inline constexpr std::int32_t kKeyNotFound = static_cast<std::int32_t>(0x80000501u);
inline constexpr std::int32_t kMoveInLoop = static_cast<std::int32_t>(0x80000502u);
inline constexpr std::int32_t kInvalidDatatype = static_cast<std::int32_t>(0x80000503u);
inline constexpr std::int32_t kNoPositionSupplied = static_cast<std::int32_t>(0x80000504u);
}  // namespace collection_error

// What KeyExists returns for a missing key, and the position argument of Add meaning "none".
inline constexpr std::int32_t kNoPosition = 0x10000001;

// Insert modes of Add.
inline constexpr std::int32_t kInsertBefore = 1;
inline constexpr std::int32_t kInsertAfter = 2;
inline constexpr std::int32_t kInsertFirst = 3;
inline constexpr std::int32_t kInsertLast = 4;

namespace collection_detail {

// The non-owning tie between a collection and the enumerators and key lists it handed out;
// the collection clears `owner` when it goes away.
struct Link {
  CSuperCollection* owner = nullptr;
};

struct KeyHash {
  using is_transparent = void;
  bool noCase = false;
  std::size_t operator()(std::u16string_view s) const noexcept;
};
struct KeyEqual {
  using is_transparent = void;
  bool noCase = false;
  bool operator()(std::u16string_view a, std::u16string_view b) const noexcept;
};

}  // namespace collection_detail

// One key as Keys hands it out.
struct CollectionKey {
  std::u16string name;
  std::int32_t position = 0;
};

class CSuperCollection final : public Object {
 public:
  CSuperCollection();
  CSuperCollection(const CSuperCollection&) = delete;
  CSuperCollection& operator=(const CSuperCollection&) = delete;

  const ClassInfo& classInfo() const noexcept override;

  // 0 compares keys by UTF-16 code units, 1 without regard to case. Case-insensitive here means
  // the engine's invariant case mapping, never the machine's locale, so a project behaves the
  // same for every user.
  std::int32_t compareMode() const noexcept { return compareMode_; }
  void setCompareMode(std::int32_t mode);
  bool allowItemAsignments() const noexcept { return allowItemAsignments_; }
  void setAllowItemAsignments(bool allow) noexcept { allowItemAsignments_ = allow; }
  std::int32_t baseIndex() const noexcept { return base_; }
  void setBaseIndex(std::int32_t base);

  Ref<CKeys> keys();
  // The keys with their positions, in ascending key order under the compare mode.
  std::vector<CollectionKey> sortedKeys() const;
  std::size_t keyCount() const noexcept { return keys_.size(); }
  // Raises 9 for a position outside the items.
  std::u16string key(std::int32_t position) const;
  // The item's position, or kNoPosition; "" is never found.
  std::int32_t keyExists(std::u16string_view key) const;
  void changeKey(std::u16string_view oldKey, std::u16string_view newKey);
  // Does nothing for a position outside the items.
  void changeKeyForIndex(std::int32_t position, std::u16string_view newKey);

  void add(const Variant& item, std::u16string_view key = {}, std::int32_t insertMode = kInsertLast,
           std::int32_t position = kNoPosition);
  std::int32_t count() const noexcept { return static_cast<std::int32_t>(order_.size()); }
  void remove(const Variant& indexKey);
  // Empty for a missing key or a position outside the items.
  Variant item(const Variant& indexKey) const;
  void setItem(const Variant& indexKey, const Variant& newItem);
  Ref<Enumerator> newEnum() override;
  void clear();
  std::int32_t moveItem(const Variant& moved, const Variant& target);

  // Typed access for engine code, without the Variant round trip.
  // The value stored under the key, or nullptr.
  const Variant* find(std::u16string_view key) const;
  // The value at a 0-based index (0 .. count() - 1).
  const Variant& valueAt(std::size_t index) const { return slots_[order_[index]].value; }
  std::int32_t aliveEnumerators() const noexcept { return aliveEnumerators_; }

  // Bindings for the member table, where the script's argument kinds differ from the C++ API.
  std::int32_t scriptKeyExists(const std::u16string& key) const { return keyExists(key); }
  std::u16string scriptKey(std::int32_t position) const { return key(position); }
  void scriptChangeKey(const std::u16string& oldKey, const std::u16string& newKey) {
    changeKey(oldKey, newKey);
  }
  void scriptChangeKeyForIndex(const std::u16string& index, const std::u16string& newKey);
  void scriptAdd(Variant& item, std::optional<std::u16string> key,
                 std::optional<std::int32_t> insertMode, std::optional<std::int32_t> position);
  Variant scriptClear();

 protected:
  ~CSuperCollection() override;

 private:
  friend class cEnumerationObject;
  friend class CKeys;

  struct Slot {
    Variant value;
    const std::u16string* entry = nullptr;  // the item's key entry (a map node's key), if any
    // The item's own spelling of its key, kept only when a change of case made it differ from
    // the key entry's text.
    std::unique_ptr<std::u16string> spelling;
    std::int32_t index = -1;  // 0-based position, -1 while the slot is free

    std::u16string_view key() const noexcept {
      if (spelling) return *spelling;
      return entry ? std::u16string_view(*entry) : std::u16string_view();
    }
  };
  using KeyMap = std::unordered_map<std::u16string, std::int32_t, collection_detail::KeyHash,
                                    collection_detail::KeyEqual>;

  // A position or key argument resolved to a 0-based index; nullopt when the key is missing or
  // the position lies outside the items. Other kinds raise "Invalid datatype".
  struct Resolved {
    std::optional<std::size_t> index;
    bool byKey = false;
  };
  Resolved resolve(const Variant& indexKey) const;
  std::size_t resolveOrRaise(const Variant& indexKey) const;
  void moveIndex(std::size_t from, std::size_t to);
  void renumber(std::size_t from, std::size_t to);
  void resetStorage();
  void dropKeyEntry(Slot& slot);
  void setKeyEntry(std::int32_t slot, std::u16string_view key);
  static void setItemKeyProperty(const Variant& value, std::u16string_view key);

  std::shared_ptr<collection_detail::Link> link_;
  std::vector<Slot> slots_;
  std::vector<std::int32_t> order_;  // 0-based position -> slot
  KeyMap keys_;                      // key entry text -> slot
  std::int32_t compareMode_ = 0;
  std::int32_t base_ = 1;
  bool allowItemAsignments_ = false;
  std::int32_t aliveEnumerators_ = 0;
  // Changes with Clear and BaseIndex, so that walks begun before see the items as gone.
  std::uint64_t generation_ = 0;
};

// The enumerator of NewEnum: a copy of the position list and a cursor into it.
class cEnumerationObject final : public Enumerator {
 public:
  cEnumerationObject(std::shared_ptr<collection_detail::Link> link, std::vector<std::int32_t> copy,
                     std::size_t cursor, std::uint64_t generation);

  bool next(Variant& out) override;
  void skip(std::size_t n) override;
  void reset() override { cursor_ = 0; }
  Ref<Enumerator> clone() override;

 protected:
  ~cEnumerationObject() override;

 private:
  std::shared_ptr<collection_detail::Link> link_;
  std::vector<std::int32_t> copy_;
  std::size_t cursor_;
  std::uint64_t generation_;
};

}  // namespace vantorel
