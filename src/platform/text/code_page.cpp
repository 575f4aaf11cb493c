#include "platform/text/code_page.hpp"

#include <errno.h>
#include <iconv.h>

#include <array>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/text/unicode.hpp"

namespace vantorel {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

// 0x80..0x9F of Windows-1252; the rest of the page is Latin-1. The five bytes Windows leaves
// unassigned pass through as the C1 controls of the same value.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t decode1252(unsigned char b) {
  return (b >= 0x80 && b <= 0x9F) ? kWindows1252High[b - 0x80] : char16_t(b);
}

int encode1252(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
  for (std::size_t i = 0; i < kWindows1252High.size(); ++i) {
    if (kWindows1252High[i] == c) return static_cast<int>(0x80 + i);
  }
  return -1;
}

bool isHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

// Units that make one character: a surrogate pair counts once, so it becomes one '?'.
std::size_t characterLength(std::u16string_view text, std::size_t i) {
  return (isHighSurrogate(text[i]) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) ? 2 : 1;
}

std::string iconvName(int codePage) {
  switch (codePage) {
    case 1200:
      return "UTF-16LE";
    case 1201:
      return "UTF-16BE";
    case 10000:
      return "MACINTOSH";
    case 12000:
      return "UTF-32LE";
    case 12001:
      return "UTF-32BE";
    case 20866:
      return "KOI8-R";
    case 20932:
    case 51932:
      return "EUC-JP";
    case 21866:
      return "KOI8-U";
    case 28603:
      return "ISO-8859-13";
    case 28605:
      return "ISO-8859-15";
    case 50220:
      return "ISO-2022-JP";
    case 51949:
      return "EUC-KR";
    case 54936:
      return "GB18030";
    default:
      break;
  }
  if (codePage >= 28592 && codePage <= 28599) return "ISO-8859-" + std::to_string(codePage - 28590);
  // Below 10000 Windows numbers its pages as IBM and glibc does ("CP1250", "CP437", "CP850").
  if (codePage > 0 && codePage < 10000) return "CP" + std::to_string(codePage);
  return {};
}

class Iconv {
 public:
  Iconv(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
  ~Iconv() {
    if (ok()) iconv_close(handle_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  bool ok() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return handle_; }

 private:
  iconv_t handle_;
};

void appendUtf16Le(std::u16string& out, const char* bytes, std::size_t length) {
  for (std::size_t i = 0; i + 1 < length; i += 2) {
    out.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                        (static_cast<unsigned char>(bytes[i + 1]) << 8)));
  }
}

std::u16string decodeWithIconv(std::string_view bytes, const Iconv& cd) {
  std::u16string out;
  out.reserve(bytes.size());
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  char buffer[4096];
  while (inLeft > 0) {
    char* dst = buffer;
    std::size_t dstLeft = sizeof buffer;
    const std::size_t r = iconv(cd.get(), &in, &inLeft, &dst, &dstLeft);
    appendUtf16Le(out, buffer, static_cast<std::size_t>(dst - buffer));
    if (r != static_cast<std::size_t>(-1)) break;
    if (errno == E2BIG) continue;
    out.push_back(kReplacement);
    if (errno == EINVAL) break;  // truncated sequence at the end
    ++in;                        // EILSEQ: skip the byte that cannot start a character
    --inLeft;
  }
  // Stateful encodings may owe a final shift sequence.
  char* dst = buffer;
  std::size_t dstLeft = sizeof buffer;
  iconv(cd.get(), nullptr, nullptr, &dst, &dstLeft);
  appendUtf16Le(out, buffer, static_cast<std::size_t>(dst - buffer));
  return out;
}

std::string encodeWithIconv(std::u16string_view text, const Iconv& cd) {
  std::string units;
  units.reserve(text.size() * 2);
  for (char16_t c : text) {
    units.push_back(static_cast<char>(c & 0xFF));
    units.push_back(static_cast<char>(c >> 8));
  }
  std::string out;
  out.reserve(text.size());
  char* in = units.data();
  std::size_t inLeft = units.size();
  char buffer[4096];
  while (inLeft > 0) {
    char* dst = buffer;
    std::size_t dstLeft = sizeof buffer;
    const std::size_t r = iconv(cd.get(), &in, &inLeft, &dst, &dstLeft);
    out.append(buffer, static_cast<std::size_t>(dst - buffer));
    if (r != static_cast<std::size_t>(-1)) break;
    if (errno == E2BIG) continue;
    // A character the page lacks (or a lone surrogate): one '?' for the whole character.
    const std::size_t unitIndex = (units.size() - inLeft) / 2;
    const std::size_t skip = unitIndex < text.size() ? characterLength(text, unitIndex) * 2 : 2;
    out.push_back('?');
    if (skip > inLeft) break;
    in += skip;
    inLeft -= skip;
  }
  char* dst = buffer;
  std::size_t dstLeft = sizeof buffer;
  iconv(cd.get(), nullptr, nullptr, &dst, &dstLeft);
  out.append(buffer, static_cast<std::size_t>(dst - buffer));
  return out;
}

