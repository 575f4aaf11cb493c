#include <gtest/gtest.h>
#include <signal.h>

#include <cstdlib>
#include <memory>
#include <set>
#include <thread>
#include <vector>

#include "platform/ui/interrupt.hpp"
#include "platform/ui/recording_backend.hpp"
#include "platform/ui/ui.hpp"

namespace vantorel::ui {
namespace {

using Kind = RecordingBackend::Event::Kind;

class UiServiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    clearInterrupt();
    setBackendForTesting(rec);
  }
  void TearDown() override {
    setBackendForTesting(nullptr);
    clearInterrupt();
  }
  std::shared_ptr<RecordingBackend> rec = std::make_shared<RecordingBackend>();
};

TEST_F(UiServiceTest, MessageBoxDefaultsAndQueuedAnswers) {
  struct Case {
    Buttons buttons;
    int defaultPos;
    std::optional<Answer> queued;
    Answer expected;
  } cases[] = {
      {Buttons::OK, 0, {}, Answer::OK},
      {Buttons::YesNo, 1, {}, Answer::No},
      {Buttons::YesNoCancel, 2, {}, Answer::Cancel},
      {Buttons::YesNoCancel, 7, {}, Answer::Yes},  // past the last button: the first
      {Buttons::AbortRetryIgnore, 0, Answer::Ignore, Answer::Ignore},
      {Buttons::RetryCancel, 0, Answer::Cancel, Answer::Cancel},
      // An answer the box does not offer cannot reach the caller.
      {Buttons::OKCancel, 1, Answer::Yes, Answer::Cancel},
  };
  for (const Case& c : cases) {
    rec->clearEvents();
    if (c.queued) rec->queueAnswer(*c.queued);
    EXPECT_EQ(messageBox(u"Text", u"Title", c.buttons, Icon::Question, c.defaultPos), c.expected)
        << static_cast<int>(c.buttons) << " " << c.defaultPos;
    auto asked = rec->events(Kind::Asked);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].question.title, u"Title");
    EXPECT_EQ(asked[0].question.text, u"Text");
    EXPECT_EQ(asked[0].question.icon, Icon::Question);
    EXPECT_EQ(asked[0].question.buttons, buttonsOf(c.buttons));
  }
  EXPECT_EQ(static_cast<int>(Answer::Yes), 6);
  EXPECT_EQ(static_cast<int>(Answer::No), 7);
}

TEST_F(UiServiceTest, EngineQuestions) {
  EXPECT_EQ(askOverwrite(u"Overwrite a.asp?", u"Files"), Answer::No);
  rec->queueAnswer(Answer::YesToAll);
  EXPECT_EQ(askOverwrite(u"Overwrite b.asp?", u"Files"), Answer::YesToAll);
  EXPECT_EQ(askKeepOrUpdate(u"Keep?", u"Files"), Answer::Keep);
  rec->queueAnswer(Answer::Update);
  EXPECT_EQ(askKeepOrUpdate(u"Keep?", u"Files"), Answer::Update);
  EXPECT_EQ(askKeepOrOverwrite(u"Keep?", u"Files"), Answer::Keep);
  rec->queueAnswer(Answer::Overwrite);
  EXPECT_EQ(askKeepOrOverwrite(u"Keep?", u"Files"), Answer::Overwrite);
  EXPECT_EQ(rec->events(Kind::Asked).back().question.buttons,
            (std::vector<Answer>{Answer::Keep, Answer::Overwrite, Answer::Cancel}));
  EXPECT_EQ(parseAnswerName(u"overwrite"), std::optional<Answer>(Answer::Overwrite));

  std::vector<std::u16string> items{u"one", u"two", u"three"};
  EXPECT_EQ(pickOne(u"Pick", u"", items, 1), std::optional<std::size_t>(1));
  rec->queuePick(2);
  EXPECT_EQ(pickOne(u"Pick", u"", items, 1), std::optional<std::size_t>(2));
  rec->queueAnswer(Answer::Cancel);
  EXPECT_EQ(pickOne(u"Pick", u"", items, 1), std::nullopt);
  rec->queuePick(9);  // out of range: the default item
  EXPECT_EQ(pickOne(u"Pick", u"", items, 1), std::optional<std::size_t>(1));
  EXPECT_EQ(pickOne(u"Pick", u"", {}, 0), std::nullopt);
}

