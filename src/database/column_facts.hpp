#pragma once
// What a server's own catalogue says of a base table's columns where the driver's description
// falls short: the length of a PostgreSQL bit string (the driver gives 255, or 4), a column the
// server computes from others (its expression is no default, and nobody writes it), a NOT NULL
// the driver misses (a PostgreSQL domain's, a MariaDB TIMESTAMP's), and a PostgreSQL unique
// index that covers only some rows (WHERE ...), which does not make a column unique. Read for
// one table here, and for all at once by the bulk catalogue readers.
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "database/table_description.hpp"
#include "platform/data/connection.hpp"

namespace vantorel {

struct ColumnFacts {
  std::optional<std::int32_t> length;  // a bit string's declared length
  bool generated = false;              // GENERATED ALWAYS AS ..., STORED or VIRTUAL
  bool notNull = false;
  bool partialUniqueOnly = false;  // its only one-column unique indexes are partial
};

// The facts of a PostgreSQL column from its catalogue values: the type's name, atttypmod,
// attgenerated and the type's typnotnull (a domain's NOT NULL).
ColumnFacts postgreSqlColumnFacts(std::u16string_view typeName, std::u16string_view typmod,
                                  std::u16string_view generated, std::u16string_view typeNotNull);
// The facts of a MariaDB or MySQL column from its IS_NULLABLE (SHOW FIELDS' Null) and EXTRA; the
// NOT NULL of an AUTO_INCREMENT column is left to the driver, which calls it nullable.
ColumnFacts mySqlColumnFacts(std::u16string_view nullable, std::u16string_view extra);

// Gives the column what the facts say: the length as its size, no default and no writing for a
// generated one, and, for a base table's column, the NOT NULL and the want of a unique index.
void applyColumnFacts(ColumnDescription& column, const ColumnFacts& facts);

// Reads one base table's facts by column name (PostgreSQL, MariaDB and MySQL; nothing for the
// others). Raises the provider's error.
std::map<std::u16string, ColumnFacts> readColumnFacts(data::Connection& cnn,
                                                      const TableDescription& table,
                                                      std::int16_t dbmsKind);

}  // namespace vantorel
