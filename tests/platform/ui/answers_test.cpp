#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <string>

#include "platform/automation/automation_error.hpp"
#include "platform/text/unicode.hpp"
#include "platform/ui/answer_script.hpp"
#include "platform/ui/backend.hpp"
#include "platform/ui/ui.hpp"
#include "support/temp_home.hpp"

namespace vantorel::ui {
namespace {

Question box(std::u16string title, std::u16string text, Buttons b, int def = 0) {
  Question q;
  q.title = std::move(title);
  q.text = std::move(text);
  q.buttons = buttonsOf(b);
  q.defaultButton = q.buttons[static_cast<std::size_t>(def)];
  return q;
}

Question overwrite(std::u16string text) {
  Question q;
  q.kind = QuestionKind::Overwrite;
  q.title = u"Overwrite";
  q.text = std::move(text);
  q.buttons = {Answer::Yes, Answer::YesToAll, Answer::No, Answer::NoToAll, Answer::Cancel};
  q.defaultButton = Answer::No;
  return q;
}

Question pick(std::size_t n, std::size_t def) {
  Question q;
  q.kind = QuestionKind::PickOne;
  q.title = u"Pick";
  q.text = u"Which one?";
  q.buttons = {Answer::OK, Answer::Cancel};
  for (std::size_t i = 0; i < n; ++i) q.items.push_back(u"item");
  q.defaultItem = def;
  return q;
}

// One script, a run of questions, the replies expected in order.
TEST(AnswerScriptTest, AnswersInOrderWithPrefixesAndDefaults) {
  AnswerScript s = AnswerScript::parse(
      "\xEF\xBB\xBF# unattended run\r\n"
      "Yes\r\n"
      "\n"
      "overwrite => yes to all\n"
      "  no  \n"
      "2\n"
      "Default\n",
      u"answers.txt");
  EXPECT_EQ(s.remaining(), 5u);
  struct Step {
    Question q;
    std::optional<Reply> expected;
  } steps[] = {
      {box(u"Save", u"Save changes?", Buttons::YesNoCancel), Reply{Answer::Yes}},
      // The prefixed line waits for its question; the next plain line answers this one.
      {box(u"Delete", u"Delete it?", Buttons::YesNo), Reply{Answer::No}},
      {overwrite(u"a.asp exists"), Reply{Answer::YesToAll}},
      {pick(3, 0), Reply{Answer::OK, 1}},
      {box(u"Retry", u"Failed", Buttons::RetryCancel, 1), Reply{Answer::Cancel}},
      {box(u"More", u"Again?", Buttons::YesNo, 1), std::nullopt},
  };
  for (const Step& st : steps) {
    EXPECT_EQ(s.answer(st.q), st.expected) << std::string(st.q.title.begin(), st.q.title.end());
  }
  EXPECT_EQ(s.remaining(), 0u);
}

TEST(AnswerScriptTest, MalformedLinesAndMisfitsAreClearErrors) {
  struct Case {
    const char* script;
    const char* mentions;
  } bad[] = {
      {"Yes\nMaybe\n", "line 2"}, {"=> Yes\n", "nothing before"}, {"Title =>\n", "no answer"},
      {"0\n", "numbered from 1"}, {"12345678901\n", "too large"},
  };
  for (const Case& c : bad) {
    try {
      AnswerScript::parse(c.script, u"a.txt");
      ADD_FAILURE() << c.script;
    } catch (const AutomationError& e) {
      EXPECT_NE(std::string(e.what()).find(c.mentions), std::string::npos) << e.what();
    }
  }
  struct Misfit {
    const char* script;
    Question q;
  } misfits[] = {
      {"Retry\n", box(u"T", u"Sure?", Buttons::YesNo)},
      {"4\n", pick(3, 0)},
      {"2\n", box(u"T", u"Sure?", Buttons::YesNo)},
  };
  for (Misfit& m : misfits) {
    AnswerScript s = AnswerScript::parse(m.script, u"a.txt");
    EXPECT_THROW(s.answer(m.q), AutomationError) << m.script;
  }
}

TEST(AnswerScriptTest, RandomInputNeverCrashes) {
  std::mt19937 rng(7);
  const std::string pieces[] = {"Yes",  "No",     "=>",       "\n",      "\r",
                                " ",    "#",      "3",        "Default", "\xEF\xBB\xBF",
                                "\xFF", "Cancel", "YesToAll", "x",       "0"};
  Question q = overwrite(u"x");
  for (int i = 0; i < 2000; ++i) {
    std::string text;
    int n = static_cast<int>(rng() % 12);
    for (int k = 0; k < n; ++k) text += pieces[rng() % std::size(pieces)];
    try {
      AnswerScript s = AnswerScript::parse(text, u"fuzz");
      for (int k = 0; k < 4; ++k) {
        try {
          (void)s.answer(k % 2 ? q : pick(2, 0));
        } catch (const AutomationError&) {
        }
      }
    } catch (const AutomationError&) {
    }
  }
}

class ScriptedBackendTest : public ::testing::Test {
 protected:
  void TearDown() override { setBackendForTesting(nullptr); }
  void use(const BackendEnvironment& env) { setBackendForTesting(makeBackend(env)); }
  test::TempDir dir;
};

TEST_F(ScriptedBackendTest, FileAnswersThenDefaultsWhenExhausted) {
  auto path = dir.path() / "answers.txt";
  std::ofstream(path) << "No\nOverwrite => NoToAll\n";
  use({false, false, fromUtf8(path.string())});

  EXPECT_EQ(messageBox(u"Just so you know"), Answer::OK);  // takes no answer
  EXPECT_EQ(messageBox(u"Continue?", u"Go", Buttons::YesNo), Answer::No);
  EXPECT_EQ(askOverwrite(u"Overwrite x.asp?", u"Files", Answer::Yes), Answer::NoToAll);
  EXPECT_EQ(messageBox(u"Continue?", u"Go", Buttons::YesNo, Icon::None, 0), Answer::Yes);
  EXPECT_EQ(messageBox(u"Continue?", u"Go", Buttons::OKCancel, Icon::None, 1), Answer::Cancel);
  // Progress goes nowhere but still hands out open handles.
  int h = openProgress(u"Quiet");
  EXPECT_GT(h, 0);
  closeProgress(h);
}

TEST_F(ScriptedBackendTest, UnreadableFileStopsTheRunAtTheFirstQuestion) {
  use({false, false, fromUtf8((dir.path() / "missing.txt").string())});
  EXPECT_THROW(messageBox(u"Sure?", u"", Buttons::YesNo), AutomationError);
  auto bad = dir.path() / "bad.txt";
  std::ofstream(bad) << "Yes\nperhaps\n";
  use({false, false, fromUtf8(bad.string())});
  EXPECT_THROW(messageBox(u"Sure?", u"", Buttons::YesNo), AutomationError);
}

TEST_F(ScriptedBackendTest, TypedNamesAnswerOnlyQuestionsThatTakeThem) {
  auto path = dir.path() / "answers.txt";
  std::ofstream(path) << "\"HR\"\n2\n\"HR\"\n";
  use({false, false, fromUtf8(path.string())});
  EXPECT_EQ(pickOrType(u"Schema?", u"", {}), std::optional<std::u16string>(u"HR"));
  EXPECT_EQ(pickOrType(u"Schema?", u"", {u"A", u"B"}), std::optional<std::u16string>(u"B"));
  EXPECT_THROW(pickOne(u"Pick", u"", {u"a", u"b"}), AutomationError);
  // Exhausted, unattended: the first listed, and nothing when nothing is listed.
  EXPECT_EQ(pickOrType(u"Schema?", u"", {u"A"}), std::optional<std::u16string>(u"A"));
  EXPECT_EQ(pickOrType(u"Schema?", u"", {}), std::nullopt);
}

TEST_F(ScriptedBackendTest, NoTerminalNoAnswersTakesDefaults) {
  use({false, false, std::nullopt});
  EXPECT_EQ(messageBox(u"Sure?", u"", Buttons::YesNoCancel, Icon::Question, 1), Answer::No);
  EXPECT_EQ(askKeepOrUpdate(u"Keep?", u""), Answer::Keep);
  EXPECT_EQ(pickOne(u"Pick", u"", {u"a", u"b"}, 1), std::optional<std::size_t>(1));
}

}  // namespace
}  // namespace vantorel::ui
