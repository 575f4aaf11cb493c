#pragma once
// What the Access reader reports of a file's schema, in DAO's terms: a TableDef's fields and
// indexes, a QueryDef's kind, fields and SQL. Type codes are DAO DataTypeEnum values and field
// attributes DAO FieldAttributeEnum bits, so that the loaders read them as they read DAO.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantorel::data::access {

// DAO DataTypeEnum codes the reader gives; kDaoUnknown stands for a Jet type DAO has no code
// for (complex columns, the extended date), which a loader treats as an unknown type.
inline constexpr std::int16_t kDaoUnknown = 0;
inline constexpr std::int16_t kDaoBoolean = 1;
inline constexpr std::int16_t kDaoLong = 4;
inline constexpr std::int16_t kDaoDouble = 7;
inline constexpr std::int16_t kDaoText = 10;
inline constexpr std::int16_t kDaoMemo = 12;
inline constexpr std::int16_t kDaoGuid = 15;
inline constexpr std::int16_t kDaoDecimal = 20;

// DAO FieldAttributeEnum bits.
inline constexpr std::int32_t kDaoFixedField = 0x1;
inline constexpr std::int32_t kDaoVariableField = 0x2;
inline constexpr std::int32_t kDaoAutoIncrField = 0x10;
inline constexpr std::int32_t kDaoUpdatableField = 0x20;

struct AccessColumn {
  std::u16string name;
  std::int32_t ordinalPosition = 0;  // from 0, in the table's column order
  std::int32_t jetType = 0;          // the code stored in the file
  std::int16_t daoType = kDaoUnknown;
  std::int32_t size = 0;  // DAO Size: characters for text, bytes otherwise, 0 for long values
  std::int32_t attributes = 0;
  std::uint8_t precision = 0;
  std::uint8_t scale = 0;
  bool autoIncrement = false;  // a Long auto-number
  bool autoGuid = false;       // a replication ID that the engine fills (GenGUID())
  bool required = false;
  bool allowZeroLength = false;
  std::u16string defaultValue;  // "" when none, as DAO gives it
  std::optional<std::u16string> caption;
  // For a query's column: the base table and column it shows, both empty for an expression.
  std::u16string sourceTable;
  std::u16string sourceField;
};

enum class IndexKind { Other, Primary, Foreign };

struct AccessIndex {
  std::u16string name;
  IndexKind kind = IndexKind::Other;
  bool unique = false;
  bool ignoreNulls = false;
  std::vector<std::u16string> fields;  // key columns in key order

  bool primary() const noexcept { return kind == IndexKind::Primary; }
  bool foreign() const noexcept { return kind == IndexKind::Foreign; }
};

struct AccessTable {
  std::u16string name;
  std::vector<AccessColumn> columns;
  std::vector<AccessIndex> indexes;
  // Empty when the indexes were read; otherwise why the table is given no indexes (libmdb
  // could not read them), for the caller to show.
  std::u16string indexNote;
};

// The kinds a stored query's catalogue flags give.
enum class QueryKind : std::uint8_t {
  Select = 0x00,
  Crosstab = 0x10,
  Delete = 0x20,
  Update = 0x30,
  Append = 0x40,
  MakeTable = 0x50,
  DataDefinition = 0x60,
  PassThrough = 0x70,
  Union = 0x80,
  Unknown = 0xFF,  // flags this reader does not know: shown as a select, never a view
};

struct QueryInfo {
  std::u16string name;
  QueryKind kind = QueryKind::Select;
  bool hasParameters = false;

  // What ADOX would list among a file's Views.
  bool isView() const noexcept { return kind == QueryKind::Select && !hasParameters; }
};

enum class JoinType { Inner, Left, Right };

struct QueryTable {
  std::u16string name;   // the table or query read
  std::u16string alias;  // "" when the query names it as it is
};

struct QueryJoin {
  std::u16string leftTable;  // base names, aliases resolved
  std::u16string rightTable;
  // The column of each side when the condition is one equality; both empty otherwise.
  std::u16string leftColumn;
  std::u16string rightColumn;
  JoinType type = JoinType::Inner;
  std::u16string condition;  // the ON expression as stored
};

struct AccessQuery {
  QueryInfo info;
  std::u16string sql;
  std::vector<QueryTable> tables;
  std::vector<QueryJoin> joins;
  std::vector<AccessColumn> columns;  // the output columns
};

// "INNER", "LEFT", "RIGHT".
const char16_t* joinTypeName(JoinType type) noexcept;

}  // namespace vantorel::data::access
