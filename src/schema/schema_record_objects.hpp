#pragma once
// The snapshot's records as scripts read them: AGPSchema.Tbl(i) hands out a copy of one table
// record, whose Fld(j) hands out a copy of one of its field records. Both are read only.
#include <cstdint>

#include "platform/automation/object.hpp"
#include "platform/automation/ref.hpp"
#include "schema/schema_records.hpp"

namespace vantorel {

class AGSchemaFieldRecord final : public Object {
 public:
  explicit AGSchemaFieldRecord(AGSchemaField record) : record_(std::move(record)) {}
  const ClassInfo& classInfo() const noexcept override;
  const AGSchemaField& record() const noexcept { return record_; }

 private:
  AGSchemaField record_;
};

class AGSchemaTableRecord final : public Object {
 public:
  explicit AGSchemaTableRecord(AGSchemaTable record) : record_(std::move(record)) {}
  const ClassInfo& classInfo() const noexcept override;
  const AGSchemaTable& record() const noexcept { return record_; }
  // Field record j, 1 to TblFldCnt (0 is the empty one); raises 9 outside them.
  Ref<AGSchemaFieldRecord> Fld(std::int16_t j) const;

 private:
  AGSchemaTable record_;
};

}  // namespace vantorel