bool isBuiltIn(int codePage) {
  return codePage == kCodePageWindows1252 || codePage == kCodePageLatin1 ||
         codePage == kCodePageAscii || codePage == kCodePageUtf8;
}

}  // namespace

bool isSupportedCodePage(int codePage) noexcept {
  if (isBuiltIn(codePage)) return true;
  try {
    const std::string name = iconvName(codePage);
    if (name.empty()) return false;
    Iconv decoder("UTF-16LE", name.c_str());
    Iconv encoder(name.c_str(), "UTF-16LE");
    return decoder.ok() && encoder.ok();
  } catch (...) {
    return false;
  }
}

std::u16string decodeCodePage(std::string_view bytes, int codePage) {
  // The single-byte code pages make one unit a byte, written in place (templates and compiled
  // templates are read this way, tens of thousands of characters a file).
  const auto eachByte = [bytes](auto decode) {
    std::u16string out(bytes.size(), u'\0');
    char16_t* at = out.data();
    for (char c : bytes) *at++ = decode(static_cast<unsigned char>(c));
    return out;
  };
  switch (codePage) {
    case kCodePageUtf8:
      return fromUtf8(bytes);
    case kCodePageLatin1:
      return eachByte([](unsigned char b) { return char16_t(b); });
    case kCodePageAscii:
      return eachByte([](unsigned char b) { return b < 0x80 ? char16_t(b) : kReplacement; });
    case kCodePageWindows1252:
      break;
    default: {
      const std::string name = iconvName(codePage);
      if (!name.empty()) {
        Iconv cd("UTF-16LE", name.c_str());
        if (cd.ok()) return decodeWithIconv(bytes, cd);
      }
      break;
    }
  }
  return eachByte([](unsigned char b) { return b < 0x80 ? char16_t(b) : decode1252(b); });
}

std::string encodeCodePage(std::u16string_view text, int codePage) {
  std::string out;
  char16_t limit = 0;
  switch (codePage) {
    case kCodePageUtf8:
      return toUtf8(text);
    case kCodePageLatin1:
      limit = 0xFF;
      break;
    case kCodePageAscii:
      limit = 0x7F;
      break;
    case kCodePageWindows1252:
      break;
    default: {
      const std::string name = iconvName(codePage);
      if (!name.empty()) {
        Iconv cd(name.c_str(), "UTF-16LE");
        if (cd.ok()) return encodeWithIconv(text, cd);
      }
      break;
    }
  }
  // One byte a character, so never more bytes than units. Generated pages are nearly all
  // ASCII, which each of these pages keeps as it is.
  out.resize(text.size());
  std::size_t n = 0;
  for (std::size_t i = 0; i < text.size();) {
    const char16_t c = text[i];
    if (c < 0x80) {
      out[n++] = static_cast<char>(c);
      ++i;
      continue;
    }
    const std::size_t length = characterLength(text, i);
    int b;
    if (limit != 0) {
      b = (length == 1 && c <= limit) ? c : -1;
    } else {
      b = length == 1 ? encode1252(c) : -1;
    }
    out[n++] = b < 0 ? '?' : static_cast<char>(b);
    i += length;
  }
  out.resize(n);
  return out;
}

int systemCodePage() noexcept {
  const char* value = std::getenv("VANTOREL_CODEPAGE");
  if (!value || !*value) return kCodePageWindows1252;
  int codePage = 0;
  const char* end = value + std::strlen(value);
  const auto [ptr, ec] = std::from_chars(value, end, codePage);
  if (ec != std::errc{} || ptr != end || codePage <= 0) return kCodePageWindows1252;
  return codePage;
}

std::u16string fromAnsi(std::string_view bytes) {
  return decodeCodePage(bytes, systemCodePage());
}

std::string toAnsi(std::u16string_view text) {
  return encodeCodePage(text, systemCodePage());
}

}  // namespace vantorel
