#pragma once
// ModelCollection<T>: what the object model's keyed collections (tables, charts, trendlines,
// databases, fields, master/detail links) share. Their items, all of type T, sit in a private
// CSuperCollection in the order they were added, keyed without regard to case; most carry a
// 16-bit sequence number that the collection keeps 1 to Count.
//
// Only the storage and the rules that several collections follow alike live here; the course of
// Add and Change that the collections of named items share is NamedCollection's. What Add
// refuses, what a rename or deletion carries along, how curSeq reads, and the member table rows
// stay with each collection: scripts see them differ.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "foundation/setting_catalog.hpp"
#include "foundation/super_collection.hpp"
#include "platform/automation/object.hpp"
#include "platform/automation/variant.hpp"
#include "platform/text/case_fold.hpp"

namespace vantorel {

// A stored value as text; "" when something that has no text form was stored there.
std::u16string storedText(const Variant& value) noexcept;
// An index argument as the text a key lookup uses; "" (never a key) when it has no text form.
inline std::u16string indexText(const Variant& index) noexcept {
  return storedText(index);
}

// A numeric Item index (Integer, Long, Single, Double or Byte): the 1-based position it rounds
// to, or 0 when that lies outside 1..count. Nothing for an index of any other kind.
std::optional<std::int32_t> itemPosition(const Variant& index, std::int32_t count);

// A 16-bit sequence number one higher, for appending; raises overflow when the range is full.
std::int16_t nextSeq(std::int32_t count);
// One lower, for renumbering after a deletion; the bottom of the range stays.
std::int16_t lowerSeq(std::int16_t seq) noexcept;

// Which of the items with equal sequence numbers a teardown meets first.
enum class EqualSeqs { InPositionOrder, LastFirst };

namespace model_collection_detail {
// Item's index rule, on the untyped storage; see ModelCollection::lookup.
Object* lookup(const CSuperCollection& items, const Variant& index);
std::optional<std::size_t> positionOf(const CSuperCollection& items, const Object& item);
}  // namespace model_collection_detail

template <class T>
class ModelCollection : public Object {
 public:
  std::int32_t count() const noexcept { return items_->count(); }
  Ref<Enumerator> newEnum() override { return items_->newEnum(); }

  // The item at a 0-based position (0 .. count() - 1).
  T& at(std::size_t index) const {
    // The storage is private and holds nothing but T.
    return *static_cast<T*>(items_->valueAt(index).objectValue());
  }
  // The item under a key (any case); nullptr for a missing key and for "", which is never a key.
  T* find(std::u16string_view key) const {
    const Variant* found = items_->find(key);
    return found ? static_cast<T*>(found->objectValue()) : nullptr;
  }

  // The member table's NewEnum_ row, which hands out the same enumerator as For Each.
  Ref<Enumerator> scriptNewEnum() { return newEnum(); }

 protected:
  ModelCollection() : items_(makeRef<CSuperCollection>()) { items_->setCompareMode(1); }
  ~ModelCollection() override = default;

  CSuperCollection& items() const noexcept { return *items_; }

  // The Exist members' rule: the index as text, looked up as a key, so that a number is a
  // name, never a position.
  bool holdsKey(const Variant& index) const { return find(indexText(index)) != nullptr; }
  // Item's index rule: a number (Integer, Long, Single, Double, Byte) is a 1-based position, a
  // string a key compared without regard to case; any other kind, a missing key or a position
  // outside the items gives nullptr, never an error.
  T* lookup(const Variant& index) const {
    return static_cast<T*>(model_collection_detail::lookup(*items_, index));
  }
  // The item Change renames, where Change refuses rather than raises: nullptr for a missing
  // OldName or a NewName that another item holds; a change of case alone always passes.
  T* renameable(std::u16string_view oldName, std::u16string_view newName) const {
    T* item = find(oldName);
    if (!item || (!equalsNoCase(oldName, newName) && find(newName))) return nullptr;
    return item;
  }
  // The 0-based position of an item object; nullopt when the collection does not hold it.
  std::optional<std::size_t> positionOf(const T& item) const {
    return model_collection_detail::positionOf(*items_, item);
  }
  void append(const Ref<T>& item, std::u16string_view key) { items_->add(Variant(item), key); }
  void removeAt(std::size_t index) {
    items_->remove(Variant(static_cast<std::int32_t>(index) + items_->baseIndex()));
  }
  // Removes this item object wherever it now stands; False when it is not held.
  bool removeItem(const T& item) {
    const std::optional<std::size_t> pos = positionOf(item);
    if (!pos) return false;
    removeAt(*pos);
    return true;
  }

