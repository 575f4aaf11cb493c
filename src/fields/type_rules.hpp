#pragma once
// How a column's type decides its field type code, whether the generated pages handle it and
// the quote its literals take. The model's field import and the schema snapshot read the same
// columns through these rules, so that neither can type a column differently from the other.
#include <cstdint>
#include <optional>
#include <string>

#include "fields/field_definition.hpp"

namespace vantorel {

enum class LiteralQuote { None, Text, Date };

struct AdoTypeRule {
  bool supported = false;
  // Nothing for a type the pages cannot handle: its quotes are left as they are.
  std::optional<LiteralQuote> quote;
};

// The rule of an ADO type code. Date literals are Text-quoted over ADO except on Access, where
// the caller asks for its "#".
AdoTypeRule adoTypeRule(std::int16_t adoType);

struct DaoTypeRule {
  std::int16_t adoType = -1;  // -1: a DAO type without an ADO counterpart
  bool supported = false;
  const char16_t* quote = nullptr;  // nullptr: quotes unchanged
};

DaoTypeRule daoTypeRule(std::int16_t daoType);

// The ADO attribute bits of a DAO column: fixed length, updatable unless auto-numbered,
// nullable unless required.
std::int32_t daoFieldAttributes(const DaoFieldDefinition& d);

}  // namespace vantorel
