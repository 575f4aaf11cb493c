#pragma once
// Whether a custom view's text is one query and nothing more. The text comes from the user or
// from a project file, and describing it reaches a live server, so what is not plainly one
// SELECT or WITH statement never gets there.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantorel {

struct CustomQueryText {
  // The text to describe: the query without one closing ";".
  std::u16string statement;
  // Why the text is refused, with its line and column; nothing when it may be described.
  std::optional<std::u16string> problem;
};

// Reads the text by the quote and comment rules of the DBMS kind, and again with the
// backslash rule the server's settings could turn around; a ";" that either reading finds
// outside quotes and comments, other than one at the very end, refuses the text.
CustomQueryText checkCustomQuery(std::u16string_view sql, std::int16_t dbmsKind);

// "The query of a custom view <what> at line L, column C.", the place being `offset` in `sql`.
std::u16string customQueryProblem(std::u16string_view what, std::u16string_view sql,
                                  std::size_t offset);

}  // namespace vantorel
