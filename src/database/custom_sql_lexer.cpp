#include "database/custom_sql_lexer.hpp"

#include <algorithm>

#include "foundation/sql_quoting.hpp"
#include "platform/text/case_fold.hpp"

namespace vantorel {
namespace {

// What one DBMS kind treats as quotes and comments.
struct Dialect {
  bool bracketNames = false;      // [name]
  bool backquoteNames = false;    // `name`
  bool doubleQuoteNames = false;  // "name"; otherwise "..." is a string
  bool backslashEscapes = false;  // MySQL strings
  bool hashComments = false;
  bool nestedComments = false;
  bool dollarQuotes = false;
  bool quoteOperator = false;          // Oracle q'[...]'
  bool dashCommentNeedsSpace = false;  // MySQL: "--1" is minus minus one, not a comment
};

Dialect dialectOf(std::int16_t kind) {
  Dialect d;
  switch (kind) {
    case kDbmsAccess:
      d.bracketNames = d.backquoteNames = true;
      break;
    case kDbmsSqlServer:
      d.bracketNames = d.doubleQuoteNames = true;
      break;
    case kDbmsMySql:
      d.backquoteNames = d.backslashEscapes = d.hashComments = d.dashCommentNeedsSpace = true;
      break;
    case kDbmsOracle:
      d.doubleQuoteNames = d.quoteOperator = true;
      break;
    case kDbmsPostgreSql:
      d.doubleQuoteNames = d.nestedComments = d.dollarQuotes = true;
      break;
    default:
      d.bracketNames = d.backquoteNames = d.doubleQuoteNames = true;
      break;
  }
  return d;
}

bool isAsciiLetter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}
bool isDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}
bool isWordStart(char16_t c, const Dialect& d) {
  return isAsciiLetter(c) || c == u'_' || c >= 0x80 || c == u'@' || (c == u'#' && !d.hashComments);
}
bool isWordPart(char16_t c, const Dialect& d) {
  return isWordStart(c, d) || isDigit(c) || c == u'$';
}
// The server's own rule for the tag of $tag$: what it does not take as a tag is no string.
bool isDollarTagPart(char16_t c) {
  return isAsciiLetter(c) || isDigit(c) || c == u'_' || c >= 0x80;
}

class Lexer {
 public:
  Lexer(std::u16string_view sql, std::int16_t kind, BackslashRule backslash)
      : sql_(sql), d_(dialectOf(kind)) {
    if (backslash == BackslashRule::Reversed) d_.backslashEscapes = !d_.backslashEscapes;
  }

  SqlTokens run() {
    while (skipSpaceAndComments()) readToken();
    matchParentheses();
    return std::move(out_);
  }

 private:
  char16_t at(std::size_t i) const { return i < sql_.size() ? sql_[i] : u'\0'; }

  // False at the end of the text.
  bool skipSpaceAndComments() {
    while (pos_ < sql_.size()) {
      const char16_t c = sql_[pos_];
      if (c == u'-' && at(pos_ + 1) == u'-' && startsDashComment()) {
        skipLine();
      } else if (c == u'#' && d_.hashComments) {
        skipLine();
      } else if (c == u'/' && at(pos_ + 1) == u'*') {
        skipBlockComment();
      } else if (c <= u' ' || c == 0xA0 || c == 0xFEFF) {
        ++pos_;
      } else {
        return true;
      }
    }
    return false;
  }

  bool startsDashComment() const {
    if (!d_.dashCommentNeedsSpace) return true;
    const char16_t after = at(pos_ + 2);
    return after <= u' ';
  }

  void skipLine() {
    while (pos_ < sql_.size() && sql_[pos_] != u'\n' && sql_[pos_] != u'\r') ++pos_;
  }

