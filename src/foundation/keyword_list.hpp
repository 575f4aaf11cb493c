#pragma once
// AGPKeyword: the reserved words that generated script identifiers must avoid, read from the
// keyword file (root element "<product name>.keyword", one <keyword value="..."/> per word).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/automation/expected.hpp"
#include "platform/automation/object.hpp"

namespace vantorel {

// Why a keyword file added no words (the number of a failed load).
enum class KeywordFileFault : std::int32_t {
  Unreadable = 1,  // missing, unreadable or not well-formed
  WrongRoot = 2,   // a document of another kind
};

class AGPKeyword : public Object {
 public:
  const ClassInfo& classInfo() const noexcept override;

  // Exposed for scripts; nothing sets it.
  std::int16_t curIndex() const noexcept { return 0; }
  std::int32_t Count() const noexcept { return static_cast<std::int32_t>(words_.size()); }
  // Without regard to case.
  bool IsKeyword(const std::u16string& k) const;
  // Adds the file's words to those held (never removes any); shows nothing. A file that cannot
  // be read or parsed, or one of another kind, adds nothing and fails with its KeywordFileFault
  // as the number. The failure's text is what the user is to be told: for a file that cannot be
  // read, unless the previous load failed too (a batch does not stack up boxes); else empty.
  Expected<> load(const std::u16string& path);
  // Adds the file's words, keeping no record of the outcome: the fault when it added nothing.
  std::optional<KeywordFileFault> addWordsFrom(const std::u16string& path);

  // The words in the order they were added.
  const std::vector<std::u16string>& words() const noexcept { return words_; }

 private:
  std::vector<std::u16string> words_;
  std::vector<std::u16string> lowerWords_;
  bool lastLoadFailed_ = false;
};

// The thread's one list, created empty on first use and never released by the engine.
AGPKeyword& SharedKeywords();

// For the entry points that load a keyword file: the box that tells of a failed load, when the
// failure has a text to tell.
void showKeywordLoadFailure(const Failure& failure);

// The root element name keyword files must have: "Vantorel.keyword".
std::u16string keywordFileRootName();

}  // namespace vantorel
