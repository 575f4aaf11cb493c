#include "schema/schema_snapshot.hpp"

#include "platform/automation/automation_error.hpp"
#include "platform/automation/bind.hpp"

namespace vantorel {

AGSchemaTable AGPSchema::Tbl(std::int16_t i) const {
  if (i < 0 || static_cast<std::size_t>(i) >= db_.Tables.Tbl.size()) raiseVbError(9);
  return db_.Tables.Tbl[static_cast<std::size_t>(i)];
}

const ClassInfo& AGPSchema::classInfo() const noexcept {
  using T = AGPSchema;
  static const ClassInfo info(u"AGPSchema",
                              [](ClassInfo& c) { ClassBuilder<T>(c).get<&T::tblcnt>(u"tblcnt"); });
  return info;
}

}  // namespace vantorel
