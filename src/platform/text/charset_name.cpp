#include "platform/text/charset_name.hpp"

#include <string>

#include "platform/text/case_fold.hpp"
#include "platform/text/code_page.hpp"

namespace vantorel {

namespace {

struct CharsetName {
  std::u16string_view name;
  int codePage;
};

constexpr CharsetName kCharsets[] = {
    {u"unicode", kCodePageUtf16Le},
    {u"utf-16", kCodePageUtf16Le},
    {u"utf-16le", kCodePageUtf16Le},
    {u"unicodefffe", kCodePageUtf16Be},
    {u"utf-16be", kCodePageUtf16Be},
    {u"utf-8", kCodePageUtf8},
    {u"x-unicode20utf8", kCodePageUtf8},
    {u"us-ascii", kCodePageAscii},
    {u"ascii", kCodePageAscii},
    {u"iso-8859-1", kCodePageLatin1},
    {u"latin1", kCodePageLatin1},
    {u"iso-8859-2", 28592},
    {u"iso-8859-3", 28593},
    {u"iso-8859-4", 28594},
    {u"iso-8859-5", 28595},
    {u"iso-8859-6", 28596},
    {u"iso-8859-7", 28597},
    {u"iso-8859-8", 28598},
    {u"iso-8859-9", 28599},
    {u"iso-8859-13", 28603},
    {u"iso-8859-15", 28605},
    {u"ibm437", 437},
    {u"ibm850", 850},
    {u"ibm852", 852},
    {u"cp866", 866},
    {u"ibm866", 866},
    {u"windows-874", 874},
    {u"shift_jis", 932},
    {u"gb2312", 936},
    {u"gbk", 936},
    {u"ks_c_5601-1987", 949},
    {u"big5", 950},
    {u"koi8-r", 20866},
    {u"koi8-u", 21866},
    {u"euc-jp", 51932},
    {u"euc-kr", 51949},
    {u"gb18030", 54936},
    {u"iso-2022-jp", 50220},
    {u"macintosh", 10000},
};

}  // namespace

int codePageOfCharset(std::u16string_view charset) {
  for (const auto& entry : kCharsets) {
    if (equalsNoCase(entry.name, charset)) return entry.codePage;
  }
  // "windows-1251", "cp850", "ibm852", "x-cp1250": the number is the code page.
  const std::u16string lower = toLower(charset);
  for (std::u16string_view prefix : {u"windows-", u"x-cp", u"cp", u"ibm"}) {
    if (!lower.starts_with(prefix)) continue;
    const std::u16string_view digits = std::u16string_view(lower).substr(prefix.size());
    if (digits.empty() || digits.size() > 5) return 0;
    int codePage = 0;
    for (char16_t c : digits) {
      if (c < u'0' || c > u'9') return 0;
      codePage = codePage * 10 + (c - u'0');
    }
    return codePage;
  }
  return 0;
}

}  // namespace vantorel