  // Add's new item, keyed `name` and numbered one past the last: `init(item)` gives it what it
  // carries before it is keyed, `number(item, seq)` what it takes once it is held. Returns
  // the number.
  template <class Init, class Number>
  std::int16_t appendNew(std::u16string_view name, Init init, Number number) {
    const std::int16_t seq = nextSeq(count());
    auto item = makeRef<T>();
    std::invoke(init, *item);
    append(item, name);
    std::invoke(number, *item, seq);
    return seq;
  }

  // The name that the first item, in position order, carries in its name setting `nameRow`
  // when it equals `name` without regard to case; nullopt when none does. A name written
  // straight into an item's setting no longer matches its key, and adding that name again
  // must rename that item rather than make a second one. Every Add walks all items, so text
  // is compared in place.
  std::optional<std::u16string> storedNameMatching(std::u16string_view name,
                                                   SettingSlot nameRow) const {
    // Names of one family differ mostly in length or in their last letter: both are looked at
    // before the whole text is compared.
    const auto cannotMatch = [&](std::u16string_view stored) {
      if (stored.size() != name.size()) return true;
      if (stored.empty()) return false;
      const char16_t a = stored.back();
      const char16_t b = name.back();
      return a < 0x80 && b < 0x80 && asciiLower(a) != asciiLower(b);
    };
    for (std::size_t i = 0, n = size(); i < n; ++i) {
      const Variant& stored = at(i).properties().setting(nameRow);
      if (stored.isString()
              ? !cannotMatch(stored.stringValue()) && equalsNoCase(stored.stringValue(), name)
              : equalsNoCase(storedText(stored), name)) {
        return storedText(stored);
      }
    }
    return std::nullopt;
  }

  // The sequence numbers. `read(item)` gives an item's number, as an int16_t or, where a
  // number may fail to read, as an optional that is then empty.

  // The first item in position order whose number is `seq`.
  template <class Read>
  T* firstWithSeq(std::int16_t seq, Read read) const {
    for (std::size_t i = 0, n = size(); i < n; ++i) {
      if (seqOf(read, at(i)) == seq) return &at(i);
    }
    return nullptr;
  }
  // Closes the gap a deleted number leaves: `renumber(item, number)` runs for every item, in
  // position order, whose number reads and is `removed` or above, and writes it one lower as
  // the collection's rule has it.
  template <class Read, class Renumber>
  void closeSeqGap(std::int16_t removed, Read read, Renumber renumber) const {
    for (std::size_t i = 0, n = size(); i < n; ++i) {
      T& item = at(i);
      const std::optional<std::int16_t> seq = seqOf(read, item);
      if (seq && *seq >= removed) renumber(item, *seq);
    }
  }
  // Every item, highest number first and those whose number does not read last, so that a
  // teardown deleting them in turn never renumbers one still to go and skips none.
  template <class Read>
  std::vector<Ref<T>> highestSeqFirst(Read read, EqualSeqs ties) const {
    std::vector<std::pair<std::optional<std::int16_t>, Ref<T>>> order;
    order.reserve(size());
    for (std::size_t i = 0, n = size(); i < n; ++i) {
      order.emplace_back(seqOf(read, at(i)), Ref<T>(&at(i)));
    }
    if (ties == EqualSeqs::LastFirst) std::reverse(order.begin(), order.end());
    std::stable_sort(order.begin(), order.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<Ref<T>> sorted;
    sorted.reserve(order.size());
    for (auto& entry : order) sorted.push_back(std::move(entry.second));
    return sorted;
  }

 private:
  std::size_t size() const noexcept { return static_cast<std::size_t>(count()); }
  template <class Read>
  static std::optional<std::int16_t> seqOf(Read& read, T& item) {
    return std::invoke(read, item);
  }

  Ref<CSuperCollection> items_;
};

}  // namespace vantorel
