// AGPField's type-driven defaults: the generation settings a field gets once its type is known.
#include "fields/field.hpp"
#include "fields/field_settings.hpp"
#include "fields/field_types.hpp"
#include "foundation/captions.hpp"
#include "foundation/project_context.hpp"
#include "foundation/script_text.hpp"
#include "foundation/sql_quoting.hpp"
#include "platform/automation/variant_convert.hpp"

namespace vantorel {

namespace {

Variant integer(std::int16_t v) {
  return Variant(v);
}
Variant text(const char16_t* v) {
  return Variant(v);
}

bool isDateTime(std::int16_t type) {
  using namespace adoType;
  return isOneOf(type, {kDate, kDBDate, kDBTimeStamp, kDateTimeOffset});
}

bool isKnownDateFormat(std::int16_t format) {
  return format >= 5 && format <= 7;
}

}  // namespace

void AGPField::LoadFldDefault() {
  using namespace adoType;
  AGProperties& bag = properties();
  // Every input is read before the first write: a value that does not convert refuses the
  // whole call and leaves the field as it was.
  const std::u16string name = toString(bag.setting(kFldName));
  const std::int16_t type = toInteger(bag.setting(kFldType));
  const bool supported = toBool(bag.setting(kFldSupport));
  const bool autoIncrement = toBool(bag.setting(kFldAutoIncrement));
  const std::int32_t attributes = toLong(bag.setting(kFldAttribute));
  static_cast<void>(toBool(bag.setting(kFldReq)));
  // Only a text box takes its length from the size.
  if (!autoIncrement && isOneOf(type, {kVarChar, kVarWChar})) {
    static_cast<void>(toLong(bag.setting(kFldSize)));
  }
  // PostgreSQL's loader names every array type "array": shown as its text, never typed in.
  const Variant& typeName = bag.setting(kFldTypeName);
  const bool shownOnly = typeName.isString() && typeName.stringValue() == u"array";
  const bool hasCaption = !toString(bag.setting(kFldCaption)).empty();
  const Variant var = GetVarName(Variant(name), Variant(u"x_"));

  bag.setting(kFldFmtType) = text(u"None");
  bag.setting(kFldIncLeadDigit) = integer(-2);
  bag.setting(kFldUseParen) = integer(-2);
  bag.setting(kFldGpDigits) = integer(-2);
  bag.setting(kFldSelectType) = text(u"Values");
  bag.setting(kFldViewTag) = text(u"FORMATTED TEXT");
  bag.setting(kFldTagAPrefix) = text(u"None");
  bag.setting(kFldRequired) = Variant(false);
  bag.setting(kFldPopCalendar) = Variant(false);
  bag.setting(kFldHtmlTagReadOnly) = Variant(false);
  bag.setting(kFldSrchOpr2) = text(u"");
  bag.setting(kFldOrderBy) = integer(0);
  bag.setting(kFldOrder) = text(u"");
  bag.setting(kFldGroupBy) = integer(0);
  bag.setting(kFldGroupByType) = text(u"");
  bag.setting(kFldGroupByInterval) = Variant(std::int32_t{0});
  bag.setting(kFldRowID) = integer(0);
  bag.setting(kFldColumnID) = integer(0);
  bag.setting(kFldColumnDateType) = text(u"");
  bag.setting(kFldColumnDateSelect) = Variant(false);
  bag.setting(kFldSummaryID) = integer(0);
  bag.setting(kFldSummaryType) = text(u"");
  bag.setting(kFldGenerate) = Variant(supported);
  bag.setting(kFldVar) = Variant(toString(var));
  bag.setting(kFldList) = Variant(
      supported && !isOneOf(type, {kLongVarWChar, kLongVarChar, kLongVarBinary, kVarBinary}));
  bag.setting(kFldEdit) = Variant(supported && !shownOnly);
  bag.setting(kFldAdd) = Variant(autoIncrement || shownOnly ? false : supported);
  // SQL Server says plainly which columns cannot be written (computed columns, timestamps).
  if (GetDbmsType(projectContext().currentDbmsName) == kDbmsSqlServer &&
      (attributes & (kAdoFldUpdatable | kAdoFldUnknownUpdatable)) == 0 && !autoIncrement) {
    bag.setting(kFldAdd) = Variant(false);
    bag.setting(kFldEdit) = Variant(false);
  }
  bag.setting(kFldView) = Variant(supported);
  SetFldTagDefault();
  SetFldValidateDefault();
  SetFldSrchOprDefault();
  ResetFldSearch();
  SetFldBasicSearchDefault();
  if (!hasCaption) bag.setting(kFldCaption) = Variant(NameToCaption(name));
  bag.setting(kFldRepeatColumns) = Variant(projectContext().currentRepeatColumns);
}

void AGPField::SetFldTagDefault() {
  using namespace adoType;
  AGProperties& bag = properties();
  if (toBool(bag.setting(kFldAutoIncrement))) {
    bag.setting(kFldHtmlTag) = text(u"");
    return;
  }
  const std::int16_t type = toInteger(bag.setting(kFldType));
  if (type == kBoolean) {
    bag.setting(kFldHtmlTag) = text(u"CHECKBOX");
    bag.setting(kFldTagValues) = GetDbmsType(projectContext().currentDbmsName) == kDbmsAccess
                                     ? text(u"\"True\",\"True\"\r\n\"False\",\"False\"")
                                     : text(u"\"1\",\"1\"\r\n\"0\",\"0\"");
  } else if (isOneOf(type, {kLongVarChar, kLongVarWChar, kXml})) {
    bag.setting(kFldHtmlTag) = text(u"TEXTAREA");
    bag.setting(kFldTagCols) = integer(35);
    bag.setting(kFldTagRows) = integer(4);
  } else if (isOneOf(type, {kVarChar, kVarWChar})) {
    bag.setting(kFldHtmlTag) = text(u"TEXT");
    bag.setting(kFldTagSize) = integer(30);
    bag.setting(kFldTagMaxLength) = Variant(toLong(bag.setting(kFldSize)));
  } else if (isDateTime(type)) {
    bag.setting(kFldHtmlTag) = text(u"TEXT");
    const std::int16_t format = projectContext().currentDateFormat;
    if (isKnownDateFormat(format)) {
      bag.setting(kFldFmtType) = text(u"Date/Time");
      bag.setting(kFldDtFormat) = integer(format);
    }
  } else if (type == kGuid) {
    bag.setting(kFldHtmlTag) = text(u"TEXT");
    bag.setting(kFldTagSize) = integer(38);
    bag.setting(kFldTagMaxLength) = Variant(std::int32_t{38});
  } else if (isOneOf(type, {kLongVarBinary, kVarBinary})) {
    bag.setting(kFldHtmlTag) = text(u"FILE");
    bag.setting(kFldViewTag) = text(u"IMAGE");
    bag.setting(kFldTagSize) = integer(30);
    bag.setting(kFldHrefFld) = Variant(toString(bag.setting(kFldName)));
  } else {
    bag.setting(kFldHtmlTag) = text(u"TEXT");
    bag.setting(kFldTagSize) = integer(30);
  }
}

void AGPField::SetFldValidateDefault() {
  using namespace adoType;
  AGProperties& bag = properties();
  if (toBool(bag.setting(kFldReq))) bag.setting(kFldRequired) = Variant(true);
  const std::int16_t type = toInteger(bag.setting(kFldType));
  if (isOneOf(type, {kBigInt, kInteger, kSmallInt, kTinyInt, kUnsignedBigInt, kUnsignedInt,
                     kUnsignedSmallInt, kUnsignedTinyInt})) {
    bag.setting(kFldValidate) = text(u"INTEGER");
  } else if (isOneOf(type, {kCurrency, kDecimal, kDouble, kNumeric, kSingle})) {
    bag.setting(kFldValidate) = text(u"FLOAT");
  } else if (isDateTime(type)) {
    switch (projectContext().currentDateFormat) {
      case 5:
        bag.setting(kFldValidate) = text(u"DATE");
        break;
      case 6:
        bag.setting(kFldValidate) = text(u"USDATE");
        break;
      case 7:
        bag.setting(kFldValidate) = text(u"EURODATE");
        break;
      default:
        break;
    }
  } else if (type == kDBTime) {
    bag.setting(kFldValidate) = text(u"TIME");
  } else if (type == kGuid) {
    bag.setting(kFldValidate) = text(u"GUID");
  }
}

void AGPField::SetFldSrchOprDefault() {
  using namespace adoType;
  const std::int16_t type = toInteger(properties().setting(kFldType));
  const bool textual =
      isOneOf(type, {kBSTR, kChar, kLongVarChar, kLongVarWChar, kVarChar, kVarWChar, kWChar});
  properties().setting(kFldSrchOpr) = text(textual ? u"LIKE" : u"=");
}

void AGPField::ResetFldSearch() {
  properties().setting(kFldSearch) = Variant(false);
}

void AGPField::SetFldBasicSearchDefault() {
  using namespace adoType;
  AGProperties& bag = properties();
  const std::int16_t type = toInteger(bag.setting(kFldType));
  const std::u16string tag = toString(bag.setting(kFldHtmlTag));
  const bool basic =
      isOneOf(type, {kLongVarChar, kLongVarWChar, kVarChar, kVarWChar, kChar, kWChar}) &&
      toBool(bag.setting(kFldSupport)) && tag != u"SELECT" && tag != u"RADIO" && tag != u"CHECKBOX";
  bag.setting(kFldBasicSearch) = Variant(basic);
}

}  // namespace vantorel
