#include "platform/ui/answer_script.hpp"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/automation/automation_error.hpp"
#include "platform/fs/files.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel::ui {

namespace {

constexpr std::u16string_view kSource = u"Vantorel answers";

[[noreturn]] void fail(std::u16string_view origin, int line, std::u16string_view what) {
  throw AutomationError(
      vberr::kInvalidProcedureCall, std::u16string(kSource),
      std::u16string(origin) + u", line " + toU16(line) + u": " + std::u16string(what));
}

std::u16string_view trimSpace(std::u16string_view s) {
  while (!s.empty() && (s.front() == u' ' || s.front() == u'\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == u' ' || s.back() == u'\t' || s.back() == u'\r')) {
    s.remove_suffix(1);
  }
  return s;
}

bool offers(const Question& q, Answer a) {
  return std::find(q.buttons.begin(), q.buttons.end(), a) != q.buttons.end();
}

std::u16string choices(const Question& q) {
  std::u16string out;
  if (q.kind == QuestionKind::PickOne) {
    if (!q.items.empty()) out = u"1 to " + toU16(static_cast<long long>(q.items.size()));
    if (q.typable) out += std::u16string(out.empty() ? u"" : u", ") + u"a \"name\"";
  }
  for (Answer a : q.buttons) {
    if (!out.empty()) out += u", ";
    out += answerName(a);
  }
  return out;
}

}  // namespace

AnswerScript AnswerScript::parse(std::string_view utf8, std::u16string_view origin) {
  AnswerScript script;
  script.origin_ = origin;
  std::u16string text = fromUtf8(utf8);
  std::u16string_view rest = text;
  if (!rest.empty() && rest.front() == u'\xFEFF') rest.remove_prefix(1);

  int lineNo = 0;
  while (!rest.empty()) {
    std::size_t eol = rest.find(u'\n');
    std::u16string_view line = trimSpace(rest.substr(0, eol));
    rest = eol == std::u16string_view::npos ? std::u16string_view() : rest.substr(eol + 1);
    ++lineNo;
    if (line.empty() || line.front() == u'#') continue;

    Entry e;
    e.line = lineNo;
    std::size_t arrow = line.rfind(u"=>");
    if (arrow != std::u16string_view::npos) {
      e.appliesTo = trimSpace(line.substr(0, arrow));
      if (e.appliesTo.empty()) fail(origin, lineNo, u"nothing before \"=>\"");
      line = trimSpace(line.substr(arrow + 2));
      if (line.empty()) fail(origin, lineNo, u"no answer after \"=>\"");
    }
    e.written = line;
    if (line.size() >= 3 && line.front() == u'"' && line.back() == u'"') {
      e.kind = Entry::Kind::Name;
      e.name = line.substr(1, line.size() - 2);
    } else if (equalsNoCase(line, u"Default")) {
      e.kind = Entry::Kind::Default;
    } else if (std::all_of(line.begin(), line.end(),
                           [](char16_t c) { return c >= u'0' && c <= u'9'; })) {
      if (line.size() > 9)
        fail(origin, lineNo, u"item number " + std::u16string(line) + u" is too large");
      std::size_t n = 0;
      for (char16_t c : line) n = n * 10 + static_cast<std::size_t>(c - u'0');
      if (n == 0) fail(origin, lineNo, u"items are numbered from 1");
      e.kind = Entry::Kind::Item;
      e.item = n;
    } else if (std::optional<Answer> a = parseAnswerName(line)) {
      e.kind = Entry::Kind::Button;
      e.button = *a;
    } else {
      fail(origin, lineNo,
           u"unknown answer \"" + std::u16string(line) +
               u"\" (an answer is a button such as Yes or NoToAll, an item number, Default or a "
               u"\"name\" in double quotes)");
    }
    script.entries_.push_back(std::move(e));
  }
  return script;
}

AnswerScript AnswerScript::load(std::u16string_view file) {
  errno = 0;
  const std::optional<std::string> bytes = fs::readFile(file);
  if (!bytes) {
    const int error = errno;
    throw AutomationError(vberr::kFileNotFound, std::u16string(kSource),
                          u"The answers file \"" + std::u16string(file) +
                              u"\" named by VANTOREL_ANSWERS cannot be read: " +
                              fromUtf8(error != 0 ? std::strerror(error) : "unreadable"));
  }
  return parse(*bytes, file);
}

std::optional<Reply> AnswerScript::answer(const Question& q) {
  auto applies = [&](const Entry& e) {
    return !e.used && (e.appliesTo.empty() || startsWithNoCase(q.title, e.appliesTo) ||
                       startsWithNoCase(q.text, e.appliesTo));
  };
  auto it = std::find_if(entries_.begin(), entries_.end(), applies);
  if (it == entries_.end()) return std::nullopt;
  Entry& e = *it;
  e.used = true;

  auto misfit = [&]() {
    std::u16string about = q.title.empty() ? q.text : q.title + u": " + q.text;
    fail(origin_, e.line,
         u"\"" + e.written + u"\" does not answer \"" + about + u"\" (choices: " + choices(q) +
             u")");
  };
  const bool pick = q.kind == QuestionKind::PickOne;
  switch (e.kind) {
    case Entry::Kind::Default:
      return defaultReply(q);
    case Entry::Kind::Item:
      if (!pick || e.item > q.items.size()) misfit();
      return Reply{Answer::OK, e.item - 1};
    case Entry::Kind::Button:
      if (!offers(q, e.button)) misfit();
      return Reply{e.button, pick ? q.defaultItem : 0};
    case Entry::Kind::Name:
      if (!pick || !q.typable) misfit();
      return Reply{Answer::OK, 0, e.name};
  }
  return std::nullopt;
}

std::size_t AnswerScript::remaining() const noexcept {
  return static_cast<std::size_t>(
      std::count_if(entries_.begin(), entries_.end(), [](const Entry& e) { return !e.used; }));
}

}  // namespace vantorel::ui
