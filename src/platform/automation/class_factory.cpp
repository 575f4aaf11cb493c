#include "platform/automation/class_factory.hpp"

#include "platform/automation/automation_error.hpp"
#include "platform/text/case_fold.hpp"

namespace vantorel {

ClassFactory& ClassFactory::instance() {
  static ClassFactory factory;
  return factory;
}

void ClassFactory::registerClass(std::u16string_view progId, Constructor constructor) {
  for (auto& [id, ctor] : classes_) {
    if (equalsNoCase(id, progId)) {
      ctor = std::move(constructor);
      return;
    }
  }
  classes_.emplace_back(std::u16string(progId), std::move(constructor));
}

bool ClassFactory::isRegistered(std::u16string_view progId) const {
  for (const auto& entry : classes_) {
    if (equalsNoCase(entry.first, progId)) return true;
  }
  return false;
}

Ref<Object> ClassFactory::create(std::u16string_view progId) const {
  for (const auto& [id, ctor] : classes_) {
    if (equalsNoCase(id, progId)) return ctor();
  }
  raiseVbError(vberr::kCannotCreateObject);
}

}  // namespace vantorel
