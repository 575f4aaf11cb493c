#include "foundation/properties.hpp"

#include <algorithm>
#include <unordered_map>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/class_info.hpp"
#include "platform/automation/enumerator.hpp"
#include "platform/automation/variant_convert.hpp"

namespace vantorel {

// What a bag holds beyond its catalog's rows and values.
struct AGProperties::Side {
  std::vector<SettingRecord> added;  // slots catalogSize() and up
  std::unordered_map<std::u16string, SettingSlot, NoCaseHash, NoCaseEqual> addedByName;
  std::unordered_map<SettingSlot, SettingRecord> edited;  // catalog rows changed through a view
  std::vector<bool> removed;                              // by slot; also detached records
  SettingSlot removedCount = 0;
};

namespace {

// The name an index stands for; nullopt when the value has no text (Null, an object without a
// default value, an array).
std::optional<std::u16string> indexText(const Variant& index) {
  if (index.isString()) return index.stringValue();
  try {
    return toString(index);
  } catch (const AutomationError&) {
    return std::nullopt;
  }
}

// Follows the bag's slots, which only ever grow and keep the declaration order, so the walk
// never yields a setting twice and needs no copy of the order.
class PropertyEnumerator final : public Enumerator {
 public:
  explicit PropertyEnumerator(Ref<AGProperties> bag, SettingSlot cursor = 0)
      : bag_(std::move(bag)), cursor_(cursor) {}

  bool next(Variant& out) override {
    const std::optional<SettingSlot> slot = bag_->nextSetting(cursor_);
    if (!slot) return false;
    cursor_ = *slot + 1;
    out = Variant(makeRef<AGProperty>(bag_, *slot));
    return true;
  }
  void reset() override { cursor_ = 0; }
  Ref<Enumerator> clone() override { return makeRef<PropertyEnumerator>(bag_, cursor_); }

