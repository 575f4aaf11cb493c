#include "platform/vbscript/script_error.hpp"

#include <string>
#include <utility>

#include "platform/text/unicode.hpp"

namespace vantorel::vbs {

ScriptException::ScriptException(ScriptError e) : error_(std::move(e)) {
  what_ = toUtf8(error_.source) + " " + std::to_string(error_.number) + ": " +
          toUtf8(error_.description);
  if (error_.line > 0) {
    what_ +=
        " (line " + std::to_string(error_.line) + ", column " + std::to_string(error_.column) + ")";
  }
}

std::u16string compileErrorDescription(std::int32_t number) {
  switch (number) {
    case 1001:
      return u"Out of memory";
    case 1002:
      return u"Syntax error";
    case 1005:
      return u"Expected '('";
    case 1006:
      return u"Expected ')'";
    case 1010:
      return u"Expected identifier";
    case 1011:
      return u"Expected '='";
    case 1012:
      return u"Expected 'If'";
    case 1013:
      return u"Expected 'To'";
    case 1014:
      return u"Expected 'End'";
    case 1015:
      return u"Expected 'Function'";
    case 1016:
      return u"Expected 'Sub'";
    case 1017:
      return u"Expected 'Then'";
    case 1018:
      return u"Expected 'Wend'";
    case 1019:
      return u"Expected 'Loop'";
    case 1020:
      return u"Expected 'Next'";
    case 1021:
      return u"Expected 'Case'";
    case 1022:
      return u"Expected 'Select'";
    case 1023:
      return u"Expected expression";
    case 1024:
      return u"Expected statement";
    case 1025:
      return u"Expected end of statement";
    case 1026:
      return u"Expected integer constant";
    case 1027:
      return u"Expected 'While' or 'Until'";
    case 1028:
      return u"Expected 'While', 'Until' or end of statement";
    case 1029:
      return u"Expected 'With'";
    case 1030:
      return u"Identifier too long";
    case 1031:
      return u"Invalid number";
    case 1032:
      return u"Invalid character";
    case 1033:
      return u"Unterminated string constant";
    case 1034:
      return u"Unterminated comment";
    case 1037:
      return u"Invalid use of 'Me' keyword";
    case 1038:
      return u"'loop' without 'do'";
    case 1039:
      return u"Invalid 'exit' statement";
    case 1040:
      return u"Invalid 'for' loop control variable";
    case 1041:
      return u"Name redefined";
    case 1042:
      return u"Must be first statement on the line";
    case 1043:
      return u"Cannot assign to non-ByVal argument";
    case 1044:
      return u"Cannot use parentheses when calling a Sub";
    case 1045:
      return u"Expected literal constant";
    case 1046:
      return u"Expected 'In'";
    case 1047:
      return u"Expected 'Class'";
    case 1048:
      return u"Must be defined inside a Class";
    case 1049:
      return u"Expected Let or Set or Get in property declaration";
    case 1050:
      return u"Expected 'Property'";
    case 1051:
      return u"Number of arguments must be consistent across property declarations";
    case 1052:
      return u"Cannot have multiple default property/method in a Class";
    case 1053:
      return u"Class initialize or terminate do not have arguments";
    case 1054:
      return u"Property set or let must have at least one argument";
    case 1055:
      return u"Unexpected 'Next'";
    case 1056:
      return u"'Default' can be specified only on 'Property' or 'Function' or 'Sub'";
    case 1057:
      return u"'Default' must be declared together with 'Public'";
    case 1058:
      return u"'Default' is allowed only on Property Get";
    default:
      return {};
  }
}

}  // namespace vantorel::vbs
