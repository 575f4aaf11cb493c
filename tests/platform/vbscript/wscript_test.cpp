// The WScript object through a script, with the standard streams on temporary files.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/vbscript/control/script_control.hpp"
#include "platform/vbscript/host/script_file.hpp"
#include "platform/vbscript/host/wscript.hpp"
#include "platform/vbscript/script_runtime.hpp"

namespace vantorel::vbs {
namespace {

std::string contents(std::FILE* f) {
  std::fflush(f);
  std::rewind(f);
  std::string out;
  for (int c; (c = std::fgetc(f)) != EOF;) out.push_back(static_cast<char>(c));
  return out;
}

class WScriptTest : public ::testing::Test {
 protected:
  void SetUp() override {
    registerScriptRuntime(ClassFactory::instance());
    out = std::tmpfile();
    err = std::tmpfile();
    in = std::tmpfile();
    std::fputs("first line\r\nsecond\n", in);
    std::rewind(in);
    WScriptOptions o;
    o.scriptFullName = u"/work/scripts/demo.vbs";
    o.hostFullName = u"/usr/bin/vantorel";
    o.arguments = {u"plain", u"/flag", u"/name:value", u"two words"};
    o.out = out;
    o.err = err;
    o.in = in;
    o.quit = [this](int code) { quitCode = code; };
    sc = makeRef<ScriptControl>();
    sc->setLanguage(u"VBScript");
    sc->addObject(u"WScript", makeRef<WScript>(std::move(o)), false);
  }
  void TearDown() override {
    std::fclose(out);
    std::fclose(err);
    std::fclose(in);
  }
  std::FILE* out;
  std::FILE* err;
  std::FILE* in;
  int quitCode = -100;
  Ref<ScriptControl> sc;
};

TEST_F(WScriptTest, EchoAndStreams) {
  sc->addCode(
      u"WScript.Echo \"a\", 1, True, Null\n"
      u"WScript.Echo\n"
      u"WScript.StdOut.Write \"x\"\n"
      u"WScript.StdOut.WriteLine \"y\"\n"
      u"WScript.StdOut.WriteBlankLines 2\n"
      u"WScript.StdErr.WriteLine \"oops\"\n"
      u"l1 = WScript.StdIn.ReadLine\n"
      u"rest = WScript.StdIn.ReadAll\n"
      u"atEnd = WScript.StdIn.AtEndOfStream\n");
  EXPECT_EQ(contents(out), "a 1 True Null\n\nxy\n\n\n");
  EXPECT_EQ(contents(err), "oops\n");
  EXPECT_EQ(toString(sc->eval(u"l1")), u"first line");
  EXPECT_EQ(toString(sc->eval(u"rest")), u"second\n");
  EXPECT_TRUE(toBool(sc->eval(u"atEnd")));
  EXPECT_EQ(sc->error()->number(), 0);
  try {
    sc->executeStatement(u"x = WScript.StdIn.ReadLine");
    ADD_FAILURE() << "reading past the end";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 62);
  }
  try {
    sc->executeStatement(u"WScript.StdOut.ReadLine");
    ADD_FAILURE() << "reading an output stream";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 54);
  }
}

TEST_F(WScriptTest, ArgumentsAndNames) {
  struct Case {
    const char16_t* expression;
    const char16_t* expected;
  };
  const Case table[] = {
      {u"WScript.Arguments.Count", u"4"},
      {u"WScript.Arguments.Length", u"4"},
      {u"WScript.Arguments(0)", u"plain"},
      {u"WScript.Arguments.Item(3)", u"two words"},
      {u"WScript.Arguments.Named.Count", u"2"},
      {u"WScript.Arguments.Named(\"NAME\")", u"value"},
      {u"WScript.Arguments.Named.Exists(\"flag\")", u"True"},
      {u"IsEmpty(WScript.Arguments.Named(\"flag\"))", u"True"},
      {u"WScript.Arguments.Unnamed.Count", u"2"},
      {u"WScript.Arguments.Unnamed(1)", u"two words"},
      {u"WScript.ScriptName", u"demo.vbs"},
      {u"WScript.ScriptFullName", u"/work/scripts/demo.vbs"},
      {u"WScript.Path", u"/usr/bin"},
      {u"WScript.FullName", u"/usr/bin/vantorel"},
      {u"WScript.Name", u"Windows Script Host"},
      {u"WScript.Version", u"5.8"},
      {u"WScript.BuildVersion > 0", u"True"},
      {u"TypeName(WScript.CreateObject(\"Scripting.Dictionary\"))", u"Dictionary"},
  };
  for (const Case& c : table) {
    EXPECT_EQ(toString(sc->eval(c.expression)), c.expected)
        << toString(Variant(c.expression)).size();
  }
  sc->addCode(u"For Each a In WScript.Arguments\ns = s & a & \"|\"\nNext");
  EXPECT_EQ(toString(sc->eval(u"s")), u"plain|/flag|/name:value|two words|");
  try {
    sc->eval(u"WScript.Arguments(4)");
    ADD_FAILURE() << "index past the end";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 9);
  }
}

TEST_F(WScriptTest, QuitAndSleep) {
  sc->executeStatement(u"WScript.Sleep 10");
  sc->executeStatement(u"WScript.Quit 3");
  EXPECT_EQ(quitCode, 3);
  sc->executeStatement(u"WScript.Quit");
  EXPECT_EQ(quitCode, 0);
  sc->executeStatement(u"WScript.Timeout = 30");
  EXPECT_EQ(toString(sc->eval(u"WScript.Timeout")), u"30");
  sc->executeStatement(u"WScript.Timeout = 0");
}

TEST(ScriptFile, DecodesByByteOrderMarkElseUtf8ElseAnsi) {
  struct Case {
    std::string bytes;
    std::u16string text;
  };
  const Case table[] = {
      {"x = \"\xE9\x80\"", u"x = \"\u00e9\u20ac\""},        // Windows-1252
      {"\xEF\xBB\xBFx = \"\xC3\xA9\"", u"x = \"\u00e9\""},  // UTF-8 with its mark
      {"x = \"\xC3\xA9\"", u"x = \"\u00e9\""},              // well-formed UTF-8 without it
      {"\xC3\xA9\xE9", u"\u00c3\u00a9\u00e9"},              // not UTF-8 as a whole: ANSI
      {"\xE0\x80\xAF", u"\u00e0\u20ac\u00af"},              // an overlong form is not UTF-8
      {"\xED\xA0\x80", u"\u00ed\u00a0\u20ac"},              // nor is a surrogate
      {std::string("\xFF\xFEx\0\xAC\x20", 6), u"x\u20ac"},  // UTF-16 little-endian
      {std::string("\xFE\xFF\0x\x20\xAC", 6), u"x\u20ac"},  // UTF-16 big-endian
      {std::string("\xFF\xFEx\0y", 5), u"x\uFFFD"},         // truncated UTF-16
      {"", u""},
  };
  for (const Case& c : table) EXPECT_EQ(decodeScriptText(c.bytes), c.text);
}

TEST(ScriptFile, RandomBytesDecodeWithoutFailing) {
  std::mt19937 rng(11);
  const std::string marks[] = {"", "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"};
  for (int i = 0; i < 2000; ++i) {
    std::string bytes = marks[rng() % 4];
    for (std::size_t n = rng() % 40; n > 0; --n) bytes.push_back(static_cast<char>(rng()));
    EXPECT_LE(decodeScriptText(bytes).size(), bytes.size());
  }
}

}  // namespace
}  // namespace vantorel::vbs
