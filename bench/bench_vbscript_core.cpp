// The interpreter core on three programs: an arithmetic loop, recursive calls, and short-lived
// class instances. The reference is the same work done in C++ on Variants through the same
// operator functions, so the ratio is the interpreter's own overhead.
#include <benchmark/benchmark.h>

#include "platform/automation/variant_convert.hpp"
#include "platform/vbscript/engine.hpp"
#include "platform/vbscript/runtime/operators.hpp"
#include "ratio.hpp"

namespace {

using vantorel::Variant;
using vantorel::vbs::Engine;

constexpr char16_t kArithLoop[] =
    u"s = 0\n"
    u"For i = 1 To 10000000\n"
    u"  s = s + i Mod 7\n"
    u"Next\n";

constexpr char16_t kFib[] =
    u"Function Fib(n)\n"
    u"  If n < 2 Then\n"
    u"    Fib = n\n"
    u"  Else\n"
    u"    Fib = Fib(n - 1) + Fib(n - 2)\n"
    u"  End If\n"
    u"End Function\n"
    u"r = Fib(27)\n";

constexpr char16_t kInstances[] =
    u"Class Point\n"
    u"  Public X, Y\n"
    u"  Private Sub Class_Terminate\n"
    u"    released = released + 1\n"
    u"  End Sub\n"
    u"End Class\n"
    u"Dim released\n"
    u"For i = 1 To 1000000\n"
    u"  Set p = New Point\n"
    u"  p.X = i\n"
    u"  p.Y = p.X + 1\n"
    u"Next\n"
    u"Set p = Nothing\n";

void runScript(benchmark::State& state, const char16_t* code) {
  for (auto _ : state) {
    Engine engine;
    engine.globalModule().addCode(code);
  }
}

void BM_VbsArithLoop(benchmark::State& state) {
  runScript(state, kArithLoop);
}
void BM_VbsFib27(benchmark::State& state) {
  runScript(state, kFib);
}
void BM_VbsInstances(benchmark::State& state) {
  runScript(state, kInstances);
}

void BM_VariantArithLoop(benchmark::State& state) {
  using namespace vantorel::vbs;
  for (auto _ : state) {
    Variant s(std::int16_t{0});
    const Variant seven(std::int16_t{7});
    for (std::int32_t i = 1; i <= 10000000; ++i) s = opAdd(s, opMod(Variant(i), seven));
    benchmark::DoNotOptimize(s);
  }
}

Variant fibVariant(const Variant& n) {
  using namespace vantorel::vbs;
  if (isTrue(opLt(n, Variant(std::int16_t{2})))) return n;
  return opAdd(fibVariant(opSub(n, Variant(std::int16_t{1}))),
               fibVariant(opSub(n, Variant(std::int16_t{2}))));
}

void BM_VariantFib27(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(fibVariant(Variant(std::int16_t{27})));
}

BENCHMARK(BM_VbsArithLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VariantArithLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VbsFib27)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VariantFib27)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VbsInstances)->Unit(benchmark::kMillisecond);

}  // namespace

VANTOREL_BENCH_RATIOS({"BM_VbsArithLoop", "BM_VariantArithLoop", 8.0},
                      {"BM_VbsFib27", "BM_VariantFib27", 15.0});
