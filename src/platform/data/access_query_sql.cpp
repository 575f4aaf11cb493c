#include "platform/data/access_query_sql.hpp"

#include <algorithm>

#include "platform/text/strings.hpp"

namespace vantorel::data::access {

namespace {

// MSysQueries.Attribute: what a row describes.
enum Attribute : std::int32_t {
  kType = 1,
  kParameter = 2,
  kFlags = 3,
  kTable = 5,
  kColumn = 6,
  kJoin = 7,
  kWhere = 8,
  kGroupBy = 9,
  kHaving = 10,
  kOrderBy = 11,
};

// Attribute 3's flag bits.
constexpr std::int32_t kSelectStar = 0x01;
constexpr std::int32_t kDistinct = 0x02;
constexpr std::int32_t kDistinctRow = 0x08;
constexpr std::int32_t kTop = 0x10;
constexpr std::int32_t kPercent = 0x20;
constexpr std::int32_t kUnionAll = 0x02;

constexpr std::int32_t kCrosstabColumnHeading = 1;
constexpr std::int32_t kCrosstabRowHeading = 2;

constexpr const char16_t* kBreak = u"\r\n";

struct Clauses {
  std::int32_t flags = 0;
  std::u16string top;
  std::u16string typeName;        // attribute 1's Name1: a make-table or append target
  std::u16string typeExpression;  // attribute 1's Expression: a DDL or pass-through text
  std::vector<std::u16string> parameters;
  std::vector<std::u16string> unionParts;
  std::u16string where, having;
  std::vector<QueryOutput> groupBy;
  std::vector<std::u16string> orderBy;
};

std::u16string_view trimLines(std::u16string_view text) {
  while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' ')) {
    text.remove_suffix(1);
  }
  return text;
}

bool plainName(std::u16string_view name) {
  return !name.empty() && std::all_of(name.begin(), name.end(), [](char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') ||
           c == u'_' || c > 0x7F;
  });
}

std::u16string quoted(std::u16string_view name) {
  if (plainName(name)) return std::u16string(name);
  return u"[" + std::u16string(name) + u"]";
}

const char16_t* parameterTypeName(std::int32_t daoType) {
  switch (daoType) {
    case 1:
      return u"Bit";
    case 2:
      return u"Byte";
    case 3:
      return u"Short";
    case 4:
      return u"Long";
    case 5:
      return u"Currency";
    case 6:
      return u"IEEESingle";
    case 7:
      return u"IEEEDouble";
    case 8:
      return u"DateTime";
    case 9:
      return u"Binary";
    case 10:
      return u"Text ( 255 )";
    case 11:
      return u"LongBinary";
    case 12:
      return u"Memo";
    case 15:
      return u"Guid";
    default:
      return u"Value";
  }
}

std::u16string tableText(const QueryTable& t) {
  std::u16string text = quoted(t.name);
  if (!t.alias.empty()) text += u" AS " + quoted(t.alias);
  return text;
}

std::u16string outputText(const QueryOutput& o) {
  if (o.alias.empty()) return o.expression;
  return o.expression + u" AS " + quoted(o.alias);
}

// FROM: each join merges the fragments holding its two tables; joins of the same pair in a row
// are one join whose conditions are ANDed, as Access writes them.
std::u16string fromClause(const std::vector<QueryTable>& tables,
                          const std::vector<QueryJoin>& joins) {
  struct Fragment {
    std::u16string text;
    std::vector<std::u16string> keys;
    bool joined = false;
  };
  std::vector<Fragment> fragments;
  for (const QueryTable& t : tables) {
    fragments.push_back({tableText(t), {t.alias.empty() ? t.name : t.alias}, false});
  }
  auto holding = [&](const std::u16string& key) -> std::ptrdiff_t {
    for (std::size_t i = 0; i < fragments.size(); ++i) {
      const auto& keys = fragments[i].keys;
      if (std::find(keys.begin(), keys.end(), key) != keys.end()) return std::ptrdiff_t(i);
    }
    return -1;
  };
  for (std::size_t j = 0; j < joins.size();) {
    const QueryJoin& first = joins[j];
    std::size_t end = j + 1;
    while (end < joins.size() && joins[end].leftTable == first.leftTable &&
           joins[end].rightTable == first.rightTable) {
      ++end;
    }
    std::u16string condition = first.condition;
    if (end - j > 1) {
      condition.clear();
      for (std::size_t k = j; k < end; ++k) {
        if (!condition.empty()) condition += u" AND ";
        condition += u"(" + joins[k].condition + u")";
      }
    }
    j = end;
    const std::ptrdiff_t left = holding(first.leftTable);
    const std::ptrdiff_t right = holding(first.rightTable);
    if (left < 0 || right < 0 || left == right) continue;
    auto side = [](const Fragment& f) { return f.joined ? u"(" + f.text + u")" : f.text; };
    Fragment merged{side(fragments[left]) + u" " + joinTypeName(first.type) + u" JOIN " +
                        side(fragments[right]) + u" ON " + condition,
                    fragments[left].keys, true};
    merged.keys.insert(merged.keys.end(), fragments[right].keys.begin(),
                       fragments[right].keys.end());
    const std::size_t keep = std::size_t(std::min(left, right));
    fragments[keep] = std::move(merged);
    fragments.erase(fragments.begin() + std::max(left, right));
  }
  std::u16string text;
  for (const Fragment& f : fragments) {
    if (!text.empty()) text += u", ";
    text += f.text;
  }
  return text;
}

