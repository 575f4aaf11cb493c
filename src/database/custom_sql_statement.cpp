#include "database/custom_sql_statement.hpp"

#include "database/custom_sql_lexer.hpp"
#include "foundation/sql_quoting.hpp"
#include "platform/text/strings.hpp"

namespace vantorel {

namespace {

std::u16string where(std::u16string_view sql, std::size_t offset) {
  std::size_t line = 1;
  std::size_t lineStart = 0;
  for (std::size_t i = 0; i < offset && i < sql.size(); ++i) {
    if (sql[i] == u'\n') {
      ++line;
      lineStart = i + 1;
    }
  }
  return u"line " + toU16(line) + u", column " + toU16(offset - lineStart + 1);
}

// MySQL runs what stands in "/*! ... */" and MariaDB what stands in "/*M! ... */": to every
// reader but the server they are comments, so a statement could hide in one.
std::optional<std::size_t> executableComment(std::u16string_view sql, const SqlTokens& reading) {
  std::size_t gapStart = 0;
  for (std::size_t i = 0; i <= reading.tokens.size(); ++i) {
    const std::size_t gapEnd = i < reading.tokens.size() ? reading.tokens[i].start : sql.size();
    const std::u16string_view gap = sql.substr(gapStart, gapEnd - gapStart);
    for (std::u16string_view opener : {u"/*!", u"/*M!", u"/*m!"}) {
      const std::size_t at = gap.find(opener);
      if (at != std::u16string_view::npos) return gapStart + at;
    }
    if (i < reading.tokens.size()) gapStart = gapEnd + reading.tokens[i].length;
  }
  return std::nullopt;
}

// The offset of the first ";" that is not the reading's last token.
std::optional<std::size_t> innerSemicolon(const SqlTokens& reading) {
  for (std::size_t i = 0; i + 1 < reading.tokens.size(); ++i) {
    if (isSymbol(reading.tokens[i], u';')) return reading.tokens[i].start;
  }
  return std::nullopt;
}

}  // namespace

std::u16string customQueryProblem(std::u16string_view what, std::u16string_view sql,
                                  std::size_t offset) {
  return u"The query of a custom view " + std::u16string(what) + u" at " + where(sql, offset) +
         u".";
}

CustomQueryText checkCustomQuery(std::u16string_view sql, std::int16_t dbmsKind) {
  CustomQueryText result;
  const std::size_t nul = sql.find(u'\0');
  if (nul != std::u16string_view::npos) {
    result.problem = customQueryProblem(u"holds a NUL character", sql, nul);
    return result;
  }
  const SqlTokens own = lexCustomSql(sql, dbmsKind);
  const SqlTokens reversed = lexCustomSql(sql, dbmsKind, BackslashRule::Reversed);

  std::size_t first = 0;
  while (first < own.tokens.size() && isSymbol(own.tokens[first], u'(')) ++first;
  if (first == own.tokens.size() || !isWordIn(own.tokens[first], {u"SELECT", u"WITH"})) {
    const std::size_t at = first < own.tokens.size() ? own.tokens[first].start : 0;
    result.problem = customQueryProblem(u"must begin with SELECT or WITH; it does not", sql, at);
    return result;
  }
  for (const SqlTokens* reading : {&own, &reversed}) {
    if (const auto at = innerSemicolon(*reading)) {
      result.problem = customQueryProblem(u"must be one statement: a \";\" ends it", sql, *at);
      return result;
    }
    if (dbmsKind == kDbmsMySql) {
      if (const auto at = executableComment(sql, *reading)) {
        result.problem =
            customQueryProblem(u"may not hold an executable comment: one begins", sql, *at);
        return result;
      }
    }
  }
  const bool closingSemicolon = !own.tokens.empty() && isSymbol(own.tokens.back(), u';');
  result.statement = closingSemicolon ? std::u16string(sql.substr(0, own.tokens.back().start))
                                      : std::u16string(sql);
  return result;
}

}  // namespace vantorel
