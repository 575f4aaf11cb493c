// Parsing a 1 MB template into its blocks with AGParser, against a plain scan of the same text
// for the opening marker "<!--##" (the least any parse must do).
#include <benchmark/benchmark.h>

#include <string>
#include <string_view>

#include "ratio.hpp"
#include "templates/template_parser.hpp"

namespace vantorel {
namespace {

// A list page as template sets write them: markup, expressions, indented expressions, phrases,
// code blocks and a function declaration.
const std::u16string& templateText() {
  static const std::u16string text = [] {
    const std::u16string chunk =
        u"<tr>\r\n"
        u"  <td class=\"ewTableHeader\"><!--##@FieldCaption##--></td>\r\n"
        u"  <td><!--##=SYSTEMFUNCTIONS.FieldValue(CurrentField)##--></td>\r\n"
        u"<!--## If bSearch Then ##-->\r\n"
        u"    <!--##~SearchBox(fld)##-->\r\n"
        u"<!--## End If ##-->\r\n"
        u"  <td><!--##$sPhraseKey##--></td>\r\n"
        u"</tr>\r\n"
        u"<!--##\r\n"
        u"Function RowClass(n)\r\n"
        u"  If n Mod 2 = 0 Then RowClass = \"ewTableRow\" Else RowClass = \"ewTableAltRow\"\r\n"
        u"End Function\r\n"
        u"##-->\r\n";
    std::u16string out;
    while (out.size() < (std::size_t{1} << 20)) out += chunk;
    return out;
  }();
  return text;
}

void BM_ScanForOpeners(benchmark::State& state) {
  const std::u16string_view text = templateText();
  for (auto _ : state) {
    std::size_t count = 0;
    for (std::size_t at = text.find(u"<!--##"); at != std::u16string_view::npos;
         at = text.find(u"<!--##", at + 6)) {
      ++count;
    }
    benchmark::DoNotOptimize(count);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size() * 2));
}
BENCHMARK(BM_ScanForOpeners)->Unit(benchmark::kMicrosecond);

void BM_ParseBlocks(benchmark::State& state) {
  const std::u16string& text = templateText();
  auto parser = makeRef<AGParser>();
  for (auto _ : state) {
    parser->Parse(text);
    benchmark::DoNotOptimize(parser->Count());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size() * 2));
}
BENCHMARK(BM_ParseBlocks)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vantorel

VANTOREL_BENCH_RATIOS({"BM_ParseBlocks", "BM_ScanForOpeners", 3.0});
