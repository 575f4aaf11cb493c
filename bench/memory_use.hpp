#pragma once
// The process's memory as the benchmarks that report it read it: the heap in use and lines of
// /proc/self/status (VmRSS, VmHWM).
#include <malloc.h>

#include <cstddef>
#include <fstream>
#include <string>

namespace vantorel::bench {

inline std::size_t heapInUse() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

// A line of /proc/self/status in kilobytes.
inline std::size_t statusKb(const char* key) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(key, 0) == 0) return std::stoul(line.substr(std::string(key).size()));
  }
  return 0;
}

}  // namespace vantorel::bench
