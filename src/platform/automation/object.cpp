#include "platform/automation/object.hpp"

#include <cstdint>
#include <vector>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/class_info.hpp"
#include "platform/automation/enumerator.hpp"

namespace vantorel {

namespace {

// Deletions nest in place while they take no more than this much stack below the outermost
// one, in the order the destructors release; the engine's own object trees stay far within it,
// only chains built through values go deeper.
constexpr std::uintptr_t kStackInPlace = 64 * 1024;

// The deletions under way on this thread: where the outermost one stands on the stack (0 while
// none is under way), and the last of those that wait for it, linked through the objects. A
// destructor takes no arguments, so this is the one way for a nested release to reach the
// outer one.
struct Deletions {
  std::uintptr_t outermost = 0;
  Object* waiting = nullptr;
};
thread_local Deletions tDeletions;

}  // namespace

void Object::releaseLast() noexcept {
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
  destroy();
}

void Object::destroy() noexcept {
  Deletions& now = tDeletions;
  // The stack grows down.
  const auto here = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
  if (now.outermost != 0) {
    if (now.outermost - here > kStackInPlace) {
      nextWaiting_ = now.waiting;
      now.waiting = this;
      return;
    }
    delete this;
    return;
  }
  now.outermost = here;
  delete this;
  // Those that waited are deleted here, last first, each nesting anew from this frame.
  while (Object* next = now.waiting) {
    // Each waiting object is linked once, so the list has no cycle for this to revisit.
    // NOLINTNEXTLINE(clang-analyzer-cplusplus.NewDelete)
    now.waiting = next->nextWaiting_;
    delete next;
  }
  now.outermost = 0;
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
