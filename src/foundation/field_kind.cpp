#include "foundation/field_kind.hpp"

#include <cmath>
#include <exception>
#include <optional>
#include <string>

#include "platform/automation/variant_convert.hpp"
#include "platform/text/case_fold.hpp"

namespace vantorel {

namespace {

// A type code is a whole number; 3.5 is no code at all, rather than 4.
std::optional<std::int32_t> codeOf(const Variant& v) {
  try {
    const double d = toDouble(v);
    if (d != std::floor(d) || d < INT32_MIN || d > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(d);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

const char16_t* plainTypeName(std::int32_t code) {
  switch (code) {
    case 20:
      return u"BIGINT";
    case 8:
      return u"BSTR";
    case 11:
      return u"BOOLEAN";
    case 129:
      return u"CHAR";
    case 6:
      return u"CURRENCY";
    case 7:
    case 133:
      return u"DATE";
    case 14:
      return u"DECIMAL";
    case 134:
    case 145:
      return u"TIME";
    case 5:
      return u"DOUBLE";
    case 3:
      return u"INTEGER";
    case 201:
      return u"LONGVARCHAR";
    case 131:
      return u"NUMERIC";
    case 203:
      return u"LONGVARWCHAR";
    case 4:
      return u"SINGLE";
    case 200:
      return u"VARCHAR";
    case 2:
      return u"SMALLINT";
    case 202:
      return u"VARWCHAR";
    case 16:
      return u"TINYINT";
    case 130:
      return u"WCHAR";
    case 21:
      return u"UNSIGNEDBIGINT";
    case 72:
      return u"GUID";
    case 19:
      return u"UNSIGNEDINT";
    case 205:
      return u"LONGVARBINARY";
    case 18:
      return u"UNSIGNEDSMALLINT";
    case 204:
      return u"VARBINARY";
    case 17:
      return u"UNSIGNEDTINYINT";
    case 141:
      return u"XML";
    case 139:
      return u"VARNUMERIC";
    case 146:
      return u"DATETIMEOFFSET";
    default:
      return nullptr;
  }
}

}  // namespace

std::int16_t GetFldKind(const Variant& adoType) {
  const std::optional<std::int32_t> code = codeOf(adoType);
  if (!code) return kFldKindOther;
  switch (*code) {
    case 20:
    case 3:
    case 2:
    case 16:
    case 4:
    case 5:
    case 131:
    case 6:
      return kFldKindNumeric;
    case 7:
    case 133:
    case 134:
    case 135:
      return kFldKindDate;
    case 201:
    case 203:
    case 129:
    case 130:
    case 200:
    case 202:
      return kFldKindText;
    case 11:
      return kFldKindBoolean;
    case 72:
      return kFldKindGuid;
    default:
      return kFldKindOther;
  }
}

Variant AdoTypeName(const Variant& adoType, const Variant& size) {
  const std::optional<std::int32_t> code = codeOf(adoType);
  if (!code) return Variant();
  if (*code == 135) {
    switch (codeOf(size).value_or(0)) {
      case 16:
        return Variant(std::u16string(u"SMALLDATETIME"));
      case 23:
        return Variant(std::u16string(u"DATETIME"));
      case 27:
        return Variant(std::u16string(u"DATETIME2"));
      default:
        return Variant(std::u16string(u"TIMESTAMP"));
    }
  }
  if (const char16_t* name = plainTypeName(*code)) return Variant(std::u16string(name));
  return Variant();
}

bool IsSupportedPgType(const Variant& nativeType) {
  std::u16string name;
  try {
    name = toLower(toString(nativeType));
  } catch (const std::exception&) {
    return true;
  }
  for (const char16_t* unsupported : {u"bit", u"box", u"array", u"circle", u"line", u"lseg",
                                      u"path", u"point", u"polygon", u"inet"}) {
    if (name == unsupported) return false;
  }
  return true;
}

}  // namespace vantorel
