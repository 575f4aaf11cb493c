#include "database/custom_sql_clauses.hpp"

#include "foundation/sql_quoting.hpp"

namespace vantorel {
namespace {

// Words that take an operand after them: a name following one is that operand, not an alias.
bool expectsOperand(const SqlToken& token) {
  return isWordIn(
      token,
      {u"AND",  u"OR",   u"NOT",   u"IS",      u"IN",     u"LIKE", u"ILIKE",   u"BETWEEN",  u"THEN",
       u"ELSE", u"WHEN", u"CASE",  u"COLLATE", u"ESCAPE", u"AS",   u"SELECT",  u"DISTINCT", u"ALL",
       u"TOP",  u"OVER", u"PRIOR", u"MOD",     u"DIV",    u"XOR",  u"INTERVAL"});
}

// Words that end an expression themselves and so cannot be an alias without AS.
bool closesExpression(const SqlToken& token) {
  return expectsOperand(token) ||
         isWordIn(token, {u"END", u"NULL", u"TRUE", u"FALSE", u"UNKNOWN", u"ASC", u"DESC"});
}

// Single words that are values rather than columns.
bool isValueWord(const SqlToken& token) {
  return closesExpression(token) ||
         isWordIn(token, {u"CURRENT_DATE", u"CURRENT_TIME", u"CURRENT_TIMESTAMP", u"CURRENT_USER",
                          u"SESSION_USER", u"SYSTEM_USER", u"USER", u"LOCALTIME", u"LOCALTIMESTAMP",
                          u"SYSDATE", u"SYSTIMESTAMP", u"ROWNUM", u"LEVEL", u"DEFAULT"}) ||
         (token.kind == SqlTokenKind::kWord && !token.value.empty() && token.value[0] == u'@');
}

bool endsOperand(const SqlToken& token) {
  switch (token.kind) {
    case SqlTokenKind::kWord:
      return !expectsOperand(token);
    case SqlTokenKind::kQuotedName:
    case SqlTokenKind::kString:
    case SqlTokenKind::kNumber:
      return true;
    case SqlTokenKind::kSymbol:
      return isSymbol(token, u')') || isSymbol(token, u']');
  }
  return false;
}

// SQL Server and MySQL take 'text' as an alias without AS.
bool takesStringAlias(std::int16_t kind) {
  return kind == kDbmsSqlServer || kind == kDbmsMySql;
}

class ItemReader {
 public:
  ItemReader(const SqlTokens& tokens, std::u16string_view sql, std::int16_t kind)
      : t_(tokens.tokens), tokens_(tokens), sql_(sql), kind_(kind) {}

  // The item of tokens [b, e), e > b; parentheses inside are whole.
  SelectItem read(std::size_t b, std::size_t e) const {
    SelectItem item;
    item.position = t_[b].start;
    if (kind_ == kDbmsSqlServer && e - b >= 3 && isName(t_[b]) && isSymbol(t_[b + 1], u'=')) {
      item.alias = true;
      item.name = t_[b].value;
      b += 2;
    } else if (e - b >= 3 && isWord(t_[e - 2], u"AS") &&
               (isName(t_[e - 1]) || t_[e - 1].kind == SqlTokenKind::kString)) {
      item.alias = true;
      item.name = t_[e - 1].value;
      e -= 2;
    } else if (e - b >= 2 && isBareAlias(t_[e - 1], t_[e - 2])) {
      item.alias = true;
      item.name = t_[e - 1].value;
      e -= 1;
    }
    classify(b, e, item);
    return item;
  }

 private:
  bool isBareAlias(const SqlToken& last, const SqlToken& before) const {
    if (!endsOperand(before)) return false;
    if (last.kind == SqlTokenKind::kQuotedName) return true;
    if (last.kind == SqlTokenKind::kWord) return !closesExpression(last);
    // DATE '2024-01-01' and AT TIME ZONE 'UTC' are literals, not aliased columns.
    return last.kind == SqlTokenKind::kString && takesStringAlias(kind_) &&
           !isWordIn(before, {u"DATE", u"TIME", u"TIMESTAMP", u"ZONE"});
  }

  bool isSeparator(const SqlToken& token) const {
    return isSymbol(token, u'.') || (kind_ == kDbmsAccess && isSymbol(token, u'!'));
  }

