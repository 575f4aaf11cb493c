#include "platform/ui/terminal_backend.hpp"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/vb_errors.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"
#include "platform/ui/interrupt.hpp"

namespace vantorel::ui {

namespace {

enum class ReadEnd { Line, EndOfInput, Interrupted };

ReadEnd readLine(int fd, std::string& line) {
  line.clear();
  for (;;) {
    // A Ctrl-C that came before the read began interrupts no read: the flag is looked at
    // between short waits, so the question still ends at once.
    if (interruptRequested()) return ReadEnd::Interrupted;
    pollfd p{fd, POLLIN, 0};
    const int ready = ::poll(&p, 1, 200);
    if (ready == 0 || (ready < 0 && errno == EINTR)) continue;
    char c;
    ssize_t n = ::read(fd, &c, 1);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return line.empty() ? ReadEnd::EndOfInput : ReadEnd::Line;
    if (c == '\n') return ReadEnd::Line;
    line += c;
  }
}

std::u16string label(Answer a) {
  switch (a) {
    case Answer::YesToAll:
      return u"Yes to all";
    case Answer::NoToAll:
      return u"No to all";
    default:
      return std::u16string(answerName(a));
  }
}

std::u16string_view iconWord(Icon icon) {
  switch (icon) {
    case Icon::Critical:
      return u"Error: ";
    case Icon::Exclamation:
      return u"Warning: ";
    default:
      return u"";
  }
}

std::u16string render(const Question& q) {
  std::u16string out = u"\n";
  if (!q.title.empty()) out += q.title + u"\n";
  out += iconWord(q.icon);
  out += q.text + u"\n";
  if (q.kind == QuestionKind::PickOne) {
    for (std::size_t i = 0; i < q.items.size(); ++i) {
      out += u"  " + toU16(static_cast<long long>(i + 1)) + u") " + q.items[i] + u"\n";
    }
    if (q.items.empty()) {
      out += u"Type a name";
    } else {
      out += u"Choose 1-" + toU16(static_cast<long long>(q.items.size())) + u" [" +
             toU16(static_cast<long long>(q.defaultItem + 1)) + u"]";
      if (q.typable) out += u" or type a name";
    }
    for (Answer a : q.buttons) {
      if (a == Answer::Cancel) out += u", Cancel";
    }
    return out + u": ";
  }
  if (q.buttons.size() == 1) return out + u"[" + label(q.buttons[0]) + u"] Press Enter: ";
  for (std::size_t i = 0; i < q.buttons.size(); ++i) {
    out += u"  " + toU16(static_cast<long long>(i + 1)) + u") " + label(q.buttons[i]);
  }
  return out + u"\nAnswer [" + label(q.defaultButton) + u"]: ";
}

bool isDigits(std::u16string_view s) {
  if (s.empty() || s.size() > 9) return false;
  for (char16_t c : s) {
    if (c < u'0' || c > u'9') return false;
  }
  return true;
}

std::size_t toNumber(std::u16string_view s) {
  std::size_t n = 0;
  for (char16_t c : s) n = n * 10 + static_cast<std::size_t>(c - u'0');
  return n;
}

}  // namespace

std::optional<Reply> parseTypedAnswer(const Question& q, std::u16string_view typed) {
  std::u16string_view t = trimBlanks(typed);
  // A lone button is an acknowledgement: whatever is typed presses it.
  if (t.empty() && q.typable && q.items.empty()) return std::nullopt;  // nothing to take
  if (t.empty() || (q.kind != QuestionKind::PickOne && q.buttons.size() == 1)) {
    return defaultReply(q);
  }
  if (q.kind == QuestionKind::PickOne) {
    if (isDigits(t)) {
      std::size_t n = toNumber(t);
      if (n >= 1 && n <= q.items.size()) return Reply{Answer::OK, n - 1};
      return std::nullopt;
    }
  } else if (isDigits(t)) {
    std::size_t n = toNumber(t);
    if (n >= 1 && n <= q.buttons.size()) return Reply{q.buttons[n - 1], 0};
    return std::nullopt;
  }
  std::optional<Answer> exact = parseAnswerName(t);
  std::optional<Answer> byPrefix;
  int prefixMatches = 0;
  for (Answer a : q.buttons) {
    if (exact == a) return Reply{a, q.kind == QuestionKind::PickOne ? q.defaultItem : 0};
    if (startsWithNoCase(label(a), t)) {
      byPrefix = a;
      ++prefixMatches;
    }
  }
  if (prefixMatches == 1) {
    return Reply{*byPrefix, q.kind == QuestionKind::PickOne ? q.defaultItem : 0};
  }
  if (q.typable) return Reply{Answer::OK, 0, std::u16string(t)};
  return std::nullopt;
}

Reply TerminalBackend::ask(const Question& q) {
  progress_.hide();
  writeAll(out_, toUtf8(render(q)));
  Reply reply = defaultReply(q);
  std::string line;
  for (;;) {
    ReadEnd end = readLine(in_, line);
    if (end == ReadEnd::EndOfInput) {
      writeAll(out_, "\n");
      break;
    }
    if (end == ReadEnd::Interrupted) {
      writeAll(out_, "\n");
      progress_.show();
      for (Answer a : q.buttons) {
        if (a == Answer::Cancel) return Reply{Answer::Cancel, 0};
      }
      // Without a Cancel to press, taking the default would go on as if nothing was typed: the
      // user wants the run to stop.
      throw AutomationError(vberr::kUserInterrupt, u"vantorel",
                            u"Interrupted (Ctrl-C) at the question; nothing more was done.");
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (std::optional<Reply> r = parseTypedAnswer(q, fromUtf8(line))) {
      reply = *r;
      break;
    }
    writeAll(out_, "Please choose one of the numbers shown: ");
  }
  progress_.show();
  return reply;
}

void TerminalBackend::say(std::u16string_view text) {
  progress_.hide();
  writeAll(out_, toUtf8(text) + "\n");
  progress_.show();
}

}  // namespace vantorel::ui
