// The bundled template set holds together before any generation: its control file loads, every
// section a session or an include names exists, every block parses, and it uses every kind of
// control, session, condition and block there is.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "agp/agp.hpp"
#include "foundation/project_context.hpp"
#include "platform/text/unicode.hpp"
#include "support/test_files.hpp"
#include "templates/control.hpp"
#include "templates/control_session.hpp"
#include "templates/control_sessions.hpp"
#include "templates/controls.hpp"
#include "templates/file_cache.hpp"
#include "templates/template_parser.hpp"

namespace fs = std::filesystem;
using vantorel::fromUtf8;
using vantorel::toUtf8;
using vantorel::test::readFile;

namespace {

const fs::path kTemplates =
    fs::path(VANTOREL_TEST_DATA).parent_path().parent_path() / "templates" / "sample";

class SampleTemplateSet : public ::testing::Test {
 protected:
  void SetUp() override {
    vantorel::makeRef<vantorel::AGP>();  // the product strings the control file is checked by
    ASSERT_TRUE(controls_->LoadControls(fromUtf8((kTemplates / "control.xml").string())));
    vantorel::AGPFileCache& cache = vantorel::SharedFileCache();
    cache.Clear();
    for (const char* file : {"page.asp", "list.asp", "record.asp", "report.asp", "login.asp"}) {
      cache.AddFile(fromUtf8((kTemplates / file).string()), fromUtf8(file));
    }
  }

  // The block types of a text, checked to parse.
  std::set<int> blockTypes(const std::u16string& text, const std::string& where) {
    vantorel::projectContext().lastErrorText.clear();
    const vantorel::Ref<vantorel::AGParser> parser = vantorel::makeRef<vantorel::AGParser>();
    parser->Parse(text);
    EXPECT_EQ(toUtf8(vantorel::projectContext().lastErrorText), "") << where;
    std::set<int> types;
    for (int i = 1; i <= parser->Count(); ++i) {
      parser->setBlockID(i);
      types.insert(parser->BlockType());
    }
    return types;
  }

  vantorel::Ref<vantorel::AGPControls> controls_ = vantorel::makeRef<vantorel::AGPControls>();
};

TEST_F(SampleTemplateSet, EverySectionResolvesAndParses) {
  static const std::regex include(R"re(<!--##include\s*([^/#]+)/([^#]+)##-->)re",
                                  std::regex::icase);
  std::set<int> blocks;
  for (const auto& control : controls_->items()) {
    const std::string id = toUtf8(control->CtrlID());
    if (control->Sessions()->Count() == 0) {
      if (control->CtrlType() == u"folder" || control->CtrlType() == u"copy") continue;
      const std::string text = readFile(kTemplates / toUtf8(control->CtrlIFiles()));
      ASSERT_FALSE(text.empty()) << id;
      if (control->CtrlType() != u"function") blocks.merge(blockTypes(fromUtf8(text), id));
      continue;
    }
    for (const auto& session : control->Sessions()->items()) {
      if (session->SessType() != u"key") continue;
      const std::u16string file =
          session->SessIFile().empty() ? control->CtrlIFiles() : session->SessIFile();
      const std::u16string section =
          vantorel::SharedFileCache().GetSession(file, session->SessValue());
      const std::string where = id + ": " + toUtf8(file) + "/" + toUtf8(session->SessValue());
      ASSERT_FALSE(section.empty()) << where;
      blocks.merge(blockTypes(section, where));
      const std::string text = toUtf8(section);
      for (std::sregex_iterator it(text.begin(), text.end(), include), end; it != end; ++it) {
        const std::u16string included = vantorel::SharedFileCache().GetSession(
            fromUtf8((*it)[1].str()), fromUtf8((*it)[2].str()));
        EXPECT_FALSE(included.empty()) << where << " includes " << (*it)[0];
        blocks.merge(blockTypes(included, (*it)[0]));
      }
    }
  }
  // Code, "=", "~", "@", "$" and text blocks.
  EXPECT_EQ(blocks, (std::set<int>{1, 2, 3, 4, 5, 6}));
}

TEST_F(SampleTemplateSet, UsesEveryKindOfControlSessionAndCondition) {
  std::set<std::string> types, sessions, conditions;
  for (const auto& control : controls_->items()) {
    types.insert(toUtf8(control->CtrlType()));
    std::string cond = toUtf8(control->CtrlCond());
    for (const auto& session : control->Sessions()->items()) {
      sessions.insert(toUtf8(session->SessType()));
      cond += "," + toUtf8(session->SessCond());
    }
    std::stringstream terms(cond);
    for (std::string term; std::getline(terms, term, ',');) {
      if (!term.empty()) conditions.insert(term.substr(0, term.find('/')));
    }
  }
  EXPECT_EQ(types, (std::set<std::string>{"copy", "field", "folder", "function", "other", "report",
                                          "simple", "table"}));
  EXPECT_EQ(sessions, (std::set<std::string>{"include", "key"}));
  EXPECT_EQ(conditions, (std::set<std::string>{"field", "function", "proj", "table"}));
}

// The engine splits template text at CR LF only: a bare LF would end up inside a script string.
TEST(SampleTemplateFiles, KeepWindowsLineEnds) {
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(kTemplates)) {
    if (!entry.is_regular_file() || entry.path().filename() == ".gitattributes") continue;
    const std::string text = readFile(entry.path());
    for (std::size_t i = text.find('\n'); i != std::string::npos; i = text.find('\n', i + 1)) {
      ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << entry.path() << " at byte " << i;
    }
  }
}

}  // namespace
