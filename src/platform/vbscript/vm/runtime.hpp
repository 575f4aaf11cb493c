#pragma once
// The interpreter's run-time state: modules with their global entries, compiled procedures,
// frames, and the node interfaces the compiler builds. Names are bound to entries and slots
// once, when code is compiled; running code never looks a name up by its text.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/object.hpp"
#include "platform/automation/safe_array.hpp"
#include "platform/automation/variant.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/vbscript/ast.hpp"
#include "platform/vbscript/engine.hpp"
#include "platform/vbscript/runtime/script_state.hpp"

namespace vantorel::vbs {

class Runtime;
class ErrObject;
class ScriptObject;
struct ClassDef;
struct ModuleState;
struct Procedure;
struct Frame;

// Classes the host lets scripts create with New, by name (Engine::addClass).
using HostClasses = std::vector<std::pair<std::u16string, std::function<Ref<Object>()>>>;

// A runtime error on its way up, placed at the statement that failed. It is an
// AutomationError, so C++ code between two script frames sees an ordinary failure.
class VmError : public AutomationError {
 public:
  VmError(std::int32_t number, std::u16string source, std::u16string description, SourcePos pos,
          std::u16string name = {})
      : AutomationError(number, std::move(source), std::move(description)),
        pos(pos),
        name(std::move(name)) {}
  SourcePos pos;
  // The variable or member the error concerns: the host's error line names it, while
  // Err.Description keeps the bare message.
  std::u16string name;

  // The description with the name, as the host shows it.
  std::u16string hostDescription() const;
};

// Ends the script whatever On Error says: the time limit passed, or the user interrupted it.
class ScriptAbort : public std::exception {
 public:
  explicit ScriptAbort(bool interrupted = false) noexcept : interrupted_(interrupted) {}
  bool interrupted() const noexcept { return interrupted_; }
  const char* what() const noexcept override {
    return interrupted_ ? "script interrupted" : "script timeout";
  }

 private:
  bool interrupted_;
};

// What a statement tells the code that runs it. SkipNext never leaves a block: only the step a
// block makes of an If's condition answers it, to pass over the If's statement.
enum class Flow : std::uint8_t { Normal, SkipNext, ExitDo, ExitFor, ExitProc };

struct ExprNode {
  explicit ExprNode(SourcePos p) : pos(p) {}
  virtual ~ExprNode() = default;
  virtual Variant eval(Frame& f) = 0;
  // The variable itself when the expression names one, for passing by reference.
  virtual Variant* ref(Frame&) { return nullptr; }
  // Let or Set; the default refuses, as assigning to an expression is no assignment.
  virtual void assign(Frame& f, Variant value, bool isSet);
  // Let of the value into dst, for assignments: operators build their result in place.
  virtual void evalInto(Frame& f, Variant& dst);
  // As a statement of its own: a call whose result is dropped.
  virtual void run(Frame& f) { eval(f); }
  // As the condition of If, ElseIf, Do and Loop: comparisons answer without building a Boolean.
  virtual bool test(Frame& f);
  // After a call that took an array element by reference through a temporary: stores it back.
  virtual void storeBack(Frame&, Variant&) {}
  // The value as a whole number (Integer or Long, isInteger telling which) without building a
  // Variant, for arithmetic within arithmetic. False when it is anything else; then nothing has
  // run, as only nodes that read variables and literals answer.
  virtual bool evalInt(Frame&, std::int64_t&, bool&) { return false; }
  // Whether evalInt may answer at all, decided once when the code is compiled.
  virtual bool hasIntPath() const { return false; }
  SourcePos pos;
};
using ExprNodePtr = std::unique_ptr<ExprNode>;

struct StmtNode {
  explicit StmtNode(SourcePos p) : pos(p) {}
  virtual ~StmtNode() = default;
  virtual Flow exec(Frame& f) = 0;
  SourcePos pos;
};
using StmtNodePtr = std::unique_ptr<StmtNode>;

// The statements of a procedure, a branch or a loop. finish() (the compiler calls it once they
// are in) picks how run() goes through them; a block never finished runs them one by one.
struct BlockNode {
  std::vector<StmtNodePtr> stmts;
  void finish();
  // Inline for a block of one statement (a branch, a short procedure's body): no call of the
  // block's own.
  [[gnu::always_inline]] Flow run(Frame& f) const {
    if (only_) return runSingle(f, *only_);
    return runMany(f);
  }
  // For a caller that found only() null once (a loop): the statements, none or several.
  Flow runMany(Frame& f) const { return runner_(*this, f); }
  // The block's one statement, once finished; null for none or several.
  StmtNode* only() const { return only_; }
  // One statement, its error placed at it.
  [[gnu::always_inline]] static Flow runSingle(Frame& f, StmtNode& s) {
    try {
      return s.exec(f);
    } catch (...) {
      return failed(f, s);
    }
  }

