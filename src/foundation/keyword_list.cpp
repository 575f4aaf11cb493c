#include "foundation/keyword_list.hpp"

#include <exception>
#include <optional>
#include <string>

#include "foundation/captions.hpp"
#include "foundation/product.hpp"
#include "foundation/project_context.hpp"
#include "platform/automation/class_info.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/fs/files.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/unicode.hpp"
#include "platform/ui/ui.hpp"
#include "platform/xml/attributes.hpp"

namespace vantorel {

namespace {

constexpr char16_t kLoadFailed[] = u"Load keyword file failed!";
constexpr char16_t kInvalidFile[] = u"Keyword file is invalid!";

std::u16string pathText(const Variant& file) {
  try {
    return toString(file);
  } catch (const std::exception&) {
    return {};  // Null, an object without a value: no path
  }
}

void showLoadFailure(const std::u16string& path) {
  try {
    ui::messageBox(u"Load keyword file \"" + path + u"\" failed. Please check your keyword file.",
                   kProductTitle, ui::Buttons::OK, ui::Icon::Exclamation);
  } catch (const std::exception&) {
    // The box only informs; without it the load still reports its failure.
  }
}

}  // namespace

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

bool AGPKeyword::Load(const Variant& file) {
  const std::u16string path = pathText(file);
  const std::optional<KeywordFileFault> fault = addWordsFrom(path);
  if (!fault) {
    lastLoadError_.clear();
    return true;
  }
  if (*fault == KeywordFileFault::Unreadable) {
    // Only the first of a run of failures is shown, so a batch does not stack up boxes.
    if (lastLoadError_.empty()) showLoadFailure(path);
    lastLoadError_ = kLoadFailed;
  } else {
    lastLoadError_ = kInvalidFile;
  }
  return false;
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
