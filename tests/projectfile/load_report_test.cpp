// What a load says on standard error: the elements and attributes it leaves out and the values it
// cannot take as written, each with the file, line and column of its element or attribute; and
// for a refused file, where and why the reading stopped, counted from the start of the file.
#include <gtest/gtest.h>

#include <random>

#include "foundation/project_context.hpp"
#include "model/database.hpp"
#include "model/table.hpp"
#include "platform/automation/variant_convert.hpp"
#include "projectfile/project_reader.hpp"
#include "projectfile/project_test_support.hpp"
#include "support/random_edits.hpp"
#include "support/test_files.hpp"

namespace vantorel {
namespace {

const std::string kHeader = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

class LoadReportTest : public test::ProjectFileTest {
 protected:
  // Loads the text; what was said on standard error, each line without the file's path.
  std::vector<std::string> said(const std::string& body) {
    test::writeFile(work() / "p.vtp", kHeader + body);
    ui_->clearEvents();
    Ref<AGP> p = makeRef<AGP>();
    loadProject(*p, workFile("p.vtp"));
    loaded_ = p;
    std::vector<std::string> lines;
    const std::string prefix = toUtf8(workFile("p.vtp")) + ": ";
    for (const auto& e : ui_->events(ui::RecordingBackend::Event::Kind::Said)) {
      std::string line = toUtf8(e.text);
      if (line.starts_with(prefix)) line.erase(0, prefix.size());
      lines.push_back(line);
    }
    return lines;
  }
  Ref<AGP> loaded_;
};

TEST_F(LoadReportTest, DroppedElementsAndAttributesAndCoercedValuesAreListed) {
  struct Case {
    const char* what;
    std::string body;
    std::vector<std::string> said;
  } cases[] = {
      {"a clean file says nothing",
       "<Project Version=\"4.0\"><Database DBName=\"d\"><Table TblName=\"T\" TblSeq=\"1\">"
       "<Field FldName=\"F\" FldType=\"3\" FldSupport=\"True\" FldSeq=\"-2\"/></Table></Database>"
       "</Project>",
       {}},
      {"an element whose name was damaged",
       "<Project Version=\"4.0\"><Database DBName=\"d\"><Table TblName=\"T\">\r\n"
       "  <Xield FldName=\"F\"/></Table></Database></Project>",
       {"line 3, column 3: <Xield> left out: no such element is read here"}},
      {"a table listed twice",
       "<Project Version=\"4.0\"><Database DBName=\"d\">\n<Table TblName=\"T\"/>\n"
       "<Table TblName=\"T\"/></Database></Project>",
       {"line 4, column 1: <Table TblName=\"T\"> left out: a table of that name is read already"}},
      {"a field without a name",
       "<Project Version=\"4.0\"><Database><Table TblName=\"T\"><Field FldType=\"3\"/></Table>"
       "</Database></Project>",
       {"line 2, column 53: <Field> left out: the field has no name"}},
      {"values that do not convert as written",
       "<Project Version=\"4.0\"><Database DBName=\"d\"><Table TblName=\"T\">\n"
       "<Field FldName=\"F\" FldType=\"1,5\" FldSupport=\"yes\" FldSize=\"NaN\"/></Table>"
       "</Database></Project>",
       {"line 3, column 1: <Field FldName=\"F\">: FldType=\"1,5\" is read as 15",
        "line 3, column 1: <Field FldName=\"F\">: FldSupport=\"yes\" is no valid value of its "
        "type; the setting is left empty",
        "line 3, column 1: <Field FldName=\"F\">: FldSize=\"NaN\" is no valid value of its type; "
        "the setting is left empty"}},
      // Attributes a save could not write again are left out where they come in, each said with
      // the line and column of its name or of the character its value cannot hold.
      {"a name whose first letter was flipped to ':'",
       "<Project Version=\"4.0\"><Database DBName=\"d\"><Table TblName=\"T\">\n"
       "<Field FldName=\"F\" :ldMemoMaxLength=\"5\" FldSize=\"2.5\"/></Table></Database>"
       "</Project>",
       {"line 3, column 20: <Field FldName=\"F\">: :ldMemoMaxLength left out: a project file "
        "cannot hold an attribute of that name",
        "line 3, column 1: <Field FldName=\"F\">: FldSize=\"2.5\" is read as 2"}},
      {"a prefixed name on the project and a name with a character no name holds",
       "<Project Version=\"4.0\" x:ProjName=\"p\" Size\xC3\x97Two=\"1\"><Database/></Project>",
       {"line 2, column 24: <Project>: x:ProjName left out: a project file cannot hold an "
        "attribute of that name",
        "line 2, column 39: <Project>: Size\xC3\x97Two left out: a project file cannot hold an "
        "attribute of that name"}},
      {"references to characters no project file holds",
       "<Project Version=\"4.0\"><Database DBName=\"d\">\n<Table TblName=\"T\" "
       "TblCaption=\"a&#0;b\" TblHeader=\"&amp;&#x1;\" TblFooter=\"&#xFFFE;\" "
       "TblDescription=\"&#55296;\"/></Database></Project>",
       {"line 3, column 33: <Table TblName=\"T\">: TblCaption left out: its value holds \"&#0;\", "
        "a character a project file cannot hold",
        "line 3, column 56: <Table TblName=\"T\">: TblHeader left out: its value holds \"&#x1;\", "
        "a character a project file cannot hold",
        "line 3, column 74: <Table TblName=\"T\">: TblFooter left out: its value holds "
        "\"&#xFFFE;\", a character a project file cannot hold",
        "line 3, column 100: <Table TblName=\"T\">: TblDescription left out: its value holds "
        "\"&#55296;\", a character a project file cannot hold"}},
      {"a non-character written as itself, in a menu",
       "<Project Version=\"4.0\"><Database DBName=\"d\"/>\n<Menu MenuID=\"1\" "
       "MenuText=\"x\xEF\xBF\xBF\"/></Project>",
       {"line 3, column 29: <Menu>: MenuText left out: its value holds U+FFFF, a character a "
        "project file cannot hold"}},
      {"a table whose name holds one is left out as a table without a name",
       "<Project Version=\"4.0\"><Database DBName=\"d\">\n<Table TblName=\"T&#7;\"/>"
       "</Database></Project>",
       {"line 3, column 18: <Table>: TblName left out: its value holds \"&#7;\", a character a "
        "project file cannot hold",
        "line 3, column 1: <Table> left out: the table has no name"}},
  };
  for (const Case& c : cases) EXPECT_EQ(said(c.body), c.said) << c.what;
}

// A whole-number setting written with a fraction is rounded half to even, as CInt and CLng
// round, and listed with the value it was read as; a whole number written with a point or an
// exponent is taken as written.
TEST_F(LoadReportTest, FractionsOfWholeNumberSettingsAreListedAsRounded) {
  enum Level { ProjectLevel, DatabaseLevel, TableLevel, FieldLevel };
  struct Case {
    const char* attribute;
    const char* written;
    const char* readAs;  // "" when the value is taken as written
    std::int32_t value;
    Level level;
  } cases[] = {
      {"PagerStyle", "3.7", "4", 4, ProjectLevel},
      {"PagerStyle", "2.5", "2", 2, ProjectLevel},
      {"PagerStyle", "3.5", "4", 4, ProjectLevel},
      {"PagerStyle", "-2.5", "-2", -2, ProjectLevel},
      {"CodePage", "65001.5", "65002", 65002, ProjectLevel},
      {"MaxUploadSize", "0.5", "0", 0, DatabaseLevel},
      {"TblRecPerPage", "2.5", "2", 2, TableLevel},
      {"TblRecPerPage", "1.5", "2", 2, TableLevel},
      {"TblRecPerPage", "25E-1", "2", 2, TableLevel},
      {"TblRecPerPage", "2.0", "", 2, TableLevel},
      {"TblRecPerPage", "1.50E1", "", 15, TableLevel},
      {"TblRecPerPage", "-0.0", "", 0, TableLevel},
      {"FldSize", "255.49", "255", 255, FieldLevel},
      {"FldSize", "1E3", "", 1000, FieldLevel},
      {"FldTagSize", "4.5", "4", 4, FieldLevel},
      {"FldTagSize", "0.00001", "0", 0, FieldLevel},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.attribute) + "=" + c.written);
    const std::string attr = std::string(" ") + c.attribute + "=\"" + c.written + "\"";
    const auto on = [&](Level level) { return c.level == level ? attr : std::string(); };
    const std::vector<std::string> lines =
        said("<Project Version=\"4.0\"" + on(ProjectLevel) + ">\n<Database DBName=\"d\"" +
             on(DatabaseLevel) + ">\n<Table TblName=\"T\"" + on(TableLevel) +
             ">\n<Field FldName=\"F\"" + on(FieldLevel) + "/></Table></Database></Project>");
    const char* const element[] = {"<Project>", "<Database DBName=\"d\">", "<Table TblName=\"T\">",
                                   "<Field FldName=\"F\">"};
    std::vector<std::string> expected;
    if (*c.readAs != '\0') {
      expected.push_back("line " + std::to_string(c.level + 2) + ", column 1: " + element[c.level] +
                         ": " + c.attribute + "=\"" + c.written + "\" is read as " + c.readAs);
    }
    EXPECT_EQ(lines, expected);
    AGPTable& table = *loaded_->DB()->tables().find(u"T");
    Object* const owners[] = {loaded_.get(), loaded_->DB().get(), &table,
                              table.fields().find(u"F")};
    const Variant value = owners[c.level]->call(u"GetV", {Variant(fromUtf8(c.attribute))});
    EXPECT_EQ(toLong(value), c.value);
  }
}

