#pragma once
// Answers for unattended runs, read from the file that VANTOREL_ANSWERS names (UTF-8).
//
// One answer a line, used in order; blank lines and lines starting with '#' are skipped:
//
//   Yes                      a button: OK, Cancel, Abort, Retry, Ignore, Yes, No,
//                            YesToAll, NoToAll, Keep, Update (any case; "Yes to all" too)
//   3                        the third item of a pick-one-of-a-list question
//   Default                  whatever the question offers as its default
//   Overwrite => NoToAll     only for a question whose title or text starts with
//                            "Overwrite" (any case); the answer waits until one comes
//
// A question takes the first unused line that applies to it. A question with a single button
// needs no answer and takes none; one with no answer left gets its default. An answer that
// the question does not offer is an error naming the line, not a silent default.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/types.hpp"

namespace vantorel::ui {

class AnswerScript {
 public:
  // Raises AutomationError naming `origin` and the line for a line it cannot read.
  static AnswerScript parse(std::string_view utf8, std::u16string_view origin);
  // Reads and parses the file. Raises AutomationError naming the file and the system's reason
  // when it cannot be read, and as parse does for a line it cannot read.
  static AnswerScript load(std::u16string_view file);

  // The reply for `question`, using up the answer it takes; nothing when none is left.
  // Raises AutomationError when the answer does not fit the question.
  std::optional<Reply> answer(const Question& question);
  std::size_t remaining() const noexcept;

 private:
  struct Entry {
    std::u16string appliesTo;  // empty: any question
    std::u16string written;
    enum class Kind { Button, Default, Item, Name } kind;
    Answer button = Answer::None;
    std::size_t item = 0;  // 1-based, as written
    std::u16string name;   // a name typed in double quotes, for questions that take one
    int line = 0;
    bool used = false;
  };
  std::u16string origin_;
  std::vector<Entry> entries_;
};

}  // namespace vantorel::ui
