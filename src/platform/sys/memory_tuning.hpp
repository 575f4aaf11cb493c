#pragma once
// How the process's heap gives memory back to the kernel.

namespace vantorel::sys {

// Keeps freed heap memory mapped for reuse instead of handing it back to the kernel at once.
// Called once at the start of a long-running program (the host program, the benchmarks),
// before anything large is allocated.
void keepFreedMemoryMapped();

}  // namespace vantorel::sys
