// The script host: a compiled template function that writes 10,000 lines through the built-in
// StringBuilder class, against the same text built by C++ appends; and starting a host (three
// engines with system, validation and user code) against compiling that code once.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "foundation/project_context.hpp"
#include "foundation/reg_values.hpp"
#include "foundation/status.hpp"
#include "foundation/string_builder.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"
#include "platform/vbscript/control/script_control.hpp"
#include "ratio.hpp"
#include "templates/script_host.hpp"
#include "templates/script_translation.hpp"

namespace vantorel {
namespace {

constexpr int kLines = 10000;

// The function the template compiler makes of a template, with the frame it writes around it.
std::u16string compiledTemplate(const std::u16string& name, const std::u16string& text) {
  Ref<AGPStringBuilder> arrays = makeRef<AGPStringBuilder>();
  Ref<AGPStringBuilder> body = makeRef<AGPStringBuilder>();
  std::int32_t count = 0;
  templates::translateTemplateText(text, *arrays, *body, count);
  return u"Function " + name + u"()\r\nIf bHandleTemplateError Then On Error Resume Next\r\n" +
         u"Dim ztAr(" + toString(Variant(count)) + u")\r\nDim ztSB\r\n" +
         u"Set ztSB = New StringBuilder\r\nCall zt_SetLocale()\r\nDim SYSTEMFUNCTIONS\r\n" +
         u"Set SYSTEMFUNCTIONS = New cSystemFunctions\r\nCall zt_LoadCurrent()\r\n" +
         toString(arrays->toString()) + u"\r\n" + toString(body->toString()) + u"\r\n" + name +
         u" = ztSB.ToString()\r\nSet SYSTEMFUNCTIONS = Nothing\r\nEnd Function\r\n";
}

// Ten thousand lines of an HTML table, each with two expressions.
const std::u16string kLinesTemplate =
    u"<!--## Dim i: For i = 1 To 10000 ##-->"
    u"<tr><td><!--##=i##--></td><td class=\"<!--##=\"c\" & (i Mod 2)##-->\">x</td></tr>\r\n"
    u"<!--## Next ##-->";

void BM_TemplateLines(benchmark::State& state) {
  Ref<AGScript> host = makeRef<AGScript>();
  host->Initialize(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  const std::u16string script = compiledTemplate(u"ztExLines", kLinesTemplate);
  std::size_t length = host->BuildNewCode(u"ztExLines", script, 2, -1).size();
  if (length == 0) state.SkipWithError(toUtf8(projectContext().lastErrorText).c_str());
  for (auto _ : state) {
    length = host->BuildNewCode(u"ztExLines", script, 2, -1).size();
    benchmark::DoNotOptimize(length);
  }
  state.counters["chars"] = static_cast<double>(length);
}
BENCHMARK(BM_TemplateLines)->Unit(benchmark::kMicrosecond);

void appendNumber(std::u16string& out, int n) {
  char16_t digits[12];
  int at = 12;
  do {
    digits[--at] = static_cast<char16_t>(u'0' + n % 10);
    n /= 10;
  } while (n > 0);
  out.append(digits + at, digits + 12);
}

void BM_CppLines(benchmark::State& state) {
  for (auto _ : state) {
    std::u16string out;
    for (int i = 1; i <= kLines; ++i) {
      out += u"<tr><td>";
      appendNumber(out, i);
      out += u"</td><td class=\"";
      out += u"c";
      appendNumber(out, i % 2);
      out += u"\">x</td></tr>\r\n";
    }
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_CppLines)->Unit(benchmark::kMicrosecond);

// A user-code file of 200 small procedures.
std::u16string userCode() {
  std::u16string code;
  for (int i = 0; i < 200; ++i) {
    const std::u16string n = fromAscii(std::to_string(i));
    code += u"Function UserHelper" + n + u"(a, b)\r\n  If a > b Then\r\n    UserHelper" + n +
            u" = a & \"-\" & b\r\n  Else\r\n    UserHelper" + n + u" = b\r\n  End If\r\n" +
            u"End Function\r\n";
  }
  return code;
}

void BM_HostInitialize(benchmark::State& state) {
  for (auto _ : state) {
    Ref<AGScript> host = makeRef<AGScript>();
    host->Initialize(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    benchmark::DoNotOptimize(host->validationProcedures().size());
  }
  if (!projectContext().lastErrorText.empty())
    state.SkipWithError(toUtf8(projectContext().lastErrorText).c_str());
}
BENCHMARK(BM_HostInitialize)->Unit(benchmark::kMicrosecond);

void BM_CompileCodeOnce(benchmark::State& state) {
  const std::u16string code = toString(Status().GetSysCode(Variant(u"VB"))) + u"\r\n" +
                              toString(Status().GetSysCode(Variant(u"VL"))) + u"\r\n" + userCode();
  for (auto _ : state) {
    vbs::Engine engine;
    engine.globalModule().addCode(code);
    benchmark::DoNotOptimize(engine.globalModule().procedures().size());
  }
}
BENCHMARK(BM_CompileCodeOnce)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vantorel

int main(int argc, char** argv) {
  // A private settings store naming the user-code file, so no developer's settings are read.
  const std::filesystem::path home =
      std::filesystem::temp_directory_path() / ("vantorel-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(home);
  setenv("VANTOREL_HOME", home.string().c_str(), 1);
  const std::filesystem::path user = home / "usercode.vbs";
  std::ofstream(user, std::ios::binary) << vantorel::toUtf8(vantorel::userCode());
  vantorel::projectContext().formProductStrings();
  vantorel::SetRegValue(
      vantorel::Variant(u"HKCU"), vantorel::Variant(vantorel::projectContext().generalKey),
      vantorel::Variant(u"USERCODE"), 1, vantorel::Variant(vantorel::fromUtf8(user.string())));
  const int rc = vantorel::bench::runWithRatios(argc, argv,
                                                {{"BM_TemplateLines", "BM_CppLines", 10.0},
                                                 {"BM_HostInitialize", "BM_CompileCodeOnce", 4.0}});
  std::filesystem::remove_all(home);
  return rc;
}
