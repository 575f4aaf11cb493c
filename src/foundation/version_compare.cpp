#include "foundation/version_compare.hpp"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/text/strings.hpp"

namespace vantorel {

std::optional<VersionDifference> firstVersionDifference(std::u16string_view a,
                                                        std::u16string_view b, std::size_t depth,
                                                        VersionPartReader read) {
  const std::vector<std::u16string> as = split(a, u".");
  const std::vector<std::u16string> bs = split(b, u".");
  const std::size_t shared = std::min({as.size(), bs.size(), depth});
  for (std::size_t i = 0; i < shared; ++i) {
    const std::int64_t x = read(as[i]);
    const std::int64_t y = read(bs[i]);
    if (x != y) return VersionDifference{i, x > y};
  }
  return std::nullopt;
}

}  // namespace vantorel