// An unattended run used to drop OK-only message boxes without a trace.
TEST_F(UiServiceTest, UnattendedRunsSayEveryMessageAndCountIt) {
  takeNotices();
  rec->setUnattended(true);
  struct Case {
    std::u16string title;
    Buttons buttons;
    std::u16string said;
  } cases[] = {
      {u"", Buttons::OK, u"Error in open \"a.asp\", description:Is a directory"},
      {u"Vantorel", Buttons::OK, u"Vantorel: Error in open \"a.asp\", description:Is a directory"},
      {u"Vantorel", Buttons::YesNo,
       u"Vantorel: Error in open \"a.asp\", description:Is a directory [answered Yes]"},
  };
  for (const Case& c : cases) {
    rec->clearEvents();
    messageBox(u"Error in open \"a.asp\", description:Is a directory", c.title, c.buttons);
    auto said = rec->events(Kind::Said);
    ASSERT_EQ(said.size(), 1u);
    EXPECT_EQ(said[0].text, c.said);
  }
  EXPECT_EQ(askKeepOrUpdate(u"Archive changed.", u"T"), Answer::Keep);
  EXPECT_EQ(rec->events(Kind::Said).back().text, u"T: Archive changed. [answered Keep]");
  warn(u"Two controls share the id \"x\"");
  reportUnwritten(u"/site/a.asp", u"No space left on device");
  Notices n = takeNotices();
  EXPECT_EQ(n.said, 5u);
  EXPECT_EQ(n.unwritten, (std::vector<Unwritten>{{u"/site/a.asp", u"No space left on device"}}));
  EXPECT_EQ(takeNotices().said, 0u);

  // With someone at the terminal the box is the message; only warnings are said.
  rec->setUnattended(false);
  rec->clearEvents();
  messageBox(u"Shown", u"", Buttons::OK);
  warn(u"Said");
  ASSERT_EQ(rec->events(Kind::Said).size(), 1u);
  EXPECT_EQ(takeNotices().said, 1u);
}

// The back-end chosen without a terminal and without answers writes to standard error.
TEST(UiUnattendedTest, SilentBackendWritesToStandardError) {
  setBackendForTesting(makeBackend(BackendEnvironment{}));
  takeNotices();
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(messageBox(u"Disk full", u"Vantorel"), Answer::OK);
  const std::string err = ::testing::internal::GetCapturedStderr();
  setBackendForTesting(nullptr);
  EXPECT_EQ(err, "Vantorel: Disk full\n");
  EXPECT_EQ(takeNotices().said, 1u);
}

TEST_F(UiServiceTest, ProgressCallsAreRecordedAndClosedHandlesIgnored) {
  int h = openProgress(u"Caption", ProgressLook::Cancellable);
  ASSERT_GT(h, 0);
  setProgressStatus(h, u"Step");
  setProgressPercent(h, 150);
  setProgressPercent(h, -3);
  EXPECT_FALSE(isProgressCancelled(h));
  rec->cancel(h);
  EXPECT_TRUE(isProgressCancelled(h));
  closeProgress(h);
  closeProgress(h);
  setProgressStatus(h, u"after close");
  setProgressPercent(0, 10);
  EXPECT_FALSE(isProgressCancelled(h));

  auto ev = rec->events();
  ASSERT_EQ(ev.size(), 5u);
  EXPECT_EQ(ev[0].kind, Kind::Opened);
  EXPECT_EQ(ev[0].text, u"Caption");
  EXPECT_EQ(ev[0].look, ProgressLook::Cancellable);
  EXPECT_EQ(ev[1].text, u"Step");
  EXPECT_EQ(ev[2].percent, 100);
  EXPECT_EQ(ev[3].percent, 0);
  EXPECT_EQ(ev[4].kind, Kind::Closed);

  int h2 = openProgress(u"Next");
  EXPECT_NE(h2, h);
  closeProgress(h2);
}

