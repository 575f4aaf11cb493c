#pragma once
// How the process's heap gives memory back to the kernel, and takes large blocks from it.
#include <cstddef>

namespace vantorel::sys {

// Keeps freed heap memory mapped for reuse instead of handing it back to the kernel at once.
// Called once at the start of a long-running program (the host program, the benchmarks),
// before anything large is allocated.
void keepFreedMemoryMapped();

// Faults in, ahead of time, heap memory for about `bytes` of small allocations to come (a
// model of thousands of objects): the pages come in a few calls into the kernel, in huge pages
// where it has them at hand, instead of a fault each as the objects are first written. Does
// nothing unless keepFreedMemoryMapped is in force, as freed memory would go back at once.
void prefaultHeap(std::size_t bytes) noexcept;

// A block of its own mapping, for storage of many megabytes that grows: its pages read zero
// until written, and it grows or shrinks by remapping, so its contents are neither copied nor
// faulted in again. Null when the kernel refuses.
void* mapBlock(std::size_t bytes) noexcept;
void* remapBlock(void* p, std::size_t oldBytes, std::size_t newBytes) noexcept;
void unmapBlock(void* p, std::size_t bytes) noexcept;

}  // namespace vantorel::sys
