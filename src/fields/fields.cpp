#include "fields/fields.hpp"

#include <optional>
#include <utility>
#include <vector>

#include "fields/field_settings.hpp"
#include "foundation/script_text.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/class_info.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/case_fold.hpp"
#include "project/extension_cascade.hpp"
#include "project/language.hpp"

namespace vantorel {

namespace {

// The field's phrases in every language move to its new name; the phrase tables know fields
// only by name, so without this a rename would orphan them and the next save would drop them.
// Names compare without regard to case, as the save matches phrases to fields.
void renameFieldPhrases(const std::u16string& table, const std::u16string& oldName,
                        const std::u16string& newName) {
  AGPLanguage& language = SharedLanguage();
  std::vector<AGFieldPhrase> moved;
  for (std::int32_t i = 1, n = language.FieldCount(); i <= n; ++i) {
    AGFieldPhrase phrase = language.FieldItem(i);
    if (equalsNoCase(phrase.TableName, table) && equalsNoCase(phrase.FieldName, oldName))
      moved.push_back(std::move(phrase));
  }
  for (const AGFieldPhrase& p : moved) language.DeleteFieldPhrase(p.TableName, p.FieldName);
  for (const AGFieldPhrase& p : moved) {
    language.SetFieldPhrase(p.LanguageId, p.TableName, newName, p.FieldAttribute, p.Phrase);
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

const ClassInfo& AGPFields::classInfo() const noexcept {
  return MemberTable<AGPFields>::get(u"AGPFields");
}

bool AGPFields::add(const std::u16string& TblName, const std::u16string& Name) {
  // A name written straight into a field's FldName no longer matches its key; adding that
  // name again must not make a second field of it.
  return addNamed(
      Name, kFldName, HeldName::Refused,
      [&](const std::u16string& stored) { return change(TblName, stored, Name); },
      [&](AGPField& field) { field.setFldName(Name); }, &AGPField::setFldSeq, &AGPField::FldSeq);
}

bool AGPFields::change(const std::u16string& TblName, const std::u16string& OldName,
                       const std::u16string& NewName) {
  return changeNamed(
      OldName, NewName, Clash::Refused,
      [&](AGPField& field) {
        const std::u16string storedKey =
            items().key(static_cast<std::int32_t>(*positionOf(field)) + items().baseIndex());
        // What can fail comes first, so that a refusal leaves the field, its key and the
        // extension settings as they were.
        const std::int16_t seq = field.FldSeq();
        const std::u16string var = toString(GetVarName(Variant(NewName), Variant(u"x_")));
        ExtRenameField(TblName, storedKey, NewName);

        items().changeKey(storedKey, NewName);
        field.setFldName(NewName);
        field.setFldVar(var);
        renameFieldPhrases(TblName, storedKey, NewName);
        return seq;
      },
      [](AGPField&) {});
}

bool AGPFields::remove(const std::u16string& TblName, const Variant& Index) {
  const std::u16string text = indexText(Index);
  // "" is never a key.
  const std::int32_t position = items().keyExists(text);
  if (position == kNoPosition) return false;
  const std::u16string key = items().key(position);
  AGPField& doomed = at(static_cast<std::size_t>(position - items().baseIndex()));

  // A field whose FldSeq does not read as a number closes no gap; the others keep theirs, and
  // so does a number at the bottom of the range.
  if (const std::optional<std::int16_t> removedSeq = readSeq(doomed)) {
    closeSeqGap(*removedSeq, &readSeq, [](AGPField& field, std::int16_t s) {
      if (lowerSeq(s) != s) field.setFldSeq(lowerSeq(s));
    });
  }
  try {
    ExtDeleteField(TblName, key);
  } catch (const AutomationError&) {
  }
  // Phrases are stored under the name exactly as the field had it; a caller naming the field in
  // other case still means the same field.
  SharedLanguage().DeleteFieldPhrase(TblName, key);
  if (text != key) SharedLanguage().DeleteFieldPhrase(TblName, text);
  items().remove(Variant(position));
  return true;
}

void AGPFields::removeAll(const std::u16string& TblName) {
  // A field whose number is unreadable, duplicated or out of line is still deleted, never
  // skipped.
  for (const Ref<AGPField>& field : highestSeqFirst(&readSeq, EqualSeqs::InPositionOrder)) {
    if (const std::optional<std::size_t> pos = positionOf(*field)) {
      const auto position = static_cast<std::int32_t>(*pos) + items().baseIndex();
      remove(TblName, Variant(items().key(position)));
    }
  }
}

Ref<AGPField> AGPFields::item(const Variant& Index) {
  AGPField* field = lookup(Index);
  if (!field) return nullptr;
  makeCurrent(*field);
  return Ref<AGPField>(field);
}

Ref<AGPField> AGPFields::seq(std::int16_t Index) const {
  return Ref<AGPField>(firstWithSeq(Index, &readSeq));
}

void AGPFields::setItem(const Variant& Index) {
  if (AGPField* field = find(indexText(Index))) makeCurrent(*field);
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