TEST_F(UiServiceTest, CtrlCCancelsEveryDisplay) {
  ProgressDisplay d(u"Work");
  EXPECT_FALSE(d.isCancelled());
  installInterruptHandler();
  raise(SIGINT);
  EXPECT_TRUE(interruptRequested());
  EXPECT_TRUE(d.isCancelled());
  EXPECT_TRUE(isProgressCancelled(0));
  clearInterrupt();
  EXPECT_FALSE(d.isCancelled());
  signal(SIGINT, SIG_DFL);
  signal(SIGTERM, SIG_DFL);
}

// A service manager's or kill's SIGTERM ends a run as cleanly as Ctrl-C does (it used to end the
// program at once, leaving temporaries behind); the host tells the two apart by the signal.
TEST_F(UiServiceTest, SigtermCancelsAsCtrlCDoes) {
  for (const int sig : {SIGTERM, SIGINT}) {
    ProgressDisplay d(u"Work");
    installInterruptHandler();
    raise(sig);
    EXPECT_TRUE(d.isCancelled()) << sig;
    EXPECT_EQ(interruptSignal(), sig);
    clearInterrupt();
    signal(SIGINT, SIG_DFL);
    signal(SIGTERM, SIG_DFL);
  }
}

TEST(UiInterruptDeathTest, SecondSigtermEndsTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        installInterruptHandler();
        raise(SIGTERM);
        raise(SIGTERM);
        std::exit(0);
      },
      ::testing::KilledBySignal(SIGTERM), "");
}

TEST(UiInterruptDeathTest, SecondCtrlCEndsTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        installInterruptHandler();
        raise(SIGINT);
        raise(SIGINT);
        std::exit(0);
      },
      ::testing::KilledBySignal(SIGINT), "");
}

TEST_F(UiServiceTest, SafeFromManyThreads) {
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([] {
      for (int i = 0; i < 200; ++i) {
        ProgressDisplay d(u"T");
        d.percent(i % 101);
        d.status(u"s");
        yieldToHost();
      }
    });
  }
  for (auto& t : threads) t.join();
  auto opened = rec->events(Kind::Opened);
  EXPECT_EQ(opened.size(), 800u);
  EXPECT_EQ(rec->events(Kind::Closed).size(), 800u);
  std::set<int> handles;
  for (const auto& e : opened) handles.insert(e.handle);
  EXPECT_EQ(handles.size(), 800u);
  EXPECT_GT(*handles.begin(), 0);
}

TEST(UiMessageBoxStyle, DecodesMsgBoxNumbers) {
  struct Case {
    int style;
    Buttons buttons;
    Icon icon;
    int def;
  } cases[] = {
      {0, Buttons::OK, Icon::None, 0},
      {4 + 32 + 256, Buttons::YesNo, Icon::Question, 1},
      {3 + 48 + 512, Buttons::YesNoCancel, Icon::Exclamation, 2},
      {2 + 16, Buttons::AbortRetryIgnore, Icon::Critical, 0},
      {9 + 80, Buttons::OK, Icon::None, 0},  // unknown buttons and icon
  };
  for (const Case& c : cases) {
    MessageBoxStyle s = decodeMessageBoxStyle(c.style);
    EXPECT_EQ(s.buttons, c.buttons) << c.style;
    EXPECT_EQ(s.icon, c.icon) << c.style;
    EXPECT_EQ(s.defaultButton, c.def) << c.style;
  }
}

}  // namespace
}  // namespace vantorel::ui
