#pragma once
// What the project object's database entries share: the exact-name search of the tables, the
// messages they leave, and their progress display.
#include <string>
#include <string_view>

#include "model/tables.hpp"

namespace vantorel {

class AGP;

// The first table in TblSeq order whose TblName is exactly `name` (letter case counts), or
// nullptr. The collection's own lookups ignore case; the entries match names exactly.
Ref<AGPTable> tableNamedExactly(const AGPTables& tables, std::u16string_view name);

// ProductTitle & ": " & message, the form most entry messages take.
std::u16string titledMessage(std::u16string_view message);
// ProductTitle & ": Database not loaded!"
std::u16string databaseNotLoaded();

// The progress display of one entry. Opening sets StatusText to ProductTitle & " - " & phase &
// "...", shows the display over the project's window with it and lets the host run once;
// `second` picks the display's second look with "Please wait..." as its status line, as the
// single-object entries show it. The display closes at the latest when the entry ends, however
// it ends.
class EntryStatus {
 public:
  EntryStatus(AGP& project, std::u16string_view phase, bool second);
  ~EntryStatus() { close(); }
  EntryStatus(const EntryStatus&) = delete;
  EntryStatus& operator=(const EntryStatus&) = delete;
  void close() noexcept;
};

}  // namespace vantorel
