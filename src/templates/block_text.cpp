// Text rules of parsed blocks: the function a code block declares, the indentation in front of a
// "~" block, and the line and column of a malformed marker.
#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"
#include "templates/markers.hpp"
#include "templates/template_parser.hpp"

namespace vantorel::templates {

namespace {

constexpr std::u16string_view kFunction = u"function ";
constexpr std::u16string_view kCrLf = u"\r\n";
constexpr std::size_t kMaxErrorLines = 11;

// How far the search may step back when the window starting at a character does not match:
// a reverse Horspool search over "function ", letters folded.
std::size_t backStep(char16_t c) noexcept {
  const char16_t folded =
      c < 0x80 ? static_cast<char16_t>(c >= u'A' && c <= u'Z' ? c | 0x20 : c) : toLowerChar(c);
  switch (folded) {
    case u' ':
      return 8;
    case u'n':
      return 2;
    case u'o':
      return 6;
    case u'i':
      return 5;
    case u't':
      return 4;
    case u'c':
      return 3;
    case u'u':
      return 1;
    default:
      return kFunction.size();
  }
}

// The start of the last "Function " (any case) that ends within content[0, limit).
std::size_t findFunctionBefore(std::u16string_view content, std::size_t limit) {
  if (limit > content.size()) limit = content.size();
  if (limit < kFunction.size()) return kNotFound;
  for (std::size_t j = limit - kFunction.size();;) {
    if (content[j + kFunction.size() - 1] == u' ') {
      std::size_t i = 0;
      while (i + 1 < kFunction.size() && sameLetter(content[j + i], kFunction[i])) ++i;
      if (i + 1 == kFunction.size()) return j;
    }
    const std::size_t step = backStep(content[j]);
    if (j < step) return kNotFound;
    j -= step;
  }
}

// The index of the CR of the last CR LF lying wholly before `end`, or kNotFound. Candidates are
// asked for in falling order, so each answer is kept until a candidate lies at or before it:
// every character is scanned at most once, whatever the shape of the content.
class LineStarts {
 public:
  explicit LineStarts(std::u16string_view content) : content_(content) {}

  std::size_t lastCrLfBefore(std::size_t end) {
    if (valid_ && (found_ == kNotFound || found_ + 2 <= end)) return found_;
    valid_ = true;
    found_ = kNotFound;
    for (std::size_t k = end >= 2 ? end - 1 : 0; k-- > 0;) {
      if (content_[k] == u'\r' && content_[k + 1] == u'\n') {
        found_ = k;
        break;
      }
    }
    return found_;
  }

 private:
  std::u16string_view content_;
  bool valid_ = false;
  std::size_t found_ = kNotFound;
};

}  // namespace

std::u16string_view declaredFunctionName(std::u16string_view content) {
  LineStarts lines(content);
  // The first non-blank of the line starting at `lineStart`, kept for the line last asked about.
  std::size_t lineStart = kNotFound;
  std::size_t firstNonBlank = 0;
  std::size_t limit = content.size();
  for (;;) {
    const std::size_t p = findFunctionBefore(content, limit);
    if (p == kNotFound) return {};
    const std::size_t crlf = lines.lastCrLfBefore(p);
    // Without a line break in front, the text before it counts the "F" in, so a declaration on
    // the content's first line is never taken.
    const std::size_t from = crlf == kNotFound ? 0 : crlf + 2;
    const std::size_t to = crlf == kNotFound ? p + 1 : p;
    if (from != lineStart) {
      lineStart = from;
      firstNonBlank = from;
      while (firstNonBlank < content.size() && content[firstNonBlank] == u' ') ++firstNonBlank;
    }
    if (firstNonBlank >= to) {
      const std::size_t nameStart = p + kFunction.size() - 1;
      const std::size_t paren = content.find(u'(', p);
      if (paren == kNotFound) return {};
      return trimBlanks(content.substr(nameStart, paren - nameStart));
    }
    if (content[to - 1] != u' ' || content[firstNonBlank] == u'\'') {
      limit = p + 1;
      continue;
    }
    return {};
  }
}

std::u16string_view trailingIndent(std::u16string_view text) noexcept {
  std::size_t n = text.size();
  while (n > 0 && (text[n - 1] == u' ' || text[n - 1] == u'\t')) --n;
  return text.substr(n);
}

std::u16string blockErrorMessage(std::u16string_view what, std::u16string_view source,
                                 std::size_t prefixLength) {
  const std::u16string_view prefix = source.substr(0, prefixLength);
  std::size_t lineCount = 1;
  for (std::size_t at = prefix.find(kCrLf); at != kNotFound; at = prefix.find(kCrLf, at + 2)) {
    ++lineCount;
  }
  // The last lines, collected from the end.
  std::vector<std::u16string_view> lines;
  std::size_t end = prefix.size();
  while (lines.size() < kMaxErrorLines) {
    const std::size_t crlf = end >= 2 ? prefix.rfind(kCrLf, end - 2) : kNotFound;
    const std::size_t start = crlf == kNotFound ? 0 : crlf + 2;
    lines.push_back(prefix.substr(start, end - start));
    if (crlf == kNotFound) break;
    end = crlf;
  }
  std::reverse(lines.begin(), lines.end());
  std::u16string message = u"***" + std::u16string(what) + u" at line " +
                           toU16(static_cast<long long>(lineCount)) + u" column " +
                           toU16(static_cast<long long>(lines.back().size())) +
                           u"! Generation failed!\r\nError lines:";
  for (std::u16string_view line : lines) {
    message += kCrLf;
    message += line;
  }
  return message;
}

}  // namespace vantorel::templates
