#include "foundation/super_collection.hpp"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <utility>

#include "foundation/collection_keys.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/class_info.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/case_fold.hpp"

namespace vantorel {

namespace collection_detail {

std::size_t KeyHash::operator()(std::u16string_view s) const noexcept {
  return noCase ? NoCaseHash{}(s) : std::hash<std::u16string_view>{}(s);
}

bool KeyEqual::operator()(std::u16string_view a, std::u16string_view b) const noexcept {
  return noCase ? equalsNoCase(a, b) : a == b;
}

}  // namespace collection_detail

namespace {

[[noreturn]] void raiseCollection(std::int32_t number, const char16_t* description) {
  throw AutomationError(number, description);
}
[[noreturn]] void raiseKeyNotFound() {
  raiseCollection(collection_error::kKeyNotFound, u"Key not found.");
}
[[noreturn]] void raiseAlreadyInitialized() {
  raiseCollection(collection_error::kAlreadyInitialized, u"Collection already initialized");
}

// A numeric index rounded as CLng rounds (halves to even); nullopt when it cannot be a position.
std::optional<std::int64_t> roundPosition(double d) {
  if (!std::isfinite(d)) return std::nullopt;
  const double r = std::nearbyint(d);
  if (r < std::numeric_limits<std::int32_t>::min() ||
      r > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int64_t>(r);
}

}  // namespace

CSuperCollection::CSuperCollection() : link_(std::make_shared<collection_detail::Link>()) {
  link_->owner = this;
}

CSuperCollection::~CSuperCollection() {
  // Enumerators still alive must stop counting themselves against a collection that is gone.
  link_->owner = nullptr;
}

const ClassInfo& CSuperCollection::classInfo() const noexcept {
  return MemberTable<CSuperCollection>::get(u"CSuperCollection");
}

void CSuperCollection::setCompareMode(std::int32_t mode) {
  if (!order_.empty()) raiseAlreadyInitialized();
  if (mode != 0 && mode != 1) raiseVbError(vberr::kSubscriptOutOfRange);
  compareMode_ = mode;
  // The map is empty here (no items, so no keys); only its notion of equality changes.
  keys_ = KeyMap(0, collection_detail::KeyHash{mode == 1}, collection_detail::KeyEqual{mode == 1});
}

void CSuperCollection::setBaseIndex(std::int32_t base) {
  if (!order_.empty()) raiseAlreadyInitialized();
  if (base == base_) return;
  base_ = base;
  resetStorage();
}

void CSuperCollection::resetStorage() {
  // Detach everything first: releasing an item may run code that looks at this collection.
  std::vector<Slot> released;
  released.swap(slots_);
  order_.clear();
  keys_.clear();
  ++generation_;
}

Ref<CKeys> CSuperCollection::keys() {
  return makeRef<CKeys>(link_);
}

std::vector<CollectionKey> CSuperCollection::sortedKeys() const {
  std::vector<CollectionKey> out;
  out.reserve(keys_.size());
  for (const auto& [text, slot] : keys_) {
    out.push_back({text, base_ + slots_[static_cast<std::size_t>(slot)].index});
  }
  const bool noCase = compareMode_ == 1;
  std::sort(out.begin(), out.end(), [noCase](const CollectionKey& a, const CollectionKey& b) {
    return (noCase ? compareNoCase(a.name, b.name) : compareOrdinal(a.name, b.name)) < 0;
  });
  return out;
}

std::u16string CSuperCollection::key(std::int32_t position) const {
  const std::int64_t index = static_cast<std::int64_t>(position) - base_;
  if (index < 0 || index >= static_cast<std::int64_t>(order_.size())) {
    raiseVbError(vberr::kSubscriptOutOfRange);
  }
  return std::u16string(
      slots_[static_cast<std::size_t>(order_[static_cast<std::size_t>(index)])].key());
}

std::int32_t CSuperCollection::keyExists(std::u16string_view key) const {
  if (key.empty()) return kNoPosition;
  auto it = keys_.find(key);
  if (it == keys_.end()) return kNoPosition;
  return base_ + slots_[static_cast<std::size_t>(it->second)].index;
}

const Variant* CSuperCollection::find(std::u16string_view key) const {
  if (key.empty()) return nullptr;
  auto it = keys_.find(key);
  return it == keys_.end() ? nullptr : &slots_[static_cast<std::size_t>(it->second)].value;
}

void CSuperCollection::setItemKeyProperty(const Variant& value, std::u16string_view key) {
  // Every item class of the engine has a writable Key; other objects are left alone.
  if (!value.isObject() || value.isNothing()) return;
  Object* item = value.objectValue();
  if (item->memberId(u"Key") == kDispIdUnknown) return;
  Ref<Object> hold(item);
  item->let(u"Key", Variant(std::u16string(key)));
}

void CSuperCollection::dropKeyEntry(Slot& slot) {
  if (slot.entry) {
    auto it = keys_.find(*slot.entry);
    if (it != keys_.end() && &it->first == slot.entry) keys_.erase(it);
  }
  slot.entry = nullptr;
  slot.spelling.reset();
}

void CSuperCollection::setKeyEntry(std::int32_t slot, std::u16string_view key) {
  Slot& s = slots_[static_cast<std::size_t>(slot)];
  dropKeyEntry(s);
  if (!key.empty()) s.entry = &keys_.emplace(std::u16string(key), slot).first->first;
}

void CSuperCollection::changeKey(std::u16string_view oldKey, std::u16string_view newKey) {
  auto newIt = newKey.empty() ? keys_.end() : keys_.find(newKey);
  if (newIt != keys_.end()) {
    // Only a change of spelling of the item's own key gets through.
    if (!equalsNoCase(oldKey, newKey)) raiseVbError(vberr::kKeyAlreadyExists);
    auto oldIt = oldKey.empty() ? keys_.end() : keys_.find(oldKey);
    if (oldIt == keys_.end()) raiseKeyNotFound();
    // Under ordinal compare "abc" and "ABC" may name two items: that is another item's key.
    if (oldIt->second != newIt->second) raiseVbError(vberr::kKeyAlreadyExists);
    const std::int32_t slot = oldIt->second;
    Variant value = slots_[static_cast<std::size_t>(slot)].value;
    setItemKeyProperty(value, newKey);
    // The key entry keeps its text: Keys shows the old spelling, Key the new one.
    Slot& s = slots_[static_cast<std::size_t>(slot)];
    if (s.index < 0 || !s.entry) return;  // changed while its Key was being set
    if (*s.entry == newKey) {
      s.spelling.reset();
    } else {
      s.spelling = std::make_unique<std::u16string>(newKey);
    }
    return;
  }
  auto oldIt = oldKey.empty() ? keys_.end() : keys_.find(oldKey);
  if (oldIt == keys_.end()) raiseKeyNotFound();
  const std::int32_t slot = oldIt->second;
  // The item's own Key goes first: if it refuses, the collection is unchanged.
  Variant value = slots_[static_cast<std::size_t>(slot)].value;
  setItemKeyProperty(value, newKey);
  oldIt = keys_.find(oldKey);
  if (oldIt == keys_.end() || oldIt->second != slot) return;  // the item re-keyed itself
  setKeyEntry(slot, newKey);
}

void CSuperCollection::changeKeyForIndex(std::int32_t position, std::u16string_view newKey) {
  const std::int64_t index = static_cast<std::int64_t>(position) - base_;
  if (index < 0 || index >= static_cast<std::int64_t>(order_.size())) return;
  if (!newKey.empty() && keys_.find(newKey) != keys_.end()) {
    raiseVbError(vberr::kKeyAlreadyExists);
  }
  const std::int32_t slot = order_[static_cast<std::size_t>(index)];
  Variant value = slots_[static_cast<std::size_t>(slot)].value;
  setItemKeyProperty(value, newKey);
  if (slots_[static_cast<std::size_t>(slot)].index < 0) return;  // removed meanwhile
  // An empty key leaves the key index: an entry for "" could never be found.
  setKeyEntry(slot, newKey);
}

void CSuperCollection::scriptChangeKeyForIndex(const std::u16string& index,
                                               const std::u16string& newKey) {
  // The position arrives as text and is compared as a number before it is rounded.
  const double d = toDouble(Variant(index));
  if (order_.empty() || !(d >= base_) || d > static_cast<double>(base_) + count() - 1) return;
  changeKeyForIndex(static_cast<std::int32_t>(std::nearbyint(d)), newKey);
}

void CSuperCollection::add(const Variant& item, std::u16string_view key, std::int32_t insertMode,
                           std::int32_t position) {
  const std::int64_t count = static_cast<std::int64_t>(order_.size());
  const std::int64_t last = base_ + count - 1;
  std::int32_t mode = insertMode;
  if (position != kNoPosition) {
    const bool inRange = count == 0 ? position == base_ : (position >= base_ && position <= last);
    if (!inRange) raiseVbError(vberr::kSubscriptOutOfRange);
    if (mode == kInsertBefore && position == base_) mode = kInsertFirst;
    if (mode == kInsertAfter && position == last) mode = kInsertLast;
  } else if (mode == kInsertBefore || mode == kInsertAfter) {
    raiseCollection(collection_error::kNoPositionSupplied, u"No position supplied.");
  }
  if (!key.empty() && keys_.find(key) != keys_.end()) raiseVbError(vberr::kKeyAlreadyExists);
  if (base_ + count > std::numeric_limits<std::int32_t>::max()) raiseVbError(vberr::kOverflow);
  // Placing the item moves it; refuse before anything changes rather than after the append.
  const bool moves = mode == kInsertBefore || mode == kInsertAfter || mode == kInsertFirst;
  if (moves && aliveEnumerators_ > 0) {
    raiseCollection(collection_error::kMoveInLoop, u"Move not allowed while in For...Each loop.");
  }

  std::int32_t slot;
  if (!slots_.empty() && slots_.back().index < 0) {
    slot = static_cast<std::int32_t>(slots_.size() - 1);
  } else {
    slot = static_cast<std::int32_t>(slots_.size());
    slots_.emplace_back();
  }
  Slot& s = slots_.back();
  s.value = item;
  s.index = static_cast<std::int32_t>(count);
  order_.push_back(slot);
  if (!key.empty()) s.entry = &keys_.emplace(std::u16string(key), slot).first->first;

  const auto end = static_cast<std::size_t>(count);
  switch (mode) {
    case kInsertBefore:
      moveIndex(end, static_cast<std::size_t>(position - base_));
      break;
    case kInsertAfter:
      moveIndex(end, static_cast<std::size_t>(position - base_ + 1));
      break;
    case kInsertFirst:
      moveIndex(end, 0);
      break;
    default:
      break;
  }
}

void CSuperCollection::scriptAdd(Variant& item, std::optional<std::u16string> key,
                                 std::optional<std::int32_t> insertMode,
                                 std::optional<std::int32_t> position) {
  add(item, key ? *key : std::u16string(), insertMode.value_or(kInsertLast),
      position.value_or(kNoPosition));
}

CSuperCollection::Resolved CSuperCollection::resolve(const Variant& indexKey) const {
  std::optional<std::int64_t> position;
  switch (indexKey.type()) {
    case VarType::String: {
      const std::u16string& k = indexKey.stringValue();
      if (k.empty()) return {std::nullopt, true};
      auto it = keys_.find(k);
      if (it == keys_.end()) return {std::nullopt, true};
      return {static_cast<std::size_t>(slots_[static_cast<std::size_t>(it->second)].index), true};
    }
    case VarType::Integer:
      position = indexKey.integerValue();
      break;
    case VarType::Long:
      position = indexKey.longValue();
      break;
    case VarType::Byte:
      position = indexKey.byteValue();
      break;
    case VarType::Single:
      position = roundPosition(indexKey.singleValue());
      break;
    case VarType::Double:
      position = roundPosition(indexKey.doubleValue());
      break;
    default:
      raiseCollection(collection_error::kInvalidDatatype, u"Invalid datatype");
  }
  if (!position) return {std::nullopt, false};
  const std::int64_t index = *position - base_;
  if (index < 0 || index >= static_cast<std::int64_t>(order_.size())) return {std::nullopt, false};
  return {static_cast<std::size_t>(index), false};
}

std::size_t CSuperCollection::resolveOrRaise(const Variant& indexKey) const {
  Resolved r = resolve(indexKey);
  if (!r.index) {
    if (r.byKey) raiseKeyNotFound();
    raiseVbError(vberr::kSubscriptOutOfRange);
  }
  return *r.index;
}

void CSuperCollection::renumber(std::size_t from, std::size_t to) {
  for (std::size_t i = from; i < to; ++i) {
    slots_[static_cast<std::size_t>(order_[i])].index = static_cast<std::int32_t>(i);
  }
}

void CSuperCollection::moveIndex(std::size_t from, std::size_t to) {
  if (from == to) return;
  const std::int32_t slot = order_[from];
  if (from < to) {
    std::move(order_.begin() + static_cast<std::ptrdiff_t>(from) + 1,
              order_.begin() + static_cast<std::ptrdiff_t>(to) + 1,
              order_.begin() + static_cast<std::ptrdiff_t>(from));
    order_[to] = slot;
    renumber(from, to + 1);
  } else {
    std::move_backward(order_.begin() + static_cast<std::ptrdiff_t>(to),
                       order_.begin() + static_cast<std::ptrdiff_t>(from),
                       order_.begin() + static_cast<std::ptrdiff_t>(from) + 1);
    order_[to] = slot;
    renumber(to, from + 1);
  }
}

void CSuperCollection::remove(const Variant& indexKey) {
  const std::size_t index = resolveOrRaise(indexKey);
  const std::int32_t slotNumber = order_[index];
  Slot& s = slots_[static_cast<std::size_t>(slotNumber)];
  dropKeyEntry(s);
  // The value is released only once the collection is consistent again, since an item's
  // terminate code may look at it.
  Variant released = std::move(s.value);
  s.value.clear();
  s.index = -1;
  order_.erase(order_.begin() + static_cast<std::ptrdiff_t>(index));
  renumber(index, order_.size());
}

Variant CSuperCollection::item(const Variant& indexKey) const {
  Resolved r = resolve(indexKey);
  if (!r.index) return Variant();
  return slots_[static_cast<std::size_t>(order_[*r.index])].value;
}

void CSuperCollection::setItem(const Variant& indexKey, const Variant& newItem) {
  if (!allowItemAsignments_) raiseVbError(vberr::kNotSupported);
  Resolved r = resolve(indexKey);
  if (!r.index) raiseKeyNotFound();
  Variant& stored = slots_[static_cast<std::size_t>(order_[*r.index])].value;
  // An object is replaced by reference (Set), a plain value by value (Let), which takes an
  // object's default value.
  Variant replacement;
  if (stored.isObject()) {
    if (!newItem.isObject()) raiseVbError(vberr::kObjectRequired);
    replacement = newItem;
  } else {
    replacement = newItem.isObject() ? defaultValue(newItem) : newItem;
  }
  stored.swap(replacement);
}

Ref<Enumerator> CSuperCollection::newEnum() {
  std::vector<std::int32_t> copy = order_.empty() ? std::vector<std::int32_t>{kNoPosition} : order_;
  return makeRef<cEnumerationObject>(link_, std::move(copy), 0, generation_);
}

void CSuperCollection::clear() {
  resetStorage();
}

Variant CSuperCollection::scriptClear() {
  clear();
  return Variant();
}

std::int32_t CSuperCollection::moveItem(const Variant& moved, const Variant& target) {
  if (aliveEnumerators_ > 0) {
    raiseCollection(collection_error::kMoveInLoop, u"Move not allowed while in For...Each loop.");
  }
  const std::size_t from = resolveOrRaise(moved);
  const std::size_t to = resolveOrRaise(target);
  moveIndex(from, to);
  return base_ + static_cast<std::int32_t>(to);
}

// ---- enumeration

cEnumerationObject::cEnumerationObject(std::shared_ptr<collection_detail::Link> link,
                                       std::vector<std::int32_t> copy, std::size_t cursor,
                                       std::uint64_t generation)
    : link_(std::move(link)), copy_(std::move(copy)), cursor_(cursor), generation_(generation) {
  if (link_->owner) ++link_->owner->aliveEnumerators_;
}

cEnumerationObject::~cEnumerationObject() {
  if (link_->owner) --link_->owner->aliveEnumerators_;
}

bool cEnumerationObject::next(Variant& out) {
  const CSuperCollection* c = link_->owner;
  // After Clear (or a new BaseIndex) the slot numbers of the copy name nothing of this walk.
  if (!c || c->generation_ != generation_) return false;
  const std::vector<std::int32_t>& order = c->order_;
  // Items appended since the copy was taken are picked up, provided the collection still agrees
  // with the copy at the cursor (or the cursor has passed the copy's end) so nothing is seen twice.
  if (order.size() > copy_.size() &&
      (cursor_ >= copy_.size() || order[cursor_] == copy_[cursor_])) {
    copy_ = order;
  }
  while (cursor_ < copy_.size()) {
    const std::int32_t slot = copy_[cursor_++];
    if (slot == kNoPosition || static_cast<std::size_t>(slot) >= c->slots_.size()) continue;
    const auto& s = c->slots_[static_cast<std::size_t>(slot)];
    if (s.index < 0) continue;  // removed during the walk
    out = s.value;
    return true;
  }
  return false;
}

void cEnumerationObject::skip(std::size_t n) {
  cursor_ += std::min(n, copy_.size() - std::min(cursor_, copy_.size()));
}

Ref<Enumerator> cEnumerationObject::clone() {
  return makeRef<cEnumerationObject>(link_, copy_, cursor_, generation_);
}

}  // namespace vantorel
