#pragma once
// Tokens of a custom view's query, read by the identifier and string rules of one DBMS kind.
// The analyser only needs names, literals and punctuation; everything else is skipped whole.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace vantorel {

enum class SqlTokenKind {
  kWord,        // a bare identifier or keyword
  kQuotedName,  // an identifier in the kind's quotes
  kString,      // a string literal
  kNumber,
  kSymbol,  // one punctuation character
};

struct SqlToken {
  SqlTokenKind kind = SqlTokenKind::kSymbol;
  std::size_t start = 0;   // in UTF-16 code units of the query text
  std::size_t length = 0;  // the token as written, quotes included
  // Words as written, names and strings without their quotes and with doubled quotes undone,
  // symbols as their character.
  std::u16string value;
};

struct SqlTokens {
  std::vector<SqlToken> tokens;
  // For each "(" the index of its ")", and for each ")" that of its "("; tokens.size() when
  // unmatched. Lets every reader skip a parenthesis in one step, keeping the analysis linear.
  std::vector<std::size_t> partner;
};

// Whether a backslash escapes the next character of a string. A server setting can turn the
// kind's usual rule around (MySQL's NO_BACKSLASH_ESCAPES, PostgreSQL's
// standard_conforming_strings), so a reading that must hold whatever the server does reads twice.
enum class BackslashRule { KindsOwn, Reversed };

// Never fails: an unterminated string, name or comment runs to the end of the text.
SqlTokens lexCustomSql(std::u16string_view sql, std::int16_t dbmsKind,
                       BackslashRule backslash = BackslashRule::KindsOwn);

bool isWord(const SqlToken& token, std::u16string_view keyword) noexcept;
bool isWordIn(const SqlToken& token, std::initializer_list<std::u16string_view> keywords) noexcept;
bool isSymbol(const SqlToken& token, char16_t symbol) noexcept;
// A bare or quoted identifier.
bool isName(const SqlToken& token) noexcept;

}  // namespace vantorel
