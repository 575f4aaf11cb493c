#include "platform/ui/types.hpp"

#include <array>
#include <utility>

#include "platform/text/case_fold.hpp"

namespace vantorel::ui {

namespace {

constexpr std::array<std::pair<Answer, std::u16string_view>, 12> kNames = {{
    {Answer::OK, u"OK"},
    {Answer::Cancel, u"Cancel"},
    {Answer::Abort, u"Abort"},
    {Answer::Retry, u"Retry"},
    {Answer::Ignore, u"Ignore"},
    {Answer::Yes, u"Yes"},
    {Answer::No, u"No"},
    {Answer::YesToAll, u"YesToAll"},
    {Answer::NoToAll, u"NoToAll"},
    {Answer::Keep, u"Keep"},
    {Answer::Update, u"Update"},
    {Answer::Overwrite, u"Overwrite"},
}};

}  // namespace

Reply defaultReply(const Question& q) {
  Reply r{q.defaultButton, 0};
  if (q.kind == QuestionKind::PickOne) r.item = q.defaultItem;
  return r;
}

std::vector<Answer> buttonsOf(Buttons buttons) {
  switch (buttons) {
    case Buttons::OK:
      return {Answer::OK};
    case Buttons::OKCancel:
      return {Answer::OK, Answer::Cancel};
    case Buttons::AbortRetryIgnore:
      return {Answer::Abort, Answer::Retry, Answer::Ignore};
    case Buttons::YesNoCancel:
      return {Answer::Yes, Answer::No, Answer::Cancel};
    case Buttons::YesNo:
      return {Answer::Yes, Answer::No};
    case Buttons::RetryCancel:
      return {Answer::Retry, Answer::Cancel};
  }
  return {Answer::OK};
}

std::u16string_view answerName(Answer answer) {
  for (const auto& [a, name] : kNames) {
    if (a == answer) return name;
  }
  return u"None";
}

std::optional<Answer> parseAnswerName(std::u16string_view name) {
  std::u16string squeezed;
  for (char16_t c : name) {
    if (c != u' ' && c != u'\t' && c != u'-' && c != u'_') squeezed += c;
  }
  for (const auto& [a, n] : kNames) {
    if (equalsNoCase(squeezed, n)) return a;
  }
  return std::nullopt;
}

MessageBoxStyle decodeMessageBoxStyle(std::int32_t style) {
  MessageBoxStyle s;
  int buttons = style & 0xF;
  if (buttons <= static_cast<int>(Buttons::RetryCancel)) s.buttons = static_cast<Buttons>(buttons);
  switch (style & 0x70) {
    case 16:
    case 32:
    case 48:
    case 64:
      s.icon = static_cast<Icon>(style & 0x70);
      break;
    default:
      break;
  }
  s.defaultButton = (style >> 8) & 0x3;
  return s;
}

}  // namespace vantorel::ui
