#include <algorithm>

#include "database/custom_sql_clauses.hpp"

namespace vantorel {
namespace {

bool startsJoinedTable(const SqlToken& token) {
  return isSymbol(token, u',') || isWordIn(token, {u"JOIN", u"APPLY", u"STRAIGHT_JOIN"});
}

// Words after a table that are not its alias.
bool stopsAlias(const SqlToken& token) {
  return endsClause(token) || startsJoinedTable(token) ||
         isWordIn(token, {u"INNER", u"LEFT", u"RIGHT", u"FULL", u"OUTER", u"CROSS", u"NATURAL",
                          u"ON", u"USING", u"WITH", u"TABLESAMPLE", u"USE", u"FORCE", u"IGNORE",
                          u"PARTITION", u"SAMPLE", u"AS"});
}

// SQL Server's older form Orders (NOLOCK) names a table, not a function.
bool isTableHint(const SqlToken& token) {
  return isWordIn(token, {u"NOLOCK", u"READUNCOMMITTED", u"READCOMMITTED", u"REPEATABLEREAD",
                          u"SERIALIZABLE", u"HOLDLOCK", u"UPDLOCK", u"ROWLOCK", u"PAGLOCK",
                          u"TABLOCK", u"TABLOCKX", u"XLOCK", u"READPAST", u"NOWAIT", u"INDEX"});
}

class FromReader {
 public:
  FromReader(const SqlTokens& tokens, std::u16string_view sql, const SqlNameSet& cteNames)
      : t_(tokens.tokens), tokens_(tokens), sql_(sql), cteNames_(cteNames) {}

  // One pass over the clause: grouping parentheses are entered and left in place, every other
  // parenthesis (subquery, function, ON condition) is skipped whole.
  std::vector<TableSource> read(std::size_t pos) {
    std::size_t depth = 0;
    bool expectTable = true;
    while (pos < t_.size()) {
      const SqlToken& token = t_[pos];
      if (expectTable && isSymbol(token, u'(')) {
        if (pos + 1 < t_.size() && isWordIn(t_[pos + 1], {u"SELECT", u"WITH", u"VALUES"})) {
          TableSource derived;
          derived.position = token.start;
          pos = readAlias(skip(pos), derived);
          sources_.push_back(std::move(derived));
          expectTable = false;
        } else {
          ++depth;
          ++pos;
        }
      } else if (expectTable && isWordIn(token, {u"LATERAL", u"ONLY"})) {
        ++pos;
      } else if (expectTable && isName(token) && !stopsAlias(token)) {
        pos = readTable(pos);
        expectTable = false;
      } else if (isSymbol(token, u')')) {
        if (depth == 0) break;
        --depth;
        ++pos;
      } else if (isSymbol(token, u'(')) {
        pos = skip(pos);
      } else if (startsJoinedTable(token)) {
        expectTable = true;
        ++pos;
      } else if (endsClause(token)) {
        break;
      } else {
        ++pos;
      }
    }
    return std::move(sources_);
  }

 private:
  std::size_t skip(std::size_t openParen) const {
    return std::min(tokens_.partner[openParen] + 1, t_.size());
  }

  std::size_t readTable(std::size_t pos) {
    TableSource table;
    table.position = t_[pos].start;
    std::vector<std::u16string_view> written;
    while (true) {
      table.parts.push_back(t_[pos].value);
      written.push_back(tokenText(sql_, tokens_, pos, pos));
      ++pos;
      // db..table leaves the schema out.
      std::size_t next = pos;
      while (next < t_.size() && isSymbol(t_[next], u'.')) ++next;
      if (next == pos || next - pos > 2 || next >= t_.size() || !isName(t_[next])) break;
      pos = next;
    }
    for (std::size_t i = 0; i < written.size(); ++i) {
      if (i > 0) table.text += u'.';
      table.text += written[i];
    }
    table.base = !(table.parts.size() == 1 && cteNames_.count(table.parts[0]) != 0);
    if (pos + 1 < t_.size() && isSymbol(t_[pos], u'(') && isTableHint(t_[pos + 1])) {
      pos = skip(pos);
    } else if (pos < t_.size() && isSymbol(t_[pos], u'(')) {
      // A table-valued function: its columns are not a table's.
      table.base = false;
      pos = skip(pos);
    }
    pos = readAlias(pos, table);
    sources_.push_back(std::move(table));
    return pos;
  }

  std::size_t readAlias(std::size_t pos, TableSource& source) const {
    if (pos < t_.size() && isWord(t_[pos], u"AS")) {
      ++pos;
      if (pos < t_.size() && isName(t_[pos])) source.alias = t_[pos++].value;
    } else if (pos < t_.size() && isName(t_[pos]) && !stopsAlias(t_[pos])) {
      source.alias = t_[pos++].value;
    }
    if (pos + 1 < t_.size() && isSymbol(t_[pos], u'(') && isTableHint(t_[pos + 1])) {
      pos = skip(pos);
    } else if (pos < t_.size() && isSymbol(t_[pos], u'(') && !source.alias.empty()) {
      // A column list after the alias renames the columns: they are the query's own names.
      source.base = false;
      pos = skip(pos);
    }
    if (pos + 1 < t_.size() && isWord(t_[pos], u"WITH") && isSymbol(t_[pos + 1], u'(')) {
      pos = skip(pos + 1);
    }
    return pos;
  }

  const std::vector<SqlToken>& t_;
  const SqlTokens& tokens_;
  std::u16string_view sql_;
  const SqlNameSet& cteNames_;
  std::vector<TableSource> sources_;
};

}  // namespace

std::vector<TableSource> readFromClause(const SqlTokens& tokens, std::size_t pos,
                                        std::u16string_view sql, const SqlNameSet& cteNames) {
  return FromReader(tokens, sql, cteNames).read(pos);
}

}  // namespace vantorel
