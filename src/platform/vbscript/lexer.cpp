#include "platform/vbscript/lexer.hpp"

#include "platform/automation/number_locale.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <unordered_map>

#include "platform/automation/variant_convert.hpp"
#include "platform/automation/vb_errors.hpp"
#include "platform/text/case_fold.hpp"

namespace vantorel::vbs {
namespace {

constexpr std::size_t kLongestKeyword = 13;  // ExecuteGlobal

const std::unordered_map<std::string_view, TokenKind>& keywordTable() {
  static const std::unordered_map<std::string_view, TokenKind> table = {
      {"and", TokenKind::And},
      {"or", TokenKind::Or},
      {"not", TokenKind::Not},
      {"xor", TokenKind::Xor},
      {"eqv", TokenKind::Eqv},
      {"imp", TokenKind::Imp},
      {"is", TokenKind::Is},
      {"mod", TokenKind::Mod},
      {"new", TokenKind::New},
      {"me", TokenKind::Me},
      {"nothing", TokenKind::Nothing},
      {"empty", TokenKind::Empty},
      {"null", TokenKind::Null},
      {"true", TokenKind::True},
      {"false", TokenKind::False},
      {"dim", TokenKind::Dim},
      {"redim", TokenKind::ReDim},
      {"const", TokenKind::Const},
      {"erase", TokenKind::Erase},
      {"private", TokenKind::Private},
      {"public", TokenKind::Public},
      {"class", TokenKind::Class},
      {"sub", TokenKind::Sub},
      {"function", TokenKind::Function},
      {"set", TokenKind::Set},
      {"call", TokenKind::Call},
      {"if", TokenKind::If},
      {"then", TokenKind::Then},
      {"else", TokenKind::Else},
      {"elseif", TokenKind::ElseIf},
      {"end", TokenKind::End},
      {"select", TokenKind::Select},
      {"case", TokenKind::Case},
      {"for", TokenKind::For},
      {"to", TokenKind::To},
      {"each", TokenKind::Each},
      {"in", TokenKind::In},
      {"next", TokenKind::Next},
      {"do", TokenKind::Do},
      {"loop", TokenKind::Loop},
      {"while", TokenKind::While},
      {"until", TokenKind::Until},
      {"wend", TokenKind::Wend},
      {"exit", TokenKind::Exit},
      {"with", TokenKind::With},
      {"on", TokenKind::On},
      {"resume", TokenKind::Resume},
      {"goto", TokenKind::GoTo},
      {"option", TokenKind::Option},
      {"rem", TokenKind::Rem},
      {"property", TokenKind::Property},
      {"default", TokenKind::Default},
      {"error", TokenKind::Error},
      {"step", TokenKind::Step},
      {"explicit", TokenKind::Explicit},
      {"get", TokenKind::Get},
      {"let", TokenKind::Let},
      {"byval", TokenKind::ByVal},
      {"byref", TokenKind::ByRef},
      {"preserve", TokenKind::Preserve},
      {"execute", TokenKind::Execute},
      {"executeglobal", TokenKind::ExecuteGlobal},
      {"randomize", TokenKind::Randomize},
      {"stop", TokenKind::Stop},
  };
  return table;
}

TokenKind classifyWord(std::u16string_view word) {
  if (word.size() > kLongestKeyword) return TokenKind::Identifier;
  char lower[kLongestKeyword];
  for (std::size_t k = 0; k < word.size(); ++k) {
    const char16_t c = asciiLower(word[k]);
    if (c > 0x7F) return TokenKind::Identifier;
    lower[k] = static_cast<char>(c);
  }
  const auto& table = keywordTable();
  auto it = table.find(std::string_view(lower, word.size()));
  return it == table.end() ? TokenKind::Identifier : it->second;
}

bool isDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}
bool isHexDigit(char16_t c) {
  return isDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}
int hexValue(char16_t c) {
  if (isDigit(c)) return c - u'0';
  if (c >= u'a') return c - u'a' + 10;
  return c - u'A' + 10;
}

bool isLetter(char16_t c) {
  if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')) return true;
  if (c < 0xC0 || c == 0xD7 || c == 0xF7) return false;
  // General punctuation, the ideographic space and the byte-order mark are not letters.
  return !(c >= 0x2000 && c <= 0x206F) && c != 0x3000 && c != 0xFEFF;
}
bool isWordChar(char16_t c) {
  return isLetter(c) || isDigit(c) || c == u'_';
}
// Blanks between tokens take no-break space and the byte-order mark too; line ends are tokens.
bool isBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == 0xA0 || c == 0xFEFF || c == u'\v' || c == u'\f';
}
bool isLineEnd(char16_t c) {
  return c == u'\r' || c == u'\n';
}

