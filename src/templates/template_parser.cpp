#include "templates/template_parser.hpp"

#include <cstddef>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "foundation/project_context.hpp"
#include "platform/automation/class_info.hpp"
#include "platform/automation/safe_array.hpp"
#include "platform/text/strings.hpp"
#include "platform/ui/ui.hpp"
#include "templates/markers.hpp"
#include "templates/section_expansion.hpp"

namespace vantorel {

namespace {

using templates::kBlockClose;
using templates::kBlockOpen;
using templates::kNotFound;

// The message box of a nested block shows the source; a huge one is cut so that the box stays
// readable and the terminal is not flooded.
constexpr std::size_t kMaxShownSource = 65536;

const AGBlock& emptyBlock() {
  static const AGBlock empty;
  return empty;
}

struct BlockEnd {
  std::size_t close = kNotFound;       // the first closer from the content on
  std::size_t nestedOpen = kNotFound;  // an opener before that closer
};

// One pass over a block's content for both of its ends. Every opener holds "##" and so does the
// closer, so the "#" characters lead to both: whichever comes first decides. After an opener,
// the closer is still looked for, since without one the block is incomplete rather than nested.
BlockEnd findBlockEnd(std::u16string_view src, std::size_t contentStart) {
  BlockEnd found;
  for (std::size_t hit = templates::findChar(src, u'#', contentStart); hit != kNotFound;
       hit = templates::findChar(src, u'#', hit + 1)) {
    if (hit >= contentStart + 4 && src.substr(hit - 4, kBlockOpen.size()) == kBlockOpen) {
      found.nestedOpen = hit - 4;
      found.close = templates::findMarker(src, kBlockClose, hit);
      return found;
    }
    if (src.substr(hit, kBlockClose.size()) == kBlockClose) {
      found.close = hit;
      return found;
    }
  }
  return found;
}

std::int32_t typeOfKind(char16_t kind) noexcept {
  switch (kind) {
    case u'=':
      return kBlockExpression;
    case u'~':
      return kBlockIndented;
    case u'@':
      return kBlockPhrase;
    case u'$':
      return kBlockPhraseExpr;
    default:
      return kBlockCode;
  }
}

bool needsExpression(std::int32_t type) noexcept {
  return type == kBlockExpression || type == kBlockIndented || type == kBlockPhraseExpr;
}

bool isBlank(std::u16string_view text) noexcept {
  for (const char16_t c : text) {
    if (c != u' ' && c != u'\t' && c != u'\r' && c != u'\n') return false;
  }
  return true;
}

std::int32_t pos32(std::size_t index) {
  return static_cast<std::int32_t>(index);
}

}  // namespace

AGParser::AGParser() : blocks_(1) {}

const ClassInfo& AGParser::classInfo() const noexcept {
  return MemberTable<AGParser>::get(u"AGParser");
}

void AGParser::setBlockID(std::int32_t id) noexcept {
  if (id >= 1 && id <= Count()) blockId_ = id;
}

const AGBlock& AGParser::current() const noexcept {
  if (blockId_ < 1 || blockId_ > Count()) return emptyBlock();
  return blocks_[static_cast<std::size_t>(blockId_)];
}

const AGBlock& AGParser::block(std::int32_t index) const {
  if (index < 0 || index > Count()) return emptyBlock();
  return blocks_[static_cast<std::size_t>(index)];
}

std::u16string_view AGParser::blockValue(std::int32_t index) const {
  const AGBlock& b = block(index);
  if (b.Start < 1 || b.Length <= 0) return {};
  return std::u16string_view(source_).substr(static_cast<std::size_t>(b.Start - 1),
                                             static_cast<std::size_t>(b.Length));
}

void AGParser::appendText(std::size_t start, std::size_t length) {
  AGBlock& b = blocks_.emplace_back();
  b.BlockType = kBlockText;
  b.Start = pos32(start + 1);
  b.Length = pos32(length);
  blockId_ = Count();
}

TemplateParseError AGParser::failAt(std::u16string_view what, std::size_t prefixLength) const {
  return {templates::blockErrorMessage(what, source_, prefixLength), {}};
}

void AGParser::Parse(const std::u16string& sSrc) {
  if (const std::optional<TemplateParseError> error = parse(sSrc)) {
    templates::showParseError(*error);
    projectContext().lastErrorText = error->message;
  }
}

std::optional<TemplateParseError> AGParser::parse(const std::u16string& sSrc) {
  source_ = sSrc;
  blocks_.assign(1, AGBlock());
  blockId_ = 0;
  const std::u16string_view src(source_);
  // Positions are 32-bit for scripts; a text beyond that is refused rather than miscounted.
  if (src.size() >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max() - 8)) {
    return TemplateParseError{u"***Template text too large (" +
                                  toU16(static_cast<long long>(src.size())) +
                                  u" characters)! Generation failed!",
                              {}};
  }
  std::size_t pos = 0;
  std::size_t tag = templates::findMarker(src, kBlockOpen, 0);
  while (tag != kNotFound) {
    if (tag > pos) appendText(pos, tag - pos);
    const std::size_t contentStart = tag + kBlockOpen.size();
    const char16_t kind = contentStart < src.size() ? src[contentStart] : u'\0';
    // The closer counts from the opener itself on, so "<!--##-->" closes at once and gives an
    // empty code block. Only the opener's last two characters can begin such a closer, so they
    // are looked at first and the search proper starts behind the opener.
    std::size_t end = kNotFound;
    for (std::size_t overlap = tag + 4; overlap < contentStart && end == kNotFound; ++overlap) {
      if (src.substr(overlap, kBlockClose.size()) == kBlockClose) end = overlap;
    }
    std::size_t nested = kNotFound;
    if (end == kNotFound) {
      const BlockEnd found = findBlockEnd(src, contentStart);
      end = found.close;
      nested = found.nestedOpen;
    }
    if (end == kNotFound) {
      return failAt(u"Incomplete Block", tag + 1);
    }
    if (nested != kNotFound) {
      std::u16string shown = u"Nested Block: ";
      if (src.size() > kMaxShownSource) {
        shown.append(src.substr(0, kMaxShownSource)).append(u"...");
      } else {
        shown.append(src);
      }
      TemplateParseError error = failAt(u"Nested Blocks found", nested + 1);
      error.shown = std::move(shown);
      return error;
    }
    const std::int32_t type = typeOfKind(kind);
    const std::size_t start = type == kBlockCode ? contentStart : contentStart + 1;
    const std::size_t length = end > start ? end - start : 0;
    // An expression block without an expression compiles into a broken script whose error
    // would name a line of the compiled function, not of the template.
    if (needsExpression(type) && isBlank(src.substr(start, length))) {
      return failAt(u"Empty Block", tag + 1);
    }
    AGBlock& b = blocks_.emplace_back();
    b.BlockType = type;
    b.Start = pos32(start + 1);
    b.Length = pos32(length);
    const std::u16string_view content = src.substr(start, length);
    if (type == kBlockCode) {
      b.BlockName = templates::declaredFunctionName(content);
    } else {
      b.BlockName = trimBlanks(content);
      if (type == kBlockIndented) {
        const AGBlock& before = blocks_[blocks_.size() - 2];
        if (before.BlockType == kBlockText) {
          b.BlockIndent = templates::trailingIndent(src.substr(
              static_cast<std::size_t>(before.Start - 1), static_cast<std::size_t>(before.Length)));
        }
      }
    }
    blockId_ = Count();
    pos = end + kBlockClose.size();
    // No opener starts before the closer (that would have been nested) or inside it.
    tag = templates::findMarker(src, kBlockOpen, pos);
  }
  if (pos < src.size()) appendText(pos, src.size() - pos);
  return std::nullopt;
}

Variant AGParser::GetSession(const std::u16string& sFileID, const std::u16string& sSessID) {
  templates::ExpandedSection expanded = templates::expandSection(sFileID, sSessID);
  if (!expanded.outcome)
    projectContext().lastErrorText = std::move(expanded.outcome.failure().text);
  std::vector<Variant> values;
  values.reserve(expanded.pieces.size());
  for (std::u16string& piece : expanded.pieces) values.emplace_back(std::move(piece));
  return Variant(SafeArray::fromValues(std::move(values), VarType::String));
}

namespace templates {

void showParseError(const TemplateParseError& error) {
  if (!error.shown.empty()) ui::messageBox(error.shown);
}

}  // namespace templates

}  // namespace vantorel
