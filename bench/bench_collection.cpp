// 100,000 keyed inserts and then 100,000 lookups by key in a CSuperCollection with CompareMode 1
// (as every collection class of the engine sets it up), against the same work done with
// std::unordered_map<std::u16string, size_t> for the keys plus std::vector<Variant> for the items.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "foundation/super_collection.hpp"
#include "ratio.hpp"

namespace vantorel {
namespace {

constexpr int kItems = 100000;

struct Keys {
  std::vector<std::u16string> inserted;
  std::vector<std::u16string> probes;  // the same keys in shuffled order
  std::vector<Variant> probeVariants;

  Keys() {
    for (int i = 0; i < kItems; ++i) {
      std::string k = "Setting_" + std::to_string(i * 7919 % 1000003);
      inserted.emplace_back(k.begin(), k.end());
    }
    probes = inserted;
    std::shuffle(probes.begin(), probes.end(), std::mt19937(12345));
    for (const auto& k : probes) probeVariants.emplace_back(k);
  }
};

const Keys& keys() {
  static const Keys instance;
  return instance;
}

void BM_Reference(benchmark::State& state) {
  const Keys& k = keys();
  for (auto _ : state) {
    std::unordered_map<std::u16string, std::size_t> index;
    std::vector<Variant> items;
    for (int i = 0; i < kItems; ++i) {
      index.emplace(k.inserted[static_cast<std::size_t>(i)], items.size());
      items.emplace_back(static_cast<std::int32_t>(i));
    }
    std::int64_t sum = 0;
    for (const auto& key : k.probes) {
      auto it = index.find(key);
      Variant v = items[it->second];
      sum += v.longValue();
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kItems * 2);
}
BENCHMARK(BM_Reference)->Unit(benchmark::kMillisecond);

// Lookups through the typed C++ accessor, as the engine's collection classes and the property
// bag use it.
void BM_Collection(benchmark::State& state) {
  const Keys& k = keys();
  for (auto _ : state) {
    auto c = makeRef<CSuperCollection>();
    c->setCompareMode(1);
    for (int i = 0; i < kItems; ++i) {
      c->add(Variant(static_cast<std::int32_t>(i)), k.inserted[static_cast<std::size_t>(i)]);
    }
    std::int64_t sum = 0;
    for (const auto& key : k.probes) {
      Variant v = *c->find(key);
      sum += v.longValue();
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kItems * 2);
}
BENCHMARK(BM_Collection)->Unit(benchmark::kMillisecond);

// Lookups through Item with a String index, as automation clients call it.
void BM_CollectionItem(benchmark::State& state) {
  const Keys& k = keys();
  for (auto _ : state) {
    auto c = makeRef<CSuperCollection>();
    c->setCompareMode(1);
    for (int i = 0; i < kItems; ++i) {
      c->add(Variant(static_cast<std::int32_t>(i)), k.inserted[static_cast<std::size_t>(i)]);
    }
    std::int64_t sum = 0;
    for (const auto& key : k.probeVariants) sum += c->item(key).longValue();
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kItems * 2);
}
BENCHMARK(BM_CollectionItem)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vantorel

VANTOREL_BENCH_RATIOS({"BM_Collection", "BM_Reference", 2.0},
                      {"BM_CollectionItem", "BM_Reference", 2.0})
