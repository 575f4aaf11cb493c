#pragma once
// What the model's collections share: finding an item by position or key the way Item does,
// typed access to the items of a private CSuperCollection, and the text form of curSeq.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "foundation/setting_catalog.hpp"
#include "foundation/super_collection.hpp"
#include "platform/automation/variant.hpp"
#include "platform/text/case_fold.hpp"

namespace vantorel {

// Item's index rule: a number (Integer, Long, Single, Double, Byte) is a 1-based position, a
// string a key compared without regard to case; any other kind, a missing key or a position
// outside the items gives nullptr, never an error.
Object* lookupItem(const CSuperCollection& items, const Variant& index);

// The item at a 0-based position of a collection that holds nothing but T.
template <class T>
T& itemAt(const CSuperCollection& items, std::size_t index) {
  return *static_cast<T*>(items.valueAt(index).objectValue());
}

// The item under a key (any case) of a collection that holds nothing but T; nullptr for a
// missing key and for "", which is never a key.
template <class T>
T* keyedItem(const CSuperCollection& items, const std::u16string& key) {
  const Variant* found = key.empty() ? nullptr : items.find(key);
  return found ? static_cast<T*>(found->objectValue()) : nullptr;
}

// A stored name as text; "" when something that has no text form was stored there.
std::u16string storedText(const Variant& value) noexcept;

// The name that the first item, in position order, carries in its name setting `nameRow` when
// it equals `name` without regard to case; nullopt when none does. A name written straight
// into an item's setting no longer matches its key, and adding that name again must rename
// that item rather than make a second one. Every Add walks all items, so text is compared in
// place.
template <class T>
std::optional<std::u16string> storedNameMatching(const CSuperCollection& items,
                                                 std::u16string_view name, SettingSlot nameRow) {
  for (std::size_t i = 0, n = static_cast<std::size_t>(items.count()); i < n; ++i) {
    const Variant& stored = itemAt<T>(items, i).properties().setting(nameRow);
    if (stored.isString() ? equalsNoCase(stored.stringValue(), name)
                          : equalsNoCase(storedText(stored), name)) {
      return storedText(stored);
    }
  }
  return std::nullopt;
}

// Runs one step of a cascade whose later steps must run even when this one fails.
template <class F>
void ignoringErrors(F&& step) noexcept {
  try {
    step();
  } catch (...) {
  }
}

// The 0-based position of an item object; nullopt when the collection does not hold it.
std::optional<std::size_t> positionOf(const CSuperCollection& items, const Object& item);

// Removes the item at a 0-based position.
void removeAt(CSuperCollection& items, std::size_t index);

// A 16-bit sequence number one higher, for appending; raises overflow when the range is full.
std::int16_t nextSeq(std::int32_t count);

std::u16string seqText(std::int16_t seq);

// The script variable name of a table or chart: its name made an identifier, no prefix.
std::u16string itemVarName(const std::u16string& name);

// A stored sequence number as a 16-bit integer; 0 when something else was stored there
// through Properties, so that renumbering and teardown never stop at one bad value.
std::int16_t storedSeq(const Variant& value) noexcept;
// An index argument as the text a key lookup uses; "" (never a key) when it has no text form.
std::u16string indexText(const Variant& index) noexcept;
// One lower, for renumbering after a deletion; the bottom of the range stays.
std::int16_t lowerSeq(std::int16_t seq) noexcept;

}  // namespace vantorel
