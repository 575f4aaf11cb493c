#include "generator/overwrite.hpp"
#include "foundation/project_context.hpp"
#include "generator/run_end.hpp"

#include <sys/stat.h>

#include <vector>

#include "generator/overwrite_prompt.hpp"
#include "generator_test_support.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/ui/scripted_backend.hpp"
#include "support/test_files.hpp"

namespace vantorel::test {
namespace {

namespace fsys = std::filesystem;
using Kind = ui::RecordingBackend::Event::Kind;

class OverwriteTest : public GeneratorTest {
 protected:
  std::u16string file(std::string_view name, std::string_view content = "old") {
    test::writeFile(site_ / name, content);
    return u16(site_ / name);
  }
  std::size_t prompts() const { return ui_->events(Kind::Asked).size(); }
};

TEST_F(OverwriteTest, DecidesWithoutAsking) {
  struct Case {
    const char* what;
    bool exists, overwrite, ask, existsOnly;
    std::u16string all;
    bool expected;
  };
  const std::vector<Case> cases = {
      {"new file", false, false, false, false, u"", true},
      {"overwrite flag", true, true, false, false, u"", true},
      {"no overwrite flag", true, false, false, false, u"", false},
      {"ask without overwrite", true, false, true, false, u"", false},
      {"skip all", true, true, false, false, u"S", false},
      {"overwrite all, flag on", true, true, true, false, u"O", true},
      {"overwrite all, flag off", true, false, true, false, u"O", false},
      {"exists only", true, false, false, true, u"", true},
      {"exists only, missing", false, true, true, true, u"", false},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string name = "f" + std::to_string(n++) + ".asp";
    const std::u16string path = c.exists ? file(name) : u16(site_ / name);
    run().overwriteAllAnswer = c.all;
    EXPECT_EQ(BackupFile(run(), path, c.overwrite, c.ask, c.existsOnly, true), c.expected);
    EXPECT_EQ(u8(run().overwriteAllAnswer), u8(c.all));
    // A backup only ever comes with a write over an existing file.
    EXPECT_EQ(fsys::exists(site_ / (name + ".bak")), c.exists && c.expected && !c.existsOnly);
  }
  EXPECT_EQ(prompts(), 0u);
}

TEST_F(OverwriteTest, BacksUpFilesAndFolders) {
  const std::u16string index = file("index.asp", "first");
  test::writeFile(site_ / "index.asp.bak", "older");
  EXPECT_TRUE(BackupFile(run(), index, true, false, false, true));
  EXPECT_EQ(test::readFile(site_ / "index.asp.bak"), "first");

  test::writeFile(site_ / "img" / "a.gif", "a");
  test::writeFile(site_ / "img" / "sub" / "b.gif", "b");
  test::writeFile(site_ / "img.bak" / "stale.gif", "stale");
  EXPECT_TRUE(BackupFolder(run(), u16(site_ / "img") + u"/", true, false, false, true));
  EXPECT_EQ(test::readFile(site_ / "img.bak" / "a.gif"), "a");
  EXPECT_EQ(test::readFile(site_ / "img.bak" / "sub" / "b.gif"), "b");
  EXPECT_FALSE(fsys::exists(site_ / "img.bak" / "stale.gif"));
  EXPECT_FALSE(fsys::exists(site_ / "img" / ".bak"));
  EXPECT_TRUE(BackupFolder(run(), u16(site_ / "newdir"), false, false, false, true));
  EXPECT_TRUE(BackupFolder(run(), u16(site_ / "img"), false, false, true, true));
}

TEST_F(OverwriteTest, AFailedBackupKeepsTheTarget) {
  const std::u16string target = file("page.asp", "keep me");
  fsys::create_directories(site_ / "page.asp.bak" / "blocker");
  EXPECT_FALSE(BackupFile(run(), target, true, false, false, true));
  EXPECT_EQ(test::readFile(site_ / "page.asp"), "keep me");
  const auto asked = ui_->events(Kind::Asked);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(
      u8(asked[0].question.text).rfind("Error in open \"" + u8(target) + "\", description:", 0),
      0u);
  EXPECT_EQ(asked[0].question.icon, ui::Icon::Exclamation);
  EXPECT_EQ(asked[0].question.title, projectContext().productTitle);
}

// The kept target used to be lost with the message box of an unattended run.
TEST_F(OverwriteTest, AFailedBackupReportsTheTargetUnwritten) {
  ui::takeNotices();
  const std::u16string page = file("page.asp", "keep me");
  fsys::create_directories(site_ / "page.asp.bak" / "blocker");
  const std::u16string img = u16(site_ / "img");
  test::writeFile(site_ / "img" / "a.gif", "a");
  // A named pipe cannot be copied, so the folder's backup fails half way.
  ASSERT_EQ(::mkfifo((site_ / "img" / "pipe").c_str(), 0600), 0);
  EXPECT_FALSE(BackupFile(run(), page, true, false, false, true));
  EXPECT_FALSE(BackupFolder(run(), img, true, false, false, true));
  const ui::Notices n = ui::takeNotices();
  ASSERT_EQ(n.unwritten.size(), 2u);
  EXPECT_EQ(n.unwritten[0], (ui::Unwritten{page, u"no backup: Is a directory"}));
  EXPECT_EQ(n.unwritten[1].path, img);
  EXPECT_TRUE(n.unwritten[1].reason.starts_with(u"no backup: ")) << u8(n.unwritten[1].reason);
}

TEST_F(OverwriteTest, PromptAnswersApplyAsTheUserChose) {
  struct Step {
    std::optional<ui::Answer> answer;  // queued for this step's prompt; nothing: no prompt
    bool overwrite;
    bool expected;
    std::u16string allAfter;
  };
  struct Case {
    const char* what;
    std::vector<Step> steps;
  };
  const std::vector<Case> cases = {
      {"overwrite once", {{ui::Answer::Yes, true, true, u""}, {ui::Answer::No, true, false, u""}}},
      {"overwrite all",
       {{ui::Answer::YesToAll, true, true, u"O"},
        {std::nullopt, true, true, u"O"},
        // The control's own flag still counts.
        {std::nullopt, false, false, u"O"}}},
      {"skip all", {{ui::Answer::NoToAll, true, false, u"S"}, {std::nullopt, true, false, u"S"}}},
      // Closed without an answer: the default, skip.
      {"no answer", {{ui::Answer::None, true, false, u""}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    run_.emplace(*proj_);
    ui_->clearEvents();
    std::size_t expectedPrompts = 0;
    int n = 0;
    for (const Step& s : c.steps) {
      if (s.answer && *s.answer != ui::Answer::None) ui_->queueAnswer(*s.answer);
      if (s.answer) ++expectedPrompts;
      const std::u16string path = file(std::string(c.what) + std::to_string(n++) + ".asp");
      EXPECT_EQ(BackupFile(run(), path, s.overwrite, true, false, false), s.expected);
      EXPECT_EQ(u8(run().overwriteAllAnswer), u8(s.allAfter));
    }
    EXPECT_EQ(prompts(), expectedPrompts);
  }
  // The next run asks again.
  run_.emplace(*proj_);
  ui_->clearEvents();
  EXPECT_FALSE(BackupFile(run(), file("again.asp"), true, true, false, false));
  ASSERT_EQ(prompts(), 1u);
  const ui::Question q = ui_->events(Kind::Asked)[0].question;
  EXPECT_EQ(q.kind, ui::QuestionKind::Overwrite);
  EXPECT_EQ(q.title, projectContext().productTitle);
  EXPECT_EQ(u8(q.text), "File " + u8(ShortenPath(u16(site_ / "again.asp"))) + " already exists!");
  EXPECT_EQ(q.defaultButton, ui::Answer::No);

  std::filesystem::create_directories(site_ / "css");
  ui_->queueAnswer(ui::Answer::Yes);
  EXPECT_TRUE(BackupFolder(run(), u16(site_ / "css"), true, true, false, false));
  EXPECT_EQ(u8(ui_->events(Kind::Asked)[1].question.text),
            "Folder " + u8(ShortenPath(u16(site_ / "css"))) + " already exists!");
}

TEST_F(OverwriteTest, CancelEndsTheRun) {
  ui_->queueAnswer(ui::Answer::Cancel);
  const std::u16string path = file("c.asp");
  try {
    BackupFile(run(), path, true, true, false, true);
    ADD_FAILURE() << "no raise";
  } catch (const GenerationStopped& e) {
    EXPECT_TRUE(e.cancelled());
    EXPECT_EQ(e.number(), -1);
    EXPECT_EQ(u8(e.description()), "Generation cancelled by user!");
  }
  EXPECT_FALSE(fsys::exists(site_ / "c.asp.bak"));
  // The cancel answer stays for the run: every later existing target ends it too.
  EXPECT_THROW(BackupFile(run(), file("d.asp"), true, false, false, false), AutomationError);
}

TEST_F(OverwriteTest, ScriptedAnswersDrivePrompt) {
  const fsys::path answers = dir_.path() / "answers.txt";
  test::writeFile(answers, "# overwrite the first, then skip the rest\nYes\nno to all\n");
  ui::setBackendForTesting(std::make_shared<ui::ScriptedBackend>(u16(answers), false));
  EXPECT_TRUE(BackupFile(run(), file("s1.asp"), true, true, false, false));
  EXPECT_FALSE(BackupFile(run(), file("s2.asp"), true, true, false, false));
  EXPECT_FALSE(BackupFile(run(), file("s3.asp"), true, true, false, false));
  EXPECT_EQ(u8(run().overwriteAllAnswer), "S");

  // An answer the prompt does not offer stops an unattended run instead of guessing.
  run_.emplace(*proj_);
  test::writeFile(answers, "Keep\n");
  ui::setBackendForTesting(std::make_shared<ui::ScriptedBackend>(u16(answers), false));
  const std::u16string path = file("s4.asp", "untouched");
  EXPECT_NE(u8(stopMessage([&] {
              BackupFile(run(), path, true, true, false, true);
            })).find("Generation aborted."),
            std::string::npos);
  EXPECT_FALSE(fsys::exists(site_ / "s4.asp.bak"));
  EXPECT_EQ(test::readFile(site_ / "s4.asp"), "untouched");
}

TEST(ShortenPathTest, KeepsTheHeadAndTheTail) {
  struct Case {
    std::u16string path, expected;
  };
  const std::u16string fits(55, u'a');
  const std::vector<Case> cases = {
      {u"C:\\site\\index.asp", u"C:\\site\\index.asp"},
      {fits, fits},
      {u"C:\\" + std::u16string(25, u'x') + u"\\" + std::u16string(25, u'y') + u"\\page.asp",
       u"C:\\...\\" + std::u16string(25, u'y') + u"\\page.asp"},
      {u"/home/" + std::u16string(30, u'u') + u"/site/css/" + std::u16string(10, u'n') + u".css",
       u"/.../site/css/" + std::u16string(10, u'n') + u".css"},
      // A tail that cannot fit leaves the first element alone.
      {u"C:\\" + std::u16string(60, u'z'), u"C:\\..."},
      {u"D:\\a\\" + std::u16string(52, u'w'), u"D:\\..."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(u8(c.path));
    const std::u16string shown = ShortenPath(c.path);
    EXPECT_EQ(u8(shown), u8(c.expected));
    EXPECT_LE(shown.size(), kPromptPathWidth);
  }
}

}  // namespace
}  // namespace vantorel::test
