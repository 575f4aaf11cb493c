#pragma once
// Members of the project object that a layer above this one defines: the custom views, the
// schema check and the synchronisation, the extensions, the custom scripts and the code base. The
// member table names them here, so that scripts reach them on AGP like any other member; each call
// goes to the entry point that layer installs at start-up. A member whose entry point is not
// installed raises 445.
#include <cstddef>
#include <span>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>

#include "platform/automation/bind.hpp"
#include "platform/automation/class_info.hpp"

namespace vantorel {

// The members' names, in the order the member table lists them.
std::span<const std::u16string_view> lateMemberNames() noexcept;

// Process-wide, like the class factory. False for a name that is not a late member.
bool installLateMember(std::u16string_view name, MethodThunk entry) noexcept;

// Defines every late member in the project object's member table.
void defineLateMembers(ClassInfo& info);

namespace late_member_detail {
template <class F>
struct ProjectFunction;
template <class R, class P, class... A>
struct ProjectFunction<R (*)(P&, A...)> {
  using Project = P;
  using Ret = R;
  using Args = std::tuple<A...>;
};
}  // namespace late_member_detail

// The member-table entry of a function of the project object, Fn(AGP&, arguments...): its
// arguments converted as the binder converts a member's.
template <auto Fn>
Variant lateMemberEntry(Object& self, CallArgs args) {
  using Tr = late_member_detail::ProjectFunction<decltype(Fn)>;
  using Args = typename Tr::Args;
  constexpr std::size_t n = std::tuple_size_v<Args>;
  bind_detail::checkArgumentCount(args.size(), bind_detail::requiredCount<Args>(), n);
  // The project object is the only class whose member table holds late members.
  auto& proj = static_cast<typename Tr::Project&>(self);
  return [&]<std::size_t... I>(std::index_sequence<I...>)->Variant {
    if constexpr (std::is_void_v<typename Tr::Ret>) {
      Fn(proj, bind_detail::Arg<std::tuple_element_t<I, Args>>::from(args, I)...);
      return Variant();
    } else {
      return bind_detail::toResult(
          Fn(proj, bind_detail::Arg<std::tuple_element_t<I, Args>>::from(args, I)...));
    }
  }
  (std::make_index_sequence<n>());
}

}  // namespace vantorel
