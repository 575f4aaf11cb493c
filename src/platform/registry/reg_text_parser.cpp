#include "platform/registry/reg_text_parser.hpp"

#include <cstdint>
#include <vector>

#include "platform/registry/reg_error.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel::reg {

namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool startsWithNoCase(std::string_view s, std::size_t at, std::string_view prefix) {
  if (s.size() - at < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (asciiLower(s[at + i]) != prefix[i]) return false;
  }
  return true;
}

// Length of the valid UTF-8 sequence at s[i], 0 when it is not one (overlong forms, surrogates
// and code points above U+10FFFF are refused).
std::size_t utf8SequenceLength(std::string_view s, std::size_t i) {
  auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  unsigned char b0 = byte(i);
  if (b0 < 0x80) return 1;
  std::size_t length;
  unsigned char low = 0x80, high = 0xBF;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    length = 2;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    length = 3;
    if (b0 == 0xE0) low = 0xA0;
    if (b0 == 0xED) high = 0x9F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    length = 4;
    if (b0 == 0xF0) low = 0x90;
    if (b0 == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (s.size() - i < length) return 0;
  if (byte(i + 1) < low || byte(i + 1) > high) return 0;
  for (std::size_t k = 2; k < length; ++k) {
    if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
  }
  return length;
}

class Parser {
 public:
  Parser(std::string_view text, std::u16string_view rootName, std::string_view fileName)
      : text_(text), rootName_(rootName), file_(fileName) {}

  RegKey run() {
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") text_.remove_prefix(3);
    splitLines();
    checkEncoding();
    RegKey root;
    std::size_t n = 0;
    while (n < lines_.size() && isBlankLine(lines_[n])) ++n;
    if (n == lines_.size()) return root;
    std::string_view first = trimmed(lines_[n]);
    if (first != kHeader) {
      fail(n, firstNonBlank(lines_[n]), "expected the header line '" + std::string(kHeader) + "'");
    }
    RegKey* current = nullptr;
    for (++n; n < lines_.size(); ++n) {
      std::string_view line = lines_[n];
      std::size_t i = firstNonBlank(line);
      if (i == line.size() || line[i] == ';') continue;
      if (line[i] == '[') {
        current = &parseSection(root, n, i);
      } else if (line[i] == '"' || line[i] == '@') {
        if (!current) fail(n, i, "a value must follow a [key] line");
        parseValue(*current, n, i);
      } else {
        fail(n, i, "expected a [key] line, a value, or a ';' comment");
      }
    }
    return root;
  }

 private:
  [[noreturn]] void fail(std::size_t lineIndex, std::size_t byteOffset, const std::string& reason) {
    std::string_view line = lines_[lineIndex];
    std::size_t column = 1;
    for (std::size_t k = 0; k < byteOffset && k < line.size(); ++k) {
      if ((static_cast<unsigned char>(line[k]) & 0xC0) != 0x80) ++column;
    }
    throw RegParseError(std::string(file_), lineIndex + 1, column, reason);
  }

  void splitLines() {
    std::size_t start = 0;
    while (start <= text_.size()) {
      std::size_t end = text_.find('\n', start);
      if (end == std::string_view::npos) end = text_.size();
      std::string_view line = text_.substr(start, end - start);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      lines_.push_back(line);
      start = end + 1;
    }
  }

  void checkEncoding() {
    for (std::size_t n = 0; n < lines_.size(); ++n) {
      std::string_view line = lines_[n];
      for (std::size_t i = 0; i < line.size();) {
        if (line[i] == '\0') fail(n, i, "NUL character");
        if (line[i] == '\r') fail(n, i, "carriage return inside a line");
        std::size_t length = utf8SequenceLength(line, i);
        if (length == 0) fail(n, i, "invalid UTF-8");
        i += length;
      }
    }
  }

  static bool isBlankLine(std::string_view line) { return firstNonBlank(line) == line.size(); }

  static std::size_t firstNonBlank(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && isBlank(line[i])) ++i;
    return i;
  }

  static std::string_view trimmed(std::string_view line) {
    std::size_t i = firstNonBlank(line);
    std::size_t end = line.size();
    while (end > i && isBlank(line[end - 1])) --end;
    return line.substr(i, end - i);
  }

  void expectLineEnd(std::size_t n, std::size_t i) {
    std::string_view line = lines_[n];
    while (i < line.size() && isBlank(line[i])) ++i;
    if (i < line.size()) fail(n, i, "unexpected text after the value");
  }

  bool rootMatches(std::u16string_view name) const {
    if (equalsNoCase(name, rootName_)) return true;
    static constexpr std::pair<std::u16string_view, std::u16string_view> kShort[] = {
        {u"HKEY_CLASSES_ROOT", u"HKCR"},
        {u"HKEY_CURRENT_USER", u"HKCU"},
        {u"HKEY_LOCAL_MACHINE", u"HKLM"},
        {u"HKEY_USERS", u"HKU"},
        {u"HKEY_CURRENT_CONFIG", u"HKCC"}};
    for (const auto& [full, abbreviation] : kShort) {
      if (equalsNoCase(full, rootName_) && equalsNoCase(abbreviation, name)) return true;
    }
    return false;
  }

  RegKey& parseSection(RegKey& root, std::size_t n, std::size_t open) {
    std::string_view line = lines_[n];
    std::size_t close = line.rfind(']');
    if (close == std::string_view::npos || close < open) fail(n, line.size(), "missing ']'");
    for (std::size_t k = close + 1; k < line.size(); ++k) {
      if (!isBlank(line[k])) fail(n, k, "unexpected text after ']'");
    }
    std::size_t start = open + 1;
    if (start < close && line[start] == '-') {
      fail(n, start, "a store cannot hold key deletions ('[-')");
    }
    std::string_view path = line.substr(start, close - start);
    std::size_t slash = path.find('\\');
    std::string_view hive = path.substr(0, slash);
    if (!rootMatches(fromUtf8(hive))) {
      fail(n, start, "the key lies outside " + toUtf8(rootName_));
    }
    RegKey* key = &root;
    while (slash != std::string_view::npos) {
      std::size_t partStart = slash + 1;
      slash = path.find('\\', partStart);
      std::string_view part = path.substr(
          partStart, slash == std::string_view::npos ? std::string_view::npos : slash - partStart);
      if (part.empty()) fail(n, start + partStart, "empty key name");
      try {
        key = &key->ensureChild(fromUtf8(part));
      } catch (const RegParseError&) {
        throw;
      } catch (const RegStoreError& e) {
        fail(n, start + partStart, e.what());
      }
    }
    return *key;
  }

  // The text between quotes at line[i] == '"'; i ends after the closing quote.
  std::string parseQuoted(std::size_t n, std::size_t& i) {
    std::string_view line = lines_[n];
    std::string out;
    ++i;
    for (;;) {
      if (i >= line.size()) fail(n, i, "missing closing '\"'");
      char c = line[i];
      if (c == '"') {
        ++i;
        return out;
      }
      if (c == '\\') {
        if (i + 1 >= line.size() || (line[i + 1] != '\\' && line[i + 1] != '"')) {
          fail(n, i, "unknown escape; only \\\\ and \\\" are allowed");
        }
        out.push_back(line[i + 1]);
        i += 2;
        continue;
      }
      out.push_back(c);
      ++i;
    }
  }

  // Reads hex digits at line[i] (at most maxDigits); i ends after them.
  std::uint32_t parseHexNumber(std::size_t n, std::size_t& i, std::size_t maxDigits,
                               const char* what) {
    std::string_view line = lines_[n];
    std::uint32_t value = 0;
    std::size_t digits = 0;
    while (i < line.size() && hexDigit(line[i]) >= 0) {
      if (++digits > maxDigits) fail(n, i, std::string("too many digits in ") + what);
      value = value * 16 + static_cast<std::uint32_t>(hexDigit(line[i]));
      ++i;
    }
    if (digits == 0) fail(n, i, std::string("expected hex digits for ") + what);
    return value;
  }

  bool continuesOnNextLine(std::string_view line, std::size_t i) const {
    if (i >= line.size() || line[i] != '\\') return false;
    for (std::size_t k = i + 1; k < line.size(); ++k) {
      if (!isBlank(line[k])) return false;
    }
    return true;
  }

  // The byte list from line[i]; n ends on the value's last line.
  std::vector<std::uint8_t> parseBytes(std::size_t& n, std::size_t i) {
    enum class State { Start, AfterByte, AfterComma } state = State::Start;
    std::vector<std::uint8_t> bytes;
    for (;;) {
      std::string_view line = lines_[n];
      while (i < line.size() && isBlank(line[i])) ++i;
      if (i == line.size()) {
        if (state == State::AfterComma) fail(n, i, "expected a hex byte after ','");
        return bytes;
      }
      if (state != State::AfterByte && continuesOnNextLine(line, i)) {
        if (n + 1 >= lines_.size()) fail(n, i, "the value continues past the end of the file");
        ++n;
        i = 0;
        continue;
      }
      if (state == State::AfterByte) {
        if (line[i] != ',') fail(n, i, "expected ',' between bytes");
        state = State::AfterComma;
        ++i;
        continue;
      }
      bytes.push_back(static_cast<std::uint8_t>(parseHexNumber(n, i, 2, "a byte")));
      state = State::AfterByte;
    }
  }

  void parseValue(RegKey& key, std::size_t& n, std::size_t i) {
    std::string_view line = lines_[n];
    const std::size_t nameLine = n;
    const std::size_t nameStart = i;
    RegValue value;
    if (line[i] == '@') {
      ++i;
    } else {
      value.name = fromUtf8(parseQuoted(n, i));
    }
    while (i < line.size() && isBlank(line[i])) ++i;
    if (i >= line.size() || line[i] != '=') fail(n, i, "expected '=' after the value name");
    ++i;
    while (i < line.size() && isBlank(line[i])) ++i;
    if (i < line.size() && line[i] == '"') {
      value.type = kRegSz;
      value.data = stringData(fromUtf8(parseQuoted(n, i)));
      expectLineEnd(n, i);
    } else if (startsWithNoCase(line, i, "dword:")) {
      i += 6;
      value.type = kRegDword;
      value.data = dwordData(parseHexNumber(n, i, 8, "a dword"));
      expectLineEnd(n, i);
    } else if (startsWithNoCase(line, i, "hex:")) {
      value.type = kRegBinary;
      value.data = parseBytes(n, i + 4);
    } else if (startsWithNoCase(line, i, "hex(")) {
      i += 4;
      value.type = parseHexNumber(n, i, 8, "a value type");
      if (i + 1 >= line.size() || line[i] != ')' || line[i + 1] != ':') {
        fail(n, i, "expected '):' after the value type");
      }
      value.data = parseBytes(n, i + 2);
    } else if (i < line.size() && line[i] == '-') {
      fail(n, i, "a store cannot hold value deletions ('=-')");
    } else {
      fail(n, i, "expected a quoted string, dword: or hex: after '='");
    }
    try {
      key.setValue(std::move(value));
    } catch (const RegStoreError& e) {
      fail(nameLine, nameStart, e.what());
    }
  }

  std::string_view text_;
  std::u16string_view rootName_;
  std::string_view file_;
  std::vector<std::string_view> lines_;
};

}  // namespace

RegKey parseRegText(std::string_view text, std::u16string_view rootName,
                    std::string_view fileName) {
  return Parser(text, rootName, fileName).run();
}

}  // namespace vantorel::reg
