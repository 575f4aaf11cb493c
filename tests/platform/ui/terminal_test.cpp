#include <fcntl.h>
#include <gtest/gtest.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/vb_errors.hpp"
#include "platform/ui/interrupt.hpp"
#include "platform/ui/terminal_backend.hpp"
#include "platform/ui/terminal_progress.hpp"

namespace vantorel::ui {
namespace {

// A pipe standing in for the terminal.
struct Pipe {
  int fd[2];
  Pipe() {
    EXPECT_EQ(pipe(fd), 0);
    fcntl(fd[0], F_SETFL, O_NONBLOCK);
  }
  ~Pipe() {
    close(fd[0]);
    if (fd[1] >= 0) close(fd[1]);
  }
  void write(std::string_view s) { writeAll(fd[1], s); }
  void closeWriter() {
    close(fd[1]);
    fd[1] = -1;
  }
  std::string drain() {
    std::string out;
    char buf[4096];
    ssize_t n;
    while ((n = read(fd[0], buf, sizeof buf)) > 0) out.append(buf, static_cast<std::size_t>(n));
    return out;
  }
};

Question overwriteQuestion() {
  Question q;
  q.kind = QuestionKind::Overwrite;
  q.text = u"Overwrite a.asp?";
  q.buttons = {Answer::Yes, Answer::YesToAll, Answer::No, Answer::NoToAll, Answer::Cancel};
  q.defaultButton = Answer::No;
  return q;
}

TEST(TerminalTest, TypedAnswers) {
  Question ow = overwriteQuestion();
  Question pick;
  pick.kind = QuestionKind::PickOne;
  pick.buttons = {Answer::OK, Answer::Cancel};
  pick.items = {u"a", u"b", u"c"};
  pick.defaultItem = 2;
  Question ok;
  ok.buttons = {Answer::OK};
  Question typable = pick;
  typable.typable = true;
  Question none = typable;
  none.items.clear();

  struct Case {
    const Question* q;
    std::u16string typed;
    std::optional<Reply> expected;
  } cases[] = {
      {&ow, u"", Reply{Answer::No}},
      {&ow, u"  2 ", Reply{Answer::YesToAll}},
      {&ow, u"yes to all", Reply{Answer::YesToAll}},
      {&ow, u"YES", Reply{Answer::Yes}},
      {&ow, u"c", Reply{Answer::Cancel}},
      {&ow, u"no t", Reply{Answer::NoToAll}},
      {&ow, u"y", std::nullopt},  // Yes and Yes to all
      {&ow, u"6", std::nullopt},
      {&ow, u"Retry", std::nullopt},
      {&pick, u"1", Reply{Answer::OK, 0}},
      {&pick, u"", Reply{Answer::OK, 2}},
      {&pick, u"cancel", Reply{Answer::Cancel, 2}},
      {&pick, u"4", std::nullopt},
      {&ok, u"whatever", Reply{Answer::OK}},
      {&pick, u"HR", std::nullopt},
      {&typable, u" HR ", Reply{Answer::OK, 0, u"HR"}},
      {&typable, u"2", Reply{Answer::OK, 1}},
      {&typable, u"cancel", Reply{Answer::Cancel, 2}},
      {&none, u"SALES", Reply{Answer::OK, 0, u"SALES"}},
      {&none, u"", std::nullopt},  // nothing listed, nothing typed: asked again
  };
  for (const Case& c : cases) {
    EXPECT_EQ(parseTypedAnswer(*c.q, c.typed), c.expected)
        << std::string(c.typed.begin(), c.typed.end());
  }
}

TEST(TerminalTest, PromptReasksThenAnswersAndEndOfInputTakesDefault) {
  Pipe in, out;
  TerminalBackend term(in.fd[0], out.fd[1]);
  fcntl(in.fd[0], F_SETFL, 0);
  in.write("maybe\r\n4\n");
  EXPECT_EQ(term.ask(overwriteQuestion()).button, Answer::NoToAll);
  std::string shown = out.drain();
  EXPECT_NE(shown.find("Overwrite a.asp?"), std::string::npos);
  EXPECT_NE(shown.find("2) Yes to all"), std::string::npos);
  EXPECT_NE(shown.find("Please choose"), std::string::npos);

  in.closeWriter();
  EXPECT_EQ(term.ask(overwriteQuestion()).button, Answer::No);
}

TEST(TerminalTest, CtrlCAtAPromptCancels) {
  clearInterrupt();
  installInterruptHandler();
  Pipe in, out;
  fcntl(in.fd[0], F_SETFL, 0);
  TerminalBackend term(in.fd[0], out.fd[1]);
  pthread_t self = pthread_self();
  std::thread presser([self] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    pthread_kill(self, SIGINT);
  });
  EXPECT_EQ(term.ask(overwriteQuestion()).button, Answer::Cancel);
  presser.join();
  clearInterrupt();
  signal(SIGINT, SIG_DFL);
}

// Without a Cancel to press, Ctrl-C ends the run: the default would go on as if nothing happened.
TEST(TerminalTest, CtrlCAtAQuestionWithoutCancelEndsTheRun) {
  clearInterrupt();
  installInterruptHandler();
  Pipe in, out;
  fcntl(in.fd[0], F_SETFL, 0);
  TerminalBackend term(in.fd[0], out.fd[1]);
  Question q;
  q.kind = QuestionKind::Message;
  q.text = u"Continue without the language file?";
  q.buttons = {Answer::Yes, Answer::No};
  q.defaultButton = Answer::Yes;
  pthread_t self = pthread_self();
  std::thread presser([self] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    pthread_kill(self, SIGINT);
  });
  try {
    term.ask(q);
    ADD_FAILURE() << "the default was taken";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), vberr::kUserInterrupt);
    EXPECT_EQ(e.description(), u"Interrupted (Ctrl-C) at the question; nothing more was done.");
  }
  presser.join();
  clearInterrupt();
  signal(SIGINT, SIG_DFL);
}

