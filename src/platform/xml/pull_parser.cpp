#include "platform/xml/pull_parser.hpp"

#include <algorithm>
#include <array>
#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/text/byte_scan.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel::xml {

namespace {

// Bytes that may start a name, and bytes that may follow; any byte of a multi-byte character
// counts as both.
enum : std::uint8_t { kNameStart = 1, kNameRest = 2 };
constexpr std::array<std::uint8_t, 256> kNameBytes = [] {
  std::array<std::uint8_t, 256> bytes{};
  for (int b = 0; b < 256; ++b) {
    const bool start =
        (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || b == '_' || b == ':' || b >= 0x80;
    const bool rest = start || (b >= '0' && b <= '9') || b == '-' || b == '.';
    bytes[b] = static_cast<std::uint8_t>((start ? kNameStart : 0) | (rest ? kNameRest : 0));
  }
  return bytes;
}();

bool isNameStart(char c) noexcept {
  return (kNameBytes[static_cast<unsigned char>(c)] & kNameStart) != 0;
}

bool isNameChar(char c) noexcept {
  return (kNameBytes[static_cast<unsigned char>(c)] & kNameRest) != 0;
}

bool isUnusualNameByte(char c) noexcept {
  return c == ':' || (static_cast<unsigned char>(c) & 0x80U) != 0;
}

// The end of the run of name bytes from i, sixteen bytes at a time where SSE2 is at hand: the
// names of a project file's attributes are most of its tags. `unusual` is set when one of them
// is ':' or a byte of a character beyond ASCII.
std::size_t nameBytesEnd(const char* p, std::size_t i, std::size_t n, bool& unusual) noexcept {
#if defined(__SSE2__)
  for (; i + 16 <= n; i += 16) {
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    const auto within = [](__m128i v, char low, char high) {
      return _mm_and_si128(_mm_cmpgt_epi8(v, _mm_set1_epi8(static_cast<char>(low - 1))),
                           _mm_cmplt_epi8(v, _mm_set1_epi8(static_cast<char>(high + 1))));
    };
    const auto is = [&](char c) { return _mm_cmpeq_epi8(b, _mm_set1_epi8(c)); };
    // Bytes from 0x80 up are negative here: every byte of a multi-byte character.
    const __m128i beyondAscii = _mm_cmplt_epi8(b, _mm_setzero_si128());
    const __m128i colon = is(':');
    __m128i name = _mm_or_si128(beyondAscii, colon);
    const auto unusualBytes = static_cast<unsigned>(_mm_movemask_epi8(name));
    name = _mm_or_si128(name, within(_mm_or_si128(b, _mm_set1_epi8(0x20)), 'a', 'z'));
    name = _mm_or_si128(name, within(b, '0', '9'));
    name = _mm_or_si128(name, _mm_or_si128(is('_'), _mm_or_si128(is('-'), is('.'))));
    const unsigned others = ~static_cast<unsigned>(_mm_movemask_epi8(name)) & 0xFFFFU;
    if (unusualBytes != 0) {
      const unsigned inName = others != 0 ? (1U << std::countr_zero(others)) - 1 : 0xFFFFU;
      if ((unusualBytes & inName) != 0) unusual = true;
    }
    if (others != 0) return i + static_cast<std::size_t>(std::countr_zero(others));
  }
#endif
  for (; i < n && isNameChar(p[i]); ++i) {
    if (isUnusualNameByte(p[i])) unusual = true;
  }
  return i;
}

// Whether XML 1.0 documents can hold the character.
constexpr bool isXmlChar(std::uint32_t cp) noexcept {
  return cp == 0x9 || cp == 0xA || cp == 0xD || (cp >= 0x20 && cp <= 0xD7FF) ||
         (cp >= 0xE000 && cp <= 0xFFFD) || (cp >= 0x10000 && cp <= 0x10FFFF);
}

// A reference at the start of `ref` ("&...;"): its length, 0 when it is not one this parser
// expands, and the character it stands for. A reference to a character no document can hold in
// any encoding (NUL, a surrogate, beyond U+10FFFF) is not expanded; `unholdable` tells of it and
// of the control characters and non-characters that are expanded.
std::size_t reference(std::string_view ref, std::uint32_t& cp, bool& unholdable) {
  unholdable = false;
  const std::size_t semi = ref.substr(0, 12).find(';');
  if (semi == std::string_view::npos || semi < 2) return 0;
  const std::string_view body = ref.substr(1, semi - 1);
  if (body == "lt") {
    cp = '<';
  } else if (body == "gt") {
    cp = '>';
  } else if (body == "amp") {
    cp = '&';
  } else if (body == "quot") {
    cp = '"';
  } else if (body == "apos") {
    cp = '\'';
  } else if (body[0] == '#') {
    const bool hex = body.size() > 1 && body[1] == 'x';
    const std::string_view digits = body.substr(hex ? 2 : 1);
    if (digits.empty()) return 0;
    std::uint32_t value = 0;
    for (const char c : digits) {
      unsigned d;
      if (c >= '0' && c <= '9') {
        d = static_cast<unsigned>(c - '0');
      } else if (hex && c >= 'a' && c <= 'f') {
        d = static_cast<unsigned>(c - 'a' + 10);
      } else if (hex && c >= 'A' && c <= 'F') {
        d = static_cast<unsigned>(c - 'A' + 10);
      } else {
        return 0;
      }
      // Beyond U+10FFFF the value only needs to stay there.
      value = std::min<std::uint32_t>(value * (hex ? 16 : 10) + d, 0x110000);
    }
    unholdable = !isXmlChar(value);
    if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    cp = value;
  } else {
    return 0;
  }
  return semi + 1;
}

// The offset in raw of the first U+FFFE or U+FFFF written as itself, or npos; the text is
// valid UTF-8, so these are the only characters it may hold that XML cannot.
std::size_t rawNonCharacter(std::string_view raw) noexcept {
  for (std::size_t i = raw.find('\xEF'); i != std::string_view::npos; i = raw.find('\xEF', i + 1)) {
    if (i + 2 < raw.size() && raw[i + 1] == '\xBF' &&
        (raw[i + 2] == '\xBE' || raw[i + 2] == '\xBF')) {
      return i;
    }
  }
  return std::string_view::npos;
}

// Appends raw with its references expanded; the offset in raw of the first reference to a
// character XML cannot hold, or npos.
std::size_t appendExpanded(std::string& out, std::string_view raw) {
  std::size_t unholdableAt = std::string_view::npos;
  std::size_t at = 0;
  for (;;) {
    const std::size_t amp = raw.find('&', at);
    if (amp == std::string_view::npos) {
      out.append(raw.substr(at));
      return unholdableAt;
    }
    out.append(raw.substr(at, amp - at));
    std::uint32_t cp = 0;
    bool unholdable = false;
    const std::size_t used = reference(raw.substr(amp), cp, unholdable);
    if (unholdable && unholdableAt == std::string_view::npos) unholdableAt = amp;
    if (used == 0) {
      out.push_back('&');
      at = amp + 1;
    } else {
      appendUtf8(out, static_cast<char32_t>(cp));
      at = amp + used;
    }
  }
}

}  // namespace

PullParser::Event PullParser::fail(std::size_t at, std::string what) {
  finished_ = true;
  last_ = Event::Error;
  start_ = at;
  error_ = std::move(what);
  return last_;
}

std::size_t PullParser::nameEnd(std::size_t from, bool& unusual) const noexcept {
  if (from >= text_.size() || !isNameStart(text_[from])) return from;
  unusual = isUnusualNameByte(text_[from]);
  return nameBytesEnd(text_.data(), from + 1, text_.size(), unusual);
}

bool PullParser::skipPast(std::string_view close) {
  const std::size_t end = text_.find(close, pos_);
  if (end == std::string_view::npos) return false;
  pos_ = end + close.size();
  return true;
}

// "<!DOCTYPE ...>", whose internal subset in brackets may hold '>' in declarations, quoted
// strings and comments.
bool PullParser::skipDoctype() {
  int brackets = 0;
  while (pos_ < text_.size()) {
    const char c = text_[pos_];
    if (c == '"' || c == '\'') {
      const std::size_t close = text_.find(c, pos_ + 1);
      if (close == std::string_view::npos) return false;
      pos_ = close + 1;
    } else if (text_.substr(pos_, 4) == "<!--") {
      pos_ += 4;
      if (!skipPast("-->")) return false;
    } else if (c == '[') {
      ++brackets;
      ++pos_;
    } else if (c == ']') {
      --brackets;
      ++pos_;
    } else if (c == '>' && brackets <= 0) {
      ++pos_;
      return true;
    } else {
      ++pos_;
    }
  }
  return false;
}

PullParser::Event PullParser::next() {
  if (finished_) return last_;
  if (pendingEnd_) {
    pendingEnd_ = false;
    closed_ = std::move(names_.back());
    names_.pop_back();
    current_ = closed_.c_str();
    return last_ = Event::EndElement;
  }
  for (;;) {
    start_ = pos_;
    if (pos_ >= text_.size()) {
      if (!names_.empty()) {
        return fail(text_.size(),
                    "the file ends before the element \"" + names_.back() + "\" is closed");
      }
      if (!seenRoot_) return fail(text_.size(), "no root element");
      finished_ = true;
      return last_ = Event::End;
    }
    if (text_[pos_] != '<') {
      const std::size_t lt = text_.find('<', pos_);
      const std::size_t end = lt == std::string_view::npos ? text_.size() : lt;
      const std::string_view raw = text_.substr(pos_, end - pos_);
      pos_ = end;
      // Text outside every element is not part of the document; whitespace-only text is layout.
      if (names_.empty()) continue;
      bool blank = true;
      for (const char c : raw) {
        if (!isXmlBlank(c)) {
          blank = false;
          break;
        }
      }
      if (blank) continue;
      if (raw.find('&') == std::string_view::npos) {
        content_ = raw;
      } else {
        contentStorage_.clear();
        appendExpanded(contentStorage_, raw);
        content_ = contentStorage_;
      }
      return last_ = Event::Text;
    }
    const std::string_view rest = text_.substr(pos_);
    if (rest.starts_with("<!--")) {
      pos_ += 4;
      if (!skipPast("-->")) return fail(start_, "unclosed comment");
    } else if (rest.starts_with("<![CDATA[")) {
      if (names_.empty()) return fail(start_, "CDATA section outside the root element");
      const std::size_t end = text_.find("]]>", pos_ + 9);
      if (end == std::string_view::npos) return fail(start_, "unclosed CDATA section");
      content_ = text_.substr(pos_ + 9, end - pos_ - 9);
      pos_ = end + 3;
      return last_ = Event::CData;
    } else if (rest.starts_with("<!DOCTYPE")) {
      if (seenRoot_) return fail(start_, "document type declaration after the root element");
      pos_ += 9;
      if (!skipDoctype()) return fail(start_, "unclosed document type declaration");
    } else if (rest.starts_with("<?")) {
      pos_ += 2;
      if (!skipPast("?>")) return fail(start_, "unclosed processing instruction");
    } else if (rest.starts_with("</")) {
      return endTag();
    } else {
      return startTag();
    }
  }
}

PullParser::Event PullParser::startTag() {
  const std::size_t nameStart = pos_ + 1;
  bool unusual = false;
  const std::size_t nameStop = nameEnd(nameStart, unusual);
  if (nameStop == nameStart) return fail(start_, "a start tag without a valid element name");
  storage_.clear();
  expanded_.clear();
  attributes_.clear();
  plainAttributes_ = true;
  pos_ = nameStop;
  for (;;) {
    const std::size_t before = pos_;
    skipBlanks();
    if (pos_ >= text_.size()) return fail(text_.size(), "the file ends inside a start tag");
    const char c = text_[pos_];
    if (c == '>' || c == '/') {
      if (c == '/') {
        if (pos_ + 1 >= text_.size() || text_[pos_ + 1] != '>') {
          return fail(pos_, "'/' not followed by '>' in a start tag");
        }
        pendingEnd_ = true;
        ++pos_;
      }
      ++pos_;
      break;
    }
    if (before == pos_) return fail(pos_, "an attribute without a blank before it");
    const std::size_t attrStop = nameEnd(pos_, unusual);
    if (attrStop == pos_) return fail(pos_, "an invalid attribute name");
    const std::string_view name = text_.substr(pos_, attrStop - pos_);
    pos_ = attrStop;
    skipBlanks();
    if (pos_ >= text_.size() || text_[pos_] != '=') {
      return fail(pos_, "an attribute without '=' and a value");
    }
    ++pos_;
    skipBlanks();
    if (pos_ >= text_.size() || (text_[pos_] != '"' && text_[pos_] != '\'')) {
      return fail(pos_, "an attribute value without quotes");
    }
    // Up to the closing quote, a reference or a byte that may begin U+FFFE or U+FFFF, whichever
    // comes first; most values have none of the last two.
    const char* p = text_.data();
    const std::size_t n = text_.size();
    const bool doubleQuoted = text_[pos_] == '"';
    const std::size_t stop = doubleQuoted ? scan::findFirstOf<'"', '&', '\xEF'>(p, pos_ + 1, n)
                                          : scan::findFirstOf<'\'', '&', '\xEF'>(p, pos_ + 1, n);
    const bool plain = stop < n && p[stop] != '&' && p[stop] != '\xEF';
    const std::size_t close = plain          ? stop
                              : doubleQuoted ? scan::findFirstOf<'"'>(p, stop, n)
                                             : scan::findFirstOf<'\''>(p, stop, n);
    if (close >= n) return fail(pos_, "an unclosed attribute value");
    const std::size_t rawStart = pos_ + 1;
    const std::string_view raw = text_.substr(rawStart, close - rawStart);
    std::size_t unholdable = plain ? std::string_view::npos : rawNonCharacter(raw);
    if (plain || raw.find('&', stop - rawStart) == std::string_view::npos) {
      attributes_.push_back({name, raw, attrStop - name.size(), kNoOffset, !unusual});
    } else {
      const std::size_t from = storage_.size();
      unholdable = std::min(unholdable, appendExpanded(storage_, raw));
      expanded_.push_back({attributes_.size(), from, storage_.size() - from});
      attributes_.push_back({name, {}, attrStop - name.size(), kNoOffset, !unusual});
    }
    if (unholdable != std::string_view::npos) {
      attributes_.back().unholdableAt = rawStart + unholdable;
    }
    plainAttributes_ = plainAttributes_ && !unusual && unholdable == std::string_view::npos;
    pos_ = close + 1;
  }
  for (const Expanded& e : expanded_) {
    attributes_[e.attribute].value = std::string_view(storage_).substr(e.from, e.size);
  }
  seenRoot_ = true;
  names_.emplace_back(text_.substr(nameStart, nameStop - nameStart));
  current_ = names_.back().c_str();
  return last_ = Event::StartElement;
}

PullParser::Event PullParser::endTag() {
  const std::size_t nameStart = pos_ + 2;
  bool unusual = false;
  const std::size_t nameStop = nameEnd(nameStart, unusual);
  if (names_.empty()) return fail(start_, "an end tag without its start tag");
  const std::string_view name = text_.substr(nameStart, nameStop - nameStart);
  if (name != names_.back()) {
    return fail(start_, "the end tag \"" + std::string(name) + "\" does not close \"" +
                            names_.back() + "\"");
  }
  pos_ = nameStop;
  skipBlanks();
  if (pos_ >= text_.size() || text_[pos_] != '>') return fail(start_, "an unclosed end tag");
  ++pos_;
  closed_ = std::move(names_.back());
  names_.pop_back();
  current_ = closed_.c_str();
  return last_ = Event::EndElement;
}

}  // namespace vantorel::xml

