#include "platform/vbscript/engine.hpp"

#include "platform/automation/number_locale.hpp"
#include "platform/vbscript/compiler/compiler.hpp"
#include "platform/vbscript/parser.hpp"
#include "platform/vbscript/vm/code_object.hpp"
#include "platform/vbscript/vm/err_object.hpp"

namespace vantorel::vbs {

namespace {

constexpr char16_t kGlobalModuleName[] = u"Global";
// What a script past its time limit reports: the operation was aborted (E_ABORT).
constexpr std::int32_t kScriptTimeout = static_cast<std::int32_t>(0x80004004u);

// Puts the engine's locale in force on the thread while one of its operations runs, as number
// and date text follow the thread's; the caller's comes back after. Within a nested operation of
// the same engine, what a SetLocale there chose stays in force for the outer one.
class LocaleInForce {
 public:
  explicit LocaleInForce(Runtime& rt) noexcept : rt_(rt), previous_(currentNumberLocale().lcid) {
    setCurrentLcid(rt.state.lcid);
  }
  ~LocaleInForce() { setCurrentLcid(rt_.timerNesting > 1 ? rt_.state.lcid : previous_); }
  LocaleInForce(const LocaleInForce&) = delete;
  LocaleInForce& operator=(const LocaleInForce&) = delete;

 private:
  Runtime& rt_;
  std::int32_t previous_;
};

}  // namespace

class ModuleImpl {
 public:
  ModuleImpl(EngineImpl* e, ModuleState* s) : engine(e), state(s), name(s->name) {}
  EngineImpl* engine;
  ModuleState* state;  // null once the engine dropped the module
  std::u16string name;
};

class EngineImpl {
 public:
  EngineImpl() { start(); }
  ~EngineImpl() { stop(); }

  void start() {
    rt = std::make_shared<Runtime>();
    rt->hostClasses = hostClasses;
    auto g = std::make_unique<ModuleState>();
    g->name = kGlobalModuleName;
    g->rt = rt.get();
    g->globalModule = g.get();
    ModuleState* gs = g.get();
    rt->modules.push_back(std::move(g));
    if (!globalHandle) {
      globalHandle = std::make_unique<ModuleImpl>(this, gs);
    } else {
      globalHandle->state = gs;
    }
    handles.clear();
  }

  void stop() {
    // Objects held by globals are released while the runtime still runs their Class_Terminate.
    if (rt) {
      // Terminate code may define names: walk a copy of the entry list, not the maps.
      std::vector<GlobalEntry*> all;
      for (auto& m : rt->modules) {
        for (auto& [name, e] : m->entries) all.push_back(e.get());
      }
      for (GlobalEntry* e : all) {
        Variant released = std::move(e->value);
        e->value.clear();
      }
      rt->memberObjects.clear();
    }
    for (auto& h : handles) h->state = nullptr;
    for (auto& h : handles) retired.push_back(std::move(h));
    handles.clear();
    if (globalHandle) globalHandle->state = nullptr;
    rt.reset();
  }

  static Module handle(ModuleImpl* m) { return Module(m); }

  ModuleState& stateOf(ModuleImpl* m) {
    if (!m->state) raiseVbError(vberr::kObjectRequired);
    return *m->state;
  }

  // Runs one operation: the timer, and every failure turned into a ScriptException that is
  // also kept as lastError.
  template <class Fn>
  auto guarded(Fn&& fn) -> decltype(fn()) {
    lastError = {};
    std::shared_ptr<Runtime> keep = rt;
    keep->startTimer(timeout);
    struct Stop {
      Runtime& rt;
      ~Stop() { rt.stopTimer(); }
    } stopTimer{*keep};
    const LocaleInForce locale(*keep);
    try {
      return fn();
    } catch (const ScriptException& e) {
      lastError = e.error();
      throw;
    } catch (const ScriptAbort& abort) {
      lastError.number = abort.interrupted() ? vberr::kUserInterrupt : kScriptTimeout;
      lastError.source = kRuntimeErrorSource;
      lastError.description = abort.interrupted()
                                  ? std::u16string(vberr::errorText(vberr::kUserInterrupt))
                                  : u"The script ran past its time limit";
      throw ScriptException(lastError);
    } catch (...) {
      VmError e = currentAsVmError({});
      lastError.number = e.number();
      lastError.source = e.source();
      lastError.description = e.hostDescription();
      lastError.line = e.pos.line;
      lastError.column = e.pos.column;
      throw ScriptException(lastError);
    }
  }

  void runTop(ModuleState& m, CompiledUnit& unit) {
    std::vector<Variant> temps(static_cast<std::size_t>(unit.numTemps) + 1);
    Frame f;
    f.rt = rt.get();
    f.module = &m;
    f.temps = temps.data();
    unit.top.run(f);
  }

