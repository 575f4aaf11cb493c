#include "schema/schema_record_objects.hpp"

#include "platform/automation/automation_error.hpp"
#include "platform/automation/class_info.hpp"

namespace vantorel {

Ref<AGSchemaFieldRecord> AGSchemaTableRecord::Fld(std::int16_t j) const {
  const std::vector<AGSchemaField>& fields = record_.TblFields.fld;
  if (j < 0 || j > record_.TblFldCnt || static_cast<std::size_t>(j) >= fields.size()) {
    raiseVbError(vberr::kSubscriptOutOfRange);
  }
  return makeRef<AGSchemaFieldRecord>(fields[static_cast<std::size_t>(j)]);
}

const ClassInfo& AGSchemaTableRecord::classInfo() const noexcept {
  return MemberTable<AGSchemaTableRecord>::get(u"AGSchemaTable");
}

const ClassInfo& AGSchemaFieldRecord::classInfo() const noexcept {
  return MemberTable<AGSchemaFieldRecord>::get(u"AGSchemaField");
}

}  // namespace vantorel