 private:
  friend struct BlockSteps;  // the ways of running the steps (block_node.cpp)
  // In a handler of what the statement threw: places it at the statement and raises it again,
  // or records it and goes on under On Error Resume Next.
  static Flow failed(Frame& f, const StmtNode& s);
  using Runner = Flow (*)(const BlockNode&, Frame&);
  static Flow runStatements(const BlockNode& b, Frame& f);  // unfinished
  StmtNode* only_ = nullptr;
  Runner runner_ = &runStatements;
  // What a finished block of several runs: its statements, an If of one condition and one
  // statement, no Else, as two steps, its condition and its statement (block_node.cpp).
  std::vector<StmtNode*> steps_;
};

enum class EntryKind : std::uint8_t { Undefined, Variable, Constant, Procedure, Class, Object };

// One global name of a module. Entries never move or disappear while the module lives, so
// compiled code holds them by pointer; a later definition changes the entry in place.
struct GlobalEntry {
  std::u16string name;
  EntryKind kind = EntryKind::Undefined;
  Variant value;                  // Variable, Constant, Object
  Procedure* proc = nullptr;      // Procedure (Property Get); null for a write-only property
  Procedure* let = nullptr;       // Property Let at module level
  Procedure* set = nullptr;       // Property Set at module level
  std::shared_ptr<ClassDef> cls;  // Class
};

struct Procedure {
  std::u16string name;
  ProcKind kind = ProcKind::Sub;
  ModuleState* module = nullptr;
  ClassDef* owner = nullptr;
  bool optionExplicit = false;
  bool isPublic = true;
  // Per parameter, 1 by value (the parameter lives in slot i) and 0 by reference; calls index
  // with it.
  std::vector<std::uint8_t> byVal;
  std::int32_t numSlots = 0;
  std::int32_t numTemps = 0;
  std::int32_t retSlot = -1;
  BlockNode body;
  // For Execute and Eval in the procedure's scope: slot of each local name, and the parameters.
  std::vector<std::pair<std::u16string, std::int32_t>> localNames;
  std::vector<std::u16string> paramNames;
  std::size_t numParams() const { return byVal.size(); }
};

struct ModuleState {
  std::u16string name;
  Runtime* rt = nullptr;
  ModuleState* globalModule = nullptr;  // itself for the global module
  std::unordered_map<std::u16string, std::unique_ptr<GlobalEntry>, NoCaseHash, NoCaseEqual> entries;
  // Class names live apart from variables: `Set p = New P` is common.
  std::unordered_map<std::u16string, std::unique_ptr<GlobalEntry>, NoCaseHash, NoCaseEqual>
      classEntries;
  std::vector<GlobalEntry*> variableOrder;
  std::vector<ProcedureInfo> procInfos;
  // Compiled code stays alive as long as the module: replaced procedures may still be running.
  std::vector<std::unique_ptr<Procedure>> procedures;
  std::vector<std::shared_ptr<ClassDef>> classes;
  std::uint64_t generation = 0;  // bumped when names are defined

  GlobalEntry* find(std::u16string_view n) const;
  GlobalEntry& entry(std::u16string_view n);
  GlobalEntry* findClass(std::u16string_view n) const;
  GlobalEntry& classEntry(std::u16string_view n);
};

struct Frame {
  Runtime* rt = nullptr;
  ModuleState* module = nullptr;
  Procedure* proc = nullptr;
  ScriptObject* me = nullptr;
  Variant* vals = nullptr;
  Variant** refs = nullptr;
  Variant* temps = nullptr;
  bool resumeNext = false;
};

// A run of Variants, inline when short; only the ones asked for are constructed.
class VariantSlots {
 public:
  explicit VariantSlots(std::size_t n) : n_(n) {
    p_ = n <= kInline ? reinterpret_cast<Variant*>(inline_)
                      : static_cast<Variant*>(::operator new(n * sizeof(Variant)));
    for (std::size_t i = 0; i < n; ++i) new (p_ + i) Variant();
  }
  ~VariantSlots() {
    for (std::size_t i = 0; i < n_; ++i) p_[i].~Variant();
    if (n_ > kInline) ::operator delete(p_);
  }
  VariantSlots(const VariantSlots&) = delete;
  VariantSlots& operator=(const VariantSlots&) = delete;
  Variant* data() { return p_; }

