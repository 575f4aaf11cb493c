#pragma once
// Statement nodes: assignment, declarations of arrays, control flow, error handling.
#include <vector>

#include "platform/vbscript/vm/call_nodes.hpp"
#include "platform/vbscript/vm/runtime.hpp"
#include "platform/vbscript/vm/value_nodes.hpp"

namespace vantorel::vbs {

struct CallStmtNode final : StmtNode {
  CallStmtNode(SourcePos p, ExprNodePtr c)
      : StmtNode(p), call(std::move(c)), member(dynamic_cast<MemberNode*>(call.get())) {}
  // `object.Method args`, the commonest call statement, runs the member's cached Sub itself
  // (call_nodes.cpp), without a second dispatch.
  Flow exec(Frame& f) override;
  ExprNodePtr call;
  MemberNode* member;
};

struct AssignNode final : StmtNode {
  AssignNode(SourcePos p, ExprNodePtr t, ExprNodePtr v, bool set)
      : StmtNode(p), target(std::move(t)), value(std::move(v)), isSet(set) {}
  Flow exec(Frame& f) override {
    target->assign(f, value->eval(f), isSet);
    return Flow::Normal;
  }
  ExprNodePtr target, value;
  bool isSet;
};

// Let of a local variable: the commonest assignment, without a call to the target.
struct AssignLocalNode final : StmtNode {
  AssignLocalNode(SourcePos p, std::int32_t s, ExprNodePtr v)
      : StmtNode(p), slot(s), value(std::move(v)) {}
  Flow exec(Frame& f) override;
  std::int32_t slot;
  ExprNodePtr value;
};

// Let of a field of the class whose code runs (`m_count = m_count + 1`), built in place.
struct AssignFieldNode final : StmtNode {
  AssignFieldNode(SourcePos p, std::int32_t s, ExprNodePtr v)
      : StmtNode(p), slot(s), value(std::move(v)) {}
  Flow exec(Frame& f) override;
  std::int32_t slot;
  ExprNodePtr value;
};

// Let of one element of an array held in a local, a parameter or a field (`a(i) = v`), the
// commonest element assignment: stored without the general assignment's calls. make() gives a
// node that knows, from the compiler, where each of a, i and v is read when all three are
// variables (or i a literal).
struct AssignElementNode : StmtNode {
  AssignElementNode(SourcePos p, std::unique_ptr<IndexNode> t, ExprNodePtr v)
      : StmtNode(p),
        target(std::move(t)),
        value(std::move(v)),
        valueVariable(VariableSlot::of(*value, /*plainOnly=*/true)) {}
  static StmtNodePtr make(SourcePos p, std::unique_ptr<IndexNode> t, ExprNodePtr v);
  Flow exec(Frame& f) override;
  std::unique_ptr<IndexNode> target;
  ExprNodePtr value;
  VariableSlot valueVariable;  // a local, parameter or field value, read without a call

 protected:
  // Kept out of the plain nodes' exec, which then needs no stack frame.
  [[gnu::noinline]] Flow assignGeneral(Frame& f);
};

// Let of a module-level variable.
struct AssignGlobalNode final : StmtNode {
  AssignGlobalNode(SourcePos p, std::unique_ptr<GlobalNode> t, ExprNodePtr v)
      : StmtNode(p), target(std::move(t)), value(std::move(v)) {}
  Flow exec(Frame& f) override;
  std::unique_ptr<GlobalNode> target;
  ExprNodePtr value;

