#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/registry/reg_error.hpp"
#include "platform/registry/reg_text_parser.hpp"
#include "platform/registry/reg_text_writer.hpp"

namespace vantorel::reg {
namespace {

constexpr std::u16string_view kHkcu = u"HKEY_CURRENT_USER";

RegKey parse(std::string_view text) {
  return parseRegText(text, kHkcu, "test.reg");
}

std::vector<std::uint8_t> bytes(std::initializer_list<int> list) {
  std::vector<std::uint8_t> out;
  for (int b : list) out.push_back(static_cast<std::uint8_t>(b));
  return out;
}

struct TypedCase {
  const char* line;  // as it stands in the file, below [HKEY_CURRENT_USER\K]
  RegValue value;
};

// Each value type as regedit writes it, and the value it stands for.
const std::vector<TypedCase>& typedCases() {
  static const std::vector<TypedCase> cases = {
      {R"("Text"="a \"quoted\" \\ path")", {u"Text", kRegSz, stringData(u"a \"quoted\" \\ path")}},
      {R"(@="default")", {u"", kRegSz, stringData(u"default")}},
      {R"("Empty"="")", {u"Empty", kRegSz, stringData(u"")}},
      {"\"Ünï\"=\"日本語 \xF0\x9F\x98\x80\"", {u"Ünï", kRegSz, stringData(u"日本語 😀")}},
      {"\"Lines\"=hex(1):61,00,0d,00,0a,00,62,00,00,00", {u"Lines", kRegSz, stringData(u"a\r\nb")}},
      {"\"NoBytes\"=hex(1):", {u"NoBytes", kRegSz, {}}},
      {"\"Unterminated\"=hex(1):61,00", {u"Unterminated", kRegSz, bytes({0x61, 0})}},
      {"\"Number\"=dword:0000001f", {u"Number", kRegDword, dwordData(31)}},
      {"\"Max\"=dword:ffffffff", {u"Max", kRegDword, dwordData(0xFFFFFFFFu)}},
      {"\"ShortDword\"=hex(4):01,02", {u"ShortDword", kRegDword, bytes({1, 2})}},
      {"\"Expand\"=hex(2):25,00,50,00,25,00,00,00", {u"Expand", kRegExpandSz, stringData(u"%P%")}},
      {"\"Binary\"=hex:01,02,ff", {u"Binary", kRegBinary, bytes({1, 2, 0xFF})}},
      {"\"NoBinary\"=hex:", {u"NoBinary", kRegBinary, {}}},
      {"\"Big\"=hex(5):00,00,01,02", {u"Big", kRegDwordBigEndian, bytes({0, 0, 1, 2})}},
      {"\"Multi\"=hex(7):61,00,00,00,62,00,00,00,00,00",
       {u"Multi", kRegMultiSz, multiStringData({u"a", u"b"})}},
      {"\"Qword\"=hex(b):01,00,00,00,00,00,00,00",
       {u"Qword", kRegQword, bytes({1, 0, 0, 0, 0, 0, 0, 0})}},
      {"\"None\"=hex(0):", {u"None", kRegNone, {}}},
      {"\"Odd\"=hex(ffff0000):7f", {u"Odd", 0xFFFF0000u, bytes({0x7F})}},
  };
  return cases;
}

TEST(RegText, EveryValueTypeReadsAndWritesAsRegeditDoes) {
  for (const auto& c : typedCases()) {
    SCOPED_TRACE(c.line);
    std::string text = "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\K]\n" +
                       std::string(c.line) + "\n";
    RegKey root = parse(text);
    const RegKey* key = root.findPath(u"K");
    ASSERT_NE(key, nullptr);
    ASSERT_EQ(key->values().size(), 1u);
    EXPECT_EQ(key->values()[0], c.value);
    EXPECT_EQ(formatRegText(root, kHkcu), text + "\n");
  }
}

TEST(RegText, WholeTreeRoundTripsExactly) {
  RegKey root;
  RegKey& key = root.ensurePath(u"Software\\Vantorel\\4.0");
  for (const auto& c : typedCases()) key.setValue(c.value);
  std::vector<std::uint8_t> big(300);
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<std::uint8_t>(i * 7);
  key.setValue({u"Long binary", kRegBinary, big});
  root.ensurePath(u"Software\\Empty key");
  root.setValue({u"AtRoot", kRegDword, dwordData(1)});

  std::string text = formatRegText(root, kHkcu);
  RegKey back = parse(text);
  EXPECT_TRUE(back == root);
  EXPECT_EQ(formatRegText(back, kHkcu), text);
  for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos;
       start = end + 1) {
    EXPECT_LE(end - start, 80u) << text.substr(start, end - start);
  }
}

TEST(RegText, AcceptsWhatRegeditWritesAndToleratesLayout) {
  RegKey root = parse(
      "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n"
      "\r\n"
      "; a comment\r\n"
      "[HKCU\\A\\B]\r\n"
      "  \"x\" = hex:01,02,\\\r\n"
      "    03,04\r\n"
      "\"X\"=dword:5\r\n"  // same name in another case replaces, keeping the first spelling
      "[hkey_current_user\\a\\c]   \r\n");
  const RegKey* b = root.findPath(u"a\\b");
  ASSERT_NE(b, nullptr);
  ASSERT_EQ(b->values().size(), 1u);
  EXPECT_EQ(b->values()[0], (RegValue{u"x", kRegDword, dwordData(5)}));
  ASSERT_NE(root.findPath(u"A\\C"), nullptr);
  EXPECT_EQ(root.findPath(u"A")->child(0).name(), u"B");
  EXPECT_EQ(parse("").childCount(), 0u);
  EXPECT_EQ(parse(" \n\n").childCount(), 0u);
}