// For a decimal literal out of double's range: whether it is too large rather than too small.
bool isOverflow(std::string_view digits) {
  std::size_t k = 0;
  long leadingExponent = -1;  // the power of ten of the first significant digit
  long intDigits = 0;
  bool seenSignificant = false;
  for (; k < digits.size() && digits[k] >= '0' && digits[k] <= '9'; ++k) {
    if (digits[k] != '0') seenSignificant = true;
    if (seenSignificant) ++intDigits;
  }
  if (seenSignificant) {
    leadingExponent = intDigits - 1;
  } else if (k < digits.size() && digits[k] == '.') {
    for (++k; k < digits.size() && digits[k] == '0'; ++k) --leadingExponent;
    while (k < digits.size() && digits[k] >= '0' && digits[k] <= '9') ++k;
  }
  while (k < digits.size() && digits[k] != 'e' && digits[k] != 'E') ++k;
  long exponent = 0;
  if (k < digits.size()) {
    bool negative = digits[k + 1] == '-';
    for (k += (digits[k + 1] == '-' || digits[k + 1] == '+') ? 2 : 1; k < digits.size(); ++k) {
      exponent = std::min(exponent * 10 + (digits[k] - '0'), 100000L);
    }
    if (negative) exponent = -exponent;
  }
  return leadingExponent + exponent >= 0;
}

class Lexer {
 public:
  Lexer(std::u16string_view src, std::int32_t lineOffset) : src_(src), line_(1 + lineOffset) {}

  TokenStream run() {
    out_.tokens.reserve(src_.size() / 3 + 4);
    while (i_ < src_.size() && !failed_) step();
    if (!failed_) emitNewline();
    Token end;
    end.kind = TokenKind::EndOfInput;
    end.offset = static_cast<std::uint32_t>(src_.size());
    end.pos = here();
    end.spaceBefore = true;
    out_.tokens.push_back(end);
    return std::move(out_);
  }

 private:
  SourcePos here() const { return posAt(i_); }
  SourcePos posAt(std::size_t offset) const {
    return {line_, static_cast<std::int32_t>(offset - lineStart_ + 1)};
  }
  char16_t at(std::size_t k) const { return k < src_.size() ? src_[k] : u'\0'; }

  void emit(TokenKind kind, std::size_t start, std::size_t end, std::int32_t value = -1) {
    Token t;
    t.kind = kind;
    t.spaceBefore = space_;
    t.offset = static_cast<std::uint32_t>(start);
    t.length = static_cast<std::uint32_t>(end - start);
    t.pos = posAt(start);
    t.value = value;
    out_.tokens.push_back(t);
    space_ = false;
  }

  void emitLiteral(TokenKind kind, std::size_t start, Variant v) {
    out_.literals.push_back(std::move(v));
    emit(kind, start, i_, static_cast<std::int32_t>(out_.literals.size() - 1));
  }

  void fail(std::int32_t number, std::size_t at) {
    Token t;
    t.kind = TokenKind::LexError;
    t.offset = static_cast<std::uint32_t>(at);
    t.pos = posAt(at);
    t.value = number;
    out_.tokens.push_back(t);
    failed_ = true;
  }

  // Consecutive line ends make one Newline token; none is needed before the first token.
  void emitNewline() {
    if (out_.tokens.empty() || out_.tokens.back().kind == TokenKind::Newline) return;
    emit(TokenKind::Newline, i_, i_);
  }

  void consumeLineEnd() {
    if (src_[i_] == u'\r' && at(i_ + 1) == u'\n') ++i_;
    ++i_;
    ++line_;
    lineStart_ = i_;
    space_ = true;
  }

  void skipToLineEnd() {
    while (i_ < src_.size() && !isLineEnd(src_[i_])) ++i_;
  }

