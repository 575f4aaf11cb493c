#include "schema/schema_snapshot.hpp"

#include "platform/automation/automation_error.hpp"
#include "platform/automation/class_info.hpp"
#include "platform/automation/variant_convert.hpp"
#include "schema/schema_record_objects.hpp"

namespace vantorel {

AGSchemaTable AGPSchema::Tbl(std::int16_t i) const {
  // Before anything was filled there is no record at all, not even the empty one.
  const bool filled = loaded() || db_.Tables.Tbl.size() > 1;
  if (!filled || i < 0 || static_cast<std::size_t>(i) >= db_.Tables.Tbl.size()) raiseVbError(9);
  return db_.Tables.Tbl[static_cast<std::size_t>(i)];
}

const ClassInfo& AGPSchema::classInfo() const noexcept {
  return MemberTable<AGPSchema>::get(u"AGPSchema");
}

void AGPSchema::scriptLoadDB(Variant& sDbName, Variant& sDbType, Variant& sPath, Variant& sPhyPath,
                             Variant& bDBUseServerMapPath, Variant& sUID, Variant& sPwd,
                             Variant& sConnStr, Variant& sSchema, Variant& sTableName) {
  std::u16string name = toString(sDbName);
  LoadDB(name, toString(sDbType), toString(sPath), toString(sPhyPath), toBool(bDBUseServerMapPath),
         toString(sUID), toString(sPwd), toString(sConnStr), toString(sSchema),
         toString(sTableName));
  sDbName = Variant(name);
}

Ref<AGSchemaTableRecord> AGPSchema::scriptTbl(std::int16_t i) const {
  return makeRef<AGSchemaTableRecord>(Tbl(i));
}

std::u16string AGPSchema::scriptMySQLTagValues(const std::u16string& str) const {
  return MySQLTagValues(str);
}

}  // namespace vantorel
