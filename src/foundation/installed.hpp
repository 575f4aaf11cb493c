#pragma once
// A seam: where a layer's own work must call into a layer above it while it runs, the lower layer
// declares an interface and the layer above installs its one implementation at set-up. Until
// then get() gives nullptr and the caller does what an engine without that part does.
#include <atomic>

namespace vantorel {

template <class Interface>
class Installed {
 public:
  Installed() = delete;

  // Process-wide: an implementation keeps no state of its own and works on the calling thread's
  // objects. The caller keeps it alive while it is installed; nullptr uninstalls. Returns the one
  // installed before, for a test to put back.
  static Interface* install(Interface* implementation) noexcept {
    return slot().exchange(implementation);
  }
  static Interface* get() noexcept { return slot().load(); }

 private:
  static std::atomic<Interface*>& slot() noexcept {
    static std::atomic<Interface*> installed{nullptr};
    return installed;
  }
};

}  // namespace vantorel
