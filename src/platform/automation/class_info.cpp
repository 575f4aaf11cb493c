#include "platform/automation/class_info.hpp"

#include "platform/automation/automation_error.hpp"
#include "platform/automation/enumerator.hpp"

namespace vantorel {

namespace {

Variant enumeratorGetter(Object& self, CallArgs args) {
  if (args.size() != 0) raiseVbError(vberr::kWrongArgumentCount);
  return Variant(self.newEnum());
}

}  // namespace

DispId ClassInfo::find(std::u16string_view name) const noexcept {
  auto it = byName_.find(name);
  return it == byName_.end() ? kDispIdUnknown : it->second;
}

const MemberInfo* ClassInfo::member(DispId id) const noexcept {
  if (id == kDispIdValue) id = defaultId_;
  if (id <= 0 || static_cast<std::size_t>(id) > members_.size()) return nullptr;
  return &members_[static_cast<std::size_t>(id) - 1];
}

MemberInfo& ClassInfo::define(std::u16string_view name) {
  if (DispId id = find(name); id != kDispIdUnknown)
    return members_[static_cast<std::size_t>(id) - 1];
  MemberInfo& m = members_.emplace_back();
  m.name = std::u16string(name);
  m.id = static_cast<DispId>(members_.size());
  byName_.emplace(m.name, m.id);
  return m;
}

void ClassInfo::setDefaultMember(std::u16string_view name) {
  defaultId_ = define(name).id;
}

void ClassInfo::setEnumerator(EnumThunk thunk) noexcept {
  enumerator_ = thunk;
  // Scripts and hosts may also ask for the enumerator by its member name.
  MemberInfo& m = define(u"_NewEnum");
  m.get = &enumeratorGetter;
  m.method = &enumeratorGetter;
}

Variant ClassInfo::invoke(Object& self, DispId id, std::uint8_t flags, CallArgs args) const {
  if (id == kDispIdNewEnum) {
    if (!enumerator_) raiseVbError(vberr::kNotSupported);
    return enumeratorGetter(self, args);
  }
  const MemberInfo* m = member(id);
  if (!m) raiseVbError(vberr::kNotSupported);
  if (flags & (kInvokeMethod | kInvokeGet)) {
    if ((flags & kInvokeMethod) && m->method) return m->method(self, args);
    if (m->get) return m->get(self, args);
    if (m->slotGet) return m->slotGet(self, args, m->slot);
    if (m->method) return m->method(self, args);
  }
  if (flags & kInvokeSet) {
    if (m->set) return m->set(self, args);
  }
  if (flags & kInvokeLet) {
    if (m->let) return m->let(self, args);
  }
  if ((flags & (kInvokeLet | kInvokeSet)) && m->slotLet) return m->slotLet(self, args, m->slot);
  // A property assignment the member does not take, or a call of a write-only property.
  raiseVbError((flags & (kInvokeLet | kInvokeSet)) ? vberr::kWrongArgumentCount
                                                   : vberr::kNotSupported);
}

}  // namespace vantorel
