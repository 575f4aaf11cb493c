// Inputs far from what template sets hold: a 50 MB template and binary files. Each must end in
// blocks or a clear message, in bounded time.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "foundation/project_context.hpp"
#include "foundation/text_files.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"
#include "platform/ui/recording_backend.hpp"
#include "platform/ui/ui.hpp"
#include "support/temp_home.hpp"
#include "templates/file_cache.hpp"
#include "templates/section_expansion.hpp"
#include "templates/template_parser.hpp"

namespace vantorel {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kChunkLines = 4;
const std::string kChunk =
    "<!--##session s##--><td><!--##=Field.Value##--></td>\r\n"
    "  <!--##~Indent()##--> text text text text text text\r\n"
    "<!--## If x Then ##-->yes<!--## End If ##--><!--##include f/t##-->\r\n"
    "<!--##/session##--><p><!--##@Title##--></p>\r\n";

TEST(LargeInputTest, FiftyMegabyteTemplate) {
  test::TempDir dir;
  const std::filesystem::path path = dir.path() / "big.htm";
  std::size_t chunks = 0;
  {
    std::ofstream out(path, std::ios::binary);
    out << "\xEF\xBB\xBF";
    for (std::size_t written = 0; written < (std::size_t{50} << 20); written += kChunk.size()) {
      out << kChunk;
      ++chunks;
    }
    out << "tail<!--##=unclosed";
  }
  const auto started = Clock::now();
  const std::u16string text = toString(ReadTextFile(Variant(fromUtf8(path.string()))));
  ASSERT_EQ(text.substr(0, 8), u"<!--##se");  // the mark is gone

  auto parser = makeRef<AGParser>();
  projectContext().lastErrorText.clear();
  parser->Parse(text);
  const std::u16string line = toU16(static_cast<long long>(chunks * kChunkLines + 1));
  const std::u16string& message = projectContext().lastErrorText;
  EXPECT_TRUE(message.starts_with(u"***Incomplete Block at line " + line +
                                  u" column 5! Generation failed!\r\nError lines:\r\n"))
      << toUtf8(message.substr(0, 80));
  EXPECT_TRUE(message.ends_with(u"\r\ntail<"));
  std::size_t listed = 0;
  for (std::size_t at = message.find(u"\r\n"); at != std::u16string::npos;
       at = message.find(u"\r\n", at + 2)) {
    ++listed;
  }
  EXPECT_EQ(listed, 12u);  // "Error lines:" and eleven lines
  EXPECT_EQ(parser->Count(), static_cast<std::int32_t>(chunks * 15));

  // Sections of the same text, with an include of a missing section in each.
  auto cache = makeRef<AGPFileCache>();
  cache->addText(text, u"f");
  EXPECT_EQ(cache->size(), 1u);
  const templates::ExpandedSection expanded = templates::expandSection(*cache, u"f", u"s");
  EXPECT_EQ(expanded.pieces.size(), 3u);
  EXPECT_TRUE(expanded.outcome.ok());

  // A nested marker at the end: the message box shows a bounded part of the source.
  auto backend = std::make_shared<ui::RecordingBackend>();
  ui::setBackendForTesting(backend);
  parser->Parse(u"<!--## x <!--##=y##-->" + text);
  const auto asked = backend->events(ui::RecordingBackend::Event::Kind::Asked);
  ui::setBackendForTesting(nullptr);
  EXPECT_TRUE(
      projectContext().lastErrorText.starts_with(u"***Nested Blocks found at line 1 column 10!"))
      << toUtf8(projectContext().lastErrorText.substr(0, 80));
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].question.text.size(), 14u + 65536u + 3u);
  EXPECT_TRUE(asked[0].question.text.ends_with(u"..."));
  projectContext().lastErrorText.clear();
  EXPECT_LT(Clock::now() - started, std::chrono::seconds(60));
}

TEST(LargeInputTest, BinaryFilesEndInBlocksOrAMessage) {
  test::TempDir dir;
  auto backend = std::make_shared<ui::RecordingBackend>();
  ui::setBackendForTesting(backend);
  for (std::uint32_t seed = 1; seed <= 20; ++seed) {
    std::mt19937 rng(seed);
    std::string bytes(64 * 1024, '\0');
    for (char& b : bytes) b = static_cast<char>(rng());
    // Markers sprinkled in, so that the binary also opens blocks and sections.
    for (int i = 0; i < 200; ++i) {
      static const char* const kMarkers[] = {"<!--##", "##-->", "<!--##session x##-->",
                                             "<!--##/session##-->", "<!--##include f/x##-->"};
      const std::string m = kMarkers[rng() % 5];
      bytes.replace(rng() % (bytes.size() - m.size()), m.size(), m);
    }
    const std::filesystem::path path = dir.path() / ("bin" + std::to_string(seed));
    std::ofstream(path, std::ios::binary) << bytes;
    auto cache = makeRef<AGPFileCache>();
    cache->AddFile(fromUtf8(path.string()), u"f");
    for (const AGPFileCache::Entry& e : cache->entries()) {
      projectContext().lastErrorText.clear();
      for (const std::u16string& piece : templates::expandSection(*cache, u"f", e.section).pieces) {
        makeRef<AGParser>()->Parse(piece);
      }
    }
    projectContext().lastErrorText.clear();
    auto parser = makeRef<AGParser>();
    parser->Parse(toString(ReadTextFile(Variant(fromUtf8(path.string())))));
    EXPECT_TRUE(projectContext().lastErrorText.empty() ||
                projectContext().lastErrorText.starts_with(u"***"))
        << seed;
  }
  ui::setBackendForTesting(nullptr);
  projectContext().lastErrorText.clear();
}

}  // namespace
}  // namespace vantorel
