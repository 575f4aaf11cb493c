#include "foundation/captions.hpp"

#include "platform/automation/variant_convert.hpp"
#include "platform/text/strings.hpp"

namespace vantorel {

namespace {

bool isCaptionMarker(char16_t c) noexcept {
  return (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'<' || c == u'(' ||
         c == u'[' || c == u'{';
}

std::u16string splitCamel(std::u16string_view word) {
  std::u16string out;
  out.reserve(word.size() + 4);
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (i > 0 && isCaptionMarker(word[i]) && !isCaptionMarker(word[i - 1])) out.push_back(u' ');
    out.push_back(word[i]);
  }
  return out;
}

}  // namespace

std::u16string NameToCaption(std::u16string_view name) {
  std::u16string text(trimBlanks(name));
  for (char16_t& c : text) {
    if (c == u'-' || c == u'_') c = u' ';
  }
  while (text.find(u"  ") != std::u16string::npos) text = replaceAll(text, u"  ", u" ");
  std::vector<std::u16string> words = split(text, u" ");
  for (std::u16string& word : words) word = splitCamel(word);
  return join(words, u" ");
}

Variant SplitCamelWord(const Variant& word) {
  return Variant(splitCamel(toString(word)));
}

std::u16string StripSpacesAndSlashes(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    if (c != u'/' && c != u' ') out.push_back(c);
  }
  return out;
}

}  // namespace vantorel