 private:
  Ref<AGProperties> bag_;
  SettingSlot cursor_;
};

}  // namespace

// --- AGProperty ---------------------------------------------------------------------------

AGProperty::AGProperty() : bag_(makeRef<AGProperties>()) {
  slot_ = bag_->detachedSlot();
}

const ClassInfo& AGProperty::classInfo() const noexcept {
  return MemberTable<AGProperty>::get(u"AGProperty");
}

const SettingRecord& AGProperty::record() const noexcept {
  return bag_->record(slot_);
}
SettingRecord& AGProperty::editRecord() {
  return bag_->editRecord(slot_);
}

const std::u16string& AGProperty::name() const noexcept {
  return record().name;
}
void AGProperty::setName(const std::u16string& name) {
  editRecord().name = name;
}
const std::u16string& AGProperty::dataType() const noexcept {
  return record().dataType;
}
void AGProperty::setDataType(const std::u16string& dataType) {
  SettingRecord& r = editRecord();
  r.dataType = dataType;
  r.type = settingTypeFromName(dataType);
}
const Variant& AGProperty::value() const noexcept {
  return bag_->value(slot_);
}
void AGProperty::setValue(const Variant& value) {
  bag_->setValue(slot_, value);
}
bool AGProperty::regSave() const noexcept {
  return record().regSave;
}
void AGProperty::setRegSave(bool v) {
  editRecord().regSave = v;
}
std::int32_t AGProperty::regFormat() const noexcept {
  return record().regFormat;
}
void AGProperty::setRegFormat(std::int32_t v) {
  editRecord().regFormat = v;
}
bool AGProperty::fileSave() const noexcept {
  return record().fileSave;
}
void AGProperty::setFileSave(bool v) {
  editRecord().fileSave = v;
}
bool AGProperty::sync() const noexcept {
  return record().sync;
}
void AGProperty::setSync(bool v) {
  editRecord().sync = v;
}

// --- AGProperties --------------------------------------------------------------------------

AGProperties::AGProperties() = default;

AGProperties::AGProperties(const SettingCatalog& catalog)
    : catalog_(&catalog), values_(catalog.size()) {}

AGProperties::~AGProperties() = default;

const ClassInfo& AGProperties::classInfo() const noexcept {
  return MemberTable<AGProperties>::get(u"AGProperties");
}

AGProperties::Side& AGProperties::side() {
  if (!side_) side_ = std::make_unique<Side>();
  return *side_;
}

bool AGProperties::isLive(SettingSlot slot) const noexcept {
  return !side_ || slot >= side_->removed.size() || !side_->removed[slot];
}

bool AGProperties::hasEveryCatalogRow() const noexcept {
  if (!side_ || side_->removedCount == 0) return true;
  const SettingSlot rows = std::min<SettingSlot>(catalogSize(), side_->removed.size());
  for (SettingSlot s = 0; s < rows; ++s) {
    if (side_->removed[s]) return false;
  }
  return true;
}

const SettingRecord& AGProperties::recordOfChangedBag(SettingSlot slot) const noexcept {
  const SettingSlot fixed = catalogSize();
  if (slot >= fixed) return side_->added[slot - fixed];
  if (!side_->edited.empty()) {
    auto it = side_->edited.find(slot);
    if (it != side_->edited.end()) return it->second;
  }
  return (*catalog_)[slot];
}

SettingRecord& AGProperties::editRecord(SettingSlot slot) {
  const SettingSlot fixed = catalogSize();
  if (slot >= fixed) return side_->added[slot - fixed];
  Side& s = side();
  auto it = s.edited.find(slot);
  if (it == s.edited.end()) it = s.edited.emplace(slot, (*catalog_)[slot]).first;
  return it->second;
}

std::int32_t AGProperties::count() const noexcept {
  const std::size_t removed = side_ ? side_->removedCount : 0;
  return static_cast<std::int32_t>(values_.size() - removed);
}

std::optional<SettingSlot> AGProperties::slotOf(std::u16string_view name) const {
  if (catalog_) {
    if (std::optional<SettingSlot> row = catalog_->find(name); row && isLive(*row)) return row;
  }
  if (side_) {
    auto it = side_->addedByName.find(name);
    if (it != side_->addedByName.end()) return it->second;
  }
  return std::nullopt;
}

const Variant* AGProperties::findValue(std::u16string_view name) const {
  std::optional<SettingSlot> slot = slotOf(name);
  return slot ? &values_[*slot] : nullptr;
}

SettingSlot AGProperties::appendSlot(SettingRecord record) {
  Side& s = side();
  const auto slot = static_cast<SettingSlot>(values_.size());
  s.added.push_back(std::move(record));
  values_.emplace_back();
  return slot;
}

SettingSlot AGProperties::detachedSlot() {
  const SettingSlot slot = appendSlot(SettingRecord());
  Side& s = side();
  s.removed.resize(values_.size());
  s.removed[slot] = true;
  ++s.removedCount;
  return slot;
}

bool AGProperties::add(std::u16string_view name, std::u16string_view dataType, bool regSave,
                       std::int32_t regFormat, bool fileSave, bool sync) {
  if (name.empty() || slotOf(name)) return false;
  const SettingSlot slot = appendSlot(SettingRecord(std::u16string(name), std::u16string(dataType),
                                                    regSave, regFormat, fileSave, sync));
  side().addedByName.emplace(std::u16string(name), slot);
  return true;
}

bool AGProperties::scriptAdd(const std::u16string& name, std::optional<std::u16string> dataType,
                             std::optional<bool> regSave, std::optional<std::int32_t> regFormat,
                             std::optional<bool> fileSave, std::optional<bool> sync) {
  return add(name, dataType ? std::u16string_view(*dataType) : std::u16string_view(u"String"),
             regSave.value_or(false), regFormat.value_or(0), fileSave.value_or(true),
             sync.value_or(true));
}

bool AGProperties::remove(std::u16string_view name) {
  if (name.empty()) return false;
  std::optional<SettingSlot> slot = slotOf(name);
  if (!slot) return false;
  Side& s = side();
  if (*slot >= catalogSize()) {
    auto it = s.addedByName.find(name);
    if (it != s.addedByName.end()) s.addedByName.erase(it);
  }
  if (s.removed.size() < values_.size()) s.removed.resize(values_.size());
  s.removed[*slot] = true;
  ++s.removedCount;
  // The value stays in its slot: a view handed out earlier keeps reading it.
  return true;
}

Variant AGProperties::scriptDelete(const Variant& index) {
  std::optional<std::u16string> name = indexText(index);
  return Variant(name && remove(*name));
}

bool AGProperties::scriptPropertyExist(const Variant& index) const {
  std::optional<std::u16string> name = indexText(index);
  return name && exists(*name);
}

std::optional<SettingSlot> AGProperties::declare(std::u16string_view name) {
  if (std::optional<SettingSlot> slot = slotOf(name)) return slot;
  if (!add(name)) return std::nullopt;
  return slotOf(name);
}

Variant& AGProperties::settingOfChangedBag(SettingSlot catalogRow) {
  if (isLive(catalogRow)) return values_[catalogRow];
  return values_[*declare((*catalog_)[catalogRow].name)];
}

const Variant& AGProperties::settingOfChangedBag(SettingSlot catalogRow) const {
  if (isLive(catalogRow)) return values_[catalogRow];
  static const Variant kUndeclared;
  const Variant* v = findValue((*catalog_)[catalogRow].name);
  return v ? *v : kUndeclared;
}

void AGProperties::reset() {
  side_.reset();
  values_.assign(catalogSize(), Variant());
}

Ref<AGProperty> AGProperties::view(SettingSlot slot) const {
  return makeRef<AGProperty>(Ref<AGProperties>(const_cast<AGProperties*>(this)), slot);
}

Ref<AGProperty> AGProperties::find(std::u16string_view name) const {
  std::optional<SettingSlot> slot = slotOf(name);
  if (!slot) return nullptr;
  return view(*slot);
}

Ref<AGProperty> AGProperties::item(std::u16string_view name) {
  std::optional<SettingSlot> slot = declare(name);
  if (!slot) return nullptr;
  return view(*slot);
}

Ref<AGProperty> AGProperties::item(const Variant& index) {
  std::optional<std::u16string> name = indexText(index);
  if (!name) return nullptr;
  return item(std::u16string_view(*name));
}

Ref<AGProperty> AGProperties::at(std::size_t index) const {
  if (!side_ || side_->removedCount == 0) return view(static_cast<SettingSlot>(index));
  for (SettingSlot s = 0; s < values_.size(); ++s) {
    if (isLive(s) && index-- == 0) return view(s);
  }
  return nullptr;
}

std::optional<SettingSlot> AGProperties::nextSetting(SettingSlot from) const {
  for (SettingSlot s = from; s < values_.size(); ++s) {
    if (isLive(s)) return s;
  }
  return std::nullopt;
}

Ref<Enumerator> AGProperties::newEnum() {
  return makeRef<PropertyEnumerator>(Ref<AGProperties>(this));
}

}  // namespace vantorel
