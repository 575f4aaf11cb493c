#include "database/custom_sql_analyzer.hpp"

#include <algorithm>
#include <optional>
#include <unordered_map>

#include "database/custom_sql_clauses.hpp"
#include "database/custom_sql_lexer.hpp"
#include "foundation/sql_quoting.hpp"
#include "platform/text/case_fold.hpp"

namespace vantorel {
namespace {

// WITH name [(columns)] AS [NOT] [MATERIALIZED] (query), ...: the names, and the token after.
std::size_t readWith(const SqlTokens& tokens, std::size_t pos, SqlNameSet& names) {
  const std::vector<SqlToken>& t = tokens.tokens;
  ++pos;
  if (pos < t.size() && isWord(t[pos], u"RECURSIVE")) ++pos;
  while (pos < t.size() && isName(t[pos])) {
    names.insert(t[pos++].value);
    if (pos < t.size() && isSymbol(t[pos], u'(')) pos = tokens.partner[pos] + 1;
    if (pos >= t.size() || !isWord(t[pos], u"AS")) break;
    ++pos;
    while (pos < t.size() && isWordIn(t[pos], {u"NOT", u"MATERIALIZED"})) ++pos;
    if (pos >= t.size() || !isSymbol(t[pos], u'(')) break;
    pos = tokens.partner[pos] + 1;
    if (pos >= t.size() || !isSymbol(t[pos], u',')) break;
    ++pos;
  }
  return std::min(pos, t.size());
}

// The SELECT that decides the columns: after any CTEs, inside any parentheses around the
// first query of a UNION, and after Access's TRANSFORM expression. t.size() when none.
std::size_t findMainSelect(const SqlTokens& tokens, SqlNameSet& cteNames) {
  const std::vector<SqlToken>& t = tokens.tokens;
  std::size_t pos = 0;
  while (pos < t.size()) {
    if (isSymbol(t[pos], u';') || isSymbol(t[pos], u'(')) {
      ++pos;
    } else if (isWord(t[pos], u"WITH")) {
      pos = readWith(tokens, pos, cteNames);
    } else if (isWord(t[pos], u"TRANSFORM")) {
      ++pos;
      while (pos < t.size() && !isWord(t[pos], u"SELECT")) {
        pos = isSymbol(t[pos], u'(') ? tokens.partner[pos] + 1 : pos + 1;
      }
    } else {
      break;
    }
  }
  return pos < t.size() && isWord(t[pos], u"SELECT") ? pos : t.size();
}

// The token after the list that starts the FROM clause, passing SQL Server's INTO table.
std::size_t findFrom(const SqlTokens& tokens, std::size_t pos) {
  const std::vector<SqlToken>& t = tokens.tokens;
  if (pos < t.size() && isWord(t[pos], u"INTO")) {
    ++pos;
    while (pos < t.size() && !isWord(t[pos], u"FROM") && !isSymbol(t[pos], u';') &&
           !isSymbol(t[pos], u')')) {
      pos = isSymbol(t[pos], u'(') ? tokens.partner[pos] + 1 : pos + 1;
    }
  }
  return pos < t.size() && isWord(t[pos], u"FROM") ? pos + 1 : t.size();
}

// Server, database, schema, table: no table name has more parts worth matching.
constexpr std::size_t kMaxNameParts = 4;

// The last `count` parts as one key; a NUL between them cannot come from a name part.
std::u16string suffixKey(const std::vector<std::u16string>& parts, std::size_t count) {
  std::u16string key;
  for (std::size_t i = parts.size() - count; i < parts.size(); ++i) {
    key += parts[i];
    key += u'\0';
  }
  return key;
}

using SqlNameIndex = std::unordered_map<std::u16string, std::size_t, NoCaseHash, NoCaseEqual>;

class Resolver {
 public:
  Resolver(const SqlTokens& tokens, std::u16string_view sql,
           const std::vector<TableSource>& sources, const SqlNameSet& cteNames)
      : tokens_(tokens), sql_(sql), sources_(sources), cteNames_(cteNames) {
    // First wins, so that each item finds its table in one look-up.
    for (std::size_t i = 0; i < sources_.size(); ++i) {
      const TableSource& source = sources_[i];
      if (!source.alias.empty()) byAlias_.emplace(source.alias, i);
      for (std::size_t n = 1; n <= std::min(source.parts.size(), kMaxNameParts); ++n) {
        byName_.emplace(suffixKey(source.parts, n), i);
      }
    }
  }

  CustomSqlColumn resolve(const SelectItem& item) const {
    CustomSqlColumn column;
    column.name = item.name;
    column.alias = item.alias;
    column.star = item.kind == SelectItemKind::kStar;
    column.position = item.position;
    column.expression = item.kind == SelectItemKind::kExpression;
    if (column.expression) return column;
    std::vector<std::size_t> qualifier = item.nameParts;
    std::u16string written = u"*";
    std::u16string field;
    if (item.kind == SelectItemKind::kColumn) {
      written = tokenText(sql_, tokens_, qualifier.back(), qualifier.back());
      field = tokens_.tokens[qualifier.back()].value;
      column.referenced = field;
      qualifier.pop_back();
    }
    if (!qualifier.empty()) column.qualifier = tokens_.tokens[qualifier.back()].value;
    const std::optional<TableSource> table = findTable(qualifier);
    if (!table || !table->base) return column;
    column.sourceName = table->text + u"." + written;
    column.sourceTable = table->parts.back();
    if (table->parts.size() >= 2) column.sourceSchema = table->parts[table->parts.size() - 2];
    column.sourceField = field;
    return column;
  }

