#include "platform/vbscript/vm/runtime.hpp"

#include "platform/ui/interrupt.hpp"

#include <pthread.h>

#include <limits>
#include <new>

#include "platform/automation/safe_array.hpp"
#include "platform/vbscript/script_error.hpp"
#include "platform/vbscript/vm/err_object.hpp"
#include "platform/vbscript/vm/operator_nodes.hpp"
#include "platform/vbscript/vm/script_class.hpp"

namespace vantorel::vbs {

namespace {

// Below this much C++ stack left a script call fails with "Out of stack space", whatever the
// thread's stack size; it is what deeply nested expressions need.
constexpr std::size_t kStackReserve = 256 * 1024;

// The lowest usable address of the current thread's stack.
char* stackLimit() {
  thread_local char* limit = [] {
    pthread_attr_t attr;
    char* low = nullptr;
    if (pthread_getattr_np(pthread_self(), &attr) == 0) {
      void* addr = nullptr;
      std::size_t size = 0;
      if (pthread_attr_getstack(&attr, &addr, &size) == 0) low = static_cast<char*>(addr);
      pthread_attr_destroy(&attr);
    }
    return low;
  }();
  return limit;
}

bool stackLow() {
  char probe;
  char* limit = stackLimit();
  return limit && &probe - limit < static_cast<std::ptrdiff_t>(kStackReserve);
}

}  // namespace

void ExprNode::assign(Frame&, Variant, bool) {
  raiseVbError(vberr::kObjectRequired);
}

bool ExprNode::test(Frame& f) {
  return conditionTrue(eval(f));
}

void ExprNode::evalInto(Frame& f, Variant& dst) {
  Variant v = eval(f);
  if (v.isObject()) v = letValue(std::move(v));
  dst.swap(v);
}

GlobalEntry* ModuleState::find(std::u16string_view n) const {
  auto it = entries.find(n);
  return it == entries.end() ? nullptr : it->second.get();
}

GlobalEntry& ModuleState::entry(std::u16string_view n) {
  auto it = entries.find(n);
  if (it != entries.end()) return *it->second;
  auto e = std::make_unique<GlobalEntry>();
  e->name = std::u16string(n);
  GlobalEntry& ref = *e;
  entries.emplace(e->name, std::move(e));
  return ref;
}

GlobalEntry* ModuleState::findClass(std::u16string_view n) const {
  auto it = classEntries.find(n);
  return it == classEntries.end() ? nullptr : it->second.get();
}

GlobalEntry& ModuleState::classEntry(std::u16string_view n) {
  auto it = classEntries.find(n);
  if (it != classEntries.end()) return *it->second;
  auto e = std::make_unique<GlobalEntry>();
  e->name = std::u16string(n);
  GlobalEntry& ref = *e;
  classEntries.emplace(e->name, std::move(e));
  return ref;
}

Runtime::Runtime() : err_(makeRef<ErrObject>()) {}

Runtime::~Runtime() {
  // Values go before the code: an object a global holds may point into a module.
  for (auto& m : modules) {
    for (auto& [name, e] : m->entries) e->value.clear();
  }
  memberObjects.clear();
}

Ref<Object> Runtime::errRef() const {
  return Ref<Object>(err_.get());
}

void Runtime::recordError(const AutomationError& e) {
  err_->setFrom(e);
}

void CallDepth::checkDeep() const {
  if (rt.depth >= kMaxCallDepth || stackLow()) raiseVbError(vberr::kOutOfStackSpace);
}

Variant Runtime::call(Procedure& p, ScriptObject* me, Variant* const* args, std::size_t n,
                      Variant* temps) {
  if (n != p.numParams()) raiseVbError(vberr::kWrongArgumentCount);
  const auto fill = [&](Variant* vals, Variant** refs) {
    for (std::size_t i = 0; i < n; ++i) {
      if (!p.byVal[i]) {
        refs[i] = args[i];
        continue;
      }
      // The caller reads a by-value argument's temporary no more (only by-reference ones are
      // stored back), so it is taken over rather than copied.
      if (temps && args[i] == temps + i) {
        vals[i].swap(*args[i]);
      } else {
        vals[i] = *args[i];
      }
      // A by-value copy of a fixed array is the procedure's own, free to ReDim.
      if (vals[i].isArray() && vals[i].arrayValue().fixed())
        vals[i].arrayForWrite().setFixed(false);
      refs[i] = &vals[i];
    }
  };
  return callInFrame(p, me, fill, [](Variant*) {});
}

void Runtime::startTimer(std::int32_t timeoutMs) {
  if (timerNesting++ > 0) return;
  timed_ = timeoutMs >= 0;
  if (timed_) deadline_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  budget_ = 1024;
}

void Runtime::stopTimer() {
  if (--timerNesting == 0) timed_ = false;
}

void Runtime::checkTime() {
  budget_ = 1024;
  if (ui::interruptRequested()) throw ScriptAbort(true);
  if (timed_ && std::chrono::steady_clock::now() >= deadline_) throw ScriptAbort();
}

Procedure& readableProc(GlobalEntry& e) {
  if (!e.proc) raiseVbError(vberr::kWrongArgumentCount);
  return *e.proc;
}

void assignThroughProperty(Runtime& rt, GlobalEntry& e, bool isSet, Variant* const* args,
                           std::size_t n) {
  Procedure* p = isSet ? (e.set ? e.set : e.let) : (e.let ? e.let : e.set);
  if (!p) raiseNamed(vberr::kIllegalAssignment, e.name);
  rt.call(*p, nullptr, args, n);
}

std::int32_t vbErrorNumber(std::int32_t number) {
  const auto u = static_cast<std::uint32_t>(number);
  if ((u & 0xFFFF0000u) == 0x800A0000u) return static_cast<std::int32_t>(u & 0xFFFFu);
  // The system and automation HRESULTs that have a VB number of their own.
  struct Mapped {
    std::uint32_t hresult;
    std::int32_t number;
  };
  static constexpr Mapped kMapped[] = {
      {0x8007000Eu, vberr::kOutOfMemory},         {0x80070057u, vberr::kInvalidProcedureCall},
      {0x80070005u, vberr::kPermissionDenied},    {0x80070002u, vberr::kFileNotFound},
      {0x80070003u, vberr::kPathNotFound},        {0x80070050u, vberr::kFileAlreadyExists},
      {0x800700B7u, vberr::kFileAlreadyExists},   {0x80070070u, vberr::kDiskFull},
      {0x80004001u, vberr::kActionNotSupported},  {0x80004002u, vberr::kNoAutomationSupport},
      {0x80020003u, vberr::kNotSupported},        {0x80020006u, vberr::kNotSupported},
      {0x80020005u, vberr::kTypeMismatch},        {0x8002000Au, vberr::kOverflow},
      {0x8002000Bu, vberr::kSubscriptOutOfRange}, {0x8002000Du, vberr::kArrayFixedOrLocked},
      {0x8002000Eu, vberr::kWrongArgumentCount},  {0x8002000Fu, vberr::kArgumentNotOptional},
      {0x80020011u, vberr::kObjectNotCollection}, {0x80020012u, vberr::kDivisionByZero},
  };
  for (const Mapped& m : kMapped) {
    if (m.hresult == u) return m.number;
  }
  return number;
}

VmError currentAsVmError(SourcePos pos) {
  try {
    throw;
  } catch (const VmError& e) {
    if (e.pos.line != 0) return e;
    return VmError(e.number(), e.source(), e.description(), pos, e.name);
  } catch (const AutomationError& e) {
    std::int32_t number = vbErrorNumber(e.number());
    std::u16string description = e.description();
    if (description.empty()) description = vbErrorDescription(number);
    std::u16string source = e.source().empty() ? std::u16string(kRuntimeErrorSource) : e.source();
    return VmError(number, std::move(source), std::move(description), pos);
  } catch (const ScriptException& e) {
    const ScriptError& se = e.error();
    return VmError(se.number, se.source, se.description, pos);
  } catch (const std::bad_alloc&) {
    return VmError(vberr::kOutOfMemory, kRuntimeErrorSource,
                   vbErrorDescription(vberr::kOutOfMemory), pos);
  } catch (...) {
    return VmError(vberr::kInternalError, kRuntimeErrorSource,
                   vbErrorDescription(vberr::kInternalError), pos);
  }
}

void rethrowPlaced(SourcePos pos) {
  try {
    throw;
  } catch (const ScriptAbort&) {
    throw;
  } catch (...) {
    throw currentAsVmError(pos);
  }
}

void raiseNamed(std::int32_t number, std::u16string_view name) {
  throw VmError(number, std::u16string(kRuntimeErrorSource), vbErrorDescription(number),
                SourcePos{}, std::u16string(name));
}

ArrayBound boundFromZeroTo(std::int32_t upper) {
  if (upper < -1) raiseVbError(vberr::kSubscriptOutOfRange);
  if (upper == std::numeric_limits<std::int32_t>::max()) raiseVbError(vberr::kOutOfMemory);
  return ArrayBound{0, upper + 1};
}

std::u16string VmError::hostDescription() const {
  if (name.empty()) return description();
  return description() + u": '" + name + u"'";
}

}  // namespace vantorel::vbs