 private:
  static constexpr std::size_t kInline = 8;
  std::size_t n_;
  Variant* p_;
  alignas(Variant) unsigned char inline_[kInline * sizeof(Variant)];
};

// Pointers to call arguments, inline for the common short lists. Temporaries are built in
// place from the argument's value, in order, so no Variant is copied on the way.
class ArgBuffer {
 public:
  explicit ArgBuffer(std::size_t n) : n_(n) {
    if (n <= kInline) {
      temps_ = reinterpret_cast<Variant*>(inlineTemps_);
      ptrs_ = inlinePtrs_;
    } else {
      temps_ = static_cast<Variant*>(::operator new(n * sizeof(Variant)));
      heapPtrs_ = std::make_unique<Variant*[]>(n);
      ptrs_ = heapPtrs_.get();
    }
  }
  ~ArgBuffer() {
    for (std::size_t i = 0; i < built_; ++i) temps_[i].~Variant();
    if (temps_ != reinterpret_cast<Variant*>(inlineTemps_)) ::operator delete(temps_);
  }
  ArgBuffer(const ArgBuffer&) = delete;
  ArgBuffer& operator=(const ArgBuffer&) = delete;

  // Argument i (all before it set already) as a temporary holding the value.
  template <class Make>
  void setTemp(std::size_t i, Make&& make) {
    new (temps_ + i) Variant(make());
    built_ = i + 1;
    ptrs_[i] = temps_ + i;
  }
  // Argument i as the caller's own variable; its temporary stays empty.
  void setRef(std::size_t i, Variant* v) {
    new (temps_ + i) Variant();
    built_ = i + 1;
    ptrs_[i] = v;
  }
  // Argument i as a value the callee only reads, not copied; its temporary stays empty.
  void setShared(std::size_t i, const Variant* v) {
    new (temps_ + i) Variant();
    built_ = i + 1;
    ptrs_[i] = const_cast<Variant*>(v);  // CallArgs hands out Variant&; builtins only read
  }
  Variant& temp(std::size_t i) { return temps_[i]; }
  Variant* tempStorage() const { return temps_; }
  Variant* ptr(std::size_t i) const { return ptrs_[i]; }
  Variant* const* ptrs() const { return ptrs_; }
  std::size_t size() const { return n_; }
  CallArgs args() const { return CallArgs(std::span<Variant* const>(ptrs_, n_)); }

 private:
  static constexpr std::size_t kInline = 8;
  std::size_t n_;
  std::size_t built_ = 0;
  Variant* temps_;
  Variant** ptrs_;
  alignas(Variant) unsigned char inlineTemps_[kInline * sizeof(Variant)];
  Variant* inlinePtrs_[kInline];
  std::unique_ptr<Variant*[]> heapPtrs_;
};

class Runtime : public std::enable_shared_from_this<Runtime> {
 public:
  Runtime();
  ~Runtime();

  // Calls a compiled procedure; args are pointers to the caller's variables or temporaries.
  // temps, when given, is the caller's run of temporaries (ArgBuffer::tempStorage): a by-value
  // parameter takes its argument's temporary over instead of copying it.
  Variant call(Procedure& p, ScriptObject* me, Variant* const* args, std::size_t n,
               Variant* temps = nullptr);
  // Calls p with its arguments put straight into its frame, as compiled calls do:
  // fill(vals, refs) sets each parameter (a by-value one, or the value a by-reference one gets
  // when it names no variable, in vals[i]; refs[i] for every one), then the body runs, then
  // done(vals) sees the arguments while they are still there (to store elements back).
  template <class Fill, class Done>
  Variant callInFrame(Procedure& p, ScriptObject* me, Fill&& fill, Done&& done);
  // Counts calls and backward jumps; looks at the clock now and then.
  void tick() {
    if (--budget_ == 0) checkTime();
  }
  void startTimer(std::int32_t timeoutMs);
  void stopTimer();

  ErrObject& err() { return *err_; }
  Ref<Object> errRef() const;
  // Records a caught error in Err, as On Error Resume Next does.
  void recordError(const AutomationError& e);

  std::vector<std::unique_ptr<ModuleState>> modules;
  std::vector<Ref<Object>> memberObjects;  // named objects whose members are globals
  HostClasses hostClasses;                 // what New makes when no script class has the name
  std::int32_t depth = 0;
  std::int32_t timerNesting = 0;
  // The Rnd state and the locale of this engine's scripts.
  ScriptState state;

 private:
  void checkTime();
  Ref<ErrObject> err_;
  std::int32_t budget_ = 1024;
  bool timed_ = false;
  std::chrono::steady_clock::time_point deadline_;
};

// Keeps the count of nested script calls while one runs.
struct CallDepth {
  explicit CallDepth(Runtime& r) : rt(r) {
    // The stack is looked at only once calls nest: shallow code never comes near its end.
    if (rt.depth >= 64) checkDeep();
    ++rt.depth;
  }
  ~CallDepth() { --rt.depth; }
  CallDepth(const CallDepth&) = delete;
  CallDepth& operator=(const CallDepth&) = delete;
  Runtime& rt;

