#include "platform/automation/automation_error.hpp"

#include "platform/text/unicode.hpp"

namespace vantorel {

AutomationError::AutomationError(std::int32_t number, std::u16string source,
                                 std::u16string description)
    : number_(number), source_(std::move(source)), description_(std::move(description)) {
  what_ = "error " + std::to_string(number_);
  if (!description_.empty()) what_ += ": " + toUtf8(description_);
}

std::u16string vbErrorDescription(std::int32_t number) {
  switch (number) {
    case 5: return u"Invalid procedure call or argument";
    case 6: return u"Overflow";
    case 7: return u"Out of memory";
    case 9: return u"Subscript out of range";
    case 10: return u"This array is fixed or temporarily locked";
    case 11: return u"Division by zero";
    case 13: return u"Type mismatch";
    case 14: return u"Out of string space";
    case 28: return u"Out of stack space";
    case 35: return u"Sub or Function not defined";
    case 48: return u"Error in loading DLL";
    case 51: return u"Internal error";
    case 52: return u"Bad file name or number";
    case 53: return u"File not found";
    case 54: return u"Bad file mode";
    case 55: return u"File already open";
    case 57: return u"Device I/O error";
    case 58: return u"File already exists";
    case 61: return u"Disk full";
    case 62: return u"Input past end of file";
    case 67: return u"Too many files";
    case 68: return u"Device unavailable";
    case 70: return u"Permission denied";
    case 71: return u"Disk not ready";
    case 74: return u"Can't rename with different drive";
    case 75: return u"Path/File access error";
    case 76: return u"Path not found";
    case 91: return u"Object variable not set";
    case 92: return u"For loop not initialized";
    case 94: return u"Invalid use of Null";
    case 322: return u"Can't create necessary temporary file";
    case 424: return u"Object required";
    case 429: return u"ActiveX component can't create object";
    case 430: return u"Class doesn't support Automation";
    case 432: return u"File name or class name not found during Automation operation";
    case 438: return u"Object doesn't support this property or method";
    case 440: return u"Automation error";
    case 445: return u"Object doesn't support this action";
    case 446: return u"Object doesn't support named arguments";
    case 447: return u"Object doesn't support current locale setting";
    case 448: return u"Named argument not found";
    case 449: return u"Argument not optional";
    case 450: return u"Wrong number of arguments or invalid property assignment";
    case 451: return u"Object not a collection";
    case 453: return u"Specified DLL function not found";
    case 455: return u"Code resource lock error";
    case 457: return u"This key is already associated with an element of this collection";
    case 458: return u"Variable uses an Automation type not supported in VBScript";
    case 462: return u"The remote server machine does not exist or is unavailable";
    case 481: return u"Invalid picture";
    case 500: return u"Variable is undefined";
    case 501: return u"Illegal assignment";
    case 502: return u"Object not safe for scripting";
    case 503: return u"Object not safe for initializing";
    case 504: return u"Object not safe for creating";
    case 505: return u"Invalid or unqualified reference";
    case 506: return u"Class not defined";
    case 507: return u"An exception occurred";
    case 5008: return u"Illegal assignment";
    case 5017: return u"Syntax error in regular expression";
    case 5018: return u"Unexpected quantifier";
    case 5019: return u"Expected ']' in regular expression";
    case 5020: return u"Expected ')' in regular expression";
    case 5021: return u"Invalid range in character set";
    case 32811: return u"Element not found";
    default: return {};
  }
}

void raiseVbError(std::int32_t number) { throw AutomationError(number, vbErrorDescription(number)); }

void raiseVbError(std::int32_t number, std::u16string description) {
  throw AutomationError(number, std::move(description));
}

}  // namespace vantorel
