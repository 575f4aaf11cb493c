#pragma once
// A main for benchmark programs that, after the usual report, prints each measured benchmark's
// time as a ratio of its reference measured in the same run, with its target:
//   VANTOREL_BENCH_RATIOS({"BM_LateBoundGet", "BM_DirectCall", 20.0});
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "engine/engine_setup.hpp"
#include "platform/sys/memory_tuning.hpp"

namespace vantorel::bench {

struct Ratio {
  const char* measured;
  const char* reference;
  double target;  // the ratio must stay at or below this
};

class RecordingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    // With --benchmark_repetitions each benchmark runs several times: the best run counts, as
    // the figure least disturbed by other work on a shared machine.
    for (const Run& r : runs) {
      if (r.run_type != Run::RT_Iteration) continue;
      const double t = r.GetAdjustedRealTime();
      auto [it, fresh] = times.emplace(r.run_name.function_name, t);
      if (!fresh && t < it->second) it->second = t;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> times;
};

inline int runWithRatios(int argc, char** argv, const std::vector<Ratio>& ratios) {
  // The heap behaves as in the host program, so each benchmark measures what the program gets.
  sys::keepFreedMemoryMapped();
  setUpEngine();
  benchmark::Initialize(&argc, argv);
  RecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  for (const Ratio& r : ratios) {
    auto m = reporter.times.find(r.measured);
    auto ref = reporter.times.find(r.reference);
    if (m == reporter.times.end() || ref == reporter.times.end() || ref->second <= 0) continue;
    double ratio = m->second / ref->second;
    bool ok = ratio <= r.target;
    std::printf("ratio %s / %s = %.2f (target <= %.2f) %s\n", r.measured, r.reference, ratio,
                r.target, ok ? "ok" : "MISSED");
  }
  benchmark::Shutdown();
  return 0;  // figures are recorded, not gated: the machines are noisy
}

}  // namespace vantorel::bench

#define VANTOREL_BENCH_RATIOS(...)                                      \
  int main(int argc, char** argv) {                                     \
    return ::vantorel::bench::runWithRatios(argc, argv, {__VA_ARGS__}); \
  }