  void skipBlockComment() {
    pos_ += 2;
    std::size_t depth = 1;
    while (pos_ < sql_.size()) {
      if (sql_[pos_] == u'*' && at(pos_ + 1) == u'/') {
        pos_ += 2;
        if (--depth == 0) return;
      } else if (d_.nestedComments && sql_[pos_] == u'/' && at(pos_ + 1) == u'*') {
        pos_ += 2;
        ++depth;
      } else {
        ++pos_;
      }
    }
  }

  void readToken() {
    const std::size_t start = pos_;
    const char16_t c = sql_[pos_];
    const char16_t next = at(pos_ + 1);
    if (c == u'[' && d_.bracketNames) return readQuoted(SqlTokenKind::kQuotedName, u']', false);
    if (c == u'`' && d_.backquoteNames) return readQuoted(SqlTokenKind::kQuotedName, u'`', false);
    if (c == u'"') {
      return d_.doubleQuoteNames ? readQuoted(SqlTokenKind::kQuotedName, u'"', false)
                                 : readQuoted(SqlTokenKind::kString, u'"', d_.backslashEscapes);
    }
    if (c == u'\'') return readQuoted(SqlTokenKind::kString, u'\'', d_.backslashEscapes);
    if (c == u'$' && d_.dollarQuotes && readDollarQuoted()) return;
    if (isDigit(c) || (c == u'.' && isDigit(next))) return readNumber();
    if (isWordStart(c, d_)) {
      if (readPrefixedString()) return;
      while (pos_ < sql_.size() && isWordPart(sql_[pos_], d_)) ++pos_;
      push(SqlTokenKind::kWord, start, std::u16string(sql_.substr(start, pos_ - start)));
      return;
    }
    ++pos_;
    push(SqlTokenKind::kSymbol, start, std::u16string(1, c));
  }

  // From an opening quote at pos_ to its closing one; a doubled closing quote stands for one.
  void readQuoted(SqlTokenKind kind, char16_t close, bool backslashEscapes) {
    const std::size_t start = pos_++;
    std::u16string value;
    while (pos_ < sql_.size()) {
      const char16_t c = sql_[pos_++];
      if (backslashEscapes && c == u'\\' && pos_ < sql_.size()) {
        value += sql_[pos_++];
      } else if (c == close) {
        if (at(pos_) != close) break;
        value += close;
        ++pos_;
      } else {
        value += c;
      }
    }
    push(kind, start, std::move(value));
  }

  // N'...', E'...' (backslash escapes), X'...', B'...' and Oracle's q'<...>'.
  bool readPrefixedString() {
    std::size_t prefixEnd = pos_;
    while (prefixEnd < sql_.size() && prefixEnd - pos_ < 2 && isAsciiLetter(sql_[prefixEnd])) {
      ++prefixEnd;
    }
    if (at(prefixEnd) != u'\'') return false;
    const std::u16string prefix = toUpper(sql_.substr(pos_, prefixEnd - pos_));
    const std::size_t start = pos_;
    if (d_.quoteOperator && (prefix == u"Q" || prefix == u"NQ")) {
      pos_ = prefixEnd;
      readQuoteOperator(start);
      return true;
    }
    if (prefix != u"N" && prefix != u"E" && prefix != u"X" && prefix != u"B") return false;
    pos_ = prefixEnd;
    readQuoted(SqlTokenKind::kString, u'\'', d_.backslashEscapes || prefix == u"E");
    out_.tokens.back().start = start;
    out_.tokens.back().length = pos_ - start;
    return true;
  }

  void readQuoteOperator(std::size_t start) {
    const char16_t open = at(pos_ + 1);
    char16_t close = open;
    if (open == u'[') close = u']';
    if (open == u'(') close = u')';
    if (open == u'{') close = u'}';
    if (open == u'<') close = u'>';
    pos_ = std::min(pos_ + 2, sql_.size());
    const std::size_t body = pos_;
    while (pos_ < sql_.size() && !(sql_[pos_] == close && at(pos_ + 1) == u'\'')) ++pos_;
    std::u16string value(sql_.substr(body, pos_ - body));
    pos_ = std::min(pos_ + 2, sql_.size());
    push(SqlTokenKind::kString, start, std::move(value));
  }

