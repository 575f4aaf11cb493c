// AGPField's import of a column definition as a DAO or an ADO field describes it.
#include "fields/field.hpp"
#include "fields/field_settings.hpp"
#include "fields/field_types.hpp"
#include "fields/type_rules.hpp"
#include "foundation/field_kind.hpp"
#include "foundation/project_context.hpp"
#include "foundation/sql_quoting.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant_convert.hpp"

namespace vantorel {

namespace {

constexpr std::int32_t kAdoItemNotFound = 3265;

}  // namespace

void AGPField::SetFldTypeDAO(std::int16_t daoType) {
  AGProperties& bag = properties();
  const DaoTypeRule rule = daoTypeRule(daoType);
  bag.setting(kFldType) = Variant(rule.adoType);
  bag.setting(kFldSupport) = Variant(rule.supported);
  if (rule.quote) {
    bag.setting(kFldQuoteS) = Variant(rule.quote);
    bag.setting(kFldQuoteE) = Variant(rule.quote);
  }
}

void AGPField::SetFldTypeADO(std::int16_t type, std::uint8_t precision) {
  AGProperties& bag = properties();
  bag.setting(kFldType) = Variant(type);
  if (toString(bag.setting(kFldTypeName)).empty()) {
    bag.setting(kFldTypeName) = Variant(
        toString(AdoTypeName(Variant(type), Variant(static_cast<std::int16_t>(precision)))));
  }
  const AdoTypeRule rule = adoTypeRule(type);
  bag.setting(kFldSupport) = Variant(rule.supported);
  if (rule.quote) {
    const bool accessDate = *rule.quote == LiteralQuote::Date &&
                            GetDbmsType(projectContext().currentDbmsName) == kDbmsAccess;
    const char16_t* quote = *rule.quote == LiteralQuote::None ? u"" : accessDate ? u"#" : u"'";
    bag.setting(kFldQuoteS) = Variant(quote);
    bag.setting(kFldQuoteE) = Variant(quote);
  }
}

void AGPField::LoadFld_DAO(const DaoFieldDefinition& d) {
  AGProperties& bag = properties();
  const bool newCaption = d.Caption && !d.Caption->empty();
  // A caption the import keeps is read by the defaults; one that does not read as text refuses
  // the call before the first write.
  if (!newCaption) static_cast<void>(toString(bag.setting(kFldCaption)));
  bag.setting(kFldName) = Variant(d.Name);
  SetFldTypeDAO(d.Type);
  bag.setting(kFldSize) = Variant(d.Size);
  bag.setting(kFldUniqueIdx) = Variant(false);
  bag.setting(kFldAttribute) = Variant(daoFieldAttributes(d));
  bag.setting(kFldAutoIncrement) = Variant((d.Attributes & kDaoAutoIncrField) == kDaoAutoIncrField);
  bag.setting(kFldZeroLen) = Variant(d.AllowZeroLength);
  bag.setting(kFldReq) = Variant(d.Required);
  if (newCaption) bag.setting(kFldCaption) = Variant(*d.Caption);
  LoadFldDefault();
}

void AGPField::LoadFld_ADO(const AdoFieldDefinition& d) {
  // Everything that can fail is read before the first write, so a refused definition leaves
  // the field as it was.
  if (!d.IsAutoIncrement) {
    throw AutomationError(kAdoItemNotFound,
                          u"Item cannot be found in the collection corresponding to the requested "
                          u"name or ordinal.");
  }
  const bool autoIncrement = !d.IsAutoIncrement->isNull() && toBool(*d.IsAutoIncrement);
  AGProperties& bag = properties();
  static_cast<void>(toString(bag.setting(kFldCaption)));
  static_cast<void>(toString(bag.setting(kFldTypeName)));

  bag.setting(kFldName) = Variant(d.Name);
  SetFldTypeADO(d.Type, d.Precision);
  bag.setting(kFldSize) = Variant(d.DefinedSize);
  bag.setting(kFldZeroLen) = Variant(true);
  bag.setting(kFldReq) = Variant(false);
  bag.setting(kFldUniqueIdx) = Variant(false);
  std::int32_t attributes = d.Attributes;
  bag.setting(kFldAutoIncrement) = Variant(autoIncrement);
  if (GetDbmsType(projectContext().currentDbmsName) == kDbmsPostgreSql) {
    // PostgreSQL reports its unbounded text types as plain (var)char of a huge size.
    constexpr std::int32_t kLongTextSize = 8000;
    if (d.Type == adoType::kVarChar && d.DefinedSize > kLongTextSize) {
      bag.setting(kFldType) = Variant(adoType::kLongVarChar);
    } else if (d.Type == adoType::kVarWChar && d.DefinedSize > kLongTextSize) {
      bag.setting(kFldType) = Variant(adoType::kLongVarWChar);
    }
    // Its driver leaves the updatable bit off for ordinary columns.
    if (!autoIncrement) attributes |= kAdoFldUpdatable;
  }
  bag.setting(kFldAttribute) = Variant(attributes);
  LoadFldDefault();
}

}  // namespace vantorel