// A refused file names the place it stopped at, counted from the first line of the file even
// deep inside the project's database; the load's own message stays as it was.
TEST_F(LoadReportTest, ARefusedFileNamesItsLineAndColumn) {
  std::string tables;
  for (int i = 0; i < 50; ++i) {
    tables +=
        "<Table TblName=\"T" + std::to_string(i) + "\">\r\n<Field FldName=\"F\"/>\r\n</Table>\r\n";
  }
  struct Case {
    const char* what;
    std::string body;
    std::string said;
  } cases[] = {
      {"a mismatched end tag after many tables",
       "<Project Version=\"4.0\">\r\n<Database DBName=\"d\">\r\n" + tables +
           "<Table TblName=\"X\">\r\n  <Field FldName=\"F\"></Table>\r\n</Database></Project>",
       "line 155, column 22: the end tag \"Table\" does not close \"Field\""},
      {"a file cut short", "<Project Version=\"4.0\">\r\n<Database DBName=\"d\">\r\n" + tables,
       "line 154, column 1: the file ends before the element \"Database\" is closed"},
      {"an attribute without quotes", "<Project Version=\"4.0\">\r\n<Database DBName=d/></Project>",
       "line 3, column 18: an attribute value without quotes"},
  };
  const std::u16string failed =
      projectContext().productTitle + u": Load Project File failed! Please check!";
  for (const Case& c : cases) {
    EXPECT_EQ(said(c.body), std::vector<std::string>{c.said}) << c.what;
    EXPECT_EQ(projectContext().lastErrorText, failed) << c.what;
  }
}

