#include "platform/sys/block_pages.hpp"

#include <sys/mman.h>
#include <time.h>

#include <algorithm>
#include <cstdint>

namespace vantorel::sys {

namespace {

constexpr std::uintptr_t kSmallPage = 4096;

std::int64_t threadCpuNanoseconds() noexcept {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<std::int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

void advise(std::uintptr_t from, std::uintptr_t to, int advice) noexcept {
  // Only advice: nothing changes where the kernel does not offer huge pages.
  (void)madvise(reinterpret_cast<void*>(from), to - from, advice);
}

}  // namespace

void BlockPages::adopt(void* block, std::size_t bytes) noexcept {
  // Huge pages only where faultIn asks for them and times them. The advice covers the whole
  // block, so that a mapping of its own stays one mapping, which is what lets it be remapped.
  const auto begin = reinterpret_cast<std::uintptr_t>(block);
  advise(begin & ~(kSmallPage - 1), begin + bytes, MADV_NOHUGEPAGE);
}

bool BlockPages::faultIn(void* p, std::size_t bytes) noexcept {
  if (!supported_ || bytes == 0) return supported_;
  // A huge page the kernel has at hand costs about a tenth of a millisecond to fault in, the
  // same 2 MB of small pages about 0.6 ms. One it must compact memory for, or (on a virtual
  // machine that hands freed memory back to its host) one whose memory the host must first
  // back, costs 4 ms or more, and so will the next. Each huge page is set against the small
  // pages it spares; the block asks for them while the sum, with the allowance it starts with,
  // stays ahead, so the first such page ends the trial.
  constexpr std::int64_t kSmallStretchNs = 600'000;
  std::uintptr_t at = reinterpret_cast<std::uintptr_t>(p) & ~(kSmallPage - 1);
  const std::uintptr_t end = reinterpret_cast<std::uintptr_t>(p) + bytes;
  while (at < end) {
    // One huge page's stretch at a time, so that each is timed on its own.
    const std::uintptr_t next = std::min(end, (at & ~(kStretch - 1)) + kStretch);
    const bool huge = huge_ && next - at == kStretch;
    // The advice lasts as long as the call: set back, the block is one mapping again.
    if (huge) advise(at, next, MADV_HUGEPAGE);
    const std::int64_t before = huge ? threadCpuNanoseconds() : 0;
    const bool done = madvise(reinterpret_cast<void*>(at), next - at, MADV_POPULATE_WRITE) == 0;
    if (huge) {
      hugeCreditNs_ += kSmallStretchNs - (threadCpuNanoseconds() - before);
      if (hugeCreditNs_ < 0) huge_ = false;
      advise(at, next, MADV_NOHUGEPAGE);
    }
    if (!done) {
      // Memory short, or a kernel without it: from here the pages fault in as written.
      supported_ = false;
      return false;
    }
    at = next;
  }
  return true;
}

}  // namespace vantorel::sys
