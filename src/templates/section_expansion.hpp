#pragma once
// A section of the shared section cache with its "<!--##include file/section##-->" directives
// replaced by the sections they name, to any depth, as the ordered pieces the template compiler
// translates one by one.
#include <cstddef>
#include <string>
#include <vector>

#include "platform/automation/expected.hpp"

namespace vantorel {
class AGPFileCache;
}

namespace vantorel::templates {

// Includes nest at most this deep; a section that includes itself stops at once.
inline constexpr std::size_t kMaxIncludeDepth = 64;
// An expansion that grows beyond these bounds (sections included over and over through
// diamond-shaped includes) stops too, rather than exhausting memory.
inline constexpr std::size_t kMaxExpandedPieces = 1'000'000;
inline constexpr std::size_t kMaxExpandedLength = std::size_t{256} << 20;

// The pieces of an expansion, at least one, and how it went: it fails when it stopped early on
// an include cycle, an include nested too deep or an expansion that grows too large, with a
// message naming the section. The pieces gathered up to there are kept.
struct ExpandedSection {
  std::vector<std::u16string> pieces;
  Expected<> outcome;
};

ExpandedSection expandSection(const AGPFileCache& cache, const std::u16string& file,
                              const std::u16string& section);
// The same on the thread's shared section cache.
ExpandedSection expandSection(const std::u16string& file, const std::u16string& section);

}  // namespace vantorel::templates
