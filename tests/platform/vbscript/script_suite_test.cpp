// Runs every .vbs under scripts/ as one test. The scripts assert their own results through
// the test host's AssertEqual / AssertTrue / AssertError; the runner adds the line of each call
// so that a failure names its file and line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/bind.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"
#include "platform/vbscript/control/script_control.hpp"
#include "platform/vbscript/script_runtime.hpp"
#include "support/temp_home.hpp"
#include "support/test_files.hpp"

namespace vantorel::vbs {
namespace {

namespace stdfs = std::filesystem;

stdfs::path scriptsFolder() {
  return stdfs::path(VANTOREL_TEST_DATA).parent_path() / "platform" / "vbscript" / "scripts";
}

std::string describe(const Variant& v) {
  switch (v.type()) {
    case VarType::Empty:
      return "Empty";
    case VarType::Null:
      return "Null";
    case VarType::Array:
      return "(array)";
    case VarType::Object:
      return v.isNothing() ? "Nothing" : "(object)";
    case VarType::String:
      return "\"" + toUtf8(v.stringValue()) + "\"";
    default:
      return toUtf8(toString(v)) + " (vartype " + std::to_string(v.varType()) + ")";
  }
}

// Equal values: numbers by value whatever their subtype, strings exactly, dates as dates,
// objects by identity; a number never equals its text.
bool sameValue(const Variant& a, const Variant& b) {
  const VarType ta = a.type();
  const VarType tb = b.type();
  if (ta == VarType::Empty || ta == VarType::Null) return ta == tb;
  if (ta == VarType::String || tb == VarType::String) {
    return ta == tb && a.stringValue() == b.stringValue();
  }
  if (ta == VarType::Object || tb == VarType::Object) {
    return ta == tb && a.objectValue() == b.objectValue();
  }
  if (ta == VarType::Array || tb == VarType::Array) return false;
  if ((ta == VarType::Boolean) != (tb == VarType::Boolean)) return false;
  if ((ta == VarType::Date) != (tb == VarType::Date)) return false;
  if (!a.isNumericType() && ta != VarType::Date && ta != VarType::Boolean) return false;
  const double x = toDouble(a);
  const double y = toDouble(b);
  return x == y || std::fabs(x - y) <= 1e-12 * std::max(std::fabs(x), std::fabs(y));
}

class TestHost final : public Object {
 public:
  explicit TestHost(std::string file) : file_(std::move(file)) {}
  const ClassInfo& classInfo() const noexcept override {
    static const ClassInfo info(u"TestHost", [](ClassInfo& c) {
      ClassBuilder<TestHost>(c)
          .method<&TestHost::assertEqualAt>(u"AssertEqualAt")
          .method<&TestHost::assertTrueAt>(u"AssertTrueAt")
          .method<&TestHost::assertErrorAt>(u"AssertErrorAt")
          .get<&TestHost::tempFolder>(u"TempFolder");
    });
    return info;
  }

  void assertEqualAt(std::int32_t line, const Variant& actual, const Variant& expected,
                     std::optional<std::u16string> message) {
    ++checks_;
    if (!sameValue(actual, expected)) {
      fail(line, message, "expected " + describe(expected) + ", got " + describe(actual));
    }
  }
  void assertTrueAt(std::int32_t line, const Variant& condition,
                    std::optional<std::u16string> message) {
    ++checks_;
    if (condition.type() != VarType::Boolean || !condition.boolValue()) {
      fail(line, message, "expected True, got " + describe(condition));
    }
  }
  void assertErrorAt(std::int32_t line, std::int32_t actual, std::int32_t expected,
                     std::optional<std::u16string> message) {
    ++checks_;
    if (actual != expected) {
      fail(line, message,
           "expected error " + std::to_string(expected) + ", got " + std::to_string(actual));
    }
  }
  std::u16string tempFolder() const { return fromUtf8(temp_.str()); }

  int checks() const { return checks_; }

 private:
  void fail(std::int32_t line, const std::optional<std::u16string>& message,
            const std::string& what) {
    ADD_FAILURE_AT(file_.c_str(), line) << toUtf8(message.value_or(u"")) << ": " << what;
  }

  std::string file_;
  test::TempDir temp_;
  int checks_ = 0;
};

// "AssertEqual a, b, m" becomes "AssertEqualAt <line>, a, b, m"; "AssertError n, m" also
// passes Err.Number and clears it, so the next check starts clean.
std::string instrument(const std::string& source) {
  static const std::regex assertCall(R"(\bAssert(Equal|True)\s+)", std::regex::icase);
  static const std::regex errorCall(R"(\bAssertError\s+(.*)$)", std::regex::icase);
  std::istringstream in(source);
  std::string out;
  std::string line;
  for (int n = 1; std::getline(in, line); ++n) {
    const std::string at = std::to_string(n);
    line = std::regex_replace(line, assertCall, "Assert$1At " + at + ", ");
    line =
        std::regex_replace(line, errorCall, "AssertErrorAt " + at + ", Err.Number, $1 : Err.Clear");
    out += line;
    out += '\n';
  }
  return out;
}

std::vector<std::string> listScripts() {
  std::vector<std::string> out;
  std::error_code ec;
  for (const auto& e : stdfs::recursive_directory_iterator(scriptsFolder(), ec)) {
    if (e.is_regular_file() && e.path().extension() == ".vbs") {
      out.push_back(e.path().lexically_relative(scriptsFolder()).generic_string());
    }
  }
  std::sort(out.begin(), out.end());
  return out;
}

class ScriptSuite : public ::testing::TestWithParam<std::string> {
 protected:
  static void SetUpTestSuite() { registerScriptRuntime(ClassFactory::instance()); }
};

TEST_P(ScriptSuite, Passes) {
  const stdfs::path file = scriptsFolder() / GetParam();
  ASSERT_TRUE(stdfs::is_regular_file(file)) << file;
  const std::string text = test::readFile(file);

  Ref<TestHost> host = makeRef<TestHost>(file.string());
  Ref<ScriptControl> control = makeRef<ScriptControl>();
  control->setLanguage(u"VBScript");
  // No time limit: under the sanitizers a long script takes many times its usual time, and a
  // hang is the test runner's to stop.
  control->setTimeout(kNoTimeout);
  control->addObject(u"TestHost", host, true);
  try {
    control->addCode(fromUtf8(instrument(text)));
  } catch (const AutomationError& e) {
    const ScriptError& err = control->error()->value();
    ADD_FAILURE_AT(file.string().c_str(), err.line)
        << "column " << err.column << ": " << toUtf8(e.description()) << " (" << e.number() << ")";
  }
  EXPECT_GT(host->checks(), 0) << "the script asserted nothing";
}

std::string testName(const ::testing::TestParamInfo<std::string>& info) {
  std::string name = info.param.substr(0, info.param.size() - 4);
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Scripts, ScriptSuite, ::testing::ValuesIn(listScripts()), testName);

}  // namespace
}  // namespace vantorel::vbs
