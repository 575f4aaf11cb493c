#include "fields/search_operators.hpp"

#include "foundation/field_kind.hpp"
#include "platform/automation/variant.hpp"

namespace vantorel {

std::u16string GetSrchOprList(std::int16_t adoType) {
  switch (GetFldKind(Variant(adoType))) {
    case kFldKindBoolean:
      return u"=\r\n<>";
    case kFldKindText:
      return u"=\r\n<>\r\n<\r\n<=\r\n>\r\n>=\r\nBETWEEN\r\nLIKE\r\nNOT LIKE\r\nSTARTS WITH";
    default:
      return u"=\r\n<>\r\n<\r\n<=\r\n>\r\n>=\r\nBETWEEN";
  }
}

std::u16string FldSrchOprs(std::int16_t adoType) {
  return u"USER SELECT\r\n" + GetSrchOprList(adoType);
}

}  // namespace vantorel
