#pragma once
// Sources a custom view's query names with a schema or database in front of the table. Such a
// table is the model's table of that bare name only when the qualifier names where the model's
// table lives; any other is a table the model does not hold, however its name reads.
#include <cstdint>
#include <string>

#include "model/database.hpp"

namespace vantorel {

class ModelQualifiers {
 public:
  // `connectionDatabase`: the database the custom view's connection works in, which is what a
  // MariaDB or MySQL qualifier names; empty when unknown.
  ModelQualifiers(AGPDatabase& db, std::int16_t dbmsKind, std::u16string connectionDatabase)
      : db_(db), kind_(dbmsKind), connectionDatabase_(std::move(connectionDatabase)) {}

  // Whether a source written `qualifier`.`table` is the model's table of that name:
  // PostgreSQL, the table's TblSchema (the current schema when that is empty); MariaDB and
  // MySQL, the connection's database.
  bool namesModelTable(const std::u16string& qualifier, const std::u16string& table) const;

 private:
  AGPDatabase& db_;
  std::int16_t kind_;
  std::u16string connectionDatabase_;
};

}  // namespace vantorel