  std::shared_ptr<Runtime> rt;
  std::unique_ptr<ModuleImpl> globalHandle;
  std::vector<std::unique_ptr<ModuleImpl>> handles;  // named modules
  std::vector<std::unique_ptr<ModuleImpl>> retired;  // handles of dropped modules stay valid
  ScriptError lastError;
  std::int32_t timeout = -1;
  HostClasses hostClasses;  // given to each runtime start() makes
};

const std::u16string& Module::name() const {
  return impl_->name;
}

void Module::addCode(std::u16string_view code) {
  EngineImpl& e = *impl_->engine;
  e.guarded([&] {
    ModuleState& m = e.stateOf(impl_);
    Program program = parseProgram(code);
    std::unique_ptr<CompiledUnit> unit = compileUnit(m, program, {}, code);
    unit->commit();
    e.runTop(m, *unit);
    return 0;
  });
}

void Module::executeStatement(std::u16string_view statement) {
  addCode(statement);
}

Variant Module::eval(std::u16string_view expression) {
  EngineImpl& e = *impl_->engine;
  return e.guarded([&] {
    ModuleState& m = e.stateOf(impl_);
    ExprPtr parsed = parseExpression(expression);
    std::int32_t numTemps = 0;
    ExprNodePtr node = compileExpression(m, *parsed, {}, numTemps);
    std::vector<Variant> temps(static_cast<std::size_t>(numTemps) + 1);
    Frame f;
    f.rt = e.rt.get();
    f.module = &m;
    f.temps = temps.data();
    try {
      return node->eval(f);
    } catch (...) {
      rethrowPlaced(SourcePos{1, 1});
    }
  });
}

Variant Module::run(std::u16string_view procedure, std::span<const Variant> args) {
  EngineImpl& e = *impl_->engine;
  return e.guarded([&] {
    ModuleState& m = e.stateOf(impl_);
    GlobalEntry* entry = m.find(procedure);
    if ((!entry || entry->kind != EntryKind::Procedure || !entry->proc) && m.globalModule != &m) {
      entry = m.globalModule->find(procedure);
    }
    if (!entry || entry->kind != EntryKind::Procedure || !entry->proc) {
      ScriptError err;
      err.number = vberr::kSubOrFunctionNotDefined;
      err.source = kRuntimeErrorSource;
      err.description = vbErrorDescription(vberr::kSubOrFunctionNotDefined);
      throw ScriptException(std::move(err));
    }
    std::vector<Variant> copies(args.begin(), args.end());
    std::vector<Variant*> ptrs;
    for (Variant& v : copies) ptrs.push_back(&v);
    return e.rt->call(*entry->proc, nullptr, ptrs.data(), ptrs.size());
  });
}

std::vector<ProcedureInfo> Module::procedures() const {
  if (!impl_->state) return {};
  return impl_->state->procInfos;
}

Ref<Object> Module::codeObject() {
  ModuleState& m = impl_->engine->stateOf(impl_);
  return makeRef<CodeObject>(impl_->engine->rt->weak_from_this(), &m);
}

Engine::Engine() : impl_(std::make_unique<EngineImpl>()) {}
Engine::~Engine() = default;

void Engine::reset() {
  impl_->stop();
  impl_->start();
  impl_->lastError = {};
}

void Engine::setTimeout(std::int32_t milliseconds) {
  impl_->timeout = milliseconds;
}
std::int32_t Engine::timeout() const {
  return impl_->timeout;
}

void Engine::addObject(std::u16string_view name, Ref<Object> object, bool addMembers) {
  GlobalEntry& e = impl_->rt->modules.front()->entry(name);
  e.kind = EntryKind::Object;
  e.value = Variant(object);
  ++impl_->rt->modules.front()->generation;
  if (addMembers && object) impl_->rt->memberObjects.push_back(object);
}

void Engine::addClass(std::u16string_view name, std::function<Ref<Object>()> make) {
  impl_->hostClasses.emplace_back(std::u16string(name), make);
  impl_->rt->hostClasses.emplace_back(std::u16string(name), std::move(make));
}

Module Engine::globalModule() {
  return EngineImpl::handle(impl_->globalHandle.get());
}

Module Engine::addModule(std::u16string_view name) {
  if (findModule(name)) {
    ScriptError err;
    err.number = vberr::kSubOrFunctionNotDefined;
    err.source = kRuntimeErrorSource;
    err.description = u"Module already exists: " + std::u16string(name);
    impl_->lastError = err;
    throw ScriptException(std::move(err));
  }
  auto s = std::make_unique<ModuleState>();
  s->name = std::u16string(name);
  s->rt = impl_->rt.get();
  s->globalModule = impl_->rt->modules.front().get();
  ModuleState* state = s.get();
  impl_->rt->modules.push_back(std::move(s));
  impl_->handles.push_back(std::make_unique<ModuleImpl>(impl_.get(), state));
  return EngineImpl::handle(impl_->handles.back().get());
}

std::optional<Module> Engine::findModule(std::u16string_view name) {
  if (equalsNoCase(name, kGlobalModuleName)) return globalModule();
  for (auto& h : impl_->handles) {
    if (equalsNoCase(h->name, name)) return EngineImpl::handle(h.get());
  }
  return std::nullopt;
}

std::vector<Module> Engine::modules() {
  std::vector<Module> out{globalModule()};
  for (auto& h : impl_->handles) out.push_back(EngineImpl::handle(h.get()));
  return out;
}

const ScriptError& Engine::lastError() const {
  return impl_->lastError;
}
void Engine::clearError() {
  impl_->lastError = {};
}

}  // namespace vantorel::vbs