namespace vantorel::xml {

namespace {

// From inside a start tag, the place just after its '>', or n; closed tells whether it was
// "/>". Quoted values may hold '>' and the other quote: an odd number of '"' passed means
// inside a double-quoted value, and a value in single quotes is passed over whole.
std::size_t startTagEnd(const char* p, std::size_t i, std::size_t n, bool& closed) {
  bool inDoubleQuotes = false;
  for (;;) {
    const std::size_t stop = scan::findFirstOfCountingOdd<'"', '>', '\''>(p, i, n, inDoubleQuotes);
    if (stop >= n) return n;
    if (p[stop] == '>' && !inDoubleQuotes) {
      closed = p[stop - 1] == '/';
      return stop + 1;
    }
    if (p[stop] == '\'' && !inDoubleQuotes) {
      const std::size_t close = scan::findFirstOf<'\''>(p, stop + 1, n);
      if (close >= n) return n;
      i = close + 1;
    } else {
      i = stop + 1;
    }
  }
}

}  // namespace

std::size_t countChildNodes(std::string_view text, std::size_t from) {
  std::size_t count = 0;
  std::size_t depth = 0;
  std::size_t i = from;
  const std::size_t n = text.size();
  const auto skipTo = [&](std::string_view close) {
    const std::size_t end = text.find(close, i);
    i = end == std::string_view::npos ? n : end + close.size();
  };
  while (i < n) {
    const std::size_t lt = text.find('<', i);
    const std::size_t end = lt == std::string_view::npos ? n : lt;
    if (depth == 0) {
      for (std::size_t k = i; k < end; ++k) {
        if (!isXmlBlank(text[k])) {
          ++count;
          break;
        }
      }
    }
    i = end;
    if (i >= n) break;
    const std::string_view rest = text.substr(i);
    if (rest.starts_with("<!--")) {
      i += 4;
      skipTo("-->");
    } else if (rest.starts_with("<![CDATA[")) {
      if (depth == 0) ++count;
      i += 9;
      skipTo("]]>");
    } else if (rest.starts_with("<?")) {
      i += 2;
      skipTo("?>");
    } else if (rest.starts_with("</")) {
      if (depth == 0) break;
      --depth;
      i += 2;
      skipTo(">");
    } else if (rest.starts_with("<!")) {
      i += 2;
      skipTo(">");
    } else {
      if (depth == 0) ++count;
      bool closed = false;
      i = startTagEnd(text.data(), i + 1, n, closed);
      if (!closed) ++depth;
    }
  }
  return count;
}

}  // namespace vantorel::xml
