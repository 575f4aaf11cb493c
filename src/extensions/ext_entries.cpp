#include "extensions/ext_entries.hpp"

#include <type_traits>

#include "model/model_items.hpp"
#include "platform/automation/class_info.hpp"

namespace vantorel {

namespace {

constexpr SettingSlot kSeqRow = 0;
constexpr SettingSlot kNameRow = 1;

const SettingCatalog& tableCatalog() {
  static const SettingCatalog catalog{
      {u"TblSeq", u"Integer", false, 0, false, false},
      {u"TblName", u"String", false, 0, true, false},
  };
  return catalog;
}

const SettingCatalog& chartCatalog() {
  static const SettingCatalog catalog{
      {u"ChartSeq", u"Integer", false, 0, false, false},
      {u"ChartName", u"String", false, 0, true, false},
  };
  return catalog;
}

const SettingCatalog& fieldCatalog() {
  static const SettingCatalog catalog{
      {u"FldSeq", u"Integer", false, 0, false, false},
      {u"FldName", u"String", false, 0, true, false},
  };
  return catalog;
}

}  // namespace

ExtEntry::ExtEntry(const SettingCatalog& catalog) : properties_(makeRef<AGProperties>(catalog)) {}

std::int16_t ExtEntry::seq() const {
  return storedSeq(properties_->setting(kSeqRow));
}

void ExtEntry::setSeq(std::int16_t seq) {
  properties_->setting(kSeqRow) = Variant(seq);
}

std::u16string ExtEntry::name() const {
  return storedText(properties_->setting(kNameRow));
}

void ExtEntry::setName(const std::u16string& name) {
  properties_->setting(kNameRow) = Variant(name);
}

// ---- the lists ----

template <class Entry>
bool ExtEntryList<Entry>::add(const std::u16string& name) {
  if (name.empty() || this->find(name)) return false;
  if (auto stored = this->storedNameMatching(name, kNameRow)) return change(*stored, name);
  const std::int16_t seq = nextSeq(this->count());
  auto entry = makeRef<Entry>();
  entry->setName(name);
  this->append(entry, name);
  entry->setSeq(seq);
  curName_ = name;
  curSeq_ = seq;
  return true;
}

template <class Entry>
bool ExtEntryList<Entry>::change(const std::u16string& oldName, const std::u16string& newName) {
  if (oldName.empty() || newName.empty()) return false;
  if (oldName == newName) return true;
  Entry* entry = this->renameable(oldName, newName);
  if (!entry) return false;
  Ref<Entry> hold(entry);
  this->items().changeKey(oldName, newName);
  entry->setName(newName);
  curName_ = newName;
  // The table list alone leaves curSeq where it was.
  if constexpr (!std::is_same_v<Entry, AGPExtTable>) curSeq_ = entry->seq();
  return true;
}

template <class Entry>
bool ExtEntryList<Entry>::remove(const Variant& index) {
  Entry* entry = this->find(indexText(index));
  if (!entry) return false;
  Ref<Entry> hold(entry);
  this->closeSeqGap(entry->seq(), &Entry::seq, [](Entry& e, std::int16_t s) {
    ignoringErrors([&] { e.setSeq(lowerSeq(s)); });
  });
  this->removeItem(*entry);
  return true;
}

template <class Entry>
Ref<Entry> ExtEntryList<Entry>::item(const Variant& index) {
  Entry* entry = this->lookup(index);
  if (!entry) return nullptr;
  makeCurrent(*entry);
  return Ref<Entry>(entry);
}

template <class Entry>
Ref<Entry> ExtEntryList<Entry>::seq(std::int16_t index) const {
  return Ref<Entry>(this->firstWithSeq(index, &Entry::seq));
}

template <class Entry>
void ExtEntryList<Entry>::setItem(const Variant& index) {
  if (Entry* entry = this->find(indexText(index))) makeCurrent(*entry);
}

template <class Entry>
void ExtEntryList<Entry>::setSeq(std::int16_t index) {
  if (Entry* entry = this->firstWithSeq(index, &Entry::seq)) makeCurrent(*entry);
}

void AGPExtCharts::setItemExact(const Variant& index) {
  const std::u16string name = indexText(index);
  for (std::int32_t i = 0; i < count(); ++i) {
    AGPExtChart& chart = at(static_cast<std::size_t>(i));
    if (chart.name() == name) {
      makeCurrent(chart);
      return;
    }
  }
}

template class ExtEntryList<AGPExtTable>;
template class ExtEntryList<AGPExtChart>;
template class ExtEntryList<AGPExtField>;

// ---- the entries ----

AGPExtChart::AGPExtChart() : ExtEntry(chartCatalog()) {}
AGPExtField::AGPExtField() : ExtEntry(fieldCatalog()) {}
AGPExtTable::AGPExtTable() : ExtEntry(tableCatalog()) {}

AGPExtCharts& AGPExtTable::charts() {
  if (!charts_) charts_ = makeRef<AGPExtCharts>();
  return *charts_;
}

AGPExtFields& AGPExtTable::fields() {
  if (!fields_) fields_ = makeRef<AGPExtFields>();
  return *fields_;
}

const ClassInfo& AGPExtChart::classInfo() const noexcept {
  return MemberTable<AGPExtChart>::get(u"AGPExtChart");
}

const ClassInfo& AGPExtField::classInfo() const noexcept {
  return MemberTable<AGPExtField>::get(u"AGPExtField");
}

const ClassInfo& AGPExtTable::classInfo() const noexcept {
  return MemberTable<AGPExtTable>::get(u"AGPExtTable");
}

const ClassInfo& AGPExtTables::classInfo() const noexcept {
  return MemberTable<AGPExtTables>::get(u"AGPExtTables");
}

const ClassInfo& AGPExtCharts::classInfo() const noexcept {
  return MemberTable<AGPExtCharts>::get(u"AGPExtCharts");
}

const ClassInfo& AGPExtFields::classInfo() const noexcept {
  return MemberTable<AGPExtFields>::get(u"AGPExtFields");
}

}  // namespace vantorel
