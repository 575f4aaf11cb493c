// How a block goes through its statements.
#include "platform/vbscript/vm/runtime.hpp"
#include "platform/vbscript/vm/stmt_nodes.hpp"

namespace vantorel::vbs {

namespace {

// Steps I to N of a block, one after the other, each with its own error placement. A step that
// answers SkipNext (the condition of a one-line If) is never the last: its statement follows.
template <std::size_t I, std::size_t N>
[[gnu::always_inline]] inline Flow runFrom(StmtNode* const* steps, Frame& f) {
  if constexpr (I == N) {
    return Flow::Normal;
  } else {
    Flow r;
    // The handler reads the step again: nothing is kept across the call for it.
    try {
      r = steps[I]->exec(f);
    } catch (...) {
      r = BlockNode::failed(f, *steps[I]);
    }
    if (r != Flow::Normal) [[unlikely]] {
      if constexpr (I + 2 <= N) {
        if (r == Flow::SkipNext) return runFrom<I + 2, N>(steps, f);
      }
      return r;
    }
    return runFrom<I + 1, N>(steps, f);
  }
}

Flow runNone(const BlockNode&, Frame&) {
  return Flow::Normal;
}

}  // namespace

void BlockNode::finish() {
  steps_.clear();
  only_ = stmts.size() == 1 ? stmts.front().get() : nullptr;
  for (const StmtNodePtr& s : stmts) {
    auto* i = dynamic_cast<IfThenNode*>(s.get());
    if (IfGuardNode* guard = i ? i->guard() : nullptr) {
      steps_.push_back(guard);
      steps_.push_back(i->branches.front().second.only());
    } else {
      steps_.push_back(s.get());
    }
  }
  // Blocks of a few steps, the commonest, run them without a loop.
  switch (steps_.size()) {
    case 0:
      runner_ = &runNone;
      break;
    case 2:
      runner_ = &runFixedSteps<2>;
      break;
    case 3:
      runner_ = &runFixedSteps<3>;
      break;
    case 4:
      runner_ = &runFixedSteps<4>;
      break;
    default:
      runner_ = &runSteps;
      break;
  }
}

Flow BlockNode::runStatements(const BlockNode& b, Frame& f) {
  for (const StmtNodePtr& s : b.stmts) {
    const Flow r = runSingle(f, *s);
    if (r != Flow::Normal) return r;
  }
  return Flow::Normal;
}

template <std::size_t N>
Flow BlockNode::runFixedSteps(const BlockNode& b, Frame& f) {
  return runFrom<0, N>(b.steps_.data(), f);
}

Flow BlockNode::runSteps(const BlockNode& b, Frame& f) {
  StmtNode* const* s = b.steps_.data();
  StmtNode* const* const end = s + b.steps_.size();
  do {
    const Flow r = runSingle(f, **s);
    if (r != Flow::Normal) [[unlikely]] {
      if (r != Flow::SkipNext) return r;
      ++s;
    }
  } while (++s != end);
  return Flow::Normal;
}

Flow BlockNode::failed(Frame& f, const StmtNode& s) {
  try {
    throw;
  } catch (const ScriptAbort&) {
    throw;
  } catch (...) {
    VmError e = currentAsVmError(s.pos);
    if (!f.resumeNext) throw e;
    f.rt->recordError(e);
  }
  return Flow::Normal;
}

}  // namespace vantorel::vbs
