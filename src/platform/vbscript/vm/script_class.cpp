#include "platform/vbscript/vm/script_class.hpp"

#include <new>

#include "platform/automation/safe_array.hpp"
#include "platform/automation/variant_convert.hpp"

namespace vantorel::vbs {

namespace {

constexpr std::size_t kMaxRank = 60;

void indexesOf(CallArgs args, std::int32_t* out) {
  for (std::size_t i = 0; i < args.size(); ++i) out[i] = toLong(args[i]);
}

Variant invokeWithValue(Object& o, DispId id, std::uint8_t flags, CallArgs args, Variant& value) {
  ArgBuffer buf(args.size() + 1);
  for (std::size_t i = 0; i < args.size(); ++i) buf.setRef(i, &args[i]);
  buf.setRef(args.size(), &value);
  return o.invoke(id, flags, buf.args());
}

}  // namespace

Variant letValue(Variant v) {
  if (!v.isObject()) return v;
  if (v.isNothing()) raiseVbError(vberr::kObjectVariableNotSet);
  return defaultValue(v);
}

Variant indexValue(const Variant& base, CallArgs args) {
  if (base.isArray()) {
    if (args.size() > kMaxRank) raiseVbError(vberr::kSubscriptOutOfRange);
    std::int32_t idx[kMaxRank];
    indexesOf(args, idx);
    return base.arrayValue().at(std::span<const std::int32_t>(idx, args.size()));
  }
  if (base.isObject()) {
    if (base.isNothing()) raiseVbError(vberr::kObjectVariableNotSet);
    return base.objectValue()->invoke(kDispIdValue, kInvokeMethod | kInvokeGet, args);
  }
  if (args.size() == 0) return base;
  raiseVbError(vberr::kTypeMismatch);
}

void assignIndexed(Variant& base, CallArgs args, Variant value, bool isSet) {
  if (base.isArray()) {
    if (args.size() > kMaxRank) raiseVbError(vberr::kSubscriptOutOfRange);
    std::int32_t idx[kMaxRank];
    indexesOf(args, idx);
    if (isSet) {
      if (!value.isObject()) raiseVbError(vberr::kObjectRequired);
    } else {
      value = letValue(std::move(value));
    }
    base.arrayForWrite().at(std::span<const std::int32_t>(idx, args.size())) = std::move(value);
    return;
  }
  if (base.isObject()) {
    if (base.isNothing()) raiseVbError(vberr::kObjectVariableNotSet);
    Ref<Object> keep(base.objectValue());
    invokeWithValue(*keep, kDispIdValue, isSet ? kInvokeSet : kInvokeLet, args, value);
    return;
  }
  raiseVbError(vberr::kTypeMismatch);
}

Ref<ScriptObject> ScriptObject::create(std::shared_ptr<ClassDef> cls) {
  const auto n = static_cast<std::size_t>(cls->numFields);
  void* mem = ::operator new(sizeof(ScriptObject) + n * sizeof(Variant));
  auto* fields = reinterpret_cast<Variant*>(static_cast<char*>(mem) + sizeof(ScriptObject));
  for (std::size_t i = 0; i < n; ++i) new (fields + i) Variant();
  return Ref<ScriptObject>(new (mem) ScriptObject(std::move(cls)));
}

ScriptObject::ScriptObject(std::shared_ptr<ClassDef> cls) : cls_(std::move(cls)) {}

ScriptObject::~ScriptObject() {
  for (std::int32_t i = cls_->numFields; i-- > 0;) fields()[i].~Variant();
}

// A linked list of instances is released in a loop, not one nested destructor per node.
void ScriptObject::detachHeld(std::vector<Variant>& held) noexcept {
  for (std::int32_t i = 0; i < cls_->numFields; ++i) {
    if (fields()[i].holdsContainer()) held.push_back(std::move(fields()[i]));
  }
}

void ScriptObject::terminate() noexcept {
  if (!cls_->terminate) return;
  std::shared_ptr<Runtime> rt = cls_->runtime.lock();
  if (!rt) return;
  try {
    rt->call(*cls_->terminate, this, nullptr, 0);
  } catch (...) {
    // An error in Class_Terminate has nowhere to go: the release that ran it cannot fail.
  }
}

Variant ScriptObject::invoke(DispId id, std::uint8_t flags, CallArgs args) {
  const ClassMember* m = nullptr;
  if (id == kDispIdValue) {
    if (cls_->defaultMember >= 0) m = &cls_->members[static_cast<std::size_t>(cls_->defaultMember)];
  } else if (id > 0 && static_cast<std::size_t>(id) <= cls_->byDispId.size()) {
    m = &cls_->members[static_cast<std::size_t>(cls_->byDispId[static_cast<std::size_t>(id) - 1])];
  }
  if (!m) raiseVbError(vberr::kNotSupported);
  std::shared_ptr<Runtime> rt = cls_->runtime.lock();
  if (!rt) raiseVbError(vberr::kObjectRequired);
  Ref<ScriptObject> keep(this);
  ArgBuffer buf(args.size());
  for (std::size_t i = 0; i < args.size(); ++i) buf.setRef(i, &args[i]);
  return invokeScriptMember(*rt, *this, *m, flags, buf.ptrs(), buf.size());
}

Variant invokeScriptMember(Runtime& rt, ScriptObject& obj, const ClassMember& m, std::uint8_t flags,
                           Variant* const* args, std::size_t n, Variant* temps) {
  const bool reading = flags & (kInvokeMethod | kInvokeGet);
  switch (m.kind) {
    case ClassMember::Kind::Field: {
      Variant& f = obj.field(m.slot);
      CallArgs ca(std::span<Variant* const>(args, n));
      if (reading) return n == 0 ? f : indexValue(f, ca);
      if (n == 0) raiseVbError(vberr::kWrongArgumentCount);
      const bool isSet = flags & kInvokeSet;
      if (n == 1) {
        if (isSet) {
          if (!args[0]->isObject()) raiseVbError(vberr::kObjectRequired);
          f = *args[0];
        } else {
          f = letValue(*args[0]);
        }
      } else {
        assignIndexed(f, ca.first(n - 1), *args[n - 1], isSet);
      }
      return Variant();
    }
    case ClassMember::Kind::Method:
      if (!reading) raiseVbError(vberr::kNotSupported);
      if (n > 0 && m.method->numParams() == 0) {
        // f(1) where f takes nothing: the index applies to what f returns.
        return indexValue(rt.call(*m.method, &obj, nullptr, 0),
                          CallArgs(std::span<Variant* const>(args, n)));
      }
      return rt.call(*m.method, &obj, args, n, temps);
    case ClassMember::Kind::Property: {
      Procedure* p = nullptr;
      if (reading) {
        p = m.get;
      } else if (flags & kInvokeSet) {
        p = m.set ? m.set : m.let;
      } else {
        p = m.let ? m.let : m.set;
      }
      if (!p) raiseVbError(vberr::kNotSupported);
      if (reading && n > 0 && p->numParams() == 0) {
        return indexValue(rt.call(*p, &obj, nullptr, 0),
                          CallArgs(std::span<Variant* const>(args, n)));
      }
      return rt.call(*p, &obj, args, n, temps);
    }
  }
  raiseVbError(vberr::kNotSupported);
}

Ref<ScriptObject> ClassDef::instantiate(const std::shared_ptr<ClassDef>& self) {
  Ref<ScriptObject> obj = ScriptObject::create(self);
  for (const FieldInit& init : fieldInits) {
    std::vector<ArrayBound> bounds;
    for (std::int32_t ub : init.upperBounds) bounds.push_back(boundFromZeroTo(ub));
    Ref<SafeArray> arr(new SafeArray(std::move(bounds)));
    arr->setFixed(!init.dynamicArray);
    obj->field(init.slot) = Variant(arr);
  }
  if (initialize) {
    std::shared_ptr<Runtime> rt = runtime.lock();
    if (rt) rt->call(*initialize, obj.get(), nullptr, 0);
  }
  return obj;
}

}  // namespace vantorel::vbs
