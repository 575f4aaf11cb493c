// 10 M characters appended in 10-character pieces through AGPStringBuilder::Append (the C++ call,
// with a String Variant piece) and read back with ToString, against std::u16string::append.
#include <benchmark/benchmark.h>

#include <string>
#include <string_view>

#include "foundation/string_builder.hpp"
#include "ratio.hpp"

namespace vantorel {
namespace {

constexpr std::size_t kPieces = 1024 * 1024;  // 10,485,760 UTF-16 code units in all
constexpr std::u16string_view kPiece = u"0123456789";

void BM_Reference(benchmark::State& state) {
  for (auto _ : state) {
    std::u16string text;
    for (std::size_t i = 0; i < kPieces; ++i) text.append(kPiece);
    benchmark::DoNotOptimize(text.data());
    benchmark::DoNotOptimize(text.size());
  }
  state.SetBytesProcessed(
      static_cast<std::int64_t>(state.iterations() * kPieces * kPiece.size() * 2));
}
BENCHMARK(BM_Reference)->Unit(benchmark::kMillisecond);

void BM_StringBuilder(benchmark::State& state) {
  const Variant piece{std::u16string(kPiece)};
  for (auto _ : state) {
    auto builder = makeRef<AGPStringBuilder>();
    for (std::size_t i = 0; i < kPieces; ++i) builder->append(piece);
    Variant text = builder->toString();
    benchmark::DoNotOptimize(text.stringValue().data());
    benchmark::DoNotOptimize(text.stringValue().size());
  }
  state.SetBytesProcessed(
      static_cast<std::int64_t>(state.iterations() * kPieces * kPiece.size() * 2));
}
BENCHMARK(BM_StringBuilder)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vantorel

VANTOREL_BENCH_RATIOS({"BM_StringBuilder", "BM_Reference", 1.5})
