#pragma once
// AGPKeyword: the reserved words that generated script identifiers must avoid, read from the
// keyword file (root element "<product name>.keyword", one <keyword value="..."/> per word).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/automation/object.hpp"

namespace vantorel {

// Why a keyword file added no words.
enum class KeywordFileFault {
  Unreadable,  // missing, unreadable or not well-formed
  WrongRoot,   // a document of another kind
};

class AGPKeyword : public Object {
 public:
  const ClassInfo& classInfo() const noexcept override;

  // Exposed for scripts; nothing sets it.
  std::int16_t curIndex() const noexcept { return 0; }
  std::int32_t Count() const noexcept { return static_cast<std::int32_t>(words_.size()); }
  // Without regard to case.
  bool IsKeyword(const std::u16string& k) const;
  // Adds the file's words to those held (never removes any). A file that cannot be read or
  // parsed shows a message box, unless the previous load failed too; a file with another root
  // element adds nothing. True on success.
  bool Load(const Variant& file);
  // What Load does, showing nothing: the fault when the file added nothing.
  std::optional<KeywordFileFault> addWordsFrom(const std::u16string& path);

  // The words in the order they were added.
  const std::vector<std::u16string>& words() const noexcept { return words_; }

 private:
  std::vector<std::u16string> words_;
  std::vector<std::u16string> lowerWords_;
  std::u16string lastLoadError_;
};

// The thread's one list, created empty on first use and never released by the engine.
AGPKeyword& SharedKeywords();

// The root element name keyword files must have: "Vantorel.keyword".
std::u16string keywordFileRootName();

}  // namespace vantorel
