#pragma once
// Builds a class's member table once and hands it to the class.
#include <string_view>
#include <utility>

#include "platform/automation/class_info.hpp"

namespace vantorel::surface {

// Each lambda has its own type, so describeClass keeps one table a class.
template <class T, class Define>
void installTable(std::u16string_view name, Define&& define) {
  MemberTable<T>::install(describeClass(name, std::forward<Define>(define)));
}

}  // namespace vantorel::surface
