#include "foundation/locale_charset.hpp"

#include <exception>
#include <initializer_list>

#include "foundation/project_context.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/code_page.hpp"
#include "platform/text/strings.hpp"

namespace vantorel {

namespace {

struct CharsetRow {
  const char16_t* charset;
  std::initializer_list<int> codePages;
};

// EBCDIC and other code pages without an ISO charset (57002-57011 among them) are absent.
const CharsetRow kCharsets[] = {
    {u"iso-8859-1", {29001, 20106, 20277, 1142,  20278, 1143,  1147,  20273, 1141, 20871, 1149,
                     1148,  20280, 1144,  20284, 1145,  20285, 1146,  37,    1140, 861,   10079,
                     20108, 437,   20107, 20127, 850,   20105, 28591, 10000, 1252}},
    {u"iso-8859-2", {852, 28592, 10029, 1250, 870}},
    {u"iso-8859-3", {28593}},
    {u"iso-8859-4", {775, 28594, 1257}},
    {u"iso-8859-5", {866, 28595, 20866, 21866, 10007, 1251, 20880, 21025, 1026}},
    {u"iso-8859-6", {708, 720, 28596, 10004, 1256, 20420}},
    {u"iso-8859-7", {737, 28597, 10006, 1253, 869, 875, 20423}},
    {u"iso-8859-8", {862, 38598, 28598, 10005, 1255, 20424}},
    {u"iso-8859-9", {20905, 857, 28599, 10081, 1254}},
    {u"iso-8859-15", {28605}},
    {u"gb2312", {51936, 936, 52936, 10008, 50935}},
    {u"big5", {950, 20000, 20002, 10002, 50937}},
    {u"shift_jis", {50930, 20290, 50931, 51932, 50220, 50222, 50221, 10001, 932, 50939}},
    {u"euc-kr", {50933, 20833, 949, 51949, 50225, 1361, 10003}},
    {u"windows-874", {20838, 874}},
    {u"windows-1258", {1258}},
    {u"utf-16", {1200, 1201}},
    {u"utf-7", {65000}},
    {u"utf-8", {65001}},
};

}  // namespace

void InitLocaleCharset() {
  projectContext().systemCodePage = Variant(toU16(systemCodePage()));
  projectContext().systemCharset = toString(CodePageToCharset(projectContext().systemCodePage));
}

Variant CodePageToCharset(const Variant& codePage) {
  std::u16string text;
  try {
    text = toString(codePage);
  } catch (const std::exception&) {
    return Variant(std::u16string());
  }
  std::erase(text, u'\0');
  // The table is keyed by the exact decimal text: "0437" or "437.0" name no code page.
  const std::u16string_view key = trimBlanks(text);
  for (const CharsetRow& row : kCharsets) {
    for (int cp : row.codePages) {
      if (key == toU16(cp)) return Variant(std::u16string(row.charset));
    }
  }
  return Variant(std::u16string());
}

}  // namespace vantorel
