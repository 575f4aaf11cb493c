#include "database/custom_sql_lexer.hpp"

#include <gtest/gtest.h>

#include "foundation/sql_quoting.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel {
namespace {

// Each token as a letter for its kind (w word, n quoted name, s string, d number, y symbol)
// and its value, so one line shows how a kind reads a text.
std::string render(std::u16string_view sql, std::int16_t kind) {
  std::string out;
  for (const SqlToken& token : lexCustomSql(sql, kind).tokens) {
    if (!out.empty()) out += ' ';
    out += "wnsdy"[static_cast<int>(token.kind)];
    out += ':' + toUtf8(token.value);
  }
  return out;
}

TEST(CustomSqlLexer, ReadsQuotesAndCommentsByKind) {
  struct Case {
    std::int16_t kind;
    const char16_t* sql;
    const char* tokens;
  };
  const Case cases[] = {
      {kDbmsAccess, u"[a]]b] \"s\"\"t\" `c`", "n:a]b s:s\"t n:c"},
      {kDbmsSqlServer, u"[a] \"b\"\"c\" N'x''y' #tmp", "n:a n:b\"c s:x'y w:#tmp"},
      {kDbmsMySql, u"`a``b` \"s\\\"t\" 'it\\'s' # gone", "n:a`b s:s\"t s:it's"},
      {kDbmsOracle, u"\"A\" q'[it's]' nq'<x>' [b]", "n:A s:it's s:x y:[ w:b y:]"},
      {kDbmsPostgreSql, u"\"a\" E'x\\'y' $t$ 'q' $t$ $1 /* a /* b */ c */ d",
       "n:a s:x'y s: 'q'  y:$ d:1 w:d"},
      {kDbmsOther, u"[a] \"b\" `c` -- gone\r\n1.5e-3 .5", "n:a n:b n:c d:1.5e-3 d:.5"},
      {kDbmsSqlServer, u"'open", "s:open"},
      {kDbmsPostgreSql, u"/* open", ""},
      {kDbmsMySql, u"$$x", "y:$ y:$ w:x"},
  };
  for (const Case& c : cases) EXPECT_EQ(render(c.sql, c.kind), c.tokens) << toUtf8(c.sql);
}

TEST(CustomSqlLexer, PairsParentheses) {
  const SqlTokens tokens = lexCustomSql(u"( a ( b ) ) )", kDbmsAccess);
  const std::size_t none = tokens.tokens.size();
  const std::vector<std::size_t> expected = {5, none, 4, none, 2, 0, none};
  EXPECT_EQ(tokens.partner, expected);
}

}  // namespace
}  // namespace vantorel
