#pragma once
// AGParser: splits template text into literal text and the tagged blocks between "<!--##" and
// "##-->": code blocks, and the typed blocks "=" (expression), "~" (expression written with the
// indentation of its line), "@" (phrase by constant key) and "$" (phrase by computed key).
// Callers walk the blocks through the BlockID cursor. A malformed marker (an unclosed or nested
// block, or an "=", "~" or "$" block without an expression) stops the parse with a message
// naming its line and column (UTF-16 code units, from 1).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/automation/object.hpp"
#include "platform/automation/variant.hpp"

namespace vantorel {

enum AGBlockType : std::int32_t {
  kBlockCode = 1,
  kBlockExpression = 2,  // "="
  kBlockIndented = 3,    // "~"
  kBlockPhrase = 4,      // "@"
  kBlockPhraseExpr = 5,  // "$"
  kBlockText = 6,
};

// One block. Its texts are views into the parser's source, valid until the next Parse.
struct AGBlock {
  std::int32_t BlockType = 0;
  std::u16string_view BlockName;
  std::int32_t Start = 0;  // 1-based position of the content in the source
  std::int32_t Length = 0;
  std::u16string_view BlockIndent;
};

// Why a parse stopped: the message LastErrorText gets, and for a nested block the text of the
// box that shows the source at once.
struct TemplateParseError {
  std::u16string message;
  std::u16string shown;
};

class AGParser final : public Object {
 public:
  AGParser();
  const ClassInfo& classInfo() const noexcept override;

  // The current block's fields; 0 or empty when the cursor is on no block.
  std::int32_t BlockType() const noexcept { return current().BlockType; }
  std::u16string BlockName() const { return std::u16string(current().BlockName); }
  std::u16string BlockValue() const { return std::u16string(blockValue(blockId_)); }
  std::u16string BlockIndent() const { return std::u16string(current().BlockIndent); }
  std::int32_t BlockID() const noexcept { return blockId_; }
  // Only 1 to Count are taken; any other value leaves the cursor where it is.
  void setBlockID(std::int32_t id) noexcept;
  std::int32_t Count() const noexcept { return static_cast<std::int32_t>(blocks_.size()) - 1; }

  // For scripts: what parse does; a failure shows its box and puts its message into
  // LastErrorText.
  void Parse(const std::u16string& sSrc);
  // For engine callers, showing nothing and leaving LastErrorText alone: the error when the text
  // does not parse (the blocks before the fault are kept).
  std::optional<TemplateParseError> parse(const std::u16string& sSrc);
  // A named section of a loaded template file with its includes expanded: a zero-based array of
  // strings, at least one piece. An expansion that stops early leaves its message in
  // LastErrorText.
  Variant GetSession(const std::u16string& sFileID, const std::u16string& sSessID);

  // For engine callers: the block at 1..Count (index 0 is the empty record) and its content.
  const AGBlock& block(std::int32_t index) const;
  std::u16string_view blockValue(std::int32_t index) const;
  const std::u16string& source() const noexcept { return source_; }

 private:
  const AGBlock& current() const noexcept;
  void appendText(std::size_t start, std::size_t length);
  TemplateParseError failAt(std::u16string_view what, std::size_t prefixLength) const;

  std::u16string source_;
  std::vector<AGBlock> blocks_;
  std::int32_t blockId_ = 0;
};

namespace templates {

// The name of the function a code block declares at the start of one of its lines (after a line
// break, indented with blanks only); empty when it declares none that way.
std::u16string_view declaredFunctionName(std::u16string_view content);
// The run of blanks and tabs that ends the text.
std::u16string_view trailingIndent(std::u16string_view text) noexcept;
// "***<what> at line N column C! Generation failed!" with the last lines (up to eleven) of the
// source's first `prefixLength` characters, the last of which ends at the offending character.
std::u16string blockErrorMessage(std::u16string_view what, std::u16string_view source,
                                 std::size_t prefixLength);
// The box a nested block shows at once; the message is the caller's to pass on.
void showParseError(const TemplateParseError& error);

}  // namespace templates

}  // namespace vantorel
