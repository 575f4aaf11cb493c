#include "foundation/settings_key.hpp"

#include "foundation/product.hpp"

namespace vantorel {

std::u16string productRegRoot() {
  return u"Software\\" + std::u16string(kProductName) + u"\\" + shortVersion();
}

std::u16string settingsKey() {
  return productRegRoot() + u"\\Settings";
}

}  // namespace vantorel
