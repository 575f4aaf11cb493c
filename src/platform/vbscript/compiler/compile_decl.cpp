#include "platform/automation/variant_convert.hpp"
#include "platform/vbscript/compiler/compiler_impl.hpp"

namespace vantorel::vbs {

namespace {

// Script instances dispatch in ScriptObject::invoke; the table's entry points only mark which
// kinds of access a member offers to those who read the table.
Variant scriptMemberThunk(Object&, CallArgs) {
  raiseVbError(vberr::kNotSupported);
}

bool isPublic(Visibility v) {
  return v != Visibility::Private;
}

}  // namespace

void Compiler::compileProcedure(const ProcDecl& d, Procedure& p, ClassDef* cls) {
  Scope s;
  s.proc = &p;
  s.cls = cls;
  p.name = d.name;
  p.kind = d.kind;
  p.module = &mod_;
  p.owner = cls;
  p.optionExplicit = optionExplicit_;
  p.isPublic = isPublic(d.visibility);
  for (std::size_t i = 0; i < d.params.size(); ++i) {
    p.byVal.push_back(d.params[i].byVal ? 1 : 0);
    s.params.emplace(d.params[i].name, static_cast<std::int32_t>(i));
    p.paramNames.push_back(d.params[i].name);
  }
  s.numSlots = static_cast<std::int32_t>(d.params.size());
  if (d.kind == ProcKind::Function || d.kind == ProcKind::PropertyGet) p.retSlot = s.numSlots++;
  Scope* saved = scope_;
  scope_ = &s;
  try {
    declare(d.body);
    block(d.body, p.body);
  } catch (...) {
    scope_ = saved;
    throw;
  }
  scope_ = saved;
  p.numSlots = s.numSlots;
  p.numTemps = s.maxTemps;
  for (const auto& [name, slot] : s.locals) p.localNames.emplace_back(name, slot);
  for (const auto& [name, es] : s.implicits) p.localNames.emplace_back(name, es.second);
}

std::shared_ptr<ClassDef> Compiler::declareClass(const ClassDecl& d) {
  auto c = std::make_shared<ClassDef>(d.name);
  c->runtime = mod_.rt->weak_from_this();
  c->module = &mod_;
  Scope cs;
  cs.cls = c.get();
  Scope* saved = scope_;
  scope_ = &cs;
  struct Restore {
    Compiler& c;
    Scope* s;
    ~Restore() { c.scope_ = s; }
  } restore{*this, saved};

  for (const auto& cst : d.consts) {
    for (const ConstDecl& k : cst->consts)
      c->consts.insert_or_assign(k.name, constantValue(*k.value));
  }
  auto addMember = [&](const std::u16string& name, ClassMember::Kind kind) -> std::int32_t {
    if (auto it = c->byName.find(name); it != c->byName.end()) return it->second;
    ClassMember m;
    m.name = name;
    m.kind = kind;
    c->members.push_back(std::move(m));
    const auto idx = static_cast<std::int32_t>(c->members.size() - 1);
    c->byName.emplace(name, idx);
    return idx;
  };
  for (const auto& dim : d.fields) {
    for (const VarDecl& v : dim->vars) {
      const std::int32_t idx = addMember(v.name, ClassMember::Kind::Field);
      ClassMember& m = c->members[static_cast<std::size_t>(idx)];
      m.isPublic = isPublic(dim->visibility);
      m.slot = c->numFields++;
      if (v.isArray) {
        FieldInit init{m.slot, {}, v.bounds.empty()};
        for (const ExprPtr& b : v.bounds) init.upperBounds.push_back(toLong(constantValue(*b)));
        c->fieldInits.push_back(std::move(init));
      }
    }
  }
  for (const ProcDecl& pd : d.procedures) {
    const bool isProperty = pd.kind == ProcKind::PropertyGet || pd.kind == ProcKind::PropertyLet ||
                            pd.kind == ProcKind::PropertySet;
    const std::int32_t idx =
        addMember(pd.name, isProperty ? ClassMember::Kind::Property : ClassMember::Kind::Method);
    auto p = std::make_unique<Procedure>();
    p->name = pd.name;
    p->kind = pd.kind;
    ClassMember& m = c->members[static_cast<std::size_t>(idx)];
    switch (pd.kind) {
      case ProcKind::Sub:
      case ProcKind::Function:
        m.method = p.get();
        break;
      case ProcKind::PropertyGet:
        m.get = p.get();
        break;
      case ProcKind::PropertyLet:
        m.let = p.get();
        break;
      case ProcKind::PropertySet:
        m.set = p.get();
        break;
    }
    // A property is public when any of its accessors is.
    const bool firstAccessor =
        (m.method != nullptr) + (m.get != nullptr) + (m.let != nullptr) + (m.set != nullptr) == 1;
    m.isPublic = firstAccessor ? isPublic(pd.visibility) : (m.isPublic || isPublic(pd.visibility));
    if (pd.isDefault) c->defaultMember = idx;
    if (pd.kind == ProcKind::Sub && equalsNoCase(pd.name, u"Class_Initialize"))
      c->initialize = p.get();
    if (pd.kind == ProcKind::Sub && equalsNoCase(pd.name, u"Class_Terminate"))
      c->terminate = p.get();
    c->procs.push_back(std::move(p));
  }
  for (std::size_t i = 0; i < c->members.size(); ++i) {
    const ClassMember& m = c->members[i];
    if (!m.isPublic) continue;
    MemberInfo& mi = c->info.define(m.name);
    c->byDispId.push_back(static_cast<std::int32_t>(i));
    if (m.kind == ClassMember::Kind::Field) {
      mi.get = mi.let = mi.set = &scriptMemberThunk;
    } else if (m.kind == ClassMember::Kind::Method) {
      mi.method = &scriptMemberThunk;
    } else {
      if (m.get) mi.get = &scriptMemberThunk;
      if (m.let) mi.let = &scriptMemberThunk;
      if (m.set) mi.set = &scriptMemberThunk;
    }
  }
  if (c->defaultMember >= 0 && c->members[static_cast<std::size_t>(c->defaultMember)].isPublic) {
    c->info.setDefaultMember(c->members[static_cast<std::size_t>(c->defaultMember)].name);
  }
  return c;
}

void Compiler::compileClassBodies(const ClassDecl& d, ClassDef& cls) {
  for (std::size_t i = 0; i < d.procedures.size(); ++i)
    compileProcedure(d.procedures[i], *cls.procs[i], &cls);
}

// The scope that code run by Execute or Eval sees: the running procedure's locals and
// parameters (in their fixed slots) and its class, or the module level.
static Scope scopeOf(CodeScope cs) {
  Scope top;
  if (cs.proc) {
    top.proc = cs.proc;
    top.cls = cs.cls ? cs.cls : cs.proc->owner;
    top.fixedSlots = true;
    for (const auto& [name, slot] : cs.proc->localNames) top.locals.emplace(name, slot);
    for (std::size_t i = 0; i < cs.proc->paramNames.size(); ++i) {
      top.params.emplace(cs.proc->paramNames[i], static_cast<std::int32_t>(i));
    }
  } else {
    top.cls = cs.cls;
  }
  return top;
}

void Compiler::compileProgram(const Program& program, CodeScope cs, CompiledUnit& unit) {
  Scope top = scopeOf(cs);
  scope_ = &top;
  for (const ProcDecl& d : program.procedures)
    pending_.insert_or_assign(d.name, EntryKind::Procedure);
  for (const ClassDecl& d : program.classes) pendingClasses_.insert_or_assign(d.name, true);
  declare(program.statements);
  for (const ClassDecl& d : program.classes) unit.classes.push_back(declareClass(d));
  for (const ProcDecl& d : program.procedures) {
    auto p = std::make_unique<Procedure>();
    compileProcedure(d, *p, nullptr);
    unit.procedures.push_back(std::move(p));
  }
  for (std::size_t i = 0; i < program.classes.size(); ++i)
    compileClassBodies(program.classes[i], *unit.classes[i]);
  block(program.statements, unit.top);
  unit.numTemps = top.maxTemps;
  for (const auto& [name, kind] : pending_) {
    if (kind == EntryKind::Variable) unit.variables.push_back(name);
  }
  for (auto& [name, value] : pendingConsts_) unit.constants.emplace_back(name, value);
  scope_ = nullptr;
}

ExprNodePtr Compiler::compileStandalone(const Expr& e, CodeScope cs, std::int32_t& numTemps) {
  Scope top = scopeOf(cs);
  scope_ = &top;
  ExprNodePtr node = expr(e);
  numTemps = top.maxTemps;
  scope_ = nullptr;
  return node;
}

void CompiledUnit::commit() {
  ModuleState& m = *module;
  for (auto& p : procedures) {
    GlobalEntry& e = m.entry(p->name);
    if (e.kind != EntryKind::Procedure) e.proc = e.let = e.set = nullptr;
    e.kind = EntryKind::Procedure;
    switch (p->kind) {
      case ProcKind::PropertyLet:
        e.let = p.get();
        break;
      case ProcKind::PropertySet:
        e.set = p.get();
        break;
      default:
        e.proc = p.get();
        break;
    }
    e.value.clear();
    ProcedureInfo info{p->name, static_cast<std::int32_t>(p->numParams()),
                       p->kind == ProcKind::Function || p->kind == ProcKind::PropertyGet};
    bool replaced = false;
    for (ProcedureInfo& old : m.procInfos) {
      if (equalsNoCase(old.name, info.name)) {
        // A property's Let or Set does not hide what its Get reports.
        if (p->kind != ProcKind::PropertyLet && p->kind != ProcKind::PropertySet) old = info;
        replaced = true;
      }
    }
    if (!replaced) m.procInfos.push_back(std::move(info));
    m.procedures.push_back(std::move(p));
  }
  for (auto& c : classes) {
    GlobalEntry& e = m.classEntry(c->name);
    e.kind = EntryKind::Class;
    e.cls = c;
    m.classes.push_back(c);
  }
  for (auto& [name, value] : constants) {
    GlobalEntry& e = m.entry(name);
    e.kind = EntryKind::Constant;
    e.value = value;
  }
  for (const std::u16string& name : variables) {
    GlobalEntry& e = m.entry(name);
    // A named object keeps its name: the host put it there.
    if (e.kind == EntryKind::Variable || e.kind == EntryKind::Object) continue;
    e.kind = EntryKind::Variable;
    e.value.clear();
    m.variableOrder.push_back(&e);
  }
  ++m.generation;
  procedures.clear();
  classes.clear();
}

std::unique_ptr<CompiledUnit> compileUnit(ModuleState& module, const Program& program,
                                          CodeScope scope, std::u16string_view source) {
  auto unit = std::make_unique<CompiledUnit>();
  unit->module = &module;
  const bool optionExplicit = program.optionExplicit || (scope.proc && scope.proc->optionExplicit);
  Compiler c(module, optionExplicit, source);
  c.compileProgram(program, scope, *unit);
  return unit;
}

ExprNodePtr compileExpression(ModuleState& module, const Expr& expr, CodeScope scope,
                              std::int32_t& numTemps) {
  const bool optionExplicit = scope.proc && scope.proc->optionExplicit;
  Compiler c(module, optionExplicit, {});
  return c.compileStandalone(expr, scope, numTemps);
}

}  // namespace vantorel::vbs
