#pragma once
// The vocabulary of the user-interface service: the buttons a question offers, the answer the
// user gave, and the looks of the progress display. Answer values are the classic message-box
// results, so scripts can compare them with vbYes, vbCancel and the like.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantorel::ui {

enum class Answer : int {
  None = 0,
  OK = 1,
  Cancel = 2,
  Abort = 3,
  Retry = 4,
  Ignore = 5,
  Yes = 6,
  No = 7,
  // The engine's own dialogs; outside the range message boxes use.
  YesToAll = 20,
  NoToAll = 21,
  Keep = 22,
  Update = 23,
  Overwrite = 24,
};

// Button sets of a message box, numbered as MsgBox's style argument numbers them.
enum class Buttons : int {
  OK = 0,
  OKCancel = 1,
  AbortRetryIgnore = 2,
  YesNoCancel = 3,
  YesNo = 4,
  RetryCancel = 5,
};

enum class Icon : int {
  None = 0,
  Critical = 16,
  Question = 32,
  Exclamation = 48,
  Information = 64,
};

enum class QuestionKind { Message, Overwrite, KeepOrUpdate, PickOne };

struct Question {
  QuestionKind kind = QuestionKind::Message;
  std::u16string title;
  std::u16string text;
  Icon icon = Icon::None;
  std::vector<Answer> buttons;  // in the order shown
  Answer defaultButton = Answer::OK;
  std::vector<std::u16string> items;  // PickOne only
  std::size_t defaultItem = 0;        // 0-based
  bool typable = false;               // PickOne: a name may be typed instead of picked
};

// For PickOne, OK comes with the chosen item (0-based); Cancel leaves item meaningless.
struct Reply {
  Answer button = Answer::None;
  std::size_t item = 0;
  std::u16string typed;  // a typable PickOne answered with a typed name: that name
  friend bool operator==(const Reply&, const Reply&) = default;
};

// The default reply: the default button, and for a list the default item.
Reply defaultReply(const Question& q);

std::vector<Answer> buttonsOf(Buttons buttons);
// "OK", "Cancel", "Yes", "YesToAll", ...; the names answers files and the terminal accept.
std::u16string_view answerName(Answer answer);
// Case-insensitive; blanks, '-' and '_' are ignored, so "yes to all" names YesToAll.
std::optional<Answer> parseAnswerName(std::u16string_view name);

// MsgBox's combined style number: buttons in the low bits, then icon, then default button.
struct MessageBoxStyle {
  Buttons buttons = Buttons::OK;
  Icon icon = Icon::None;
  int defaultButton = 0;  // position, 0-based
};
MessageBoxStyle decodeMessageBoxStyle(std::int32_t style);

enum class ProgressLook : int {
  Standard = 1,     // caption, status line, bar and percentage
  Compact = 2,      // caption, status line and percentage
  Cancellable = 3,  // as Standard, and says how to cancel
};

}  // namespace vantorel::ui
