#pragma once
// The project's own phrases per language (five record kinds, one table each) and the phrase
// list that template scripts read by identifier. Plain value types: AGPLanguage holds one set
// as its current state and one as its checkpoint.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vantorel {

// The public record types of the object model. Every field but Phrase (always the last) is
// part of the key.
struct AGProjectPhrase {
  std::u16string LanguageId;
  std::u16string ProjectAttribute;
  std::u16string Phrase;
  bool operator==(const AGProjectPhrase&) const = default;
};

struct AGMenuPhrase {
  std::u16string LanguageId;
  std::u16string MenuId;  // the menu item's identifier as text
  std::u16string MenuAttribute;
  std::u16string Phrase;
  bool operator==(const AGMenuPhrase&) const = default;
};

struct AGTablePhrase {
  std::u16string LanguageId;
  std::u16string TableName;
  std::u16string TableAttribute;
  std::u16string Phrase;
  bool operator==(const AGTablePhrase&) const = default;
};

struct AGChartPhrase {
  std::u16string LanguageId;
  std::u16string TableName;
  std::u16string ChartName;
  std::u16string ChartAttribute;
  std::u16string Phrase;
  bool operator==(const AGChartPhrase&) const = default;
};

struct AGFieldPhrase {
  std::u16string LanguageId;
  std::u16string TableName;
  std::u16string FieldName;
  std::u16string FieldAttribute;
  std::u16string Phrase;
  bool operator==(const AGFieldPhrase&) const = default;
};

template <class R>
struct RecordField {
  std::u16string_view name;
  std::u16string R::*member;
};

// Per record kind: its type name, its fields in order, and which field names the attribute.
template <class R>
struct PhraseRecordTraits;

template <>
struct PhraseRecordTraits<AGProjectPhrase> {
  using R = AGProjectPhrase;
  static constexpr std::u16string_view kName = u"AGProjectPhrase";
  static constexpr std::array<RecordField<R>, 3> kFields{{
      {u"LanguageId", &R::LanguageId},
      {u"ProjectAttribute", &R::ProjectAttribute},
      {u"Phrase", &R::Phrase},
  }};
  static constexpr std::u16string R::*kAttribute = &R::ProjectAttribute;
};

template <>
struct PhraseRecordTraits<AGMenuPhrase> {
  using R = AGMenuPhrase;
  static constexpr std::u16string_view kName = u"AGMenuPhrase";
  static constexpr std::array<RecordField<R>, 4> kFields{{
      {u"LanguageId", &R::LanguageId},
      {u"MenuId", &R::MenuId},
      {u"MenuAttribute", &R::MenuAttribute},
      {u"Phrase", &R::Phrase},
  }};
  static constexpr std::u16string R::*kAttribute = &R::MenuAttribute;
};

template <>
struct PhraseRecordTraits<AGTablePhrase> {
  using R = AGTablePhrase;
  static constexpr std::u16string_view kName = u"AGTablePhrase";
  static constexpr std::array<RecordField<R>, 4> kFields{{
      {u"LanguageId", &R::LanguageId},
      {u"TableName", &R::TableName},
      {u"TableAttribute", &R::TableAttribute},
      {u"Phrase", &R::Phrase},
  }};
  static constexpr std::u16string R::*kAttribute = &R::TableAttribute;
};

template <>
struct PhraseRecordTraits<AGChartPhrase> {
  using R = AGChartPhrase;
  static constexpr std::u16string_view kName = u"AGChartPhrase";
  static constexpr std::array<RecordField<R>, 5> kFields{{
      {u"LanguageId", &R::LanguageId},
      {u"TableName", &R::TableName},
      {u"ChartName", &R::ChartName},
      {u"ChartAttribute", &R::ChartAttribute},
      {u"Phrase", &R::Phrase},
  }};
  static constexpr std::u16string R::*kAttribute = &R::ChartAttribute;
};

template <>
struct PhraseRecordTraits<AGFieldPhrase> {
  using R = AGFieldPhrase;
  static constexpr std::u16string_view kName = u"AGFieldPhrase";
  static constexpr std::array<RecordField<R>, 5> kFields{{
      {u"LanguageId", &R::LanguageId},
      {u"TableName", &R::TableName},
      {u"FieldName", &R::FieldName},
      {u"FieldAttribute", &R::FieldAttribute},
      {u"Phrase", &R::Phrase},
  }};
  static constexpr std::u16string R::*kAttribute = &R::FieldAttribute;
};

