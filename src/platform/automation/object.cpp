#include "platform/automation/object.hpp"

#include <vector>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/class_info.hpp"
#include "platform/automation/enumerator.hpp"

namespace vantorel {

void Object::release() noexcept {
  if (refs_ > 1) {
    --refs_;
    return;
  }
  std::vector<Variant> held;
  releaseInto(held);
  releaseHeld(held);
}

void Object::releaseInto(std::vector<Variant>& held) noexcept {
  if (refs_ > 1) {
    --refs_;
    return;
  }
  // Keep the count at one while terminate runs, so that code it calls may take and drop
  // references to this object without destroying it twice.
  terminate();
  if (--refs_ != 0) return;
  detachHeld(held);
  delete this;
}

std::u16string Object::typeName() const { return classInfo().name(); }

DispId Object::memberId(std::u16string_view name) const noexcept { return classInfo().find(name); }

Variant Object::invoke(DispId id, std::uint8_t flags, CallArgs args) {
  return classInfo().invoke(*this, id, flags, args);
}

Ref<Enumerator> Object::newEnum() {
  if (EnumThunk thunk = classInfo().enumerator()) return thunk(*this);
  raiseVbError(vberr::kObjectNotCollection);
}

Variant invokeByName(Object& object, std::u16string_view name, std::uint8_t flags, CallArgs args) {
  DispId id = object.memberId(name);
  if (id == kDispIdUnknown) raiseVbError(vberr::kNotSupported);
  return object.invoke(id, flags, args);
}

namespace {

Variant invokeWith(Object& object, std::u16string_view name, std::uint8_t flags,
                   std::initializer_list<Variant> args, const Variant* value) {
  std::vector<Variant> values(args);
  if (value) values.push_back(*value);
  std::vector<Variant*> pointers;
  pointers.reserve(values.size());
  for (Variant& v : values) pointers.push_back(&v);
  return invokeByName(object, name, flags, CallArgs(pointers));
}

}  // namespace

Variant Object::get(std::u16string_view name, std::initializer_list<Variant> args) {
  return invokeWith(*this, name, kInvokeGet | kInvokeMethod, args, nullptr);
}

void Object::let(std::u16string_view name, const Variant& value) {
  invokeWith(*this, name, kInvokeLet, {}, &value);
}

void Object::set(std::u16string_view name, const Variant& value) {
  invokeWith(*this, name, kInvokeSet, {}, &value);
}

Variant Object::call(std::u16string_view name, std::initializer_list<Variant> args) {
  return invokeWith(*this, name, kInvokeMethod | kInvokeGet, args, nullptr);
}

}  // namespace vantorel
