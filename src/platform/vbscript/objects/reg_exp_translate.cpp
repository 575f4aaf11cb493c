#include "platform/vbscript/objects/reg_exp_translate.hpp"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "platform/automation/automation_error.hpp"
#include "platform/text/case_fold.hpp"

namespace vantorel::vbs {

namespace {

// PCRE2 caps counted repeats at this.
constexpr std::uint32_t kMaxRepeat = 65535;

// Characters that match each other without regard to case, as rings: ring()[c] is the next
// character with the same canonical (upper-case) form, and c itself when it has no partner.
// As in JScript, a character beyond ASCII never matches an ASCII one this way.
const std::vector<char16_t>& caseRing() {
  static const std::vector<char16_t> ring = [] {
    constexpr std::uint32_t kNone = 0x10000;
    std::vector<std::uint32_t> first(0x10000, kNone);
    std::vector<std::uint32_t> last(0x10000, kNone);
    std::vector<char16_t> next(0x10000);
    for (std::uint32_t x = 0; x < 0x10000; ++x) {
      const auto c = static_cast<char16_t>(x);
      char16_t canon = toUpperChar(c);
      if (x >= 0x80 && canon < 0x80) canon = c;
      if (first[canon] == kNone) {
        first[canon] = x;
      } else {
        next[last[canon]] = c;
      }
      last[canon] = x;
    }
    for (std::uint32_t k = 0; k < 0x10000; ++k) {
      if (first[k] != kNone) next[last[k]] = static_cast<char16_t>(first[k]);
    }
    return next;
  }();
  return ring;
}

bool isDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}
bool isOctal(char16_t c) {
  return c >= u'0' && c <= u'7';
}
// \d \D \w \W \s \S: the escapes that stand for a class of characters.
bool isClassEscape(char16_t e) {
  switch (e) {
    case u'd':
    case u'D':
    case u'w':
    case u'W':
    case u's':
    case u'S':
      return true;
    default:
      return false;
  }
}
bool isAsciiLetter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}
bool isAsciiAlnum(char16_t c) {
  return isDigit(c) || isAsciiLetter(c);
}