  // Rem is a comment only where a statement may begin.
  bool atStatementStart() const {
    if (out_.tokens.empty()) return true;
    TokenKind k = out_.tokens.back().kind;
    return k == TokenKind::Newline || k == TokenKind::Colon || k == TokenKind::Then ||
           k == TokenKind::Else;
  }

  void step() {
    char16_t c = src_[i_];
    if (isBlank(c)) {
      ++i_;
      space_ = true;
      return;
    }
    if (isLineEnd(c)) {
      emitNewline();
      consumeLineEnd();
      return;
    }
    if (c == u'\'') {
      skipToLineEnd();
      space_ = true;
      return;
    }
    if (c == u'_') return continuation();
    if (isLetter(c)) return word();
    if (isDigit(c) || (c == u'.' && isDigit(at(i_ + 1)))) return number();
    std::size_t start = i_;
    switch (c) {
      case u'"':
        return string();
      case u'#':
        return date();
      case u'[':
        return bracketedName();
      case u'&':
        if (radixNumber()) return;
        ++i_;
        return emit(TokenKind::Ampersand, start, i_);
      // The reversed spellings `=>`, `=<` and `><` are accepted as VBScript accepts them.
      case u'<':
        ++i_;
        if (at(i_) == u'=') return ++i_, emit(TokenKind::Le, start, i_);
        if (at(i_) == u'>') return ++i_, emit(TokenKind::Ne, start, i_);
        return emit(TokenKind::Lt, start, i_);
      case u'>':
        ++i_;
        if (at(i_) == u'=') return ++i_, emit(TokenKind::Ge, start, i_);
        if (at(i_) == u'<') return ++i_, emit(TokenKind::Ne, start, i_);
        return emit(TokenKind::Gt, start, i_);
      case u'=':
        ++i_;
        if (at(i_) == u'>') return ++i_, emit(TokenKind::Ge, start, i_);
        if (at(i_) == u'<') return ++i_, emit(TokenKind::Le, start, i_);
        return emit(TokenKind::Eq, start, i_);
      default:
        break;
    }
    TokenKind kind;
    switch (c) {
      case u':':
        kind = TokenKind::Colon;
        break;
      case u'(':
        kind = TokenKind::LParen;
        break;
      case u')':
        kind = TokenKind::RParen;
        break;
      case u',':
        kind = TokenKind::Comma;
        break;
      case u'.':
        kind = TokenKind::Dot;
        break;
      case u'+':
        kind = TokenKind::Plus;
        break;
      case u'-':
        kind = TokenKind::Minus;
        break;
      case u'*':
        kind = TokenKind::Star;
        break;
      case u'/':
        kind = TokenKind::Slash;
        break;
      case u'\\':
        kind = TokenKind::Backslash;
        break;
      case u'^':
        kind = TokenKind::Caret;
        break;
      default:
        return fail(vberr::kInvalidCharacter, i_);
    }
    ++i_;
    emit(kind, start, i_);
  }

  // An underscore that ends a line joins it to the next one.
  void continuation() {
    std::size_t j = i_ + 1;
    while (j < src_.size() && isBlank(src_[j])) ++j;
    if (j < src_.size() && !isLineEnd(src_[j])) return fail(vberr::kInvalidCharacter, i_);
    i_ = j;
    space_ = true;
    if (i_ < src_.size()) consumeLineEnd();
  }

  void word() {
    std::size_t start = i_;
    while (i_ < src_.size() && isWordChar(src_[i_])) ++i_;
    if (i_ - start > kMaxIdentifierLength) return fail(vberr::kIdentifierTooLong, start);
    TokenKind kind = classifyWord(src_.substr(start, i_ - start));
    if (kind == TokenKind::Rem && atStatementStart()) {
      skipToLineEnd();
      space_ = true;
      return;
    }
    emit(kind, start, i_);
  }

  void bracketedName() {
    std::size_t start = i_;
    std::size_t j = i_ + 1;
    while (j < src_.size() && src_[j] != u']' && !isLineEnd(src_[j])) ++j;
    if (j >= src_.size() || src_[j] != u']') return fail(vberr::kInvalidCharacter, start);
    if (j - start - 1 > kMaxIdentifierLength) return fail(vberr::kIdentifierTooLong, start);
    Token t;
    t.kind = TokenKind::Identifier;
    t.spaceBefore = space_;
    t.offset = static_cast<std::uint32_t>(start + 1);
    t.length = static_cast<std::uint32_t>(j - start - 1);
    t.pos = posAt(start);
    out_.tokens.push_back(t);
    space_ = false;
    i_ = j + 1;
  }