TEST(TerminalTest, ProgressLineFitsTheWidth) {
  struct Case {
    std::u16string caption, status;
    ProgressLook look;
    int percent, width;
    std::string expected;
  } cases[] = {
      {u"Gen", u"a.asp", ProgressLook::Standard, 50, 80, "Gen: a.asp [##########----------] 50%"},
      {u"Gen", u"", ProgressLook::Compact, 7, 80, "Gen 7%"},
      {u"Gen", u"x\ty", ProgressLook::Cancellable, 100, 80,
       "Gen: x y [####################] 100%  (Ctrl-C cancels)"},
      {u"Generating the application", u"", ProgressLook::Standard, 0, 40,
       "Generating... [--------------------] 0%"},
      {u"Generating", u"", ProgressLook::Standard, 0, 20, "Generating 0%"},
  };
  for (const Case& c : cases) {
    std::string line = progressLine(c.caption, c.status, c.look, c.percent, c.width);
    EXPECT_EQ(line, c.expected);
    EXPECT_LT(line.size(), static_cast<std::size_t>(c.width));
  }
}

TEST(TerminalTest, RedrawsAtMostTenTimesASecond) {
  Pipe out;
  TerminalProgress p(out.fd[1]);
  p.opened(1, u"Work", ProgressLook::Standard);
  for (int i = 0; i <= 100; ++i) p.percent(1, i);
  std::string first = out.drain();
  EXPECT_LE(std::count(first.begin(), first.end(), '\r'), 2);
  std::this_thread::sleep_for(std::chrono::milliseconds(120));
  p.idle();
  std::string later = out.drain();
  EXPECT_NE(later.find("100%"), std::string::npos);
  p.closed(1);
  EXPECT_EQ(out.drain(), "\r\x1b[K");
}

}  // namespace
}  // namespace vantorel::ui