// Records 1 to count in the order of creation, at most one per key, keys compared exactly.
// A hash index over the keys keeps Set linear in the size of a project file rather than
// quadratic; removals rebuild it.
template <class R>
class PhraseTable {
 public:
  using Traits = PhraseRecordTraits<R>;

  std::int32_t count() const noexcept { return static_cast<std::int32_t>(records_.size()); }
  // A copy of record `index` (1-based); all fields empty outside 1 to count.
  R item(std::int32_t index) const {
    if (index < 1 || index > count()) return R{};
    return records_[static_cast<std::size_t>(index) - 1];
  }
  // The phrase of the record whose key fields equal those of `key`; "" when there is none.
  std::u16string get(const R& key) const {
    const auto found = index_.find(encodeKey(key));
    return found == index_.end() ? std::u16string() : records_[found->second].Phrase;
  }
  // Replaces the phrase of the record with the same key, else appends the record.
  void set(R record) {
    auto [slot, added] = index_.try_emplace(encodeKey(record), records_.size());
    if (added) {
      records_.push_back(std::move(record));
    } else {
      records_[slot->second].Phrase = std::move(record.Phrase);
    }
  }
  bool hasAttribute(std::u16string_view attribute) const {
    for (const R& r : records_) {
      if (r.*Traits::kAttribute == attribute) return true;
    }
    return false;
  }
  void resetAttribute(std::u16string_view attribute) {
    removeIf([attribute](const R& r) { return r.*Traits::kAttribute == attribute; });
  }
  // Removes the matching records; the others keep their order.
  template <class Pred>
  void removeIf(Pred pred) {
    const auto before = records_.size();
    std::erase_if(records_, pred);
    if (records_.size() != before) rebuildIndex();
  }
  void clear() noexcept {
    records_.clear();
    index_.clear();
  }
  const std::vector<R>& records() const noexcept { return records_; }

 private:
  // Each key field as its length (two units) followed by its text, so no choice of
  // characters inside a field can make two different keys collide.
  static std::u16string encodeKey(const R& r) {
    std::u16string key;
    for (std::size_t i = 0; i + 1 < Traits::kFields.size(); ++i) {
      const std::u16string& field = r.*Traits::kFields[i].member;
      const auto n = static_cast<std::uint32_t>(field.size());
      key.push_back(static_cast<char16_t>(n & 0xFFFFu));
      key.push_back(static_cast<char16_t>(n >> 16));
      key += field;
    }
    return key;
  }
  void rebuildIndex() {
    index_.clear();
    for (std::size_t i = 0; i < records_.size(); ++i) index_.emplace(encodeKey(records_[i]), i);
  }

  std::vector<R> records_;
  std::unordered_map<std::u16string, std::size_t> index_;
};

// Identifier and phrase pairs in the order of adding; identifiers are unique after conversion
// to lower case.
class PhraseList {
 public:
  struct Entry {
    std::u16string Id;
    std::u16string Phrase;
    bool operator==(const Entry&) const = default;
  };
  // The look-ups of the object model count with a 16-bit integer.
  static constexpr std::int32_t kCapacity = 32767;

  std::int32_t count() const noexcept { return static_cast<std::int32_t>(entries_.size()); }
  std::u16string phrase(std::u16string_view id) const;
  // False, changing nothing, when the identifier is held already; raises 6 (overflow) when
  // the list is full.
  bool add(std::u16string_view id, std::u16string_view phrase);
  // False, adding nothing, when no entry has the identifier.
  bool replace(std::u16string_view id, std::u16string_view phrase);
  void clear() noexcept;
  const std::vector<Entry>& entries() const noexcept { return entries_; }

 private:
  std::vector<Entry> entries_;
  std::unordered_map<std::u16string, std::size_t> byLowerId_;
};

// Everything a checkpoint saves: the phrase list and the five tables.
struct PhraseState {
  PhraseList list;
  PhraseTable<AGProjectPhrase> project;
  PhraseTable<AGMenuPhrase> menu;
  PhraseTable<AGTablePhrase> table;
  PhraseTable<AGChartPhrase> chart;
  PhraseTable<AGFieldPhrase> field;

  void clear() noexcept;
};

}  // namespace vantorel