  // $tag$...$tag$. The tag holds no "$", so each "$" of the body is compared against it at
  // most up to the next "$": the scan stays linear.
  bool readDollarQuoted() {
    std::size_t tagEnd = pos_ + 1;
    while (tagEnd < sql_.size() && isDollarTagPart(sql_[tagEnd])) ++tagEnd;
    if (at(tagEnd) != u'$' || (tagEnd > pos_ + 1 && isDigit(sql_[pos_ + 1]))) return false;
    const std::size_t start = pos_;
    const std::u16string_view tag = sql_.substr(pos_, tagEnd + 1 - pos_);
    std::size_t i = tagEnd + 1;
    std::size_t bodyEnd = sql_.size();
    for (; i < sql_.size(); ++i) {
      if (sql_[i] != u'$') continue;
      std::size_t k = 1;
      while (k < tag.size() && at(i + k) == tag[k]) ++k;
      if (k == tag.size()) {
        bodyEnd = i;
        break;
      }
    }
    pos_ = bodyEnd == sql_.size() ? sql_.size() : bodyEnd + tag.size();
    push(SqlTokenKind::kString, start,
         std::u16string(sql_.substr(tagEnd + 1, bodyEnd - std::min(bodyEnd, tagEnd + 1))));
    return true;
  }

  void readNumber() {
    const std::size_t start = pos_;
    while (pos_ < sql_.size()) {
      const char16_t c = sql_[pos_];
      const bool exponentSign = (c == u'+' || c == u'-') && pos_ > start &&
                                (sql_[pos_ - 1] == u'e' || sql_[pos_ - 1] == u'E');
      if (!isDigit(c) && c != u'.' && !isAsciiLetter(c) && c != u'_' && !exponentSign) break;
      ++pos_;
    }
    push(SqlTokenKind::kNumber, start, std::u16string(sql_.substr(start, pos_ - start)));
  }

  void push(SqlTokenKind kind, std::size_t start, std::u16string value) {
    out_.tokens.push_back(SqlToken{kind, start, pos_ - start, std::move(value)});
  }

  void matchParentheses() {
    const std::size_t none = out_.tokens.size();
    out_.partner.assign(none, none);
    std::vector<std::size_t> open;
    for (std::size_t i = 0; i < none; ++i) {
      if (isSymbol(out_.tokens[i], u'(')) {
        open.push_back(i);
      } else if (isSymbol(out_.tokens[i], u')') && !open.empty()) {
        out_.partner[i] = open.back();
        out_.partner[open.back()] = i;
        open.pop_back();
      }
    }
  }

  std::u16string_view sql_;
  Dialect d_;
  std::size_t pos_ = 0;
  SqlTokens out_;
};

}  // namespace

SqlTokens lexCustomSql(std::u16string_view sql, std::int16_t dbmsKind, BackslashRule backslash) {
  return Lexer(sql, dbmsKind, backslash).run();
}

bool isWord(const SqlToken& token, std::u16string_view keyword) noexcept {
  return token.kind == SqlTokenKind::kWord && equalsNoCase(token.value, keyword);
}

bool isWordIn(const SqlToken& token, std::initializer_list<std::u16string_view> keywords) noexcept {
  if (token.kind != SqlTokenKind::kWord) return false;
  for (const std::u16string_view keyword : keywords) {
    if (equalsNoCase(token.value, keyword)) return true;
  }
  return false;
}

bool isSymbol(const SqlToken& token, char16_t symbol) noexcept {
  return token.kind == SqlTokenKind::kSymbol && token.value.size() == 1 && token.value[0] == symbol;
}

bool isName(const SqlToken& token) noexcept {
  return token.kind == SqlTokenKind::kWord || token.kind == SqlTokenKind::kQuotedName;
}

}  // namespace vantorel
