#pragma once
// The typed properties of a class's settings, generated from its catalog: one get/let pair per
// row, all served by two entry points that tell the rows apart by slot.
#include "foundation/setting_access.hpp"
#include "platform/automation/bind.hpp"

namespace vantorel {

namespace setting_detail {

template <auto Bag>
AGProperties& bagOf(Object& self) {
  using T = typename bind_detail::FnTraits<decltype(Bag)>::Class;
  return (static_cast<T&>(self).*Bag)();
}

template <auto Bag>
Variant getThunk(Object& self, CallArgs args, std::uint32_t row) {
  if (args.size() != 0) bind_detail::raiseWrongArgumentCount();
  return readSetting(bagOf<Bag>(self), row);
}

template <auto Bag>
Variant letThunk(Object& self, CallArgs args, std::uint32_t row) {
  if (args.size() != 1) bind_detail::raiseWrongArgumentCount();
  writeSetting(bagOf<Bag>(self), row, args[0]);
  return Variant();
}

}  // namespace setting_detail

// Called through ClassBuilder::settings<&T::properties>(catalog): one property per row, named
// as the row, in catalog order.
template <auto Bag, class T>
void registerSettings(ClassBuilder<T>& builder, const SettingCatalog& catalog) {
  for (SettingSlot row = 0; row < catalog.size(); ++row) {
    builder.slotProperty(catalog[row].name, row, &setting_detail::getThunk<Bag>,
                         &setting_detail::letThunk<Bag>);
  }
}

}  // namespace vantorel
