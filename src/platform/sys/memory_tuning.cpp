#include "platform/sys/memory_tuning.hpp"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "platform/sys/block_pages.hpp"

namespace vantorel::sys {

// A generation builds every page in the same few large blocks: a script array growing to tens
// of thousands of elements, the joined text, its copy for the writer. glibc serves blocks above
// its mmap threshold with a fresh mapping and unmaps them when freed, and trims the top of the
// heap above its trim threshold, so each page would fault in every one of those pages again
// (hundreds of faults a page, and a fault costs microseconds on virtual machines). With these
// limits freed blocks stay in the heap and the next page reuses them; the process holds at most
// its peak, which a generation reaches on its first pages anyway.
void keepFreedMemoryMapped() {
  constexpr int kMmapThreshold = 32 * 1024 * 1024;   // glibc's largest allowed value
  constexpr int kTrimThreshold = 128 * 1024 * 1024;  // kept free at the top of the heap
  mallopt(M_MMAP_THRESHOLD, kMmapThreshold);
  mallopt(M_TRIM_THRESHOLD, kTrimThreshold);
}

void prefaultHeap(std::size_t bytes) noexcept {
  // Pieces below the mmap threshold come from the top of the heap; freed, they stay there (below
  // the trim threshold) and the allocations that follow are carved from their faulted pages.
  // Below a few megabytes the faults are too few to matter.
  constexpr std::size_t kLeast = 4 * 1024 * 1024;
  constexpr std::size_t kPiece = 16 * 1024 * 1024;
  // Six pieces stay below keepFreedMemoryMapped's trim threshold, or the top would go back.
  constexpr std::size_t kMostPieces = 6;
  if (bytes < kLeast) return;
  void* pieces[kMostPieces] = {};
  std::size_t held = 0;
  BlockPages pages;
  for (std::size_t done = 0; done < bytes && held < kMostPieces;) {
    const std::size_t size = std::min(kPiece, bytes - done);
    void* p = malloc(size);
    if (!p) break;
    pieces[held++] = p;
    done += size;
    // A piece above the heap's end is a mapping of its own: freed memory is not kept.
    if (static_cast<char*>(p) > static_cast<char*>(sbrk(0))) break;
    pages.adopt(p, size);
    if (!pages.faultIn(p, size)) break;
  }
  while (held > 0) free(pieces[--held]);
}

void* mapBlock(std::size_t bytes) noexcept {
  void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  return p == MAP_FAILED ? nullptr : p;
}

void* remapBlock(void* p, std::size_t oldBytes, std::size_t newBytes) noexcept {
  void* q = mremap(p, oldBytes, newBytes, MREMAP_MAYMOVE);
  return q == MAP_FAILED ? nullptr : q;
}

void unmapBlock(void* p, std::size_t bytes) noexcept {
  (void)munmap(p, bytes);
}

}  // namespace vantorel::sys