struct BadCase {
  std::string text;  // after the header line
  std::size_t line, column;
  const char* reason;
};

TEST(RegText, ErrorsNameLineAndColumn) {
  const std::vector<BadCase> cases = {
      {"\"a\"=\"b\"", 2, 1, "must follow a [key]"},
      {"[HKEY_CURRENT_USER\\K]\n\"x\"=dword:123456789", 3, 19, "too many digits"},
      {"[HKEY_CURRENT_USER\\K]\n\"x\"=\"abc", 3, 9, "missing closing"},
      {"[HKEY_CURRENT_USER\\K]\n\"x\"=hex:01,zz", 3, 12, "expected hex digits"},
      {"[HKEY_CURRENT_USER\\K]\n\"x\"=hex:01,\\", 3, 12, "past the end"},
      {"[HKEY_CURRENT_USER\\K]\n\"x\"=hex:01,\n", 3, 12, "after ','"},
      {"[HKEY_CURRENT_USER\\K]\n\"x\"=hex:01 02", 3, 12, "expected ','"},
      {"[HKEY_CURRENT_USER\\K]\n\"x\"=hex(2:00", 3, 10, "'):'"},
      {"[HKEY_LOCAL_MACHINE\\K]", 2, 2, "outside HKEY_CURRENT_USER"},
      {"[HKEY_CURRENT_USER\\A\\\\B]", 2, 22, "empty key name"},
      {"[HKEY_CURRENT_USER\\A", 2, 21, "missing ']'"},
      {"[HKEY_CURRENT_USER\\A] x", 2, 23, "after ']'"},
      {"[-HKEY_CURRENT_USER\\A]", 2, 2, "deletions"},
      {"[HKEY_CURRENT_USER\\K]\n\"x\"=-", 3, 5, "deletions"},
      {"[HKEY_CURRENT_USER\\K]\n\"x\"=\"a\\n\"", 3, 7, "unknown escape"},
      {"[HKEY_CURRENT_USER\\K]\n\"日本\"=x", 3, 6, "expected a quoted string"},
      {"[HKEY_CURRENT_USER\\K]\n\"x\" \"y\"", 3, 5, "expected '='"},
      {"[HKEY_CURRENT_USER\\K]\n\"x\"=\"y\" z", 3, 9, "after the value"},
      {"[HKEY_CURRENT_USER\\K]\n\"ok\"=\"\xC3\xA9\xFF\"", 3, 8, "invalid UTF-8"},
      {"[HKEY_CURRENT_USER\\K]\nnonsense", 3, 1, "expected a [key] line"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    try {
      parse("Windows Registry Editor Version 5.00\n" + c.text);
      ADD_FAILURE() << "parsed";
    } catch (const RegParseError& e) {
      EXPECT_EQ(e.file(), "test.reg");
      EXPECT_EQ(e.line(), c.line) << e.what();
      EXPECT_EQ(e.column(), c.column) << e.what();
      EXPECT_NE(e.reason().find(c.reason), std::string::npos) << e.what();
    }
  }
  try {
    parse("REGEDIT4\n");
    ADD_FAILURE() << "parsed";
  } catch (const RegParseError& e) {
    EXPECT_EQ(std::string(e.what()),
              "Registry store 'test.reg' cannot be read: line 1, column 1: expected the header "
              "line 'Windows Registry Editor Version 5.00'");
  }
}

// Random damage to a valid store and random text over the format's own characters: every input
// either parses, and then writes back to text that parses to the same tree, or is refused with
// a parse error.
TEST(RegText, FuzzedInputGivesCleanErrorOrTree) {
  RegKey sample;
  RegKey& key = sample.ensurePath(u"Software\\V\\Sub");
  for (const auto& c : typedCases()) key.setValue(c.value);
  key.setValue({u"Long", kRegBinary, std::vector<std::uint8_t>(90, 0xAB)});
  const std::string base = formatRegText(sample, kHkcu);
  const std::string alphabet =
      "[]\\\"@=,:;()-hexdword0123456789abcdefHKEY_CURRENT_USER \t\n\r\xC3\xA9\xFF";

  std::mt19937 random(20240601);
  auto pick = [&](std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
  };
  int parsed = 0, refused = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    if (round % 4 == 3) {
      text = "Windows Registry Editor Version 5.00\n";
      for (std::size_t n = pick(200); n > 0; --n) text.push_back(alphabet[pick(alphabet.size())]);
    } else {
      text = base;
      for (std::size_t edits = 1 + pick(4); edits > 0; --edits) {
        std::size_t at = pick(text.size());
        switch (pick(4)) {
          case 0:
            text[at] = alphabet[pick(alphabet.size())];
            break;
          case 1:
            text.insert(at, 1, alphabet[pick(alphabet.size())]);
            break;
          case 2:
            text.erase(at, 1 + pick(8));
            break;
          default:
            text.resize(at);
            break;
        }
        if (text.empty()) break;
      }
    }
    try {
      RegKey root = parse(text);
      RegKey again = parse(formatRegText(root, kHkcu));
      ASSERT_TRUE(again == root) << text;
      ++parsed;
    } catch (const RegParseError& e) {
      ASSERT_GE(e.line(), 1u);
      ASSERT_GE(e.column(), 1u);
      ++refused;
    }
  }
  EXPECT_GT(parsed, 50);
  EXPECT_GT(refused, 50);
}

}  // namespace
}  // namespace vantorel::reg
