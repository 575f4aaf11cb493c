// Late-bound property get through the member table against the direct C++ call of the same
// accessor. The accessor is kept out of line, as the engine's accessors live in their own
// translation units; inlined, the reference would be a bare load and measure no call at all.
// "LateBoundGet" resolves the name once, as the script engine does per call site;
// "LateBoundGetByName" resolves it on every call.
#include <benchmark/benchmark.h>

#include "platform/automation/bind.hpp"
#include "ratio.hpp"

namespace vantorel {
namespace {

class Point : public Object {
 public:
  [[gnu::noinline]] std::int32_t x() const { return x_; }
  void setX(std::int32_t v) { x_ = v; }
  const ClassInfo& classInfo() const noexcept override {
    static const ClassInfo info(u"Point", [](ClassInfo& c) {
      ClassBuilder<Point>(c).prop<&Point::x, &Point::setX>(u"X");
    });
    return info;
  }

 private:
  std::int32_t x_ = 42;
};

void BM_DirectCall(benchmark::State& state) {
  auto p = makeRef<Point>();
  Point* raw = p.get();
  for (auto _ : state) {
    benchmark::DoNotOptimize(raw);
    std::int32_t v = raw->x();
    benchmark::DoNotOptimize(v);
  }
}
BENCHMARK(BM_DirectCall);

void BM_LateBoundGet(benchmark::State& state) {
  auto p = makeRef<Point>();
  Object* o = p.get();
  DispId id = o->memberId(u"x");
  for (auto _ : state) {
    benchmark::DoNotOptimize(o);
    Variant v = o->invoke(id, kInvokeGet, CallArgs());
    benchmark::DoNotOptimize(v);
  }
}
BENCHMARK(BM_LateBoundGet);

void BM_LateBoundGetByName(benchmark::State& state) {
  auto p = makeRef<Point>();
  Object* o = p.get();
  for (auto _ : state) {
    benchmark::DoNotOptimize(o);
    Variant v = o->invoke(o->memberId(u"X"), kInvokeGet, CallArgs());
    benchmark::DoNotOptimize(v);
  }
}
BENCHMARK(BM_LateBoundGetByName);

}  // namespace
}  // namespace vantorel

VANTOREL_BENCH_RATIOS({"BM_LateBoundGet", "BM_DirectCall", 20.0},
                      {"BM_LateBoundGetByName", "BM_DirectCall", 20.0})
