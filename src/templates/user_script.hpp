#pragma once
// AGUserScript: the names of the procedures the user's code defines, which scripts see as
// "SCRPT" and ask before they hand a value to an optional user procedure (USER_<name>).
#include <string>
#include <vector>

#include "platform/automation/object.hpp"

namespace vantorel {

class AGUserScript final : public Object {
 public:
  const ClassInfo& classInfo() const noexcept override;

  // Duplicates are kept: every user-code file appends all the names its module holds.
  void AddUserModule(const std::u16string& sModule);
  // Names compare without regard to case.
  bool UserModuleExist(const std::u16string& sModule) const;

  const std::vector<std::u16string>& names() const noexcept { return names_; }

 private:
  std::vector<std::u16string> names_;
};

}  // namespace vantorel
