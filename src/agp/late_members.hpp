#pragma once
// Members of the project object that a layer above this one defines: the extensions, the
// custom scripts and the code base. The member table names them here, so that scripts reach
// them on AGP like any other member; each call goes to the entry point that layer installs at
// start-up. A member whose entry point is not installed raises 445.
#include <span>
#include <string_view>

#include "platform/automation/class_info.hpp"

namespace vantorel {

// The members' names, in the order the member table lists them.
std::span<const std::u16string_view> lateMemberNames() noexcept;

// Process-wide, like the class factory. False for a name that is not a late member.
bool installLateMember(std::u16string_view name, MethodThunk entry) noexcept;

// Defines every late member in the project object's member table.
void defineLateMembers(ClassInfo& info);

}  // namespace vantorel
