// Hostile and broken project files: each gets its message (or loads what can be placed), never
// crashes or hangs, and stays on disk as it was. A fuzz run feeds mutated files to the reader and
// saves what it made of them.
#include <gtest/gtest.h>

#include <random>

#include "foundation/project_context.hpp"
#include "platform/automation/automation_error.hpp"
#include "projectfile/project_reader.hpp"
#include "projectfile/project_test_support.hpp"
#include "projectfile/project_writer.hpp"
#include "support/test_files.hpp"

namespace vantorel {
namespace {

const std::string kHeader = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

std::string repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

class BadInputTest : public test::ProjectFileTest {
 protected:
  // Loads the bytes from a file, which must be unchanged afterwards; the load's message.
  std::u16string loadBytes(const std::string& bytes) {
    test::writeFile(work() / "bad.vtp", bytes);
    Ref<AGP> p = makeRef<AGP>();
    loadProject(*p, workFile("bad.vtp"));
    EXPECT_TRUE(test::readFile(work() / "bad.vtp") == bytes) << "the reader changed the file";
    return projectContext().lastErrorText;
  }
  std::string seedProject() {
    Ref<AGP> p = makeRef<AGP>();
    AGPDatabase& db = addDatabase(*p, u"db");
    for (const char16_t* name : {u"T0", u"T1", u"T2"}) {
      AGPTable& table = addTable(db, name);
      addField(table, u"A").SetV(u"FldTagValues", u"x\r\ny");
      addChart(table, u"C").trendlines().add(u"Z");
      SharedLanguage().SetTablePhrase(u"en", name, u"TblCaption", u"Cap & <b>");
    }
    saveProject(*p, workFile("seed.vtp"));
    return test::readFile(work() / "seed.vtp");
  }
};

TEST_F(BadInputTest, EachBrokenFileGetsAClearMessage) {
  const std::u16string failed =
      projectContext().productTitle + u": Load Project File failed! Please check!";
  const std::u16string noDatabase =
      projectContext().productTitle + u": No Database Information in Project File!";
  const std::string seed = seedProject();
  std::string binary;
  std::mt19937 random(7);
  for (int i = 0; i < 4096; ++i) binary.push_back(static_cast<char>(random() & 0xFF));
  std::string deepModel = kHeader + "<Project Version=\"4.0\"><Database>";
  for (int i = 0; i < 20000; ++i) deepModel += "<Table TblName=\"t" + std::to_string(i) + "\">";
  deepModel += repeat("</Table>", 20000) + "</Database></Project>";
  const std::string entities =
      "<!DOCTYPE Project [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">"
      "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;\"><!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;\">]>";
  struct Case {
    const char* what;
    std::string bytes;
    std::u16string message;
  } cases[] = {
      {"empty", "", failed},
      {"truncated", seed.substr(0, seed.size() / 2), failed},
      {"malformed", kHeader + "<Project Version=\"4.0\"><Database></Project>", failed},
      // Bytes that are no text of any encoding say so, where the load stopped.
      {"binary", binary, failed + u"\r\nline 1, column 1: invalid UTF-8 byte sequence"},
      {"wrong root", kHeader + "<Html Version=\"4.0\"/>",
       projectContext().productTitle + u": Invalid Project File!"},
      {"no database", kHeader + "<Project Version=\"4.0\"/>", noDatabase},
      {"version no number", kHeader + "<Project Version=\"x.y\"/>", failed},
      {"unknown elements",
       kHeader + "<Project Version=\"4.0\"><Foo/><Database><Bar><Table TblName=\"t\"/></Bar>"
                 "</Database></Project>",
       u""},
      {"duplicate attributes",
       kHeader + "<Project Version=\"4.0\" ProjName=\"a\" ProjName=\"b\"><Database/></Project>",
       u""},
      {"values of the wrong type",
       kHeader + "<Project Version=\"4.0\" AutoSync=\"perhaps\" PagerStyle=\"many\"><Database "
                 "MaxUploadSize=\"huge\"><Table TblName=\"t\" TblSeq=\"x\"><Field FldName=\"f\" "
                 "FldType=\"text\" FldSeq=\"99999999\"/></Table></Database></Project>",
       u""},
      {"tables without a name",
       kHeader +
           "<Project Version=\"4.0\"><Database><Table/><Table TblName=\"\"/></Database></Project>",
       u""},
      {"deep model nesting", deepModel, failed},
      {"deep unknown nesting",
       kHeader + "<Project Version=\"4.0\">" + repeat("<x>", 200000) + repeat("</x>", 200000) +
           "</Project>",
       noDatabase},
      {"deep unknown nesting in a table",
       kHeader + "<Project Version=\"4.0\"><Database><Table TblName=\"t\">" +
           repeat("<x>", 300000) + repeat("</x>", 300000) + "</Table></Database></Project>",
       u""},
      {"entity expansion",
       kHeader + entities + "<Project Version=\"4.0\" ProjName=\"&d;\"><Database/></Project>", u""},
      {"100 MB",
       kHeader + "<Project Version=\"4.0\"><!--" + std::string(100 << 20, 'x') +
           "--><Database/></Project>",
       u""},
  };
  for (const Case& c : cases) EXPECT_EQ(loadBytes(c.bytes), c.message) << c.what;
}

// Flipped, deleted, repeated and inserted bytes and references: whatever the reader makes of them
// loads without a crash and saves, or refuses to save for what the model lost, cleanly.
TEST_F(BadInputTest, FuzzedProjectFiles) {
  const std::string seed = seedProject();
  std::mt19937 random(20261209);
  const auto pick = [&](std::size_t n) { return n == 0 ? 0 : random() % n; };
  for (int round = 0; round < 300; ++round) {
    std::string bytes = seed;
    for (int edits = 1 + static_cast<int>(random() % 4); edits > 0; --edits) {
      const std::size_t at = pick(bytes.size());
      const std::size_t length = 1 + pick(40);
      switch (random() % 6) {
        case 0:
          if (!bytes.empty()) bytes[at] = static_cast<char>(random() & 0xFF);
          break;
        case 1:
          bytes.erase(at, length);
          break;
        case 2:
          bytes.insert(at, bytes.substr(pick(bytes.size()), length));
          break;
        case 3:
          bytes.insert(at, 1, "<>\"&'/=|\r\n]:"[random() % 12]);
          break;
        case 4:
          bytes.insert(at, random() % 2 == 0 ? "&#1;" : "&#0;");
          break;
        default:
          bytes.resize(at);
      }
    }
    SCOPED_TRACE("round " + std::to_string(round));
    test::writeFile(work() / "fuzz.vtp", bytes);
    Ref<AGP> p = makeRef<AGP>();
    loadProject(*p, workFile("fuzz.vtp"));
    ASSERT_TRUE(test::readFile(work() / "fuzz.vtp") == bytes);
    try {
      saveProject(*p, workFile("fuzz-out.vtp"));
    } catch (const AutomationError& e) {
      // A model the file left inconsistent (sequence numbers, Booleans) may refuse to save; a
      // name or character the load took in never does.
      EXPECT_EQ(e.description().find(u"cannot hold"), std::u16string::npos)
          << toUtf8(e.description());
    }
  }
}

}  // namespace
}  // namespace vantorel
