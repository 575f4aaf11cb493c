#include "templates/stamp_cache.hpp"
#include "foundation/project_context.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"
#include "support/temp_home.hpp"
#include "support/test_files.hpp"

namespace vantorel {
namespace {

// Points the documents folder and the template name at a fresh folder for one test.
class StampCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedDocuments_ = projectContext().myDocumentsFolder;
    savedTemplate_ = projectContext().templateName;
    projectContext().myDocumentsFolder = fromUtf8(docs_.str());
    projectContext().templateName = u"My Set/1";
  }
  void TearDown() override {
    projectContext().myDocumentsFolder = savedDocuments_;
    projectContext().templateName = savedTemplate_;
  }
  std::filesystem::path templates() const { return docs_.path() / "Vantorel" / "Templates"; }

  test::TempDir docs_;
  std::u16string savedDocuments_;
  std::u16string savedTemplate_;
};

Variant date(int y, int mo, int d, int h, int mi, int s) {
  return Variant::date(*makeDate(y, mo, d, h, mi, s));
}

TEST_F(StampCacheTest, RecordsAndChecksStamps) {
  auto cache = makeRef<AGPCache>();
  EXPECT_EQ(toUtf8(cache->cacheFile()), (templates() / "MySet1" / "cache" / "cache.xml").string());
  const Variant t = date(2009, 7, 5, 14, 3, 9);
  EXPECT_EQ(cache->CheckCache(Variant(u"tpl"), Variant(u"a.tpl"), t, Variant(std::int32_t{1024})),
            2);
  EXPECT_TRUE(cache->AddCache(Variant(u"Tpl"), Variant(u"A.tpl"), t, Variant(std::int32_t{1024})));
  EXPECT_TRUE(cache->AddCache(Variant(u"tpl"), Variant(u"a.TPL"), t, Variant(std::int32_t{1024})));
  ASSERT_EQ(cache->entries().size(), 1u);
  EXPECT_EQ(cache->entries()[0].Group + u"/" + cache->entries()[0].Key + u" " +
                cache->entries()[0].DateTime + u" " + cache->entries()[0].Size,
            u"Tpl/A.tpl 2009/07/05 14:03:09 1024");
  struct Case {
    Variant dt;
    Variant size;
    std::int16_t result;
  };
  const std::vector<Case> cases = {
      {t, Variant(std::int32_t{1024}), 0},
      {t, Variant(1024.0), 0},
      {t, Variant(u"1024"), 0},
      {Variant(u"2009/07/05 14:03:09"), Variant(std::int16_t{1024}), 0},
      {t, Variant(u"1024.0"), 1},
      {t, Variant(std::int32_t{1025}), 1},
      {date(2009, 7, 5, 14, 3, 10), Variant(std::int32_t{1024}), 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(cache->CheckCache(Variant(u"TPL"), Variant(u"a.tpl"), c.dt, c.size), c.result)
        << toUtf8(toString(c.dt)) << " " << toUtf8(toString(c.size));
  }
  EXPECT_EQ(toString(cache->GetCacheDate(Variant(u"tpl"), Variant(u"a.tpl"))),
            u"2009/07/05 14:03:09");
  const Variant none = cache->GetCacheDate(Variant(u"tpl"), Variant(u"b.tpl"));
  EXPECT_EQ(none.type(), VarType::Date);
  EXPECT_EQ(none.dateValue(), 0.0);
}

TEST_F(StampCacheTest, DeletesAndMatchesGroups) {
  auto cache = makeRef<AGPCache>();
  const Variant t = date(2020, 1, 1, 0, 0, 0);
  for (const char16_t* entry : {u"g/A", u"g/B", u"h/A", u"G/c", u"h/B"}) {
    const std::u16string e(entry);
    cache->AddCache(Variant(e.substr(0, 1)), Variant(e.substr(2)), t, Variant(std::int32_t{1}));
  }
  EXPECT_TRUE(cache->DeleteCacheGroup(Variant(u"G")));
  EXPECT_FALSE(cache->DeleteCacheGroup(Variant(u"g")));
  EXPECT_EQ(cache->entries().size(), 2u);
  EXPECT_FALSE(cache->DeleteCache(Variant(u"h"), Variant(u"c")));
  struct Case {
    std::u16string group, list;
    bool match;
  };
  const std::vector<Case> cases = {
      {u"h", u"a\r\nb", true},       {u"h", u"b\r\nA", true},       {u"h", u"a", false},
      {u"h", u"a\r\nb\r\nc", false}, {u"h", u"a\r\na\r\nb", false}, {u"h", u"", false},
      {u"none", u"", true},          {u"none", u"a", false},        {u"h", u"a\r\nb\r\n", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(cache->MatchCacheGroup(Variant(c.group), Variant(c.list)), c.match)
        << toUtf8(c.group + u": " + c.list);
  }
  EXPECT_TRUE(cache->DeleteCache(Variant(u"H"), Variant(u"a")));
  EXPECT_FALSE(cache->DeleteAllCache());
  EXPECT_TRUE(cache->entries().empty());
}

TEST_F(StampCacheTest, WritesTheFileAndReadsItBack) {
  {
    auto cache = makeRef<AGPCache>();
    cache->AddCache(Variant(u"files"), Variant(u"a&b<\"c\".htm"), date(2021, 12, 31, 23, 59, 58),
                    Variant(std::int32_t{77}));
    cache->AddCache(Variant(u"tpl"), Variant(u"caf\u00e9"), Variant(u"not a date"), Variant(u""));
    cache->WriteCacheFile();
  }
  EXPECT_EQ(test::readFile(templates() / "MySet1" / "cache" / "cache.xml"),
            "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
            "<Cache Product=\"Vantorel\" Version=\"4.0\" >\r\n"
            "<CacheEntry Group=\"files\" Key=\"a&amp;b&lt;&quot;c&quot;.htm\" "
            "DateTime=\"2021/12/31 23:59:58\" Size=\"77\" />\r\n"
            "<CacheEntry Group=\"tpl\" Key=\"caf\xC3\xA9\" DateTime=\"not a date\" Size=\"\" />\r\n"
            "</Cache>\r\n");
  auto reread = makeRef<AGPCache>();
  ASSERT_EQ(reread->entries().size(), 2u);
  EXPECT_EQ(reread->entries()[0].Key, u"a&b<\"c\".htm");
  EXPECT_EQ(reread->CheckCache(Variant(u"FILES"), Variant(u"A&B<\"C\".HTM"),
                               date(2021, 12, 31, 23, 59, 58), Variant(std::int32_t{77})),
            0);
}

TEST_F(StampCacheTest, UnusableCacheFilesGiveAnEmptyList) {
  const std::filesystem::path folder = templates() / "MySet1" / "cache";
  std::filesystem::create_directories(folder);
  const std::vector<std::string> contents = {"<Cache><CacheEntry Group='a' Key='b'",
                                             "\x01\x02\xFF binary",
                                             "<cache><CacheEntry Group='a' Key='b'/></cache>", ""};
  for (const std::string& content : contents) {
    std::ofstream(folder / "cache.xml", std::ios::binary) << content;
    EXPECT_TRUE(makeRef<AGPCache>()->entries().empty()) << content;
  }
  std::ofstream(folder / "cache.xml", std::ios::binary)
      << "<Cache><CacheEntry Group='a' Key='b' Extra='x'/><CacheEntry Key='k'/><Other/></Cache>";
  auto cache = makeRef<AGPCache>();
  ASSERT_EQ(cache->entries().size(), 2u);
  EXPECT_EQ(cache->entries()[1].Group + u"|" + cache->entries()[1].Key, u"|k");
}

TEST_F(StampCacheTest, FolderPlacement) {
  // A file where the template's folder belongs is moved aside under a dated name.
  std::filesystem::create_directories(templates());
  std::ofstream(templates() / "MySet1") << "in the way";
  makeRef<AGPCache>();
  EXPECT_TRUE(std::filesystem::is_directory(templates() / "MySet1" / "cache"));
  std::vector<std::string> moved;
  for (const auto& entry : std::filesystem::directory_iterator(templates())) {
    const std::string name = entry.path().filename().string();
    if (std::regex_match(name, std::regex(R"(MySet1\.\d{14})"))) moved.push_back(name);
  }
  EXPECT_EQ(moved.size(), 1u);

  projectContext().templateName = u"";
  EXPECT_EQ(toUtf8(makeRef<AGPCache>()->cacheFile()),
            (templates() / "cache" / "cache.xml").string());
  // A name that climbs out of the templates folder is refused.
  projectContext().templateName = u"..";
  EXPECT_THROW(makeRef<AGPCache>(), AutomationError);
  EXPECT_FALSE(std::filesystem::exists(docs_.path() / "Vantorel" / "cache"));
}

}  // namespace
}  // namespace vantorel