  void classify(std::size_t b, std::size_t e, SelectItem& item) const {
    const std::size_t n = e - b;
    if (n == 1 && isSymbol(t_[b], u'*')) {
      item.kind = SelectItemKind::kStar;
      return;
    }
    bool chain = n % 2 == 1;
    for (std::size_t i = b; chain && i < e; ++i) {
      const bool namePosition = (i - b) % 2 == 0;
      chain = namePosition ? isName(t_[i]) || (i + 1 == e && isSymbol(t_[i], u'*'))
                           : isSeparator(t_[i]);
    }
    if (chain && n > 1 && isSymbol(t_[e - 1], u'*')) {
      item.kind = SelectItemKind::kStar;
      for (std::size_t i = b; i + 1 < e; i += 2) item.nameParts.push_back(i);
      return;
    }
    if (chain && !(n == 1 && isValueWord(t_[b]))) {
      item.kind = SelectItemKind::kColumn;
      for (std::size_t i = b; i < e; i += 2) item.nameParts.push_back(i);
      if (!item.alias) item.name = t_[e - 1].value;
      return;
    }
    item.kind = SelectItemKind::kExpression;
    if (!item.alias && n > 0) item.name = std::u16string(tokenText(sql_, tokens_, b, e - 1));
  }

  const std::vector<SqlToken>& t_;
  const SqlTokens& tokens_;
  std::u16string_view sql_;
  std::int16_t kind_;
};

// DISTINCT, ALL, TOP n and their kin between SELECT and the first item.
std::size_t skipQuantifiers(const SqlTokens& tokens, std::size_t pos) {
  const std::vector<SqlToken>& t = tokens.tokens;
  while (pos < t.size()) {
    if (isWord(t[pos], u"DISTINCT")) {
      ++pos;
      if (pos + 1 < t.size() && isWord(t[pos], u"ON") && isSymbol(t[pos + 1], u'(')) {
        pos = tokens.partner[pos + 1] + 1;
      }
    } else if (isWord(t[pos], u"TOP")) {
      ++pos;
      if (pos < t.size()) pos = isSymbol(t[pos], u'(') ? tokens.partner[pos] + 1 : pos + 1;
      if (pos < t.size() && isWord(t[pos], u"PERCENT")) ++pos;
      if (pos + 1 < t.size() && isWord(t[pos], u"WITH") && isWord(t[pos + 1], u"TIES")) pos += 2;
    } else if (isWordIn(t[pos],
                        {u"ALL", u"DISTINCTROW", u"UNIQUE", u"HIGH_PRIORITY", u"STRAIGHT_JOIN",
                         u"SQL_SMALL_RESULT", u"SQL_BIG_RESULT", u"SQL_BUFFER_RESULT",
                         u"SQL_NO_CACHE", u"SQL_CACHE", u"SQL_CALC_FOUND_ROWS"})) {
      ++pos;
    } else {
      break;
    }
  }
  return std::min(pos, t.size());
}

}  // namespace

bool endsClause(const SqlToken& token) noexcept {
  return isSymbol(token, u';') || isSymbol(token, u')') ||
         isWordIn(token, {u"FROM",  u"INTO",      u"WHERE",    u"GROUP",   u"HAVING",  u"ORDER",
                          u"UNION", u"INTERSECT", u"EXCEPT",   u"MINUS",   u"LIMIT",   u"OFFSET",
                          u"FETCH", u"FOR",       u"WINDOW",   u"QUALIFY", u"CONNECT", u"START",
                          u"PIVOT", u"UNPIVOT",   u"RETURNING"});
}

std::u16string_view tokenText(std::u16string_view sql, const SqlTokens& tokens, std::size_t first,
                              std::size_t last) {
  const std::size_t begin = tokens.tokens[first].start;
  const std::size_t end = tokens.tokens[last].start + tokens.tokens[last].length;
  return sql.substr(begin, end - begin);
}

SelectList readSelectList(const SqlTokens& tokens, std::size_t pos, std::u16string_view sql,
                          std::int16_t dbmsKind) {
  const std::vector<SqlToken>& t = tokens.tokens;
  const ItemReader reader(tokens, sql, dbmsKind);
  SelectList list;
  pos = skipQuantifiers(tokens, pos);
  std::size_t itemStart = pos;
  while (true) {
    const bool atEnd = pos >= t.size() || endsClause(t[pos]);
    if (atEnd || isSymbol(t[pos], u',')) {
      if (pos > itemStart) list.items.push_back(reader.read(itemStart, pos));
      if (atEnd) break;
      itemStart = ++pos;
    } else if (isSymbol(t[pos], u'(')) {
      pos = std::min(tokens.partner[pos] + 1, t.size());
    } else {
      ++pos;
    }
  }
  list.end = std::min(pos, t.size());
  return list;
}

}  // namespace vantorel
