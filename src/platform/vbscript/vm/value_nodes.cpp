#include "platform/vbscript/vm/value_nodes.hpp"

namespace vantorel::vbs {

namespace {

void defineVariable(Frame& f, GlobalEntry& e) {
  e.kind = EntryKind::Variable;
  f.module->variableOrder.push_back(&e);
  ++f.module->generation;
}

}  // namespace

VariableSlot VariableSlot::of(const ExprNode& e, bool plainOnly) {
  VariableSlot v;
  if (const auto* local = dynamic_cast<const LocalNode*>(&e)) {
    v.kind = Kind::Local;
    v.slot = local->slot;
  } else if (const auto* param = dynamic_cast<const ParamNode*>(&e)) {
    v.kind = Kind::Param;
    v.slot = param->index;
  } else if (const auto* field = dynamic_cast<const FieldNode*>(&e)) {
    v.kind = Kind::Field;
    v.slot = field->slot;
  } else if (const auto* global = dynamic_cast<const GlobalNode*>(&e); global && !plainOnly) {
    v.kind = Kind::Global;
    v.entry = global->entry;
  }
  return v;
}

Variant GlobalNode::eval(Frame& f) {
  switch (entry->kind) {
    case EntryKind::Variable:
    case EntryKind::Constant:
    case EntryKind::Object:
      return entry->value;
    case EntryKind::Procedure:
      return f.rt->call(readableProc(*entry), nullptr, nullptr, 0);
    case EntryKind::Class:
      raiseNamed(vberr::kTypeMismatch, entry->name);
    case EntryKind::Undefined:
      break;
  }
  if (optionExplicit) raiseNamed(vberr::kVariableUndefined, entry->name);
  return Variant();
}

Variant* GlobalNode::ref(Frame& f) {
  switch (entry->kind) {
    case EntryKind::Variable:
      return &entry->value;
    case EntryKind::Undefined:
      if (optionExplicit) raiseNamed(vberr::kVariableUndefined, entry->name);
      defineVariable(f, *entry);
      return &entry->value;
    default:
      return nullptr;
  }
}

void GlobalNode::assign(Frame& f, Variant v, bool isSet) {
  if (entry->kind == EntryKind::Variable && !isSet && !v.isObject() && !v.isArray() &&
      !entry->value.isArray()) {
    entry->value.swap(v);
    return;
  }
  switch (entry->kind) {
    case EntryKind::Variable:
      storeValue(entry->value, std::move(v), isSet);
      return;
    case EntryKind::Undefined:
      if (optionExplicit) raiseNamed(vberr::kVariableUndefined, entry->name);
      storeValue(entry->value, std::move(v), isSet);
      defineVariable(f, *entry);
      return;
    case EntryKind::Procedure: {
      Variant* p = &v;
      assignThroughProperty(*f.rt, *entry, isSet, &p, 1);
      return;
    }
    default:
      raiseNamed(vberr::kIllegalAssignment, entry->name);
  }
}

}  // namespace vantorel::vbs