 private:
  void checkDeep() const;  // raises "Out of stack space"
};

// A call's frame: the procedure's slots (parameters, locals, the return value, temporaries),
// all Empty at first, and its parameters' references (never more than slots); on the stack for
// all but large procedures. The frame is set up before the arguments are evaluated into it.
// With kSmall the caller has made sure the slots fit on the stack (fitsInline): the frame then
// neither allocates nor tests for it, which keeps the commonest calls short.
template <bool kSmall = false>
class CallFrame {
 public:
  static constexpr std::size_t kInline = 8;
  static std::size_t slotsOf(const Procedure& p) {
    return static_cast<std::size_t>(p.numSlots + p.numTemps);
  }
  static bool fitsInline(const Procedure& p) { return slotsOf(p) <= kInline; }

  // The first `built` slots are the caller's to build (or fillFrom) before the frame ends.
  [[gnu::always_inline]] CallFrame(Runtime& rt, Procedure& p, ScriptObject* me,
                                   std::size_t built = 0)
      : n_(slotsOf(p)), f_(frameFor(rt, p, me)) {
    fillFrom(built);
  }
  [[gnu::always_inline]] ~CallFrame() {
    // Held in locals: a release the loop makes cannot change them.
    Variant* const vals = f_.vals;
    const std::size_t n = n_;
    for (Variant *v = vals, *end = vals + n; v != end; ++v) v->~Variant();
    if constexpr (!kSmall) {
      if (n > kInline) [[unlikely]] {
        ::operator delete(vals);
      }
    }
  }
  CallFrame(const CallFrame&) = delete;
  CallFrame& operator=(const CallFrame&) = delete;
  // Builds the slots from `first` on Empty.
  [[gnu::always_inline]] void fillFrom(std::size_t first) {
    for (Variant *v = f_.vals + first, *end = f_.vals + n_; v != end; ++v) new (v) Variant();
  }
  Variant* vals() const { return f_.vals; }
  Variant** refs() const { return f_.refs; }
  // Runs the body once the parameters are set, counting the call's depth and time; a
  // Function's result is left in vals()[retSlot].
  [[gnu::always_inline]] void run() {
    CallDepth depthGuard(*f_.rt);
    f_.rt->tick();
    f_.proc->body.run(f_);
  }

 private:
  // The frame with its storage, every field written once (n_ is set).
  [[gnu::always_inline]] Frame frameFor(Runtime& rt, Procedure& p, ScriptObject* me) {
    Variant* vals = reinterpret_cast<Variant*>(inlineVals_);
    Variant** refs = inlineRefs_;
    if constexpr (!kSmall) {
      if (n_ > kInline) [[unlikely]] {
        // One block for both runs, the references after the slots.
        vals = static_cast<Variant*>(::operator new(n_*(sizeof(Variant) + sizeof(Variant*))));
        refs = reinterpret_cast<Variant**>(vals + n_);
      }
    }
    return Frame{&rt, p.module, &p, me, vals, refs, vals + p.numSlots, false};
  }
  std::size_t n_;
  Frame f_;
  alignas(Variant) unsigned char inlineVals_[kInline * sizeof(Variant)];
  Variant* inlineRefs_[kInline];
};

template <class Fill, class Done>
[[gnu::always_inline]] inline Variant Runtime::callInFrame(Procedure& p, ScriptObject* me,
                                                           Fill&& fill, Done&& done) {
  // The arguments are evaluated before anything of the call is checked, as a call through an
  // argument list does.
  CallFrame<> frame(*this, p, me);
  Variant* vals = frame.vals();
  fill(vals, frame.refs());
  frame.run();
  done(vals);
  return p.retSlot >= 0 ? std::move(vals[p.retSlot]) : Variant();
}

// Reading a module-level name that only has Property Let/Set raises 450 as VBScript does.
Procedure& readableProc(GlobalEntry& e);
// Assigns through a module-level Property Let/Set; args end with the value.
void assignThroughProperty(Runtime& rt, GlobalEntry& e, bool isSet, Variant* const* args,
                           std::size_t n);

// The deepest script call nesting before "Out of stack space".
inline constexpr std::int32_t kMaxCallDepth = 3000;

// The Visual Basic number of an automation error: 0x800A00nn HRESULTs become nn.
std::int32_t vbErrorNumber(std::int32_t number);
// Converts whatever a statement threw into a VmError placed at pos (unless placed already).
// Rethrows ScriptAbort untouched.
[[noreturn]] void rethrowPlaced(SourcePos pos);
VmError currentAsVmError(SourcePos pos);

[[noreturn]] void raiseNamed(std::int32_t number, std::u16string_view name);

// The dimension 0 To upper of Dim and ReDim: -1 gives an empty one, less raises 9, and an upper
// bound whose count would not fit raises 7 (no array holds 2^31 elements).
ArrayBound boundFromZeroTo(std::int32_t upper);

}  // namespace vantorel::vbs
