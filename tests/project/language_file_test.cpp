#include "project/language_file.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "platform/text/unicode.hpp"
#include "project/language.hpp"
#include "support/temp_home.hpp"
#include "support/test_files.hpp"

namespace vantorel {
namespace {

std::string utf16le(std::u16string_view text) {
  std::string out = "\xFF\xFE";
  for (char16_t c : text) {
    out.push_back(static_cast<char>(c & 0xFF));
    out.push_back(static_cast<char>(c >> 8));
  }
  return out;
}

TEST(LanguageFileTest, LoadListsIdDescAndFileName) {
  struct Case {
    const char* name;
    std::string bytes;
    bool loads;
    std::u16string id, desc;
  };
  const std::vector<Case> cases = {
      {"plain", "<language id=\"en\" desc=\"English\"><phrase id=\"a\"/></language>", true, u"en",
       u"English"},
      {"no desc", "<?xml version=\"1.0\"?>\n<lang id=\"de\"/>", true, u"de", u""},
      {"attribute case", "<l ID=\"fr\" Desc=\"Fran&#231;ais\"/>", true, u"fr", u"Fran\u00E7ais"},
      {"utf-8 mark", "\xEF\xBB\xBF<l id=\"ru\" desc=\"\xD0\xAF\"/>", true, u"ru", u"\u042F"},
      {"utf-16 mark",
       utf16le(u"<?xml version=\"1.0\" encoding=\"UTF-16\"?><l id=\"el\" desc=\"\u03A9\"/>"), true,
       u"el", u"\u03A9"},
      {"windows-1252",
       "<?xml version=\"1.0\" encoding=\"windows-1252\"?><l id=\"es\" desc=\"Espa\xF1ol \x80\"/>",
       true, u"es", u"Espa\u00F1ol \u20AC"},
      {"empty", "", false, u"", u""},
      {"blank", " \r\n", false, u"", u""},
      {"truncated", "<language id=\"en\" desc=\"Eng", false, u"", u""},
      {"unclosed", "<language id=\"en\"><phrase/>", false, u"", u""},
      {"two roots", "<a id=\"1\"/><b/>", false, u"", u""},
      {"text after root", "<a id=\"1\"/>junk", false, u"", u""},
      {"repeated attribute", "<a id=\"1\"><b x=\"1\" x=\"2\"/></a>", false, u"", u""},
      {"NUL", std::string("<a id=\"1\"/>\0<", 13), false, u"", u""},
      {"bad UTF-8", "<a id=\"\xC3\"/>", false, u"", u""},
      {"unknown encoding", "<?xml version=\"1.0\" encoding=\"klingon\"?><a/>", false, u"", u""},
      {"odd UTF-16", utf16le(u"<a/>") + "x", false, u"", u""},
  };
  test::TempDir dir;
  Ref<AGPLanguage> lang = makeRef<AGPLanguage>();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::writeFile(dir.path() / "lang.xml", c.bytes);
    const auto before = lang->files().size();
    EXPECT_EQ(lang->Load(fromUtf8((dir.path() / "lang.xml").string())), c.loads);
    EXPECT_EQ(lang->lastLoadError().empty(), c.loads) << toUtf8(lang->lastLoadError());
    ASSERT_EQ(lang->files().size(), before + (c.loads ? 1 : 0));
    if (c.loads) {
      EXPECT_EQ(lang->files().back(), (AGPLanguage::FileEntry{c.id, c.desc, u"lang.xml"}));
    }
  }
}

TEST(LanguageFileTest, FileListByName) {
  test::TempDir dir;
  test::writeFile(dir.path() / "en.xml", "<l id=\"en\" desc=\"English\"/>");
  test::writeFile(dir.path() / "de.xml", "<l id=\"de\"/>");
  const std::u16string folder = fromUtf8(dir.str());
  Ref<AGPLanguage> lang = makeRef<AGPLanguage>();
  EXPECT_TRUE(lang->Load(folder + u"/en.xml"));
  EXPECT_TRUE(lang->LoadExtension(folder + u"\\de.xml"));
  EXPECT_TRUE(lang->Load(folder + u"/en.xml"));
  EXPECT_FALSE(lang->Load(folder + u"/missing.xml"));
  EXPECT_FALSE(lang->Load(u""));
  EXPECT_EQ(lang->files().size(), 3u);
  EXPECT_EQ(lang->files()[1], (AGPLanguage::FileEntry{u"de", u"", u"de.xml"}));
  struct Case {
    std::u16string fileName, id, desc;
  };
  const std::vector<Case> cases = {
      {u"en.xml", u"en", u"English"},  {u"de.xml", u"de", u""}, {u"EN.xml", u"", u""},
      {folder + u"/en.xml", u"", u""}, {u"", u"", u""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(lang->GetFileId(c.fileName), c.id) << toUtf8(c.fileName);
    EXPECT_EQ(lang->GetFileDesc(c.fileName), c.desc) << toUtf8(c.fileName);
  }
  lang->ResetFiles();
  EXPECT_EQ(lang->GetFileId(u"en.xml"), u"");
  EXPECT_EQ(languageFileName(u"C:\\a/b\\lang.xml"), u"lang.xml");
  EXPECT_EQ(languageFileName(u"lang.xml"), u"lang.xml");
}

TEST(LanguageFileTest, MutatedFilesGiveACleanAnswer) {
  const std::string seed =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<language id=\"en\" desc=\"English\">\n"
      "  <phrase id=\"Add\" value=\"Add &amp; more\"/><!-- c --><![CDATA[x]]>\n</language>\n";
  std::mt19937 random(20261209);
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 3000; ++i) {
    std::string bytes = seed;
    const int edits = 1 + static_cast<int>(random() % 4);
    for (int e = 0; e < edits && !bytes.empty(); ++e) {
      const std::size_t at = random() % bytes.size();
      switch (random() % 4) {
        case 0:
          bytes[at] = static_cast<char>(random() % 256);
          break;
        case 1:
          bytes.resize(at);
          break;
        case 2:
          bytes.insert(at, 1, "<>\"'&/=?!\0"[random() % 10]);
          break;
        default:
          bytes.erase(at, 1 + random() % 8);
          break;
      }
    }
    std::u16string error;
    const auto header = parseLanguageFileHeader(bytes, error);
    EXPECT_EQ(header.has_value(), error.empty());
  }
  std::u16string error;
  const std::string deep(200000, '<');
  std::string nested;
  for (int i = 0; i < 100000; ++i) nested += "<a>";
  for (int i = 0; i < 100000; ++i) nested += "</a>";
  EXPECT_TRUE(parseLanguageFileHeader(nested, error).has_value());
  EXPECT_FALSE(parseLanguageFileHeader(deep, error).has_value());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

}  // namespace
}  // namespace vantorel
