#include "foundation/keyword_list.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "platform/automation/class_info.hpp"
#include "platform/fs/path.hpp"
#include "platform/text/unicode.hpp"
#include "platform/ui/recording_backend.hpp"
#include "platform/ui/ui.hpp"
#include "support/temp_home.hpp"

namespace vantorel {
namespace {

using Kind = ui::RecordingBackend::Event::Kind;

class KeywordListTest : public ::testing::Test {
 protected:
  void SetUp() override { ui::setBackendForTesting(rec); }
  void TearDown() override { ui::setBackendForTesting(nullptr); }

  Variant write(const std::string& name, const std::string& text) {
    const auto p = dir.path() / name;
    std::ofstream(p, std::ios::binary) << text;
    return Variant(fs::fromNative(p));
  }
  std::size_t boxes() const { return rec->events(Kind::Asked).size(); }
  // As scripts call it.
  bool load(const Variant& file) { return list->call(u"Load", {file}).boolValue(); }

  std::shared_ptr<ui::RecordingBackend> rec = std::make_shared<ui::RecordingBackend>();
  test::TempDir dir;
  Ref<AGPKeyword> list = makeRef<AGPKeyword>();
};

TEST_F(KeywordListTest, MembersAndInitialState) {
  const char16_t* expected[] = {u"curIndex", u"Count", u"IsKeyword", u"Load"};
  const auto& members = list->classInfo().members();
  ASSERT_EQ(members.size(), std::size(expected));
  for (std::size_t i = 0; i < members.size(); ++i) EXPECT_EQ(members[i].name, expected[i]);
  EXPECT_EQ(list->get(u"curIndex").integerValue(), 0);
  EXPECT_EQ(list->get(u"Count").longValue(), 0);
  EXPECT_FALSE(list->IsKeyword(u""));
}

TEST_F(KeywordListTest, LoadsWordsAndIgnoresTheRest) {
  const Variant file = write("k.xml",
                             "<?xml version=\"1.0\"?>\n<VANTOREL.KEYWORD>\n"
                             "  <keyword value=\"Dim\"/>\n"
                             "  <KeyWord VALUE=\"dim\" other=\"x\"/>\n"
                             "  <keyword value=\"Dim\"/>\n"
                             "  <other value=\"Ignored\"/>\n"
                             "  <keyword name=\"NoValue\"/>\n"
                             "  <!-- <keyword value=\"Commented\"/> -->\n"
                             "  <keyword value=\"Caf&#233;\"/>\n"
                             "</VANTOREL.KEYWORD>\n");
  ASSERT_TRUE(list->call(u"Load", {file}).boolValue());
  EXPECT_EQ(list->words(), (std::vector<std::u16string>{u"Dim", u"dim", u"", u"Caf\u00E9"}));
  struct Case {
    const char16_t* word;
    bool reserved;
  };
  const Case cases[] = {{u"DIM", true},       {u"dim", true},      {u"", true},
                        {u"CAF\u00C9", true}, {u"Ignored", false}, {u"Commented", false},
                        {u"NoValue", false}};
  for (const Case& c : cases) EXPECT_EQ(list->IsKeyword(c.word), c.reserved) << toUtf8(c.word);

  EXPECT_TRUE(load(file));  // a second load adds nothing
  EXPECT_EQ(list->Count(), 4);
  EXPECT_TRUE(load(write("more.xml",
                         "<vantorel.keyword><keyword value='Loop'/>"
                         "<keyword value='Dim'/></vantorel.keyword>")));
  EXPECT_EQ(list->Count(), 5);
  EXPECT_EQ(boxes(), 0u);
}

TEST_F(KeywordListTest, FailingLoadsShowOneBoxPerRun) {
  const Variant good =
      write("good.xml", "<Vantorel.keyword><keyword value='If'/></Vantorel.keyword>");
  const Variant missing(fs::fromNative(dir.path() / "missing.xml"));
  const Variant broken = write("broken.xml", "<Vantorel.keyword><keyword value='x'");
  const Variant wrongRoot =
      write("wrong.xml", "<Other.keyword><keyword value='Else'/></Other.keyword>");

  EXPECT_FALSE(load(missing));
  ASSERT_EQ(boxes(), 1u);
  const ui::Question q = rec->events(Kind::Asked)[0].question;
  EXPECT_EQ(q.title, u"Vantorel");
  EXPECT_EQ(q.icon, ui::Icon::Exclamation);
  EXPECT_EQ(q.buttons, std::vector<ui::Answer>{ui::Answer::OK});
  EXPECT_EQ(q.text, u"Load keyword file \"" + missing.stringValue() +
                        u"\" failed. Please check your keyword file.");

  EXPECT_FALSE(load(broken));  // second failure in a row: no box
  EXPECT_EQ(boxes(), 1u);
  EXPECT_TRUE(load(good));
  EXPECT_FALSE(load(Variant()));  // no path; after a success the box shows again
  EXPECT_EQ(boxes(), 2u);
  EXPECT_EQ(rec->events(Kind::Asked)[1].question.text,
            u"Load keyword file \"\" failed. Please check your keyword file.");

  EXPECT_TRUE(load(good));
  EXPECT_FALSE(load(wrongRoot));  // wrong root: no box, nothing added
  EXPECT_FALSE(load(missing));    // and it counts as the previous failure
  EXPECT_EQ(boxes(), 2u);
  EXPECT_EQ(list->words(), std::vector<std::u16string>{u"If"});
  EXPECT_FALSE(load(Variant::null()));
  EXPECT_EQ(list->Count(), 1);
}

TEST_F(KeywordListTest, TheLoaderItselfShowsNothingAndSaysWhatToTell) {
  const std::u16string missing = fs::fromNative(dir.path() / "missing.xml");
  const std::u16string wrongRoot = write("wrong.xml", "<Other.keyword/>").stringValue();
  struct Step {
    std::u16string path;
    std::int32_t number;  // 0: loaded
    bool told;
  };
  const Step steps[] = {
      {missing, 1, true},
      {missing, 1, false},
      {write("k.xml", "<vantorel.keyword/>").stringValue(), 0, false},
      {wrongRoot, 2, false},
      {missing, 1, false},
  };
  for (const Step& s : steps) {
    const Expected<> loaded = list->load(s.path);
    ASSERT_EQ(loaded.ok(), s.number == 0) << toUtf8(s.path);
    if (loaded.ok()) continue;
    EXPECT_EQ(loaded.failure().number, s.number);
    EXPECT_EQ(loaded.failure().text, s.told ? u"Load keyword file \"" + s.path +
                                                  u"\" failed. Please check your keyword file."
                                            : u"");
  }
  EXPECT_EQ(boxes(), 0u);
}

TEST_F(KeywordListTest, ShippedFileLoads) {
  const Variant shipped(fromUtf8(VANTOREL_DATA_DIR "/keywords.xml"));
  ASSERT_TRUE(load(shipped));
  EXPECT_GT(list->Count(), 200);
  for (const char16_t* w : {u"dim", u"Response", u"CreateObject", u"vbCrLf", u"Nothing", u"Date"}) {
    EXPECT_TRUE(list->IsKeyword(w)) << toUtf8(w);
  }
  EXPECT_FALSE(list->IsKeyword(u"OrderID"));
}

TEST_F(KeywordListTest, RandomAndTruncatedFilesNeverCrash) {
  const std::string valid =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?><Vantorel.keyword><keyword value=\"A&amp;B\"/>"
      "<keyword value=\"x\"><keyword value=\"nested\"/></keyword><![CDATA[<keyword/>]]>"
      "</Vantorel.keyword>";
  std::mt19937 rng(20240611);
  for (int round = 0; round < 250; ++round) {
    std::string text = valid.substr(0, rng() % (valid.size() + 1));
    const int flips = static_cast<int>(rng() % 4);
    for (int i = 0; i < flips && !text.empty(); ++i) {
      text[rng() % text.size()] = static_cast<char>(rng() % 256);
    }
    Ref<AGPKeyword> fresh = makeRef<AGPKeyword>();
    const bool ok = fresh->call(u"Load", {write("fuzz.xml", text)}).boolValue();
    if (!ok) {
      EXPECT_EQ(fresh->Count(), 0);
    }
    EXPECT_LE(fresh->Count(), 2);  // only the root's own keyword children count
  }
}

}  // namespace
}  // namespace vantorel
