// Releasing the engine's objects: one object made and released, and a list of 10,000 objects,
// each holding the next in a Variant, built and released; against plain C++ objects of the same
// shape deleted through std::unique_ptr. The list is longer than deletions nest in place, so its
// figure includes the deletions that wait for the outermost one.
#include <benchmark/benchmark.h>

#include <memory>
#include <utility>

#include "platform/automation/class_info.hpp"
#include "ratio.hpp"

namespace vantorel {
namespace {

constexpr int kListLength = 10000;

class Node final : public Object {
 public:
  explicit Node(Variant next) : next_(std::move(next)) {}
  const ClassInfo& classInfo() const noexcept override {
    static const ClassInfo info(u"Node");
    return info;
  }

 private:
  Variant next_;
};

struct PlainNode {
  explicit PlainNode(std::unique_ptr<PlainNode> n) : next(std::move(n)) {}
  virtual ~PlainNode() = default;
  std::size_t refs = 1;
  std::unique_ptr<PlainNode> next;
};

void BM_PlainNewDelete(benchmark::State& state) {
  for (auto _ : state) {
    auto node = std::make_unique<PlainNode>(nullptr);
    benchmark::DoNotOptimize(node.get());
  }
}
BENCHMARK(BM_PlainNewDelete);

void BM_ObjectMakeRelease(benchmark::State& state) {
  for (auto _ : state) {
    auto node = makeRef<Node>(Variant());
    benchmark::DoNotOptimize(node.get());
  }
}
BENCHMARK(BM_ObjectMakeRelease);

void BM_PlainList(benchmark::State& state) {
  for (auto _ : state) {
    std::unique_ptr<PlainNode> head;
    for (int i = 0; i < kListLength; ++i) head = std::make_unique<PlainNode>(std::move(head));
    benchmark::DoNotOptimize(head.get());
  }
  state.SetItemsProcessed(state.iterations() * kListLength);
}
BENCHMARK(BM_PlainList);

void BM_ObjectList(benchmark::State& state) {
  for (auto _ : state) {
    Variant head;
    for (int i = 0; i < kListLength; ++i) head = Variant(makeRef<Node>(std::move(head)));
    benchmark::DoNotOptimize(head.objectValue());
  }
  state.SetItemsProcessed(state.iterations() * kListLength);
}
BENCHMARK(BM_ObjectList);

}  // namespace
}  // namespace vantorel

VANTOREL_BENCH_RATIOS({"BM_ObjectMakeRelease", "BM_PlainNewDelete", 2.0},
                      {"BM_ObjectList", "BM_PlainList", 4.0})
