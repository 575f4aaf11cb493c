// Eval, Execute, ExecuteGlobal and GetRef: code and names that only exist at run time.
#include <memory>

#include "platform/automation/class_info.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/vbscript/compiler/compiler_impl.hpp"
#include "platform/vbscript/parser.hpp"

namespace vantorel::vbs {

namespace {

// Code compiled inside a procedure runs on that procedure's frame, with its own hidden slots.
struct DynamicFrame {
  DynamicFrame(Frame& parent, bool global, std::int32_t numTemps)
      : temps(std::make_unique<Variant[]>(static_cast<std::size_t>(numTemps) + 1)) {
    f.rt = parent.rt;
    f.module = parent.module;
    if (!global && parent.proc) {
      f.proc = parent.proc;
      f.me = parent.me;
      f.vals = parent.vals;
      f.refs = parent.refs;
    }
    f.temps = temps.get();
  }
  std::unique_ptr<Variant[]> temps;
  Frame f;
};

CodeScope scopeOf(const Frame& f, bool global) {
  CodeScope cs;
  if (!global && f.proc) {
    cs.proc = f.proc;
    cs.cls = f.proc->owner;
  }
  return cs;
}

std::u16string singleTextArgument(Frame& f, const ArgList& args, std::u16string_view name) {
  if (args.size() != 1) raiseNamed(vberr::kWrongArgumentCount, name);
  return toString(args.items[0].expr->eval(f));
}

struct EvalNode final : ExprNode {
  EvalNode(SourcePos p, ArgList a) : ExprNode(p), args(std::move(a)) {}
  Variant eval(Frame& f) override {
    const std::u16string text = singleTextArgument(f, args, u"Eval");
    ExprPtr e = parseExpression(text);
    std::int32_t numTemps = 0;
    ExprNodePtr node = compileExpression(*f.module, *e, scopeOf(f, false), numTemps);
    DynamicFrame d(f, false, numTemps);
    return node->eval(d.f);
  }
  ArgList args;
};

// What GetRef returns: an object whose default member calls the procedure.
class ProcRef final : public Object {
 public:
  ProcRef(std::weak_ptr<Runtime> rt, Procedure* p) : rt_(std::move(rt)), proc_(p) {}
  const ClassInfo& classInfo() const noexcept override {
    static const ClassInfo info(u"Object");
    return info;
  }
  Variant invoke(DispId id, std::uint8_t flags, CallArgs args) override {
    if (id != kDispIdValue || !(flags & (kInvokeMethod | kInvokeGet)))
      raiseVbError(vberr::kNotSupported);
    std::shared_ptr<Runtime> rt = rt_.lock();
    if (!rt) raiseVbError(vberr::kObjectRequired);
    ArgBuffer buf(args.size());
    for (std::size_t i = 0; i < args.size(); ++i) buf.setRef(i, &args[i]);
    return rt->call(*proc_, nullptr, buf.ptrs(), buf.size());
  }

 private:
  std::weak_ptr<Runtime> rt_;
  Procedure* proc_;
};

struct GetRefNode final : ExprNode {
  GetRefNode(SourcePos p, ArgList a) : ExprNode(p), args(std::move(a)) {}
  Variant eval(Frame& f) override {
    const std::u16string name = singleTextArgument(f, args, u"GetRef");
    for (ModuleState* m : {f.module, f.module->globalModule}) {
      GlobalEntry* e = m->find(name);
      if (e && e->kind == EntryKind::Procedure && e->proc) {
        return Variant(makeRef<ProcRef>(f.rt->weak_from_this(), e->proc));
      }
    }
    raiseVbError(vberr::kInvalidProcedureCall);
  }
  ArgList args;
};

struct ExecuteNode final : StmtNode {
  ExecuteNode(SourcePos p, bool g, ExprNodePtr c) : StmtNode(p), global(g), code(std::move(c)) {}
  Flow exec(Frame& f) override {
    const std::u16string text = toString(code->eval(f));
    Program program = parseProgram(text);
    std::unique_ptr<CompiledUnit> unit = compileUnit(*f.module, program, scopeOf(f, global), text);
    unit->commit();
    DynamicFrame d(f, global, unit->numTemps);
    try {
      unit->top.run(d.f);
    } catch (const VmError& e) {
      // Lines of the executed text mean nothing in the caller's source: report the statement.
      throw VmError(e.number(), e.source(), e.description(), SourcePos{}, e.name);
    }
    return Flow::Normal;
  }
  bool global;
  ExprNodePtr code;
};

}  // namespace

ExprNodePtr makeEvalNode(SourcePos pos, ArgList args) {
  return std::make_unique<EvalNode>(pos, std::move(args));
}

ExprNodePtr makeGetRefNode(SourcePos pos, ArgList args) {
  return std::make_unique<GetRefNode>(pos, std::move(args));
}

StmtNodePtr makeExecuteNode(SourcePos pos, bool global, ExprNodePtr code) {
  return std::make_unique<ExecuteNode>(pos, global, std::move(code));
}

}  // namespace vantorel::vbs
