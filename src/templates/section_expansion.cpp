#include "templates/section_expansion.hpp"

#include <string_view>
#include <utility>

#include "foundation/status.hpp"
#include "platform/text/strings.hpp"
#include "templates/file_cache.hpp"
#include "templates/markers.hpp"

namespace vantorel::templates {

namespace {

struct SectionRef {
  std::u16string file;
  std::u16string section;
};

std::u16string describe(const SectionRef& s) {
  return u"section \"" + s.section + u"\" of \"" + s.file + u"\"";
}

// Thrown to leave every level of the expansion at once.
struct ExpansionStopped {
  std::u16string message;
};

class Expander {
 public:
  // Levels hold references to their stack entries, so the stack never reallocates.
  explicit Expander(const AGPFileCache& cache) : cache_(cache) {
    stack_.reserve(kMaxIncludeDepth + 2);
  }

  void expand(const SectionRef& at, std::u16string_view text) {
    std::size_t pos = 0;
    for (std::size_t p = findMarker(text, kIncludeOpen, 0); p != kNotFound;) {
      Status().Refresh();
      append(text.substr(pos, p - pos));
      const std::size_t directiveStart = p + kIncludeOpen.size();
      const std::size_t q = findMarker(text, kBlockClose, directiveStart);
      if (q == kNotFound) {
        pos = p;
        break;
      }
      const std::vector<std::u16string> parts =
          split(trimBlanks(text.substr(directiveStart, q - directiveStart)), u"/");
      // Anything but file/section drops the directive.
      if (parts.size() == 2) {
        include(at, SectionRef{std::u16string(trimBlanks(parts[0])),
                               std::u16string(trimBlanks(parts[1]))});
      }
      pos = q + kBlockClose.size();
      p = findMarker(text, kIncludeOpen, pos);
    }
    append(text.substr(pos));
  }

  void start(const SectionRef& top) {
    stack_.push_back(top);
    const std::u16string* text = cache_.find(top.file, top.section);
    expand(top, text ? std::u16string_view(*text) : std::u16string_view());
  }

  std::vector<std::u16string> take() { return std::move(pieces_); }

 private:
  void include(const SectionRef& from, SectionRef target) {
    for (const SectionRef& open : stack_) {
      if (open.file != target.file || open.section != target.section) continue;
      std::u16string path;
      for (const SectionRef& s : stack_) path += s.file + u"/" + s.section + u" -> ";
      fail(u"***Include cycle: " + describe(target) + u" includes itself (" + path + target.file +
           u"/" + target.section + u")! Generation failed!");
    }
    if (stack_.size() > kMaxIncludeDepth) {
      fail(u"***Includes nested deeper than " + toU16(static_cast<long long>(kMaxIncludeDepth)) +
           u" levels at " + describe(target) + u", included from " + describe(from) +
           u"! Generation failed!");
    }
    stack_.push_back(std::move(target));
    const SectionRef& here = stack_.back();
    const std::u16string* text = cache_.find(here.file, here.section);
    // A section its file's broken markers swallowed is a fault, not an empty section.
    if (!text) {
      if (const std::u16string* fault = cache_.fault(here.file)) {
        fail(u"***" + describe(here) + u", included from " + describe(from) + u", is lost: " +
             *fault + u"! Generation failed!");
      }
    }
    expand(here, text ? std::u16string_view(*text) : std::u16string_view());
    stack_.pop_back();
  }

  void append(std::u16string_view piece) {
    length_ += piece.size();
    if (pieces_.size() >= kMaxExpandedPieces || length_ > kMaxExpandedLength) {
      fail(u"***Includes of " + describe(stack_.front()) + u" expand to more than " +
           toU16(static_cast<long long>(kMaxExpandedPieces)) + u" pieces or " +
           toU16(static_cast<long long>(kMaxExpandedLength)) + u" characters! Generation failed!");
    }
    pieces_.emplace_back(piece);
  }

  [[noreturn]] static void fail(std::u16string message) {
    throw ExpansionStopped{std::move(message)};
  }

  const AGPFileCache& cache_;
  std::vector<SectionRef> stack_;
  std::vector<std::u16string> pieces_;
  std::size_t length_ = 0;
};

}  // namespace

ExpandedSection expandSection(const AGPFileCache& cache, const std::u16string& file,
                              const std::u16string& section) {
  Expander expander(cache);
  ExpandedSection expanded;
  try {
    expander.start(SectionRef{file, section});
  } catch (ExpansionStopped& stop) {
    expanded.outcome = Failure{std::move(stop.message)};
  }
  expanded.pieces = expander.take();
  if (expanded.pieces.empty()) expanded.pieces.emplace_back();
  return expanded;
}

ExpandedSection expandSection(const std::u16string& file, const std::u16string& section) {
  return expandSection(SharedFileCache(), file, section);
}

}  // namespace vantorel::templates
