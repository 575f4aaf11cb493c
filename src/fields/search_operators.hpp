#pragma once
// The search operators a field may offer, by the kind of its ADO type: the vocabulary of the
// FldSrchOpr and FldSrchOpr2 settings, as the host lists them for the user.
#include <cstdint>
#include <string>

namespace vantorel {

// The operators for the type's kind, one per line, CR LF between lines and none after the last.
std::u16string GetSrchOprList(std::int16_t adoType);
// "USER SELECT", CR LF, then GetSrchOprList; what AGP.FldSrchOprs returns.
std::u16string FldSrchOprs(std::int16_t adoType);

}  // namespace vantorel