std::u16string line(std::u16string_view keyword, std::u16string_view text) {
  return kBreak + std::u16string(keyword) + std::u16string(text);
}

std::u16string listed(const std::vector<std::u16string>& items) {
  return join(items, u", ");
}

std::u16string selectHead(const Clauses& c) {
  std::u16string head = u"SELECT ";
  if (c.flags & kDistinctRow) {
    head += u"DISTINCTROW ";
  } else if (c.flags & kDistinct) {
    head += u"DISTINCT ";
  }
  if ((c.flags & kTop) && !c.top.empty()) {
    head += u"TOP " + c.top + ((c.flags & kPercent) ? u" PERCENT " : u" ");
  }
  return head;
}

// WHERE, GROUP BY (of the outputs the filter keeps), HAVING and ORDER BY, each on its line.
std::u16string tailClauses(const Clauses& c, bool crosstab) {
  std::u16string tail;
  if (!c.where.empty()) tail += line(u"WHERE ", c.where);
  std::vector<std::u16string> groups;
  for (const QueryOutput& g : c.groupBy) {
    if (!crosstab || g.flag != kCrosstabColumnHeading) groups.push_back(g.expression);
  }
  if (!groups.empty()) tail += line(u"GROUP BY ", listed(groups));
  if (!c.having.empty()) tail += line(u"HAVING ", c.having);
  if (!c.orderBy.empty()) tail += line(u"ORDER BY ", listed(c.orderBy));
  return tail;
}

std::u16string buildSql(QueryKind kind, const Clauses& c, const ParsedQuery& q) {
  std::u16string sql;
  if (!c.parameters.empty()) sql += u"PARAMETERS " + listed(c.parameters) + u";" + kBreak;
  const std::u16string from = line(u"FROM ", fromClause(q.tables, q.joins));
  std::vector<std::u16string> outputs;
  for (const QueryOutput& o : q.outputs) outputs.push_back(outputText(o));
  if (outputs.empty() || q.selectStar) outputs.insert(outputs.begin(), u"*");
  switch (kind) {
    case QueryKind::DataDefinition:
    case QueryKind::PassThrough:
      return c.typeExpression;
    case QueryKind::Union: {
      sql += join(c.unionParts,
                  std::u16string(kBreak) + ((c.flags & kUnionAll) ? u"UNION ALL " : u"UNION "));
      if (!c.orderBy.empty()) sql += line(u"ORDER BY ", listed(c.orderBy));
      return sql + u";";
    }
    case QueryKind::Crosstab: {
      std::vector<std::u16string> values, rows, pivots;
      for (const QueryOutput& o : q.outputs) {
        if (o.flag == kCrosstabColumnHeading) {
          pivots.push_back(o.expression);
        } else if (o.flag == kCrosstabRowHeading) {
          rows.push_back(outputText(o));
        } else {
          values.push_back(outputText(o));
        }
      }
      sql += u"TRANSFORM " + listed(values) + kBreak + selectHead(c) + listed(rows) + from +
             tailClauses(c, true);
      if (!pivots.empty()) sql += line(u"PIVOT ", listed(pivots));
      return sql + u";";
    }
    case QueryKind::Update: {
      std::vector<std::u16string> sets;
      for (const QueryOutput& o : q.outputs) sets.push_back(o.target + u" = " + o.expression);
      sql += u"UPDATE " + fromClause(q.tables, q.joins) + kBreak + u"SET " + listed(sets);
      if (!c.where.empty()) sql += line(u"WHERE ", c.where);
      return sql + u";";
    }
    case QueryKind::Delete:
      return sql + u"DELETE " + listed(outputs) + from + tailClauses(c, false) + u";";
    case QueryKind::Append: {
      std::vector<std::u16string> targets;
      for (const QueryOutput& o : q.outputs) {
        if (!o.target.empty()) targets.push_back(o.target);
      }
      sql += u"INSERT INTO " + quoted(c.typeName);
      if (targets.size() == q.outputs.size() && !targets.empty()) {
        sql += u" ( " + listed(targets) + u" )";
      }
      return sql + kBreak + selectHead(c) + listed(outputs) + from + tailClauses(c, false) + u";";
    }
    case QueryKind::MakeTable:
      return sql + selectHead(c) + listed(outputs) + u" INTO " + quoted(c.typeName) + from +
             tailClauses(c, false) + u";";
    case QueryKind::Select:
    case QueryKind::Unknown:
      break;
  }
  return sql + selectHead(c) + listed(outputs) + from + tailClauses(c, false) + u";";
}

}  // namespace