 private:
  // A name that is no variable (yet): the general assignment.
  [[gnu::noinline]] Flow assignOther(Frame& f);
};

// `s = s & x` (or `s = s & x & y ...`) for a local, parameter, field or module-level variable:
// while s holds a string, the pieces are appended to its units where they stand instead of
// copying the whole string for each piece, so building text in a loop takes linear time. The
// string is changed in place only when s is its one holder; a string another variable shares is
// copied first, as before. Anything else (s not a string, a piece that is not text or a whole
// number, s changed by a piece's evaluation) goes the way the plain assignment goes.
struct AppendNode final : StmtNode {
  AppendNode(SourcePos p, VariableSlot t, std::vector<ExprNodePtr> pieces, StmtNodePtr general)
      : StmtNode(p), target(t), pieces(std::move(pieces)), general(std::move(general)) {}
  Flow exec(Frame& f) override;
  VariableSlot target;
  std::vector<ExprNodePtr> pieces;  // what follows `s &`, in the order they are evaluated
  StmtNodePtr general;              // the same assignment compiled the ordinary way
};

// `x = x + y` or `x = x - y` for a local, parameter, field or module-level variable, y a whole-
// number literal or another such variable (counters, sums): while both hold an Integer or a Long,
// the result is stored into x where it stands, with the types the operator gives. Anything else
// goes the way the plain assignment goes. makeAddInPlace picks the node for the target's kind.
struct AddInPlaceNode : StmtNode {
  AddInPlaceNode(SourcePos p, VariableSlot t, bool subtract, VariableSlot operand,
                 const Variant* literal, StmtNodePtr general);
  Flow exec(Frame& f) override;
  VariableSlot target;
  VariableSlot operand;      // y when it is a variable
  std::int64_t literal = 0;  // y when it is a literal (operand not found)
  bool literalInteger = false;
  bool subtract;
  std::int64_t step = 0;  // the literal, negated for a subtraction
  StmtNodePtr general;    // the same assignment compiled the ordinary way

 protected:
  // x stepped by the literal when it holds a whole number, else execOther.
  [[gnu::always_inline]] inline Flow stepInPlace(Frame& f, Variant* x);
  // A variable operand, a Double, anything else; x is the target as exec found it.
  [[gnu::noinline]] Flow execOther(Frame& f, Variant* x);
};

StmtNodePtr makeAddInPlace(SourcePos p, VariableSlot target, bool subtract, VariableSlot operand,
                           const Variant* literal, StmtNodePtr general);

// Dim a(1, 2) (fixed) or Dim a() (dynamic, no elements yet).
struct DimArrayNode final : StmtNode {
  DimArrayNode(SourcePos p, ExprNodePtr t) : StmtNode(p), target(std::move(t)) {}
  Flow exec(Frame& f) override;
  ExprNodePtr target;
  std::vector<ExprNodePtr> bounds;
};

struct ReDimItemNode {
  ExprNodePtr target;
  std::vector<ExprNodePtr> bounds;
  SourcePos pos;
};

struct ReDimNode final : StmtNode {
  ReDimNode(SourcePos p, bool pres) : StmtNode(p), preserve(pres) {}
  Flow exec(Frame& f) override;
  bool preserve;
  std::vector<ReDimItemNode> items;
};

struct EraseNode final : StmtNode {
  explicit EraseNode(SourcePos p) : StmtNode(p) {}
  Flow exec(Frame& f) override;
  std::vector<ExprNodePtr> targets;
};

// If with ElseIf: each condition in turn. make() gives, for one condition, a node of the
// shape the If has, so that its run decides nothing the compiler knew.
struct IfNode : StmtNode {
  explicit IfNode(SourcePos p) : StmtNode(p) {}
  Flow exec(Frame& f) override { return execBranches(f); }
  // The node to run once the branches are in.
  static StmtNodePtr make(std::unique_ptr<IfNode> node);
  // The general way, also under On Error Resume Next (a failing condition enters its branch).
  Flow execBranches(Frame& f);
  std::vector<std::pair<ExprNodePtr, BlockNode>> branches;
  BlockNode elseBody;
};

// The condition of a one-line If as a step of the block around it: the block runs the If's
// statement next, or passes over it when this answers SkipNext.
struct IfGuardNode final : StmtNode {
  IfGuardNode(SourcePos p, IfNode& i, ExprNode& c) : StmtNode(p), owner(i), condition(c) {}
  Flow exec(Frame& f) override;
  IfNode& owner;
  ExprNode& condition;
};

// One condition, read where it stands, and the branch it opens: the shapes below.
struct IfOneConditionNode : IfNode {
  explicit IfOneConditionNode(IfNode&& from)
      : IfNode(std::move(from)),
        condition_(*branches.front().first),
        then_(branches.front().second) {}

