#pragma once
// The synchronisation log: every change a synchronisation makes to the project's definition is
// held as a change record, and at the end of the run the records go, sorted by table and field,
// into a text file in the user's report folder whose path the project shows as "SyncLog".
#include <cstddef>
#include <ctime>
#include <string>
#include <vector>

namespace vantorel {

class AGP;

struct SyncLogEntry {
  std::u16string action;  // "A" added, "C" changed, "D" deleted
  std::u16string kind;    // "Field", or the table's type
  std::u16string table;   // for a rename, the old name
  std::u16string field;   // empty for a table record
  std::u16string message;
  std::u16string oldValue;  // rename records only: the table's new name
  std::u16string newValue;  // field rename records only: the field's new name
  // The record tells of an object that could not be synchronised (a custom view whose query
  // failed, a report whose source cannot be followed): the object keeps its definition, so the
  // record is no difference between the project and its database.
  bool failure = false;
  friend bool operator==(const SyncLogEntry&, const SyncLogEntry&) = default;
};

class SyncChangeLog {
 public:
  void AddSyncLog(std::u16string action, std::u16string kind, std::u16string table,
                  std::u16string field, std::u16string message, std::u16string oldValue = {},
                  std::u16string newValue = {});
  // A "C" record of a table-level object that could not be synchronised.
  void AddSyncFailure(std::u16string kind, std::u16string table, std::u16string message);
  void clear() noexcept { entries_.clear(); }
  std::size_t count() const noexcept { return entries_.size(); }
  const std::vector<SyncLogEntry>& entries() const noexcept { return entries_; }
  // Ascending by table, then field, by character code; a table's own records come first.
  void sort();

 private:
  std::vector<SyncLogEntry> entries_;
};

// The log file's name: the project's identifier, with path separators and ".." taken out so
// that it stays in the report folder, "_" and the time stamp as digits, ".log".
std::u16string syncLogFileName(const std::u16string& projVar, const std::tm& local);
// One record as the log shows it: "CHANGED : (Field) orders->id - message".
std::u16string formatSyncLogLine(const SyncLogEntry& entry);
// The whole text of one log: three header lines, then each table's block of records (sorted
// beforehand), lines ended by CR LF.
std::u16string formatSyncLog(const std::vector<SyncLogEntry>& sorted, const std::tm& local);

// Sorts the records, appends them to the log file of this second in the report folder (made
// when missing) and sets the project's "SyncLog" to the file's path when a record was written,
// else to "". Returns "" on success, or the reason the file could not be written, in which case
// "SyncLog" is "" and nothing else changed: a failed log never stops a synchronisation midway.
std::u16string WriteSyncLog(AGP& project, SyncChangeLog& log);

}  // namespace vantorel
