#include "platform/automation/bind.hpp"

namespace vantorel::bind_detail {

const Variant& missingArgument() noexcept {
  static const Variant missing = Variant::missing();
  return missing;
}

Object* objectArgument(const Variant& v) {
  if (v.isObject()) return v.objectValue();
  raiseVbError(vberr::kTypeMismatch);
}

void raiseWrongArgumentCount() { raiseVbError(vberr::kWrongArgumentCount); }

}  // namespace vantorel::bind_detail
