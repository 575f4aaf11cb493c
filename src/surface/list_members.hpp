#pragma once
// The members the named lists of tables, charts, trendlines and fields (and the extensions'
// lists of them) show first, in this order.
#include <string_view>

#include "platform/automation/bind.hpp"

namespace vantorel::surface {

// Delete and the Exist member bind what each list takes for them; Exist has the list's own name.
template <auto Delete, auto Exist, class T>
ClassBuilder<T>& listHeadMembers(ClassBuilder<T>& b, std::u16string_view existName) {
  return b.template get<&T::curName>(u"curName")
      .template get<&T::curSeq>(u"curSeq")
      .template method<&T::add>(u"Add")
      .template method<&T::change>(u"Change")
      .template method<&T::count>(u"Count")
      .template method<Delete>(u"Delete")
      .template method<Exist>(existName)
      .template method<&T::item>(u"Item")
      .template method<&T::seq>(u"Seq");
}

}  // namespace vantorel::surface
