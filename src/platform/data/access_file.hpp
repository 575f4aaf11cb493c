#pragma once
// An Access file (.mdb or .accdb, Jet 3 to the current ACE format) opened read-only through
// libmdb, offering what the Access loaders call of DAO: the user tables (TableDefs), the stored
// queries with their kinds (QueryDefs), the select queries ADOX would list as Views, and each
// table's or query's definition. libmdb's messages never reach stderr: they are kept in
// messages() and added to the text of a failure they explain.
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/data/access_schema.hpp"

namespace vantorel::data::access {

class AccessFile {
 public:
  // Raises AutomationError (see access_error.hpp) when the path is empty, the file is missing
  // or unreadable, or it is not an Access file libmdb can read.
  static AccessFile open(const std::filesystem::path& path);

  AccessFile(AccessFile&&) noexcept;
  AccessFile& operator=(AccessFile&&) noexcept;
  ~AccessFile();

  // Database.Version: "3.0" (Jet 3), "4.0" (Jet 4), "12.0" (every ACE format).
  const std::u16string& version() const noexcept;

  // User tables in name order; system, hidden and linked tables are left out.
  const std::vector<std::u16string>& tableNames() const noexcept;
  // Every stored query in name order, temporary and hidden ones left out.
  const std::vector<QueryInfo>& queries() const noexcept;
  // The select queries without parameters, in name order; none when the stored queries
  // could not be read.
  std::vector<std::u16string> viewNames() const;
  // Why the stored queries could not be read (their kinds are known, their clauses are not);
  // empty when they were.
  const std::u16string& queryFailure() const noexcept;

  // A table's definition (any table of the catalogue, system ones too, as DAO's TableDefs
  // give them); raises ObjectNotFound for a name that is none.
  AccessTable readTable(std::u16string_view name);
  // A stored query's definition; raises ObjectNotFound for a name that is none.
  AccessQuery readQuery(std::u16string_view name);

  // What libmdb printed while the file was read, one message a line.
  std::u16string messages() const;

 private:
  struct State;
  explicit AccessFile(std::unique_ptr<State> state);
  std::unique_ptr<State> state_;
};

}  // namespace vantorel::data::access
