#include "platform/vbscript/objects/dictionary.hpp"

#include <bit>
#include <cstring>
#include <functional>
#include <string_view>
#include <utility>

#include "platform/automation/bind.hpp"
#include "platform/automation/safe_array.hpp"
#include "platform/text/case_fold.hpp"

namespace vantorel::vbs {

namespace {

constexpr std::size_t kNoSlot = static_cast<std::size_t>(-1);
constexpr std::size_t kMinCapacity = 16;

// The kinds of key that can be equal to each other: every numeric type is one kind.
enum class KeyKind : std::uint8_t { Empty, Null, Number, Boolean, Date, String, Object, Error };

KeyKind kindOf(const Variant& v) {
  if (v.isArray()) raiseVbError(vberr::kInvalidProcedureCall);  // keys may be anything but arrays
  switch (v.type()) {
    case VarType::Empty:
      return KeyKind::Empty;
    case VarType::Null:
      return KeyKind::Null;
    case VarType::Boolean:
      return KeyKind::Boolean;
    case VarType::Date:
      return KeyKind::Date;
    case VarType::String:
      return KeyKind::String;
    case VarType::Object:
      return KeyKind::Object;
    case VarType::Error:
      return KeyKind::Error;
    default:
      return KeyKind::Number;
  }
}

double numberOf(const Variant& v) {
  switch (v.type()) {
    case VarType::Byte:
      return v.byteValue();
    case VarType::Integer:
      return v.integerValue();
    case VarType::Long:
      return v.longValue();
    case VarType::Single:
      return v.singleValue();
    case VarType::Double:
      return v.doubleValue();
    default:
      return toDouble(v);
  }
}

std::size_t mix(std::uint64_t x) {
  x ^= x >> 30;
  x *= 0xbf58476d1ce4e5b9ULL;
  x ^= x >> 27;
  x *= 0x94d049bb133111ebULL;
  x ^= x >> 31;
  return static_cast<std::size_t>(x);
}

std::uint64_t doubleBits(double d) {
  if (d == 0) d = 0;  // -0 and 0 are one key
  return std::bit_cast<std::uint64_t>(d);
}

}  // namespace

const ClassInfo& Dictionary::classInfo() const noexcept {
  static const ClassInfo& info = describeClass(u"Dictionary", [](ClassInfo& c) {
    ClassBuilder<Dictionary>(c)
        .prop<&Dictionary::item, &Dictionary::setItem>(u"Item")
        .method<&Dictionary::add>(u"Add")
        .get<&Dictionary::count>(u"Count")
        .method<&Dictionary::exists>(u"Exists")
        .method<&Dictionary::items>(u"Items")
        .letOnly<&Dictionary::setKey>(u"Key")
        .method<&Dictionary::keys>(u"Keys")
        .method<&Dictionary::remove>(u"Remove")
        .method<&Dictionary::removeAll>(u"RemoveAll")
        .prop<&Dictionary::compareMode, &Dictionary::setCompareMode>(u"CompareMode")
        .method<&Dictionary::hashVal>(u"HashVal")
        .defaultMember(u"Item")
        .enumerator<&Dictionary::newEnum>();
  });
  return info;
}

std::size_t Dictionary::hashOf(const Variant& key) const {
  const KeyKind kind = kindOf(key);
  const std::uint64_t salt = static_cast<std::uint64_t>(kind) << 56;
  switch (kind) {
    case KeyKind::Empty:
    case KeyKind::Null:
      return mix(salt);
    case KeyKind::Number:
      return mix(salt ^ doubleBits(numberOf(key)));
    case KeyKind::Date:
      return mix(salt ^ doubleBits(key.dateValue()));
    case KeyKind::Boolean:
      return mix(salt ^ (key.boolValue() ? 1 : 0));
    case KeyKind::Error:
      return mix(salt ^ static_cast<std::uint32_t>(key.errorValue()));
    case KeyKind::Object:
      return mix(salt ^ reinterpret_cast<std::uintptr_t>(key.objectValue()));
    case KeyKind::String: {
      // The hashes of the engine's keyed collections: NoCaseHash agrees with equalsNoCase.
      const std::u16string& s = key.stringValue();
      return mix((textCompare() ? NoCaseHash{}(s) : std::hash<std::u16string_view>{}(s)) ^ salt);
    }
  }
  return 0;
}

bool Dictionary::sameKey(const Variant& a, const Variant& b) const {
  const KeyKind kind = kindOf(a);
  if (kind != kindOf(b)) return false;
  switch (kind) {
    case KeyKind::Empty:
    case KeyKind::Null:
      return true;
    case KeyKind::Number:
      return numberOf(a) == numberOf(b);
    case KeyKind::Date:
      return a.dateValue() == b.dateValue();
    case KeyKind::Boolean:
      return a.boolValue() == b.boolValue();
    case KeyKind::Error:
      return a.errorValue() == b.errorValue();
    case KeyKind::Object:
      return a.objectValue() == b.objectValue();
    case KeyKind::String: {
      const std::u16string& x = a.stringValue();
      const std::u16string& y = b.stringValue();
      if (&x == &y) return true;  // one text shared by both, as a key looked up again often is
      if (textCompare()) return equalsNoCase(x, y);
      return x.size() == y.size() &&
             std::memcmp(x.data(), y.data(), x.size() * sizeof(char16_t)) == 0;
    }
  }
  return false;
}

std::size_t Dictionary::findSlot(const Variant& key, std::size_t hash) const {
  if (slots_.empty()) return kNoSlot;
  const std::size_t mask = slots_.size() - 1;
  const std::uint32_t tag = tagOf(hash);
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    const Slot s = slots_[i];
    if (s.entry == kEmpty) return kNoSlot;
    if (s.tag == tag && s.entry != kRemoved && entries_[s.entry].hash == hash &&
        sameKey(entries_[s.entry].key, key)) {
      return i;
    }
  }
}