int hexValue(char16_t c) {
  if (isDigit(c)) return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

void appendHex(std::u16string& out, std::uint32_t v) {
  static constexpr char16_t kDigits[] = u"0123456789abcdef";
  out += u"\\x{";
  char16_t buf[8];
  int n = 0;
  do {
    buf[n++] = kDigits[v & 0xF];
    v >>= 4;
  } while (v != 0);
  while (n > 0) out += buf[--n];
  out += u'}';
}

// Letters and digits stand for themselves in PCRE2; everything else is written by number so
// that nothing reads as PCRE2 syntax the source dialect lacks.
void appendChar(std::u16string& out, char16_t c) {
  if (isAsciiAlnum(c)) {
    out += c;
  } else {
    appendHex(out, c);
  }
}

struct ClassItem {
  char16_t lo = 0;
  char16_t hi = 0;
  char16_t escape = 0;  // d, D, w, W, s or S for a class escape; 0 for a character or range
};

class Translator {
 public:
  Translator(std::u16string_view pattern, bool ignoreCase, bool multiline)
      : p_(pattern), ignoreCase_(ignoreCase), multiline_(multiline) {
    out_.reserve(pattern.size() * 2 + 8);
  }

  TranslatedPattern run() {
    std::size_t depth = 0;
    while (i_ < p_.size()) {
      const char16_t c = p_[i_];
      switch (c) {
        case u'|':
          out_ += c;
          ++i_;
          quantifiable_ = false;
          break;
        case u'(':
          if (i_ + 1 < p_.size() && p_[i_ + 1] == u'?') {
            if (i_ + 2 >= p_.size() ||
                (p_[i_ + 2] != u':' && p_[i_ + 2] != u'=' && p_[i_ + 2] != u'!')) {
              fail(vberr::kRegExpSyntax);
            }
            out_ += u"(?";
            out_ += p_[i_ + 2];
            i_ += 3;
          } else {
            ++groups_;
            out_ += c;
            ++i_;
          }
          ++depth;
          quantifiable_ = false;
          break;
        case u')':
          if (depth == 0) fail(vberr::kRegExpSyntax);
          --depth;
          out_ += c;
          ++i_;
          quantifiable_ = true;
          break;
        case u'*':
        case u'+':
        case u'?':
          quantifier(std::u16string(1, c), 1);
          break;
        case u'{':
          if (!braceQuantifier()) literal(c, 1);
          break;
        case u'^':
          out_ += multiline_ ? u"(?<![^\\n\\r])" : u"^";
          ++i_;
          quantifiable_ = false;
          break;
        case u'$':
          out_ += multiline_ ? u"(?![^\\n\\r])" : u"$";
          ++i_;
          quantifiable_ = false;
          break;
        case u'.':
          out_ += c;
          ++i_;
          quantifiable_ = true;
          break;
        case u'[':
          characterClass();
          break;
        case u'\\':
          escape();
          break;
        default:
          literal(c, 1);
          break;
      }
    }
    if (depth != 0) fail(vberr::kRegExpExpectedParen);
    return TranslatedPattern{std::move(out_), groups_};
  }

 private:
  [[noreturn]] static void fail(std::int32_t number) { raiseVbError(number); }

  void quantifier(const std::u16string& text, std::size_t length) {
    if (!quantifiable_) fail(vberr::kRegExpUnexpectedQuantifier);
    out_ += text;
    i_ += length;
    if (i_ < p_.size() && p_[i_] == u'?') {
      out_ += u'?';
      ++i_;
    }
    quantifiable_ = false;
  }

  static bool readNumber(std::u16string_view s, std::size_t& j, std::uint32_t& value) {
    const std::size_t start = j;
    value = 0;
    while (j < s.size() && isDigit(s[j])) {
      if (value <= 1000000) value = value * 10 + static_cast<std::uint32_t>(s[j] - u'0');
      ++j;
    }
    return j > start;
  }

  // {n}, {n,} or {n,m}; anything else leaves the brace a literal, as browsers' JScript did.
  bool braceQuantifier() {
    std::size_t j = i_ + 1;
    std::uint32_t lo = 0;
    std::uint32_t hi = 0;
    bool bounded = true;
    if (!readNumber(p_, j, lo)) return false;
    if (j < p_.size() && p_[j] == u',') {
      ++j;
      bounded = readNumber(p_, j, hi);
    } else {
      hi = lo;
    }
    if (j >= p_.size() || p_[j] != u'}') return false;
    ++j;
    if (!quantifiable_) fail(vberr::kRegExpUnexpectedQuantifier);
    if (bounded && hi < lo) fail(vberr::kRegExpSyntax);
    if (lo > kMaxRepeat || (bounded && hi > kMaxRepeat)) fail(vberr::kRegExpSyntax);
    std::u16string text = u"{" + number(lo);
    if (!bounded) {
      text += u",";
    } else if (hi != lo) {
      text += u"," + number(hi);
    }
    text += u"}";
    quantifier(text, j - i_);
    return true;
  }

  static std::u16string number(std::uint32_t v) {
    std::u16string s;
    do {
      s.insert(s.begin(), static_cast<char16_t>(u'0' + v % 10));
      v /= 10;
    } while (v != 0);
    return s;
  }

  // A character of the pattern matched for itself; `consumed` pattern units are used up.
  void literal(char16_t c, std::size_t consumed) {
    i_ += consumed;
    quantifiable_ = true;
    const auto& ring = caseRing();
    if (ignoreCase_ && c >= 0x80 && ring[c] != c) {
      out_ += u'[';
      char16_t x = c;
      do {
        appendHex(out_, x);
        x = ring[x];
      } while (x != c);
      out_ += u']';
      return;
    }
    appendChar(out_, c);
  }

  // Reads \x, \u, \c, the control escapes and octal digits shared by both contexts. Returns
  // false when the escape is something else; `value` and `used` (units after the backslash)
  // are set on success.
  bool characterEscape(bool inClass, char16_t& value, std::size_t& used) const {
    const std::size_t j = i_ + 1;
    const char16_t e = p_[j];
    used = 1;
    switch (e) {
      case u'f':
        value = 0x0C;
        return true;
      case u'n':
        value = 0x0A;
        return true;
      case u'r':
        value = 0x0D;
        return true;
      case u't':
        value = 0x09;
        return true;
      case u'v':
        value = 0x0B;
        return true;
      case u'b':
        if (!inClass) return false;
        value = 0x08;
        return true;
      case u'c':
        if (j + 1 < p_.size() && isAsciiLetter(p_[j + 1])) {
          value = static_cast<char16_t>(p_[j + 1] % 32);
          used = 2;
        } else {
          value = u'c';
        }
        return true;
      case u'x':
      case u'u': {
        const std::size_t digits = e == u'x' ? 2 : 4;
        std::uint32_t v = 0;
        for (std::size_t k = 0; k < digits; ++k) {
          const int h = j + 1 + k < p_.size() ? hexValue(p_[j + 1 + k]) : -1;
          if (h < 0) {
            value = e;
            return true;
          }
          v = v * 16 + static_cast<std::uint32_t>(h);
        }
        value = static_cast<char16_t>(v);
        used = 1 + digits;
        return true;
      }
      default:
        break;
    }
    if (isOctal(e)) {
      // Up to three octal digits when the first is 0-3, else up to two.
      const std::size_t maxDigits = e <= u'3' ? 3 : 2;
      std::uint32_t v = 0;
      std::size_t k = 0;
      while (k < maxDigits && j + k < p_.size() && isOctal(p_[j + k])) {
        v = v * 8 + static_cast<std::uint32_t>(p_[j + k] - u'0');
        ++k;
      }
      value = static_cast<char16_t>(v);
      used = k;
      return true;
    }
    return false;
  }

  void escape() {
    if (i_ + 1 >= p_.size()) fail(vberr::kRegExpSyntax);
    const char16_t e = p_[i_ + 1];
    // \b and \B are assertions, which nothing may repeat; the classes may be.
    if (e == u'b' || e == u'B' || isClassEscape(e)) {
      out_ += u'\\';
      out_ += e;
      i_ += 2;
      quantifiable_ = isClassEscape(e);
      return;
    }
    if (isDigit(e) && e != u'0' && backReference()) return;
    char16_t value = 0;
    std::size_t used = 0;
    if (characterEscape(false, value, used)) {
      literal(value, used + 1);
    } else {
      literal(e, 2);  // an identity escape: the character itself
    }
  }

  // \n and \nn refer to a group when that many groups open before them; otherwise the digits
  // are an octal escape, or (8 and 9) the digit itself.
  bool backReference() {
    const std::size_t j = i_ + 1;
    const std::uint32_t d1 = p_[j] - u'0';
    std::uint32_t ref = 0;
    std::size_t used = 0;
    if (j + 1 < p_.size() && isDigit(p_[j + 1]) && d1 * 10 + (p_[j + 1] - u'0') <= groups_) {
      ref = d1 * 10 + (p_[j + 1] - u'0');
      used = 2;
    } else if (d1 <= groups_) {
      ref = d1;
      used = 1;
    } else if (!isOctal(p_[j])) {
      literal(p_[j], 2);
      return true;
    } else {
      return false;
    }
    out_ += u"\\g{" + number(ref) + u"}";
    i_ += used + 1;
    quantifiable_ = true;
    return true;
  }

  ClassItem classAtom() {
    if (i_ >= p_.size()) fail(vberr::kRegExpExpectedBracket);
    const char16_t c = p_[i_];
    if (c != u'\\') {
      ++i_;
      return ClassItem{c, c, 0};
    }
    if (i_ + 1 >= p_.size()) fail(vberr::kRegExpExpectedBracket);
    const char16_t e = p_[i_ + 1];
    if (isClassEscape(e)) {
      i_ += 2;
      return ClassItem{0, 0, e};
    }
    char16_t value = e;
    std::size_t used = 1;
    if (!characterEscape(true, value, used)) {
      value = e;
      used = 1;
    }
    i_ += used + 1;
    return ClassItem{value, value, 0};
  }

  void characterClass() {
    ++i_;
    bool negate = false;
    if (i_ < p_.size() && p_[i_] == u'^') {
      negate = true;
      ++i_;
    }
    if (i_ < p_.size() && p_[i_] == u']') {
      // [] matches nothing and [^] any character at all.
      out_ += negate ? u"[\\x{0}-\\x{ffff}]" : u"(?!)";
      ++i_;
      quantifiable_ = true;
      return;
    }
    std::vector<ClassItem> items;
    for (;;) {
      if (i_ >= p_.size()) fail(vberr::kRegExpExpectedBracket);
      if (p_[i_] == u']') {
        ++i_;
        break;
      }
      ClassItem first = classAtom();
      if (i_ + 1 < p_.size() && p_[i_] == u'-' && p_[i_ + 1] != u']') {
        ++i_;
        ClassItem second = classAtom();
        if (first.escape != 0 || second.escape != 0) {
          // A class escape cannot bound a range: the hyphen is a literal.
          items.push_back(first);
          items.push_back(ClassItem{u'-', u'-', 0});
          items.push_back(second);
          continue;
        }
        if (second.lo < first.lo) fail(vberr::kRegExpInvalidRange);
        items.push_back(ClassItem{first.lo, second.lo, 0});
        continue;
      }
      items.push_back(first);
    }
    out_ += u'[';
    if (negate) out_ += u'^';
    for (const ClassItem& item : items) {
      if (item.escape != 0) {
        out_ += u'\\';
        out_ += item.escape;
        continue;
      }
      appendChar(out_, item.lo);
      if (item.hi != item.lo) {
        out_ += u'-';
        appendChar(out_, item.hi);
      }
    }
    if (ignoreCase_) appendCaseVariants(items);
    out_ += u']';
    quantifiable_ = true;
  }

  // PCRE2 folds ASCII only; the partners of the other characters are listed explicitly.
  void appendCaseVariants(const std::vector<ClassItem>& items) {
    const auto& ring = caseRing();
    std::vector<char16_t> extra;
    for (const ClassItem& item : items) {
      if (item.escape != 0 || item.hi < 0x80) continue;
      for (std::uint32_t x = std::max<std::uint32_t>(item.lo, 0x80); x <= item.hi; ++x) {
        for (char16_t y = ring[x]; y != x; y = ring[y]) {
          if (y < item.lo || y > item.hi) extra.push_back(y);
        }
      }
    }
    std::sort(extra.begin(), extra.end());
    extra.erase(std::unique(extra.begin(), extra.end()), extra.end());
    for (std::size_t k = 0; k < extra.size();) {
      std::size_t e = k;
      while (e + 1 < extra.size() && extra[e + 1] == extra[e] + 1) ++e;
      appendHex(out_, extra[k]);
      if (e > k) {
        out_ += u'-';
        appendHex(out_, extra[e]);
      }
      k = e + 1;
    }
  }

  std::u16string_view p_;
  bool ignoreCase_;
  bool multiline_;
  std::size_t i_ = 0;
  std::u16string out_;
  std::uint32_t groups_ = 0;
  bool quantifiable_ = false;
};

}  // namespace

TranslatedPattern translatePattern(std::u16string_view pattern, bool ignoreCase, bool multiline) {
  return Translator(pattern, ignoreCase, multiline).run();
}

}  // namespace vantorel::vbs
