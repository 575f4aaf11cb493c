// How a block goes through its statements.
#include "platform/vbscript/vm/runtime.hpp"
#include "platform/vbscript/vm/stmt_nodes.hpp"

namespace vantorel::vbs {

// A block's steps are its statements, each If of one condition and one statement without Else
// as two: its condition (an IfGuardNode), then its statement. A condition step answers SkipNext
// to pass over the statement, so it is never the last step.
struct BlockSteps {
  // Steps I to N, one after the other, each with its error placed at it. Bit i of Guards tells
  // that step i is a condition, asked here without the step's own call.
  template <std::size_t I, std::size_t N, unsigned Guards>
  [[gnu::always_inline]] static Flow runFrom(StmtNode* const* steps, Frame& f) {
    if constexpr (I == N) {
      return Flow::Normal;
    } else {
      constexpr bool guard = ((Guards >> I) & 1u) != 0;
      Flow r;
      // The handler reads the step again: nothing is kept across the call for it.
      try {
        if (guard && !f.resumeNext) [[likely]] {
          const bool taken = static_cast<IfGuardNode*>(steps[I])->condition.test(f);
          r = taken ? Flow::Normal : Flow::SkipNext;
        } else {
          r = steps[I]->exec(f);  // under Resume Next a condition's step runs the whole If
        }
      } catch (...) {
        r = BlockNode::failed(f, *steps[I]);
      }
      if (r != Flow::Normal) [[unlikely]] {
        if constexpr (guard) {
          if (r == Flow::SkipNext) return runFrom<I + 2, N, Guards>(steps, f);
        }
        return r;
      }
      return runFrom<I + 1, N, Guards>(steps, f);
    }
  }

  template <std::size_t N, unsigned Guards>
  static Flow runFixed(const BlockNode& b, Frame& f) {
    return runFrom<0, N, Guards>(b.steps_.data(), f);
  }

  // Whether conditions at the places Guards tells fit N steps: each has its statement after it.
  static constexpr bool fits(std::size_t n, unsigned guards) {
    return (guards & (guards << 1u)) == 0 && (guards >> (n - 1)) == 0;
  }

  // The unrolled runner of N steps with conditions at the places guards tells.
  template <std::size_t N, unsigned G = 0>
  static BlockNode::Runner fixed(unsigned guards) {
    if constexpr ((G >> (N - 1)) != 0) {
      return nullptr;  // no condition at the last step
    } else {
      if constexpr (fits(N, G)) {
        if (guards == G) return &runFixed<N, G>;
      }
      return fixed<N, G + 1>(guards);
    }
  }

  // Any number of steps.
  static Flow runLoop(const BlockNode& b, Frame& f) {
    StmtNode* const* s = b.steps_.data();
    StmtNode* const* const end = s + b.steps_.size();
    do {
      const Flow r = BlockNode::runSingle(f, **s);
      if (r != Flow::Normal) [[unlikely]] {
        if (r != Flow::SkipNext) return r;
        ++s;
      }
    } while (++s != end);
    return Flow::Normal;
  }

  static Flow runNone(const BlockNode&, Frame&) { return Flow::Normal; }
};

void BlockNode::finish() {
  steps_.clear();
  only_ = stmts.size() == 1 ? stmts.front().get() : nullptr;
  unsigned guards = 0;
  for (const StmtNodePtr& s : stmts) {
    auto* i = dynamic_cast<IfThenNode*>(s.get());
    if (IfGuardNode* guard = i ? i->guard() : nullptr) {
      if (steps_.size() < 32) guards |= 1u << steps_.size();
      steps_.push_back(guard);
      steps_.push_back(i->branches.front().second.only());
    } else {
      steps_.push_back(s.get());
    }
  }
  // Blocks of a few steps, the commonest, run them without a loop.
  switch (steps_.size()) {
    case 0:
      runner_ = &BlockSteps::runNone;
      break;
    case 2:
      runner_ = BlockSteps::fixed<2>(guards);
      break;
    case 3:
      runner_ = BlockSteps::fixed<3>(guards);
      break;
    case 4:
      runner_ = BlockSteps::fixed<4>(guards);
      break;
    default:
      runner_ = &BlockSteps::runLoop;
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