 private:
  // The FROM clause's table a qualifier names: by alias, else by its trailing name parts; a
  // lone column needs a FROM clause of one table. A qualifier the clause lacks is taken as the
  // table it writes, unless it names a CTE.
  std::optional<TableSource> findTable(const std::vector<std::size_t>& qualifier) const {
    if (qualifier.empty()) {
      if (sources_.size() != 1) return std::nullopt;
      return sources_.front();
    }
    TableSource written;
    for (const std::size_t index : qualifier) {
      written.parts.push_back(tokens_.tokens[index].value);
      if (!written.text.empty()) written.text += u'.';
      written.text += tokenText(sql_, tokens_, index, index);
    }
    if (written.parts.size() == 1) {
      const auto alias = byAlias_.find(written.parts[0]);
      if (alias != byAlias_.end()) return sources_[alias->second];
    }
    if (written.parts.size() <= kMaxNameParts) {
      const auto named = byName_.find(suffixKey(written.parts, written.parts.size()));
      if (named != byName_.end()) return sources_[named->second];
    }
    if (written.parts.size() == 1 && cteNames_.count(written.parts[0]) != 0) return std::nullopt;
    written.base = true;
    return written;
  }

  const SqlTokens& tokens_;
  std::u16string_view sql_;
  const std::vector<TableSource>& sources_;
  const SqlNameSet& cteNames_;
  SqlNameIndex byAlias_;
  SqlNameIndex byName_;
};

bool isPlainName(std::u16string_view name) {
  if (name.empty() || (name[0] >= u'0' && name[0] <= u'9')) return false;
  return std::all_of(name.begin(), name.end(), [](char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
           c == u'_';
  });
}

// A column name a star stands for, quoted as the DBMS kind quotes names when it needs it.
std::u16string quotedForKind(std::u16string_view name, std::int16_t kind) {
  if (isPlainName(name)) return std::u16string(name);
  char16_t open = u'[';
  char16_t close = u']';
  if (kind == kDbmsMySql) open = close = u'`';
  if (kind == kDbmsOracle || kind == kDbmsPostgreSql) open = close = u'"';
  std::u16string quoted(1, open);
  for (const char16_t c : name) {
    quoted += c;
    if (c == close) quoted += c;
  }
  return quoted + close;
}

// The name inside one pair of the quotes a project may choose: [], "", '' or ``; empty when
// it is not quoted.
std::u16string_view unquoted(std::u16string_view name) {
  if (name.size() < 2) return {};
  const char16_t open = name.front();
  const char16_t close = name.back();
  const bool quoted = (open == u'[' && close == u']') ||
                      (open == close && (open == u'"' || open == u'\'' || open == u'`'));
  return quoted ? name.substr(1, name.size() - 2) : std::u16string_view{};
}

}  // namespace

bool CustomSqlAnalyzer::analyse(std::u16string_view sql, std::int16_t dbmsKind) {
  dbmsKind_ = dbmsKind;
  columns_.clear();
  tables_.clear();
  problem_.clear();
  exactNames_.clear();
  foldedNames_.clear();
  star_ = kNone;
  const SqlTokens tokens = lexCustomSql(sql, dbmsKind);
  if (tokens.tokens.empty()) {
    problem_ = u"The query is empty.";
    return false;
  }
  SqlNameSet cteNames;
  const std::size_t select = findMainSelect(tokens, cteNames);
  if (select >= tokens.tokens.size()) {
    problem_ = u"The query has no SELECT list.";
    return false;
  }
  const SelectList list = readSelectList(tokens, select + 1, sql, dbmsKind);
  const std::size_t from = findFrom(tokens, list.end);
  if (from < tokens.tokens.size()) tables_ = readFromClause(tokens, from, sql, cteNames);
  const Resolver resolver(tokens, sql, tables_, cteNames);
  bool unnamedExpression = false;
  for (const SelectItem& item : list.items) {
    columns_.push_back(resolver.resolve(item));
    unnamedExpression |= item.kind == SelectItemKind::kExpression && !item.alias;
  }
  indexColumns();
  // Each DBMS names such a column its own way (Expr1000, ?column?, ...): a name the list
  // does not hold may be that column rather than one of the star's.
  if (unnamedExpression && star_ != kNone) star_ = kAmbiguous;
  return true;
}

void CustomSqlAnalyzer::indexColumns() {
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    const CustomSqlColumn& column = columns_[i];
    if (column.star) {
      star_ = star_ == kNone ? i : kAmbiguous;
    } else {
      exactNames_.emplace(column.name, i);
      foldedNames_.emplace(column.name, i);
    }
  }
}

const CustomSqlColumn* CustomSqlAnalyzer::find(std::u16string_view name) const {
  const std::u16string key(name);
  if (const auto it = exactNames_.find(key); it != exactNames_.end()) return &columns_[it->second];
  if (const auto it = foldedNames_.find(key); it != foldedNames_.end()) {
    return &columns_[it->second];
  }
  return nullptr;
}

CustomSqlColumn CustomSqlAnalyzer::describeColumn(std::u16string_view columnName) const {
  const CustomSqlColumn* found = find(columnName);
  const std::u16string_view inner = unquoted(columnName);
  if (found == nullptr && !inner.empty()) found = find(inner);
  if (found != nullptr) return *found;
  if (star_ >= columns_.size() || columns_[star_].sourceTable.empty() || columnName.empty()) {
    return {};
  }
  const std::u16string field(inner.empty() ? columnName : inner);
  CustomSqlColumn column = columns_[star_];
  column.star = false;
  column.name = field;
  column.sourceName.pop_back();
  column.sourceName += quotedForKind(field, dbmsKind_);
  column.sourceField = field;
  return column;
}

}  // namespace vantorel
