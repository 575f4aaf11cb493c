#include "foundation/product.hpp"

#include "platform/text/strings.hpp"

namespace vantorel {

std::u16string fullVersion() {
  return toU16(kVersionMajor) + u"." + toU16(kVersionMinor) + u".0." + toU16(kVersionRevision);
}

std::u16string shortVersion() { return toU16(kVersionMajor) + u"." + toU16(kVersionMinor); }

}  // namespace vantorel