 protected:
  ExprNode& condition_;
  const BlockNode& then_;
};

// One condition, no Else.
struct IfThenNode final : IfOneConditionNode {
  explicit IfThenNode(IfNode&& from)
      : IfOneConditionNode(std::move(from)), guard_(pos, *this, condition_) {}
  Flow exec(Frame& f) override;
  // What a block runs for the condition when the branch is one statement, that statement
  // following it as a step of its own; null for a longer branch.
  IfGuardNode* guard() { return then_.only() ? &guard_ : nullptr; }

 private:
  IfGuardNode guard_;
};

// One condition and one statement on each side.
struct IfElseOneNode final : IfOneConditionNode {
  explicit IfElseOneNode(IfNode&& from)
      : IfOneConditionNode(std::move(from)),
        thenOnly_(*then_.only()),
        elseOnly_(*elseBody.only()) {}
  Flow exec(Frame& f) override;

 private:
  StmtNode& thenOnly_;
  StmtNode& elseOnly_;
};

// One condition and an Else, any longer.
struct IfElseNode final : IfOneConditionNode {
  using IfOneConditionNode::IfOneConditionNode;
  Flow exec(Frame& f) override;
};

struct SelectNode final : StmtNode {
  explicit SelectNode(SourcePos p) : StmtNode(p) {}
  Flow exec(Frame& f) override;
  ExprNodePtr subject;
  struct CaseValue {
    ExprNodePtr value;
    bool literal = false;               // a hard-typed literal: the subject is read as its type
    const Variant* constant = nullptr;  // the value of a literal or constant, read in place
  };
  std::vector<std::pair<std::vector<CaseValue>, BlockNode>> cases;
  bool hasElse = false;
  BlockNode elseBody;
};

struct ForNode final : StmtNode {
  ForNode(SourcePos p, ExprNodePtr v)
      : StmtNode(p), variable(std::move(v)), counter(VariableSlot::of(*variable, false)) {}
  Flow exec(Frame& f) override;
  ExprNodePtr variable, from, to, step;
  // Where the counter lives, found once: an inner loop starts often.
  VariableSlot counter;
  BlockNode body;
};

struct ForEachNode final : StmtNode {
  explicit ForEachNode(SourcePos p) : StmtNode(p) {}
  Flow exec(Frame& f) override;
  ExprNodePtr variable, collection;
  BlockNode body;
};

struct DoNode final : StmtNode {
  explicit DoNode(SourcePos p) : StmtNode(p) {}
  Flow exec(Frame& f) override;
  LoopCondition condition = LoopCondition::None;
  bool testAtEnd = false;
  ExprNodePtr test;
  BlockNode body;
};

struct ExitNode final : StmtNode {
  ExitNode(SourcePos p, Flow w) : StmtNode(p), what(w) {}
  Flow exec(Frame& f) override;
  Flow what;
};

struct OnErrorNode final : StmtNode {
  OnErrorNode(SourcePos p, bool rn) : StmtNode(p), resumeNext(rn) {}
  Flow exec(Frame& f) override;
  bool resumeNext;
};

struct WithNode final : StmtNode {
  WithNode(SourcePos p, std::int32_t s, ExprNodePtr o)
      : StmtNode(p), slot(s), object(std::move(o)) {}
  Flow exec(Frame& f) override;
  std::int32_t slot;
  ExprNodePtr object;
  BlockNode body;
};

struct RandomizeNode final : StmtNode {
  RandomizeNode(SourcePos p, ExprNodePtr s) : StmtNode(p), seed(std::move(s)) {}
  Flow exec(Frame& f) override;
  ExprNodePtr seed;
};

struct NopNode final : StmtNode {
  explicit NopNode(SourcePos p) : StmtNode(p) {}
  Flow exec(Frame&) override { return Flow::Normal; }
};

}  // namespace vantorel::vbs
