#include "platform/sys/memory_tuning.hpp"

#include <gtest/gtest.h>
#include <malloc.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace vantorel::sys {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kGlibcHeap = false;  // the sanitizer brings its own allocator
#else
constexpr bool kGlibcHeap = true;
#endif

// A block of a few megabytes, the size a page's builder grows to, comes from the heap and stays
// there once freed: the next one of its size reuses those pages instead of mapping new ones.
TEST(MemoryTuning, LargeFreedBlocksStayInTheHeap) {
  if (!kGlibcHeap) GTEST_SKIP() << "not glibc's allocator";
  keepFreedMemoryMapped();
  for (const std::size_t size : {std::size_t{1} << 20, std::size_t{4} << 20, std::size_t{24} << 20}) {
    const std::size_t mappedBefore = mallinfo2().hblkhd;
    std::unique_ptr<char, decltype(&std::free)> block(static_cast<char*>(std::malloc(size)),
                                                      &std::free);
    ASSERT_NE(block, nullptr);
    std::memset(block.get(), 1, size);
    EXPECT_EQ(mallinfo2().hblkhd, mappedBefore) << size << " bytes took a mapping of their own";
    block.reset();
    EXPECT_GE(mallinfo2().fordblks, size) << size << " bytes went back to the kernel";
  }
}

}  // namespace
}  // namespace vantorel::sys
