#include "platform/vbscript/compiler/compiler_impl.hpp"
#include "platform/vbscript/vm/operator_nodes.hpp"
#include "platform/vbscript/vm/value_nodes.hpp"

namespace vantorel::vbs {

namespace {

// Several statements made from one (Dim a(1), b(2)).
struct SeqNode final : StmtNode {
  using StmtNode::StmtNode;
  Flow exec(Frame& f) override { return body.run(f); }
  BlockNode body;
};

template <class Fn>
void forEachNestedBlock(const Stmt& s, Fn&& fn) {
  switch (s.kind) {
    case StmtKind::If: {
      const auto& i = static_cast<const IfStmt&>(s);
      for (const IfBranch& b : i.branches) fn(b.body);
      fn(i.elseBody);
      break;
    }
    case StmtKind::Select: {
      const auto& sel = static_cast<const SelectStmt&>(s);
      for (const CaseClause& c : sel.cases) fn(c.body);
      fn(sel.elseBody);
      break;
    }
    case StmtKind::For:
      fn(static_cast<const ForStmt&>(s).body);
      break;
    case StmtKind::ForEach:
      fn(static_cast<const ForEachStmt&>(s).body);
      break;
    case StmtKind::Do:
      fn(static_cast<const DoStmt&>(s).body);
      break;
    case StmtKind::While:
      fn(static_cast<const WhileStmt&>(s).body);
      break;
    case StmtKind::With:
      fn(static_cast<const WithStmt&>(s).body);
      break;
    default:
      break;
  }
}

}  // namespace

void Compiler::declare(const Block& b) {
  Scope& s = *scope_;
  const bool local = s.proc && !s.fixedSlots;
  auto declareVariable = [&](const std::u16string& name) {
    if (local) {
      if (!s.locals.count(name) && !s.params.count(name)) s.locals.emplace(name, s.numSlots++);
    } else if (s.proc) {
      if (!s.locals.count(name) && !s.params.count(name) && !s.tempLocals.count(name)) {
        const auto slot = static_cast<std::int32_t>(s.tempLocals.size());
        s.tempLocals.emplace(name, slot);
        s.maxTemps = std::max(s.maxTemps, slot + 1);
      }
    } else if (!pending_.count(name)) {
      pending_.emplace(name, EntryKind::Variable);
    }
  };
  auto known = [&](const std::u16string& name) {
    if (s.locals.count(name) || s.params.count(name) || pending_.count(name)) return true;
    if (s.cls && s.cls->byName.count(name)) return true;
    if (s.proc && equalsNoCase(name, s.proc->name)) return true;
    for (ModuleState* m : {&mod_, mod_.globalModule}) {
      GlobalEntry* e = m->find(name);
      if (e && e->kind != EntryKind::Undefined) return true;
    }
    return false;
  };
  for (const StmtPtr& st : b) {
    switch (st->kind) {
      case StmtKind::Dim:
        for (const VarDecl& v : static_cast<const DimStmt&>(*st).vars) declareVariable(v.name);
        break;
      case StmtKind::ReDim:
        for (const ReDimItem& item : static_cast<const ReDimStmt&>(*st).items) {
          if (item.target && item.target->kind == ExprKind::Name) {
            const auto& name = static_cast<const NameExpr&>(*item.target).name;
            if (!known(name)) declareVariable(name);
          }
        }
        break;
      case StmtKind::Const:
        for (const ConstDecl& c : static_cast<const ConstStmt&>(*st).consts) {
          Variant v = constantValue(*c.value);
          if (local) {
            s.consts.insert_or_assign(c.name, std::move(v));
          } else {
            pending_.insert_or_assign(c.name, EntryKind::Constant);
            pendingConsts_.insert_or_assign(c.name, std::move(v));
          }
        }
        break;
      default:
        forEachNestedBlock(*st, [&](const Block& inner) { declare(inner); });
        break;
    }
  }
}

void Compiler::block(const Block& b, BlockNode& out) {
  out.stmts.reserve(b.size());
  for (const StmtPtr& s : b) {
    if (StmtNodePtr n = stmt(*s)) out.stmts.push_back(std::move(n));
  }
  out.finish();
}

StmtNodePtr Compiler::assignment(const AssignStmt& a) {
  const SourcePos pos = a.pos;
  ExprNodePtr target;
  if (a.target->kind == ExprKind::Name) {
    const auto& name = static_cast<const NameExpr&>(*a.target).name;
    Binding b = resolve(name);
    if (b.kind == Binding::Kind::Builtin || b.kind == Binding::Kind::Eval ||
        b.kind == Binding::Kind::GetRef) {
      target = std::make_unique<ConstantNode>(a.target->pos, Variant(), name);
    } else {
      target = bindingNode(b, a.target->pos);
      if (b.kind == Binding::Kind::Constant) static_cast<ConstantNode&>(*target).name = name;
    }
  } else {
    target = expr(*a.target);
  }
  if (!a.isSet) {
    if (auto* local = dynamic_cast<LocalNode*>(target.get())) {
      return std::make_unique<AssignLocalNode>(pos, local->slot, expr(*a.value));
    }
    if (auto* field = dynamic_cast<FieldNode*>(target.get())) {
      return std::make_unique<AssignFieldNode>(pos, field->slot, expr(*a.value));
    }
    if (auto* element = dynamic_cast<IndexNode*>(target.get());
        element && element->args.single != ArgList::Single::No && element->baseVariable.found()) {
      std::unique_ptr<IndexNode> t(static_cast<IndexNode*>(target.release()));
      return AssignElementNode::make(pos, std::move(t), expr(*a.value));
    }
    if (dynamic_cast<GlobalNode*>(target.get())) {
      std::unique_ptr<GlobalNode> g(static_cast<GlobalNode*>(target.release()));
      return std::make_unique<AssignGlobalNode>(pos, std::move(g), expr(*a.value));
    }
  }
  return std::make_unique<AssignNode>(pos, std::move(target), expr(*a.value), a.isSet);
}

VariableSlot Compiler::selfReadTarget(const AssignStmt& a, const Expr& read) {
  if (a.target->kind != ExprKind::Name || read.kind != ExprKind::Name) return {};
  const Binding targetBinding = resolve(static_cast<const NameExpr&>(*a.target).name);
  if (!targetBinding.isVariable()) return {};
  const VariableSlot target =
      VariableSlot::of(*bindingNode(targetBinding, a.target->pos), /*plainOnly=*/false);
  const VariableSlot source = VariableSlot::of(*expr(read), /*plainOnly=*/false);
  if (!target.found() || target.kind != source.kind || target.slot != source.slot ||
      target.entry != source.entry) {
    return {};
  }
  return target;
}

StmtNodePtr Compiler::addInPlace(const AssignStmt& a, StmtNodePtr plain) {
  if (a.value->kind != ExprKind::Binary) return plain;
  const auto& sum = static_cast<const BinaryExpr&>(*a.value);
  if (sum.op != BinaryOp::Add && sum.op != BinaryOp::Sub) return plain;
  const VariableSlot target = selfReadTarget(a, *sum.left);
  if (!target.found()) return plain;
  // The other operand: a whole-number literal, or a variable read where it stands.
  if (sum.right->kind == ExprKind::Literal) {
    const Variant& value = static_cast<const LiteralExpr&>(*sum.right).value;
    if (value.type() != VarType::Integer && value.type() != VarType::Long) return plain;
    return makeAddInPlace(a.pos, target, sum.op == BinaryOp::Sub, VariableSlot{}, &value,
                          std::move(plain));
  }
  if (sum.right->kind != ExprKind::Name) return plain;
  const VariableSlot operand = VariableSlot::of(*expr(*sum.right), /*plainOnly=*/false);
  if (!operand.found()) return plain;
  return makeAddInPlace(a.pos, target, sum.op == BinaryOp::Sub, operand, nullptr, std::move(plain));
}

StmtNodePtr Compiler::appendInPlace(const AssignStmt& a, StmtNodePtr plain) {
  if (a.target->kind != ExprKind::Name) return plain;
  // s = s & x & y: the pieces after the leftmost operand, which must read the target itself.
  std::vector<const Expr*> pieces;
  const Expr* leftmost = a.value.get();
  while (leftmost->kind == ExprKind::Binary &&
         static_cast<const BinaryExpr*>(leftmost)->op == BinaryOp::Concat) {
    const auto* b = static_cast<const BinaryExpr*>(leftmost);
    pieces.push_back(b->right.get());
    leftmost = b->left.get();
  }
  if (pieces.empty() || pieces.size() >= ConcatNode::kMaxParts ||
      leftmost->kind != ExprKind::Name) {
    return plain;
  }
  const VariableSlot target = selfReadTarget(a, *leftmost);
  if (!target.found()) return plain;
  std::vector<ExprNodePtr> nodes;
  for (auto it = pieces.rbegin(); it != pieces.rend(); ++it) nodes.push_back(expr(**it));
  return std::make_unique<AppendNode>(a.pos, target, std::move(nodes), std::move(plain));
}

StmtNodePtr Compiler::stmt(const Stmt& s) {
  const SourcePos pos = s.pos;
  switch (s.kind) {
    case StmtKind::Call:
      return callStatement(pos, expr(*static_cast<const CallStmt&>(s).call));
    case StmtKind::Assign: {
      const auto& a = static_cast<const AssignStmt&>(s);
      StmtNodePtr plain = assignment(a);
      if (a.isSet) return plain;
      return addInPlace(a, appendInPlace(a, std::move(plain)));
    }
    case StmtKind::Dim: {
      auto seq = std::make_unique<SeqNode>(pos);
      for (const VarDecl& v : static_cast<const DimStmt&>(s).vars) {
        if (!v.isArray) continue;
        auto d = std::make_unique<DimArrayNode>(v.pos, bindingNode(resolve(v.name), v.pos));
        for (const ExprPtr& bound : v.bounds) d->bounds.push_back(expr(*bound));
        seq->body.stmts.push_back(std::move(d));
      }
      if (seq->body.stmts.empty()) return nullptr;
      seq->body.finish();
      return seq;
    }
    case StmtKind::ReDim: {
      const auto& r = static_cast<const ReDimStmt&>(s);
      auto node = std::make_unique<ReDimNode>(pos, r.preserve);
      for (const ReDimItem& item : r.items) {
        ReDimItemNode n;
        n.target = expr(*item.target);
        for (const ExprPtr& bound : item.bounds) n.bounds.push_back(expr(*bound));
        n.pos = item.pos;
        node->items.push_back(std::move(n));
      }
      return node;
    }
    case StmtKind::Const:
      return nullptr;
    case StmtKind::Erase: {
      auto node = std::make_unique<EraseNode>(pos);
      for (const ExprPtr& t : static_cast<const EraseStmt&>(s).targets)
        node->targets.push_back(expr(*t));
      return node;
    }
    case StmtKind::If: {
      const auto& i = static_cast<const IfStmt&>(s);
      auto node = std::make_unique<IfNode>(pos);
      for (const IfBranch& b : i.branches) {
        BlockNode body;
        ExprNodePtr cond = expr(*b.condition);
        block(b.body, body);
        node->branches.emplace_back(std::move(cond), std::move(body));
      }
      block(i.elseBody, node->elseBody);
      return IfNode::make(std::move(node));
    }
    case StmtKind::Select: {
      const auto& sel = static_cast<const SelectStmt&>(s);
      auto node = std::make_unique<SelectNode>(pos);
      node->subject = expr(*sel.subject);
      for (const CaseClause& c : sel.cases) {
        std::vector<SelectNode::CaseValue> values;
        for (const ExprPtr& v : c.values) {
          ExprNodePtr value = expr(*v);
          const Variant* constant = fixedValue(*value);
          values.push_back({std::move(value), isHardLiteral(*v), constant});
        }
        BlockNode body;
        block(c.body, body);
        node->cases.emplace_back(std::move(values), std::move(body));
      }
      node->hasElse = sel.hasElse;
      block(sel.elseBody, node->elseBody);
      return node;
    }
    case StmtKind::For: {
      const auto& f = static_cast<const ForStmt&>(s);
      auto node = std::make_unique<ForNode>(pos, bindingNode(resolve(f.variable), f.variablePos));
      node->from = expr(*f.from);
      node->to = expr(*f.to);
      if (f.step) node->step = expr(*f.step);
      block(f.body, node->body);
      return node;
    }
    case StmtKind::ForEach: {
      const auto& f = static_cast<const ForEachStmt&>(s);
      auto node = std::make_unique<ForEachNode>(pos);
      node->variable = bindingNode(resolve(f.variable), f.variablePos);
      node->collection = expr(*f.collection);
      block(f.body, node->body);
      return node;
    }
    case StmtKind::Do: {
      const auto& d = static_cast<const DoStmt&>(s);
      auto node = std::make_unique<DoNode>(pos);
      node->condition = d.condition;
      node->testAtEnd = d.testAtEnd;
      if (d.test) node->test = expr(*d.test);
      block(d.body, node->body);
      return node;
    }
    case StmtKind::While: {
      const auto& w = static_cast<const WhileStmt&>(s);
      auto node = std::make_unique<DoNode>(pos);
      node->condition = LoopCondition::While;
      node->test = expr(*w.test);
      block(w.body, node->body);
      return node;
    }
    case StmtKind::Exit: {
      switch (static_cast<const ExitStmt&>(s).what) {
        case ExitKind::Do:
          return std::make_unique<ExitNode>(pos, Flow::ExitDo);
        case ExitKind::For:
          return std::make_unique<ExitNode>(pos, Flow::ExitFor);
        default:
          return std::make_unique<ExitNode>(pos, Flow::ExitProc);
      }
    }
    case StmtKind::OnError:
      return std::make_unique<OnErrorNode>(pos, static_cast<const OnErrorStmt&>(s).resumeNext);
    case StmtKind::With: {
      const auto& w = static_cast<const WithStmt&>(s);
      Scope& sc = *scope_;
      const auto slot = static_cast<std::int32_t>(sc.tempLocals.size() + sc.withSlots.size());
      auto node = std::make_unique<WithNode>(pos, slot, expr(*w.object));
      sc.withSlots.push_back(slot);
      sc.maxTemps = std::max(sc.maxTemps, slot + 1);
      block(w.body, node->body);
      sc.withSlots.pop_back();
      return node;
    }
    case StmtKind::Execute: {
      const auto& e = static_cast<const ExecuteStmt&>(s);
      return makeExecuteNode(pos, e.global, expr(*e.code));
    }
    case StmtKind::Randomize: {
      const auto& r = static_cast<const RandomizeStmt&>(s);
      return std::make_unique<RandomizeNode>(pos, r.seed ? expr(*r.seed) : nullptr);
    }
    case StmtKind::Stop:
      return nullptr;
  }
  return nullptr;
}

}  // namespace vantorel::vbs
