#include "templates/user_script.hpp"

#include <algorithm>

#include "platform/automation/class_info.hpp"
#include "platform/text/case_fold.hpp"

namespace vantorel {

const ClassInfo& AGUserScript::classInfo() const noexcept {
  return MemberTable<AGUserScript>::get(u"AGUserScript");
}

void AGUserScript::AddUserModule(const std::u16string& sModule) {
  names_.push_back(sModule);
}

bool AGUserScript::UserModuleExist(const std::u16string& sModule) const {
  return std::any_of(names_.begin(), names_.end(),
                     [&](const std::u16string& n) { return equalsNoCase(n, sModule); });
}

}  // namespace vantorel