void Dictionary::placeInTable(std::uint32_t entry, std::size_t hash) {
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    if (slots_[i].entry == kEmpty) {
      ++usedSlots_;
      slots_[i] = Slot{entry, tagOf(hash)};
      return;
    }
    if (slots_[i].entry == kRemoved) {
      slots_[i] = Slot{entry, tagOf(hash)};
      return;
    }
  }
}

void Dictionary::rebuildTable(std::size_t capacity) {
  slots_.assign(capacity, Slot{kEmpty, 0});
  usedSlots_ = 0;
  for (std::size_t e = 0; e < entries_.size(); ++e) {
    if (entries_[e].live) placeInTable(static_cast<std::uint32_t>(e), entries_[e].hash);
  }
}

std::size_t Dictionary::insertEntry(Variant key, Variant item, std::size_t hash) {
  // Keep the table at most half full, counting removed slots, so probes stay short.
  if ((usedSlots_ + 1) * 2 > slots_.size()) {
    std::size_t capacity = kMinCapacity;
    while (capacity < (live_ + 1) * 4) capacity *= 2;
    rebuildTable(capacity);
  }
  const auto index = static_cast<std::uint32_t>(entries_.size());
  entries_.push_back(Entry{std::move(key), std::move(item), hash, true});
  placeInTable(index, hash);
  ++live_;
  return index;
}

void Dictionary::compact() {
  std::size_t to = 0;
  for (std::size_t from = 0; from < entries_.size(); ++from) {
    if (!entries_[from].live) continue;
    if (to != from) entries_[to] = std::move(entries_[from]);
    ++to;
  }
  entries_.resize(to);
  std::size_t capacity = kMinCapacity;
  while (capacity < live_ * 4) capacity *= 2;
  rebuildTable(capacity);
}

void Dictionary::add(const Variant& key, const Variant& item) {
  const std::size_t hash = hashOf(key);
  if (findSlot(key, hash) != kNoSlot) raiseVbError(vberr::kKeyAlreadyExists);
  insertEntry(key, item, hash);
}

