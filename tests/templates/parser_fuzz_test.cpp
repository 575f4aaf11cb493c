// Mutated templates against a plain transcription of the block rules: the parser must agree with
// it on every block and every error, and neither crash nor stall.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "foundation/project_context.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"
#include "platform/ui/recording_backend.hpp"
#include "platform/ui/ui.hpp"
#include "templates/file_cache.hpp"
#include "templates/section_expansion.hpp"
#include "templates/template_parser.hpp"

namespace vantorel {
namespace {

using Text = std::u16string;

// 1-based helpers in the manner of the script language the rules were first written in.
std::size_t inStr(std::size_t start, const Text& s, const Text& find) {
  if (start < 1 || start > s.size() + 1) return 0;
  const std::size_t at = toLower(s).find(toLower(find), start - 1);
  return at == Text::npos ? 0 : at + 1;
}
std::size_t inStrRev(const Text& s, const Text& find) {
  const std::size_t at = toLower(s).rfind(toLower(find));
  return at == Text::npos ? 0 : at + 1;
}
Text left(const Text& s, std::size_t n) {
  return s.substr(0, std::min(n, s.size()));
}
Text mid(const Text& s, std::size_t start, std::size_t n) {
  return start > s.size() ? Text() : s.substr(start - 1, n);
}
Text trim(const Text& s) {
  return Text(trimBlanks(s));
}

Text referenceName(const Text& content) {
  std::size_t p = inStrRev(content, u"Function ");
  while (p > 0) {
    const std::size_t crlf = inStrRev(left(content, p - 1), u"\r\n");
    const Text before = crlf > 0 ? mid(content, crlf + 2, p - crlf - 2) : left(content, p);
    if (trim(before).empty()) {
      const std::size_t paren = inStr(p, content, u"(");
      if (paren == 0) return {};
      return trim(mid(content, p + 8, paren - p - 8));
    }
    if (before.back() != u' ' || trim(before).front() == u'\'') {
      p = inStrRev(left(content, p), u"Function ");
      continue;
    }
    return {};
  }
  return {};
}

// What the rules give: the blocks as text, or the error's line and column.
Text referenceParse(const Text& src) {
  Text out;
  Text lastText;
  bool lastWasText = false;
  auto position = [&](std::size_t prefix, const char16_t* what) {
    const Text head = left(src, prefix);
    std::size_t lines = 1;
    for (std::size_t at = head.find(u"\r\n"); at != Text::npos; at = head.find(u"\r\n", at + 2))
      ++lines;
    const std::size_t lastBreak = head.rfind(u"\r\n");
    const std::size_t column = lastBreak == Text::npos ? head.size() : head.size() - lastBreak - 2;
    return out + what + toU16(static_cast<long long>(lines)) + u":" +
           toU16(static_cast<long long>(column));
  };
  std::size_t pos = 1;
  std::size_t tag = inStr(1, src, u"<!--##");
  while (tag > 0) {
    if (tag > pos) {
      lastText = mid(src, pos, tag - pos);
      out += u"T[" + lastText + u"]";
      lastWasText = true;
    }
    const Text kind = mid(src, tag + 6, 1);
    const std::size_t end = inStr(tag, src, u"##-->");
    if (end == 0) return position(tag, u"!incomplete ");
    const std::size_t next = inStr(tag + 6, src, u"<!--##");
    if (next >= 1 && next < end) return position(next, u"!nested ");
    const bool typed = kind == u"=" || kind == u"~" || kind == u"@" || kind == u"$";
    const std::size_t start = typed ? tag + 7 : tag + 6;
    const Text content = end > start ? mid(src, start, end - start) : Text();
    if ((kind == u"=" || kind == u"~" || kind == u"$") &&
        content.find_first_not_of(u" \t\r\n") == Text::npos) {
      return position(tag, u"!empty ");
    }
    if (typed) {
      Text indent;
      if (kind == u"~" && lastWasText) {
        std::size_t n = lastText.size();
        while (n > 0 && (lastText[n - 1] == u' ' || lastText[n - 1] == u'\t')) --n;
        indent = lastText.substr(n);
      }
      out += kind + u"[" + content + u"|" + trim(content) + u"|" + indent + u"]";
    } else {
      out += u"C[" + content + u"|" + referenceName(content) + u"]";
    }
    lastWasText = false;
    pos = end + 5;
    tag = next;
  }
  if (pos < src.size() + 1) out += u"T[" + mid(src, pos, src.size() + 1 - pos) + u"]";
  return out;
}

Text parsedAsText(const Text& src) {
  static const char16_t* kinds[] = {u"", u"C", u"=", u"~", u"@", u"$", u"T"};
  projectContext().lastErrorText.clear();
  auto p = makeRef<AGParser>();
  p->Parse(src);
  Text out;
  for (std::int32_t i = 1; i <= p->Count(); ++i) {
    const AGBlock& b = p->block(i);
    const Text value(p->blockValue(i));
    out += kinds[b.BlockType];
    if (b.BlockType == kBlockText) {
      out += u"[" + value + u"]";
    } else if (b.BlockType == kBlockCode) {
      out += u"[" + value + u"|" + std::u16string(b.BlockName) + u"]";
    } else {
      out += u"[" + value + u"|" + std::u16string(b.BlockName) + u"|" +
             std::u16string(b.BlockIndent) + u"]";
    }
  }
  if (projectContext().lastErrorText.empty()) return out;
  // "***Nested Blocks found at line N column C! ..." -> "!nested N:C"
  const Text& e = projectContext().lastErrorText;
  const std::size_t line = e.find(u" at line ") + 9;
  const std::size_t column = e.find(u" column ", line);
  const std::size_t stop = e.find(u"!", column);
  const Text kind = e.starts_with(u"***Nested")  ? u"!nested "
                    : e.starts_with(u"***Empty") ? u"!empty "
                                                 : u"!incomplete ";
  return out + kind + e.substr(line, column - line) + u":" +
         e.substr(column + 8, stop - column - 8);
}

const std::vector<Text>& fragments() {
  static const std::vector<Text> list = {
      u"<!--##",
      u"##-->",
      u"=",
      u"~",
      u"@",
      u"$",
      u" ",
      u"\t",
      u"\r\n",
      u"\r",
      u"\n",
      u"Function ",
      u"FUNCTION ",
      u"(",
      u"Public ",
      u"'",
      u"x",
      u"\U0001F600",
      u"<!--##=a##-->",
      u"<!--## ##-->",
      u"<!--##-->",
      u"#",
      u"<",
      u"-->",
      u"<!--##session s##-->",
      u"<!--##/session##-->",
      u"<!--##include f/s##-->",
  };
  return list;
}

Text baseTemplate(std::mt19937& rng) {
  static const std::vector<Text> pieces = {
      u"<html>\r\n  <body>\r\n",
      u"    <td><!--##=CurrentField.FldName##--></td>\r\n",
      u"  <!--##~SYSTEMFUNCTIONS.Indent()##-->\r\n",
      u"<!--##\r\nFunction Show(x)\r\n  Show = x\r\nEnd Function\r\n##-->",
      u"<!--## If PROJ.ProjVar Then ##-->yes<!--## End If ##-->",
      u"<p><!--##@Title##--> <!--##$\"Key\" & n##--></p>\r\n",
      u"<!--##session part##-->inner<!--##include f/other##--><!--##/session##-->",
  };
  Text out;
  const int n = 3 + static_cast<int>(rng() % 8);
  for (int i = 0; i < n; ++i) out += pieces[rng() % pieces.size()];
  return out;
}

Text mutate(Text text, std::mt19937& rng) {
  const int steps = 1 + static_cast<int>(rng() % 6);
  for (int i = 0; i < steps; ++i) {
    const std::size_t at = text.empty() ? 0 : rng() % (text.size() + 1);
    switch (rng() % 4) {
      case 0:
      case 1:
        text.insert(at, fragments()[rng() % fragments().size()]);
        break;
      case 2:
        text.erase(at, rng() % 12);
        break;
      default:
        // A random code unit, lone surrogates and controls included.
        text.insert(text.begin() + static_cast<std::ptrdiff_t>(at),
                    static_cast<char16_t>(rng() % 0x10000));
    }
  }
  return text;
}

TEST(TemplateParserFuzzTest, AgreesWithTheRulesOnMutatedTemplates) {
  auto backend = std::make_shared<ui::RecordingBackend>();
  ui::setBackendForTesting(backend);
  const auto started = std::chrono::steady_clock::now();
  int errors = 0;
  for (std::uint32_t seed = 1; seed <= 3000; ++seed) {
    std::mt19937 rng(seed);
    const Text source = mutate(baseTemplate(rng), rng);
    const Text expected = referenceParse(source);
    const Text actual = parsedAsText(source);
    ASSERT_EQ(toUtf8(actual), toUtf8(expected)) << "seed " << seed << ": " << toUtf8(source);
    if (actual.find(u'!') != Text::npos && !projectContext().lastErrorText.empty()) ++errors;
    // The same text as a section file: cutting sections and expanding includes must end.
    auto cache = makeRef<AGPFileCache>();
    cache->addText(source, u"f");
    for (const AGPFileCache::Entry& e : cache->entries()) {
      projectContext().lastErrorText.clear();
      EXPECT_FALSE(templates::expandSection(*cache, u"f", e.section).pieces.empty());
    }
    backend->clearEvents();
  }
  ui::setBackendForTesting(nullptr);
  projectContext().lastErrorText.clear();
  // Both outcomes are exercised.
  EXPECT_GT(errors, 300);
  EXPECT_LT(errors, 2700);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(30));
}

}  // namespace
}  // namespace vantorel