// The characters are checked a few megabytes ahead of the reader; a bad byte far into a large
// file is still placed by the file's own lines.
TEST_F(LoadReportTest, ABadByteFarIntoALargeFileIsPlacedInTheFile) {
  std::string body = "<Project Version=\"4.0\">\r\n<Database DBName=\"d\">\r\n";
  int line = 4;  // the declaration, the project and the database come first
  body += "<Table TblName=\"T\"/><!--\r\n";
  for (++line; body.size() < (std::size_t{9} << 20); ++line) body += std::string(200, 'c') + "\r\n";
  body += "-->\r\n";
  ++line;
  body += "<Table TblName=\"bad\xFF\"/>\r\n</Database></Project>";
  said(body);
  EXPECT_EQ(projectContext().lastErrorText,
            projectContext().productTitle + u": Load Project File failed! Please check!\r\nline " +
                fromUtf8(std::to_string(line)) + u", column 20: invalid UTF-8 byte sequence");
}

// Mutated project files: each load ends with its message or loads, never crashes, and a refusal
// always says where.
TEST_F(LoadReportTest, MutatedFilesAreRefusedWithAPlaceOrLoaded) {
  std::string tables;
  for (int i = 0; i < 6; ++i) {
    tables += "<Table TblName=\"T" + std::to_string(i) + "\" TblSeq=\"" + std::to_string(i + 1) +
              "\">\r\n<Field FldName=\"A\" FldType=\"3\" FldSupport=\"True\"/>\r\n<Chart "
              "ChartName=\"C\"><Trendline TrendName=\"Z\"/></Chart>\r\n</Table>\r\n";
  }
  const std::string seed =
      "<Project Version=\"4.0\" ProjName=\"p\">\r\n<Database DBName=\"d\">\r\n" + tables +
      "</Database>\r\n<Menu MenuID=\"1\" MenuText=\"m\"/>\r\n"
      "<TablePhrase LanguageId=\"en\" TableName=\"T1\" Phrase=\"&amp;\"/>"
      "\r\n</Project>\r\n";
  const std::u16string failed =
      projectContext().productTitle + u": Load Project File failed! Please check!";
  std::mt19937 random(23);
  int refused = 0;
  for (int round = 0; round < 400; ++round) {
    const std::string body = test::randomlyEdited(seed, random, "<>\"'&/=![]\r\n", 16);
    SCOPED_TRACE(body);
    const std::vector<std::string> lines = said(body);
    if (projectContext().lastErrorText.starts_with(failed)) {
      ++refused;
      ASSERT_FALSE(lines.empty());
      EXPECT_TRUE(lines.back().starts_with("line ")) << lines.back();
    }
  }
  EXPECT_GT(refused, 50);
}

}  // namespace
}  // namespace vantorel
