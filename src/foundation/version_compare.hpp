#pragma once
// The one comparison of dotted version texts ("4.0", "4.1.0.2"). Its callers read the parts
// and weigh the difference by their own rules: the project file's version and the template
// set's are checked differently.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace vantorel {

struct VersionDifference {
  std::size_t part = 0;  // 0 the major part, 1 the minor one, ...
  bool newer = false;    // the first version's part is the greater
};

using VersionPartReader = std::int64_t (*)(std::u16string_view part);

// The first of the leading parts both versions have (at most `depth` of them) in which they
// differ; nothing when they agree there. Parts are read in order and only as far as needed, so
// a reader that raises does so only for a part the comparison reaches.
std::optional<VersionDifference> firstVersionDifference(std::u16string_view a,
                                                        std::u16string_view b, std::size_t depth,
                                                        VersionPartReader read);

}  // namespace vantorel
