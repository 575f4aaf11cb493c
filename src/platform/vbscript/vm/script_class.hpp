#pragma once
// Classes written in script: their member tables and their instances. An instance is an
// ordinary automation object, so C++ code and other engines reach its public members late-bound;
// its last release runs Class_Terminate at once.
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/automation/class_info.hpp"
#include "platform/vbscript/vm/runtime.hpp"

namespace vantorel::vbs {

struct ClassMember {
  enum class Kind : std::uint8_t { Field, Method, Property };
  std::u16string name;
  Kind kind = Kind::Field;
  bool isPublic = true;
  std::int32_t slot = -1;  // Field
  Procedure* method = nullptr;
  Procedure* get = nullptr;
  Procedure* let = nullptr;
  Procedure* set = nullptr;
};

struct FieldInit {
  std::int32_t slot;
  std::vector<std::int32_t> upperBounds;  // fixed array field
  bool dynamicArray = false;
};

struct ClassDef {
  explicit ClassDef(std::u16string n) : name(n), info(std::move(n)) {}
  std::u16string name;
  ClassInfo info;  // public members only
  std::vector<ClassMember> members;
  std::unordered_map<std::u16string, std::int32_t, NoCaseHash, NoCaseEqual> byName;
  std::vector<std::int32_t> byDispId;  // ClassInfo id - 1 -> index in members
  std::int32_t defaultMember = -1;
  std::int32_t numFields = 0;
  std::vector<FieldInit> fieldInits;
  std::unordered_map<std::u16string, Variant, NoCaseHash, NoCaseEqual> consts;
  Procedure* initialize = nullptr;
  Procedure* terminate = nullptr;
  std::weak_ptr<Runtime> runtime;
  ModuleState* module = nullptr;
  std::vector<std::unique_ptr<Procedure>> procs;

  const ClassMember* findMember(std::u16string_view n) const {
    auto it = byName.find(n);
    return it == byName.end() ? nullptr : &members[static_cast<std::size_t>(it->second)];
  }
  // Creates an instance and runs Class_Initialize.
  Ref<ScriptObject> instantiate(const std::shared_ptr<ClassDef>& self);
};

class ScriptObject final : public Object {
 public:
  static Ref<ScriptObject> create(std::shared_ptr<ClassDef> cls);
  static void operator delete(void* p) { ::operator delete(p); }

  const ClassInfo& classInfo() const noexcept override { return cls_->info; }
  std::u16string typeName() const override { return cls_->name; }
  Variant invoke(DispId id, std::uint8_t flags, CallArgs args) override;

  ClassDef& cls() const noexcept { return *cls_; }
  // Methods read fields on every statement: found from the object's own address, no load.
  Variant& field(std::int32_t slot) noexcept { return fields()[slot]; }

 protected:
  void terminate() noexcept override;
  void detachHeld(std::vector<Variant>& held) noexcept override;

 private:
  explicit ScriptObject(std::shared_ptr<ClassDef> cls);
  ~ScriptObject() override;
  // The fields are allocated right after the object (see create).
  Variant* fields() noexcept { return reinterpret_cast<Variant*>(this + 1); }
  std::shared_ptr<ClassDef> cls_;
};

static_assert(sizeof(ScriptObject) % alignof(Variant) == 0, "fields follow the object aligned");

// Reaches a member, public or private, with the access the flags ask for; for Let and Set the
// value is the last argument.
Variant invokeScriptMember(Runtime& rt, ScriptObject& obj, const ClassMember& m, std::uint8_t flags,
                           Variant* const* args, std::size_t n, Variant* temps = nullptr);

// Reads or writes through an array or an object's default member, as `x(1)` and `x(1) = v` do.
Variant indexValue(const Variant& base, CallArgs args);
void assignIndexed(Variant& base, CallArgs args, Variant value, bool isSet);
// The value Let stores: objects give their default value.
Variant letValue(Variant v);

}  // namespace vantorel::vbs
