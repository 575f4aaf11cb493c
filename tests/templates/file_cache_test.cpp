#include "templates/file_cache.hpp"
#include "foundation/project_context.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/automation/safe_array.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"
#include "support/failure_text.hpp"
#include "support/temp_home.hpp"
#include "templates/section_expansion.hpp"
#include "templates/template_parser.hpp"

namespace vantorel {
namespace {

std::u16string section(std::u16string_view name, std::u16string_view body) {
  return u"<!--##session " + std::u16string(name) + u"##-->" + std::u16string(body) +
         u"<!--##/session##-->";
}

// The cache's entries as "file/section=content;".
std::u16string entriesOf(const AGPFileCache& cache) {
  std::u16string out;
  for (const AGPFileCache::Entry& e : cache.entries()) {
    out += e.file + u"/" + e.section + u"=" + e.content + u";";
  }
  return out;
}

TEST(FileCacheTest, CutsNamedSections) {
  struct Case {
    std::u16string text;
    std::u16string entries;
  };
  const std::vector<Case> cases = {
      {section(u"a", u"x"), u"f/a=x;"},
      {u"<!--##SESSION  b ##-->\r\ny\r\n<!--##/Session##-->", u"f/b=\r\ny\r\n;"},
      {u"<!--##sessionc##-->z<!--##/session##-->", u"f/c=z;"},
      // The later content of a name wins and keeps the first place.
      {section(u"a", u"1") + section(u"b", u"2") + section(u"a", u"3"), u"f/a=3;f/b=2;"},
      // A start marker without an end marker after it is dropped, later ones still count.
      {u"<!--##session lost##-->never closed", u""},
      {u"<!--##session open##-->" + section(u"later", u"ok"),
       u"f/open=<!--##session later##-->ok;f/later=ok;"},
      {u"<!--##session noclose", u""},
      {u"text only", u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(toUtf8(c.text));
    auto cache = makeRef<AGPFileCache>();
    cache->addText(c.text, u"f");
    EXPECT_EQ(toUtf8(entriesOf(*cache)), toUtf8(c.entries));
  }
  auto cache = makeRef<AGPFileCache>();
  cache->addText(section(u"a", u"x"), u"f");
  EXPECT_EQ(cache->GetSession(u"f", u"a"), u"x");
  EXPECT_EQ(cache->GetSession(u"f", u"A"), u"");
  EXPECT_EQ(cache->GetSession(u"F", u"a"), u"");
  cache->Clear();
  EXPECT_EQ(cache->size(), 0u);
}

TEST(FileCacheTest, AddFileReadsMarkedUtf8AndSkipsMissingFiles) {
  test::TempDir dir;
  const std::string path = (dir.path() / "page.htm").string();
  {
    std::ofstream out(path, std::ios::binary);
    out << "\xEF\xBB\xBF<!--##session s##-->caf\xC3\xA9<!--##/session##-->";
  }
  auto cache = makeRef<AGPFileCache>();
  cache->call(u"AddFile", {Variant(fromUtf8(path)), Variant(u"page.htm")});
  cache->AddFile(fromUtf8((dir.path() / "missing.htm").string()), u"missing.htm");
  EXPECT_EQ(toUtf8(entriesOf(*cache)), "page.htm/s=caf\xC3\xA9;");
  // The same file added again replaces its sections in place.
  cache->AddFile(fromUtf8(path), u"page.htm");
  EXPECT_EQ(cache->size(), 1u);
}

// The pieces joined with "|".
std::u16string piecesOf(const std::vector<std::u16string>& pieces) {
  std::u16string out;
  for (std::size_t i = 0; i < pieces.size(); ++i) out += (i ? u"|" : u"") + pieces[i];
  return out;
}

TEST(FileCacheTest, ExpandsIncludesToAnyDepth) {
  auto cache = makeRef<AGPFileCache>();
  cache->addText(section(u"main", u"a<!--##include other.htm/inner##-->b") +
                     section(u"only", u"<!--##include other.htm / inner ##-->") +
                     section(u"plain", u"whole text") +
                     section(u"bad", u"x<!--##include a/b/c##-->y") +
                     section(u"noslash", u"x<!--##include other.htm##-->y") +
                     section(u"open", u"x<!--##include other.htm/inner") +
                     section(u"absent", u"[<!--##include other.htm/none##-->]") +
                     section(u"deep", u"0<!--##include other.htm/level1##-->9"),
                 u"page.htm");
  cache->addText(section(u"inner", u"I") +
                     section(u"level1", u"1<!--##include other.htm/level2##-->8") +
                     section(u"level2", u"2<!--##include page.htm/plain##-->7"),
                 u"other.htm");
  struct Case {
    std::u16string section;
    std::u16string pieces;
    std::size_t count;
  };
  const std::vector<Case> cases = {
      {u"main", u"a|I|b", 3},       {u"only", u"|I|", 3},
      {u"plain", u"whole text", 1}, {u"bad", u"x|y", 2},
      {u"noslash", u"x|y", 2},      {u"open", u"x|<!--##include other.htm/inner", 2},
      {u"absent", u"[||]", 3},      {u"deep", u"0|1|2|whole text|7|8|9", 7},
      {u"missing", u"", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(toUtf8(c.section));
    const templates::ExpandedSection expanded =
        templates::expandSection(*cache, u"page.htm", c.section);
    const std::vector<std::u16string>& pieces = expanded.pieces;
    EXPECT_EQ(toUtf8(piecesOf(pieces)), toUtf8(c.pieces));
    EXPECT_EQ(pieces.size(), c.count);
    EXPECT_TRUE(expanded.outcome.ok());
  }
}

TEST(FileCacheTest, IncludeCyclesAndRunawayNestingStopWithTheirSection) {
  auto cache = makeRef<AGPFileCache>();
  std::u16string chain;
  for (int i = 0; i < 70; ++i) {
    chain += section(u"n" + toU16(i), u"<!--##include f/n" + toU16(i + 1) + u"##-->");
  }
  std::u16string wide;
  for (int i = 0; i < 40; ++i) {
    wide += section(u"w" + toU16(i), u"<!--##include f/w" + toU16(i + 1) +
                                         u"##--><!--##include f/w" + toU16(i + 1) + u"##-->");
  }
  cache->addText(section(u"self", u"a<!--##include f/self##-->b") +
                     section(u"x", u"<!--##include f/y##-->") +
                     section(u"y", u"<!--##include f/z##-->") +
                     section(u"z", u"z<!--##include f/x##-->") + chain + wide,
                 u"f");
  struct Case {
    std::u16string section;
    std::u16string message;
  };
  const std::vector<Case> cases = {
      {u"self",
       u"***Include cycle: section \"self\" of \"f\" includes itself (f/self -> f/self)! "
       u"Generation failed!"},
      {u"x",
       u"***Include cycle: section \"x\" of \"f\" includes itself (f/x -> f/y -> f/z -> "
       u"f/x)! Generation failed!"},
      {u"n0",
       u"***Includes nested deeper than 64 levels at section \"n65\" of \"f\", included "
       u"from section \"n64\" of \"f\"! Generation failed!"},
      {u"n10", u""},
      {u"w0",
       u"***Includes of section \"w0\" of \"f\" expand to more than 1000000 pieces or "
       u"268435456 characters! Generation failed!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(toUtf8(c.section));
    const templates::ExpandedSection expanded = templates::expandSection(*cache, u"f", c.section);
    EXPECT_EQ(toUtf8(test::failureText(expanded.outcome)), toUtf8(c.message));
    EXPECT_FALSE(expanded.pieces.empty());
  }
}

TEST(FileCacheTest, ParserHandsOutSectionsOfTheSharedCache) {
  SharedFileCache().Clear();
  SharedFileCache().addText(section(u"s", u"a<!--##include t.htm/u##-->c"), u"t.htm");
  SharedFileCache().addText(section(u"u", u"b"), u"t.htm");
  auto parser = makeRef<AGParser>();
  const Variant pieces = parser->call(u"GetSession", {Variant(u"t.htm"), Variant(u"s")});
  ASSERT_TRUE(pieces.isArray());
  const SafeArray& array = pieces.arrayValue();
  EXPECT_EQ(array.bound(1).lower, 0);
  ASSERT_EQ(array.bound(1).count, 3);
  EXPECT_EQ(toString(array.at(0)) + toString(array.at(1)) + toString(array.at(2)), u"abc");
  const Variant none = parser->GetSession(u"t.htm", u"none");
  EXPECT_EQ(none.arrayValue().bound(1).count, 1);
  SharedFileCache().Clear();
}

}  // namespace
}  // namespace vantorel
