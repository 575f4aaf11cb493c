#include "fields/fields.hpp"

#include <algorithm>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

#include "fields/field_settings.hpp"
#include "foundation/script_text.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/bind.hpp"
#include "platform/automation/class_info.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/case_fold.hpp"
#include "project/extension_cascade.hpp"
#include "project/language.hpp"

namespace vantorel {

namespace {

// The text of an index argument; nullopt for a value without one (Null, an object, an array).
std::optional<std::u16string> indexText(const Variant& index) {
  try {
    return toString(index);
  } catch (const AutomationError&) {
    return std::nullopt;
  }
}

bool isPositionKind(const Variant& index) {
  switch (index.type()) {
    case VarType::Integer:
    case VarType::Long:
    case VarType::Single:
    case VarType::Double:
    case VarType::Byte:
      return true;
    default:
      return false;
  }
}

// The field's phrases in every language move to its new name; the phrase tables know fields
// only by name, so without this a rename would orphan them and the next save would drop them.
void renameFieldPhrases(const std::u16string& table, const std::u16string& oldName,
                        const std::u16string& newName) {
  AGPLanguage& language = SharedLanguage();
  std::vector<AGFieldPhrase> moved;
  for (std::int32_t i = 1, n = language.FieldCount(); i <= n; ++i) {
    AGFieldPhrase phrase = language.FieldItem(i);
    if (phrase.TableName == table && phrase.FieldName == oldName)
      moved.push_back(std::move(phrase));
  }
  if (moved.empty()) return;
  language.DeleteFieldPhrase(table, oldName);
  for (const AGFieldPhrase& p : moved) {
    language.SetFieldPhrase(p.LanguageId, table, newName, p.FieldAttribute, p.Phrase);
  }
}

std::optional<std::int16_t> readSeq(AGPField& field) {
  try {
    return field.FldSeq();
  } catch (const AutomationError&) {
    return std::nullopt;
  }
}

}  // namespace

AGPFields::AGPFields() : items_(makeRef<CSuperCollection>()) {
  items_->setCompareMode(1);
}

const ClassInfo& AGPFields::classInfo() const noexcept {
  using T = AGPFields;
  static const ClassInfo info(u"AGPFields", [](ClassInfo& c) {
    ClassBuilder<T>(c)
        .get<&T::curName>(u"curName")
        .get<&T::curSeq>(u"curSeq")
        .method<&T::add>(u"Add")
        .method<&T::change>(u"Change")
        .method<&T::count>(u"Count")
        .method<&T::scriptDelete>(u"Delete")
        .method<&T::fieldExist>(u"FieldExist")
        .method<&T::item>(u"Item")
        .method<&T::seq>(u"Seq")
        .method<&T::setItem>(u"SetItem")
        .method<&T::setSeq>(u"SetSeq")
        .method<&T::scriptNewEnum>(u"NewEnum_fld")
        .enumerator<&T::newEnum>();
  });
  return info;
}

AGPField& AGPFields::at(std::size_t index) const {
  // The collection is private and holds nothing but fields.
  return *static_cast<AGPField*>(items_->valueAt(index).objectValue());
}

AGPField* AGPFields::find(std::u16string_view name) const {
  const Variant* value = items_->find(name);
  return value ? static_cast<AGPField*>(value->objectValue()) : nullptr;
}

bool AGPFields::fieldExist(const Variant& Index) const {
  const std::optional<std::u16string> key = indexText(Index);
  return key && items_->keyExists(*key) != kNoPosition;
}

bool AGPFields::FieldNameExist(const std::u16string& Name) {
  for (std::size_t i = 0, n = static_cast<std::size_t>(count()); i < n; ++i) {
    // Every Add walks all fields; compare names stored as text in place instead of copying.
    const Variant& name = at(i).properties().setting(kFldName);
    if (name.isString()) {
      if (!equalsNoCase(name.stringValue(), Name)) continue;
      foundFldName_ = name.stringValue();
      return true;
    }
    std::u16string stored;
    try {
      stored = at(i).FldName();
    } catch (const AutomationError&) {
      continue;
    }
    if (equalsNoCase(stored, Name)) {
      foundFldName_ = std::move(stored);
      return true;
    }
  }
  return false;
}

bool AGPFields::add(const std::u16string& TblName, const std::u16string& Name) {
  if (Name.empty()) return false;
  if (fieldExist(Variant(Name))) return false;
  // A name written straight into a field's FldName no longer matches its key; adding that
  // name again must not make a second field of it.
  if (FieldNameExist(Name)) return change(TblName, foundFldName_, Name);
  if (count() >= std::numeric_limits<std::int16_t>::max()) raiseVbError(vberr::kOverflow);
  const auto seq = static_cast<std::int16_t>(count() + 1);
  auto field = makeRef<AGPField>();
  field->setFldName(Name);
  items_->add(Variant(field), Name);
  field->setFldSeq(seq);
  curName_ = Name;
  curSeq_ = seq;
  return true;
}

bool AGPFields::change(const std::u16string& TblName, const std::u16string& OldName,
                       const std::u16string& NewName) {
  if (OldName.empty() || NewName.empty()) return false;
  if (NewName == OldName) return true;
  const std::int32_t position = items_->keyExists(OldName);
  if (position == kNoPosition) return false;
  const std::int32_t clash = items_->keyExists(NewName);
  if (clash != kNoPosition && clash != position) return false;

  AGPField& field = at(static_cast<std::size_t>(position - items_->baseIndex()));
  const std::u16string storedKey = items_->key(position);
  // What can fail comes first, so that a refusal leaves the field, its key and the extension
  // settings as they were.
  const std::int16_t seq = field.FldSeq();
  const std::u16string var = toString(GetVarName(Variant(NewName), Variant(u"x_")));
  ExtRenameField(TblName, storedKey, NewName);

  items_->changeKey(storedKey, NewName);
  field.setFldName(NewName);
  field.setFldVar(var);
  renameFieldPhrases(TblName, storedKey, NewName);
  curName_ = NewName;
  curSeq_ = seq;
  return true;
}

bool AGPFields::remove(const std::u16string& TblName, const Variant& Index) {
  const std::optional<std::u16string> text = indexText(Index);
  if (!text || text->empty()) return false;
  const std::int32_t position = items_->keyExists(*text);
  if (position == kNoPosition) return false;
  const std::u16string key = items_->key(position);
  AGPField& doomed = at(static_cast<std::size_t>(position - items_->baseIndex()));

  // A field whose FldSeq does not read as a number closes no gap; the others keep theirs.
  if (const std::optional<std::int16_t> removedSeq = readSeq(doomed)) {
    for (std::size_t i = 0, n = static_cast<std::size_t>(count()); i < n; ++i) {
      AGPField& field = at(i);
      const std::optional<std::int16_t> s = readSeq(field);
      if (s && *s >= *removedSeq && *s > std::numeric_limits<std::int16_t>::min()) {
        field.setFldSeq(static_cast<std::int16_t>(*s - 1));
      }
    }
  }
  try {
    ExtDeleteField(TblName, key);
  } catch (const AutomationError&) {
  }
  // Phrases are stored under the name exactly as the field had it; a caller naming the field in
  // other case still means the same field.
  SharedLanguage().DeleteFieldPhrase(TblName, key);
  if (*text != key) SharedLanguage().DeleteFieldPhrase(TblName, *text);
  items_->remove(Variant(position));
  return true;
}

void AGPFields::removeAll(const std::u16string& TblName) {
  // Highest FldSeq first, so no deletion renumbers a field still to go; a field whose number
  // is unreadable, duplicated or out of line is still deleted, never skipped.
  struct Doomed {
    std::int32_t seq;
    std::u16string key;
  };
  std::vector<Doomed> order;
  for (std::int32_t p = items_->baseIndex(), end = p + count(); p < end; ++p) {
    const std::optional<std::int16_t> s =
        readSeq(at(static_cast<std::size_t>(p - items_->baseIndex())));
    order.push_back({s ? *s : std::numeric_limits<std::int32_t>::min(), items_->key(p)});
  }
  std::stable_sort(order.begin(), order.end(),
                   [](const Doomed& a, const Doomed& b) { return a.seq > b.seq; });
  for (const Doomed& d : order) remove(TblName, Variant(d.key));
}

Ref<AGPField> AGPFields::item(const Variant& Index) {
  AGPField* field = nullptr;
  if (isPositionKind(Index)) {
    std::int64_t position = 0;
    try {
      position = toLong(Index);
    } catch (const AutomationError&) {
      return nullptr;
    }
    const std::int64_t index = position - items_->baseIndex();
    if (index < 0 || index >= count()) return nullptr;
    field = &at(static_cast<std::size_t>(index));
  } else if (Index.isString()) {
    field = find(Index.stringValue());
  }
  if (!field) return nullptr;
  makeCurrent(*field);
  return Ref<AGPField>(field);
}

Ref<AGPField> AGPFields::seq(std::int16_t Index) const {
  for (std::size_t i = 0, n = static_cast<std::size_t>(count()); i < n; ++i) {
    AGPField& field = at(i);
    if (readSeq(field) == Index) return Ref<AGPField>(&field);
  }
  return nullptr;
}

void AGPFields::setItem(const Variant& Index) {
  const std::optional<std::u16string> key = indexText(Index);
  if (!key) return;
  if (AGPField* field = find(*key)) makeCurrent(*field);
}

void AGPFields::setSeq(std::int16_t Index) {
  if (Ref<AGPField> field = seq(Index)) makeCurrent(*field);
}

void AGPFields::makeCurrent(AGPField& field) {
  // A name or number that does not read (junk written through Properties) leaves the current
  // field as it was; the field is still found.
  try {
    std::u16string name = field.FldName();
    const std::int16_t seq = field.FldSeq();
    curName_ = std::move(name);
    curSeq_ = seq;
  } catch (const AutomationError&) {
  }
}

}  // namespace vantorel
