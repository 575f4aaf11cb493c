#include "platform/vbscript/vm/code_object.hpp"

#include "platform/vbscript/vm/value_nodes.hpp"

namespace vantorel::vbs {

namespace {

Variant dispatchedByInvoke(Object&, CallArgs) {
  raiseVbError(vberr::kNotSupported);
}

}  // namespace

const ClassInfo& CodeObject::classInfo() const noexcept {
  std::shared_ptr<Runtime> rt = rt_.lock();
  if (rt && module_->generation != seenGeneration_) {
    seenGeneration_ = module_->generation;
    for (const auto& [name, e] : module_->entries) {
      if (e->kind == EntryKind::Procedure) {
        info_.define(e->name).method = &dispatchedByInvoke;
      } else if (e->kind == EntryKind::Variable) {
        MemberInfo& m = info_.define(e->name);
        m.get = m.let = m.set = &dispatchedByInvoke;
      }
    }
  }
  return info_;
}

Variant CodeObject::invoke(DispId id, std::uint8_t flags, CallArgs args) {
  std::shared_ptr<Runtime> rt = rt_.lock();
  const MemberInfo* mi = classInfo().member(id);
  if (!rt || !mi) raiseVbError(vberr::kNotSupported);
  GlobalEntry* e = module_->find(mi->name);
  if (!e) raiseVbError(vberr::kNotSupported);
  if (e->kind == EntryKind::Procedure) {
    ArgBuffer buf(args.size());
    for (std::size_t i = 0; i < args.size(); ++i) buf.setRef(i, &args[i]);
    if (!(flags & (kInvokeMethod | kInvokeGet))) {
      assignThroughProperty(*rt, *e, (flags & kInvokeSet) != 0, buf.ptrs(), buf.size());
      return Variant();
    }
    return rt->call(readableProc(*e), nullptr, buf.ptrs(), buf.size());
  }
  if (e->kind != EntryKind::Variable) raiseVbError(vberr::kNotSupported);
  if (flags & (kInvokeMethod | kInvokeGet))
    return args.size() == 0 ? e->value : indexValue(e->value, args);
  if (args.size() == 1) {
    storeValue(e->value, args[0], (flags & kInvokeSet) != 0);
  } else if (args.size() > 1) {
    assignIndexed(e->value, args.first(args.size() - 1), args.last(), (flags & kInvokeSet) != 0);
  } else {
    raiseVbError(vberr::kWrongArgumentCount);
  }
  return Variant();
}

}  // namespace vantorel::vbs
