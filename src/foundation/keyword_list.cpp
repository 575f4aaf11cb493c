#include "foundation/keyword_list.hpp"

#include <optional>
#include <string>

#include "foundation/captions.hpp"
#include "foundation/product.hpp"
#include "foundation/project_context.hpp"
#include "platform/automation/class_info.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/unicode.hpp"
#include "platform/xml/attributes.hpp"

namespace vantorel {

const ClassInfo& AGPKeyword::classInfo() const noexcept {
  return MemberTable<AGPKeyword>::get(u"AGPKeyword");
}

bool AGPKeyword::IsKeyword(const std::u16string& k) const {
  const std::u16string key = toLower(k);
  for (const std::u16string& word : lowerWords_) {
    if (word == key) return true;
  }
  return false;
}

Expected<> AGPKeyword::load(const std::u16string& path) {
  const std::optional<KeywordFileFault> fault = addWordsFrom(path);
  const bool followsFailure = lastLoadFailed_;
  lastLoadFailed_ = fault.has_value();
  if (!fault) return {};
  Failure failure{{}, static_cast<std::int32_t>(*fault)};
  if (*fault == KeywordFileFault::Unreadable && !followsFailure) {
    failure.text = u"Load keyword file \"" + path + u"\" failed. Please check your keyword file.";
  }
  return failure;
}

std::optional<KeywordFileFault> AGPKeyword::addWordsFrom(const std::u16string& path) {
  xml::Document doc;
  if (xml::parseFile(doc, path, xml::ReadMode::Normalised)) return KeywordFileFault::Unreadable;
  const xml::Node root = doc.document_element();
  if (toLower(xml::nameOf(root)) != toLower(keywordFileRootName())) {
    return KeywordFileFault::WrongRoot;
  }
  for (const xml::Node child : root.children()) {
    if (child.type() != xml::kElementNode || !equalsNoCase(xml::nameOf(child), u"keyword")) {
      continue;
    }
    std::u16string word = xml::attributeTextNoCase(child, u"value");
    bool held = false;
    for (const std::u16string& w : words_) {
      if (w == word) {
        held = true;
        break;
      }
    }
    if (held) continue;
    lowerWords_.push_back(toLower(word));
    words_.push_back(std::move(word));
  }
  return std::nullopt;
}

AGPKeyword& SharedKeywords() {
  return sharedObject<AGPKeyword>(projectContext().keywords);
}

std::u16string keywordFileRootName() {
  return StripSpacesAndSlashes(kProductName) + u".keyword";
}

}  // namespace vantorel
