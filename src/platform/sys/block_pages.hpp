#pragma once
// Faulting in the pages of a block of many megabytes before they are written.
#include <cstddef>
#include <cstdint>

namespace vantorel::sys {

// Faults in a large block's pages a stretch at a time: one call into the kernel a stretch
// instead of a fault a page. A whole huge page's stretch asks for a huge page while the kernel
// hands them out at once; once they come from compacting memory (which can stall a program for
// tenths of a second), the block goes on with small pages, which cost a steady amount. Pages
// the block touches in any other way are small, so they never wait for compaction either. One
// per block, living as long as it does.
class BlockPages {
 public:
  // A huge page and its alignment.
  static constexpr std::size_t kStretch = 2 * 1024 * 1024;

  // A block just mapped, or moved or grown by remapping.
  void adopt(void* block, std::size_t bytes) noexcept;
  // Faults in [p, p + bytes), inside the adopted block; the contents stay as they are. False
  // where the kernel cannot (before Linux 5.14): the pages then fault in as they are written,
  // and further calls are of no use.
  bool faultIn(void* p, std::size_t bytes) noexcept;

 private:
  std::int64_t hugeCreditNs_ = 1'000'000;  // the allowance
  bool huge_ = true;
  bool supported_ = true;
};

}  // namespace vantorel::sys