std::optional<std::vector<std::u16string>> identifierPath(std::u16string_view expression) {
  std::vector<std::u16string> parts;
  std::u16string_view rest = trimBlanks(expression);
  while (!rest.empty()) {
    std::u16string part;
    if (rest.front() == u'[') {
      const std::size_t close = rest.find(u']');
      if (close == std::u16string_view::npos) return std::nullopt;
      part = rest.substr(1, close - 1);
      rest.remove_prefix(close + 1);
    } else {
      std::size_t n = 0;
      while (n < rest.size() && rest[n] != u'.') ++n;
      part = trimBlanks(rest.substr(0, n));
      if (part != u"*" && !plainName(part)) return std::nullopt;
      rest.remove_prefix(n);
    }
    parts.push_back(std::move(part));
    if (rest.empty()) break;
    if (rest.front() != u'.') return std::nullopt;
    rest.remove_prefix(1);
    if (rest.empty()) return std::nullopt;
  }
  if (parts.empty() || parts.size() > 2) return std::nullopt;
  return parts;
}

namespace {

// "a = b", "(a=b)", "[T].[a] = [U].[b]": the two sides' paths of a single equality.
void splitCondition(QueryJoin& join) {
  std::u16string_view text = trimBlanks(join.condition);
  while (text.size() > 1 && text.front() == u'(' && text.back() == u')') {
    text = trimBlanks(text.substr(1, text.size() - 2));
  }
  const std::size_t eq = text.find(u'=');
  if (eq == std::u16string_view::npos || text.find(u'=', eq + 1) != std::u16string_view::npos) {
    return;
  }
  auto left = identifierPath(text.substr(0, eq));
  auto right = identifierPath(text.substr(eq + 1));
  if (!left || !right || left->size() != 2 || right->size() != 2) return;
  if ((*left)[0] == join.rightTable && (*right)[0] == join.leftTable) std::swap(left, right);
  if ((*left)[0] != join.leftTable || (*right)[0] != join.rightTable) return;
  join.leftColumn = (*left)[1];
  join.rightColumn = (*right)[1];
}

JoinType joinTypeOf(std::int32_t flag) {
  if (flag == 2) return JoinType::Left;
  if (flag == 3) return JoinType::Right;
  return JoinType::Inner;
}

}  // namespace

ParsedQuery parseQuery(QueryKind kind, const std::vector<QueryRow>& rows) {
  ParsedQuery q;
  Clauses c;
  for (const QueryRow& r : rows) {
    switch (r.attribute) {
      case kType:
        c.typeName = r.name1;
        c.typeExpression = r.expression;
        break;
      case kParameter:
        q.hasParameters = true;
        c.parameters.push_back(quoted(r.name1) + u" " + parameterTypeName(r.flag));
        break;
      case kFlags:
        c.flags = r.flag;
        c.top = r.name1;
        break;
      case kTable:
        if (!r.expression.empty()) {
          c.unionParts.emplace_back(trimLines(r.expression));
        } else {
          q.tables.push_back({r.name1, r.name2});
        }
        break;
      case kColumn:
        q.outputs.push_back({r.expression, r.name1, r.name2, r.flag});
        break;
      case kJoin: {
        QueryJoin join{r.name1, r.name2, {}, {}, joinTypeOf(r.flag), r.expression};
        splitCondition(join);
        q.joins.push_back(std::move(join));
        break;
      }
      case kWhere:
        c.where = r.expression;
        break;
      case kGroupBy:
        c.groupBy.push_back({r.expression, {}, {}, r.flag});
        break;
      case kHaving:
        c.having = r.expression;
        break;
      case kOrderBy:
        c.orderBy.push_back(r.expression + (r.name1 == u"D" || r.name1 == u"d" ? u" DESC" : u""));
        break;
      default:
        break;
    }
  }
  q.selectStar = (c.flags & kSelectStar) != 0 && kind != QueryKind::Union;
  q.sql = buildSql(kind, c, q);
  return q;
}

}  // namespace vantorel::data::access