  void number() {
    std::size_t start = i_;
    bool isFloat = false;
    while (isDigit(at(i_))) ++i_;
    if (at(i_) == u'.') {
      isFloat = true;
      ++i_;
      while (isDigit(at(i_))) ++i_;
    }
    if (at(i_) == u'e' || at(i_) == u'E') {
      std::size_t j = i_ + 1;
      if (at(j) == u'+' || at(j) == u'-') ++j;
      if (isDigit(at(j))) {
        isFloat = true;
        i_ = j;
        while (isDigit(at(i_))) ++i_;
      }
    }
    if (!isFloat && i_ - start <= 10) {
      std::int64_t v = 0;
      for (std::size_t k = start; k < i_; ++k) v = v * 10 + (src_[k] - u'0');
      if (v <= 32767)
        return emitLiteral(TokenKind::Number, start, Variant(static_cast<std::int16_t>(v)));
      if (v <= 2147483647)
        return emitLiteral(TokenKind::Number, start, Variant(static_cast<std::int32_t>(v)));
    }
    std::string ascii;
    ascii.reserve(i_ - start);
    for (std::size_t k = start; k < i_; ++k) ascii.push_back(static_cast<char>(src_[k]));
    double d = 0;
    auto [ptr, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), d);
    if (ec == std::errc::result_out_of_range && !isOverflow(ascii)) {
      d = 0;  // too small to hold: zero, as VBScript reads it
    } else if (ec != std::errc() || ptr != ascii.data() + ascii.size() || !std::isfinite(d)) {
      return fail(vberr::kInvalidNumber, start);
    }
    emitLiteral(TokenKind::Number, start, Variant(d));
  }

  // &H1F, &O17 and &17 (octal), with an optional trailing & that keeps a value above 32767 from
  // wrapping to a negative Integer. Returns false when the ampersand is the concatenation
  // operator after all, as in `s&Hello` or `s&1`.
  bool radixNumber() {
    char16_t kind = at(i_ + 1);
    unsigned radix;
    std::size_t j = i_ + 2;
    if (kind == u'h' || kind == u'H') {
      radix = 16;
    } else if (kind == u'o' || kind == u'O') {
      radix = 8;
    } else if (isDigit(kind) && octalAllowed()) {
      radix = 8;
      j = i_ + 1;
    } else {
      return false;
    }
    auto isRadixDigit = [radix](char16_t c) {
      return radix == 16 ? isHexDigit(c) : (c >= u'0' && c <= u'7');
    };
    std::size_t start = i_;
    if (!isRadixDigit(at(j))) return false;
    const std::size_t digits = j;
    while (isRadixDigit(at(j))) ++j;
    // A keyword may follow directly (`&h01or&h02`), even one that begins with hex letters
    // (`&h0Fand&h3C`); any other word means `s&Hello`.
    if (isWordChar(at(j)) && !keywordAt(j)) {
      std::size_t cut = j;
      while (cut > digits + 1 && !keywordAt(cut - 1)) --cut;
      if (cut <= digits + 1) return false;
      j = cut - 1;
    }
    std::uint64_t v = 0;
    bool overflow = false;
    for (std::size_t k = digits; k < j; ++k) {
      v = v * radix + static_cast<unsigned>(hexValue(at(k)));
      if (v > 0xFFFFFFFFu) {
        overflow = true;
        v = 0;
      }
    }
    bool keepPositive = false;
    if (at(j) == u'&') {
      keepPositive = true;
      ++j;
    }
    if (overflow) {
      i_ = j;
      fail(vberr::kInvalidNumber, start);
      return true;
    }
    i_ = j;
    // The literal takes the smallest type that holds its value: Integer, then Long. Without the
    // trailing &, four hex digits wrap to a negative Integer and eight to a negative Long.
    std::int64_t value;
    if (keepPositive) {
      value = v <= 0x7FFFFFFFu ? static_cast<std::int64_t>(v)
                               : static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
    } else if (v <= 0xFFFF) {
      value = static_cast<std::int16_t>(static_cast<std::uint16_t>(v));
    } else {
      value = static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
    }
    const bool fitsInteger = keepPositive ? value >= -32768 && value <= 32767 : v <= 0xFFFF;
    if (fitsInteger) {
      emitLiteral(TokenKind::Number, start, Variant(static_cast<std::int16_t>(value)));
    } else {
      emitLiteral(TokenKind::Number, start, Variant(static_cast<std::int32_t>(value)));
    }
    return true;
  }

  // Whether the word starting at k is a reserved word (not a name-like one).
  bool keywordAt(std::size_t k) const {
    std::size_t end = k;
    while (end < src_.size() && isWordChar(src_[end])) ++end;
    TokenKind kind = classifyWord(src_.substr(k, end - k));
    return kind != TokenKind::Identifier && kind < kFirstSoftKeyword;
  }

  // `&17` is octal where no operand precedes it, and after the name that opens a statement when
  // a space separates them (`Show &17`); `s&1` and `"a" & 1` join strings.
  bool octalAllowed() const {
    if (!afterOperand(out_.tokens.size())) return true;
    const std::size_t n = out_.tokens.size();
    return space_ && out_.tokens[n - 1].kind == TokenKind::Identifier &&
           (n == 1 || !afterOperand(n - 1)) && (n == 1 || startsStatement(out_.tokens[n - 2].kind));
  }

  static bool startsStatement(TokenKind before) {
    return before == TokenKind::Newline || before == TokenKind::Colon ||
           before == TokenKind::Then || before == TokenKind::Else;
  }

  // Whether the token before index `end` ends an operand, so that a following `&` joins strings.
  bool afterOperand(std::size_t end) const {
    if (end == 0) return false;
    switch (out_.tokens[end - 1].kind) {
      case TokenKind::Identifier:
      case TokenKind::Number:
      case TokenKind::String:
      case TokenKind::Date:
      case TokenKind::RParen:
      case TokenKind::Me:
      case TokenKind::Nothing:
      case TokenKind::Empty:
      case TokenKind::Null:
      case TokenKind::True:
      case TokenKind::False:
        return true;
      default:
        return isNameLike(out_.tokens[end - 1].kind);
    }
  }

  void string() {
    std::size_t start = i_;
    ++i_;
    std::u16string text;
    for (;;) {
      std::size_t runStart = i_;
      while (i_ < src_.size() && src_[i_] != u'"' && !isLineEnd(src_[i_])) ++i_;
      text.append(src_.substr(runStart, i_ - runStart));
      if (i_ >= src_.size() || isLineEnd(src_[i_])) return fail(vberr::kUnterminatedString, start);
      if (at(i_ + 1) != u'"') break;
      text.push_back(u'"');
      i_ += 2;
    }
    ++i_;
    emitLiteral(TokenKind::String, start, Variant(std::move(text)));
  }

  void date() {
    std::size_t start = i_;
    std::size_t j = i_ + 1;
    while (j < src_.size() && src_[j] != u'#' && !isLineEnd(src_[j])) ++j;
    if (j >= src_.size() || src_[j] != u'#') return fail(vberr::kSyntaxError, start);
    std::u16string_view inner = src_.substr(start + 1, j - start - 1);
    while (!inner.empty() && isBlank(inner.front())) inner.remove_prefix(1);
    while (!inner.empty() && isBlank(inner.back())) inner.remove_suffix(1);
    // Date literals are always written in the invariant form, whatever SetLocale chose.
    ScopedNumberLocale invariant(kInvariantLcid);
    auto value = inner.empty() ? std::nullopt : parseDate(inner);
    if (!value) return fail(vberr::kSyntaxError, start);
    i_ = j + 1;
    emitLiteral(TokenKind::Date, start, Variant::date(*value));
  }

  std::u16string_view src_;
  std::size_t i_ = 0;
  std::int32_t line_;
  std::size_t lineStart_ = 0;
  bool space_ = true;
  bool failed_ = false;
  TokenStream out_;
};

}  // namespace

TokenStream tokenize(std::u16string_view source, std::int32_t lineOffset) {
  return Lexer(source, lineOffset).run();
}

}  // namespace vantorel::vbs
