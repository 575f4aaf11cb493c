#include "platform/sys/block_pages.hpp"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/sys/memory_tuning.hpp"

namespace vantorel::sys {
namespace {

constexpr std::size_t kMiB = 1024 * 1024;

// Faulting in keeps what the block holds and leaves the rest zero, whether the range starts on
// a huge page's boundary, inside a page or spans several stretches; and the block can still be
// remapped afterwards (it stays one mapping), keeping its contents.
TEST(BlockPages, FaultingInKeepsContentsAndTheBlockRemappable) {
  struct Range {
    std::size_t from;
    std::size_t bytes;
  };
  const Range ranges[] = {
      {0, 2 * kMiB},                 // one whole stretch
      {100, 5 * kMiB + 7},           // starting inside a page, ending inside a stretch
      {3 * kMiB + 4096, 12 * kMiB},  // across several stretches
  };
  for (const Range& r : ranges) {
    const std::size_t size = 16 * kMiB;
    auto* block = static_cast<unsigned char*>(mapBlock(size));
    ASSERT_NE(block, nullptr);
    const std::size_t marks[] = {0, 99, 100, 2 * kMiB - 1, 4 * kMiB + 3, size - 1};
    for (const std::size_t at : marks) block[at] = static_cast<unsigned char>(at % 251 + 1);
    BlockPages pages;
    pages.adopt(block, size);
    // Twice: the second pass finds the pages present.
    EXPECT_TRUE(pages.faultIn(block + r.from, r.bytes)) << r.from;
    EXPECT_TRUE(pages.faultIn(block + r.from, r.bytes)) << r.from;
    for (const std::size_t at : marks) {
      EXPECT_EQ(block[at], at % 251 + 1) << "byte " << at << " after faulting in from " << r.from;
    }
    EXPECT_EQ(block[r.from + r.bytes / 2 + 1], 0) << r.from;

    auto* grown = static_cast<unsigned char*>(remapBlock(block, size, 2 * size));
    ASSERT_NE(grown, nullptr) << "the block no longer remaps after faulting in from " << r.from;
    pages.adopt(grown, 2 * size);
    EXPECT_TRUE(pages.faultIn(grown + size, size));
    for (const std::size_t at : marks) EXPECT_EQ(grown[at], at % 251 + 1) << at;
    EXPECT_EQ(grown[2 * size - 1], 0);
    unmapBlock(grown, 2 * size);
  }
}

}  // namespace
}  // namespace vantorel::sys