bool Dictionary::exists(const Variant& key) const {
  return findSlot(key, hashOf(key)) != kNoSlot;
}

Variant Dictionary::item(const Variant& key) {
  const std::size_t hash = hashOf(key);
  const std::size_t slot = findSlot(key, hash);
  if (slot == kNoSlot) {
    insertEntry(key, Variant(), hash);
    return Variant();
  }
  return entries_[slots_[slot].entry].item;
}

void Dictionary::setItem(const Variant& key, const Variant& item) {
  const std::size_t hash = hashOf(key);
  const std::size_t slot = findSlot(key, hash);
  if (slot == kNoSlot) {
    insertEntry(key, item, hash);
    return;
  }
  entries_[slots_[slot].entry].item = item;
}

void Dictionary::setKey(const Variant& key, const Variant& newKey) {
  const std::size_t hash = hashOf(key);
  const std::size_t slot = findSlot(key, hash);
  if (slot == kNoSlot) raiseVbError(vberr::kElementNotFound);
  const std::size_t newHash = hashOf(newKey);
  const std::size_t taken = findSlot(newKey, newHash);
  if (taken == slot) {
    entries_[slots_[slot].entry].key = newKey;  // the same key, perhaps spelt in another case
    return;
  }
  if (taken != kNoSlot) raiseVbError(vberr::kKeyAlreadyExists);
  const std::uint32_t entry = slots_[slot].entry;
  slots_[slot].entry = kRemoved;
  Variant old = std::exchange(entries_[entry].key, newKey);
  entries_[entry].hash = newHash;
  placeInTable(entry, newHash);
}

Variant Dictionary::items() const {
  std::vector<Variant> values;
  values.reserve(live_);
  for (const Entry& e : entries_) {
    if (e.live) values.push_back(e.item);
  }
  return Variant(SafeArray::fromValues(std::move(values)));
}

Variant Dictionary::keys() const {
  std::vector<Variant> values;
  values.reserve(live_);
  for (const Entry& e : entries_) {
    if (e.live) values.push_back(e.key);
  }
  return Variant(SafeArray::fromValues(std::move(values)));
}

void Dictionary::remove(const Variant& key) {
  const std::size_t slot = findSlot(key, hashOf(key));
  if (slot == kNoSlot) raiseVbError(vberr::kElementNotFound);
  Entry& entry = entries_[slots_[slot].entry];
  // The values are released only when the dictionary is consistent again: releasing an object
  // runs its Class_Terminate, which may use this dictionary.
  Variant oldKey = std::move(entry.key);
  Variant oldItem = std::move(entry.item);
  entry.live = false;
  slots_[slot].entry = kRemoved;
  --live_;
  if (live_ == 0) {
    entries_.clear();
    slots_.assign(slots_.size(), Slot{kEmpty, 0});
    usedSlots_ = 0;
  } else if (entries_.size() - live_ > 16 && entries_.size() - live_ > live_) {
    compact();
  }
}

void Dictionary::removeAll() {
  std::vector<Entry> old = std::move(entries_);
  entries_.clear();
  slots_.clear();
  usedSlots_ = 0;
  live_ = 0;
}

void Dictionary::setCompareMode(std::int32_t mode) {
  if (mode < 0 || live_ != 0) raiseVbError(vberr::kInvalidProcedureCall);
  compareMode_ = mode;
}

std::int32_t Dictionary::hashVal(const Variant& key) const {
  return static_cast<std::int32_t>(hashOf(key) % 1201);
}

Ref<Enumerator> Dictionary::newEnum() {
  return makeArrayEnumerator(keys());
}

// A chain of dictionaries, each the item of the one before, is released in a loop.
void Dictionary::detachHeld(std::vector<Variant>& held) noexcept {
  for (Entry& e : entries_) {
    if (e.key.holdsContainer()) held.push_back(std::move(e.key));
    if (e.item.holdsContainer()) held.push_back(std::move(e.item));
  }
}

}  // namespace vantorel::vbs
