#include "agp/extension_hooks.hpp"

namespace vantorel {

ExtensionHooks& extensionHooks() noexcept {
  static ExtensionHooks hooks;
  return hooks;
}

}  // namespace vantorel
