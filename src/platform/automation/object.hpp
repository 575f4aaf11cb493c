#pragma once
// The base of every automation object: an intrusive reference count whose last release runs
// the object's terminate logic at once (scripts rely on Class_Terminate timing), and late-bound
// access to members through the class's member table. Releasing a long chain of objects takes
// bounded stack, whatever the classes hold their references in.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "platform/automation/ref.hpp"
#include "platform/automation/variant.hpp"

namespace vantorel {

class ClassInfo;
class Enumerator;

using DispId = std::int32_t;
constexpr DispId kDispIdUnknown = -1;
constexpr DispId kDispIdValue = 0;  // the default member
constexpr DispId kDispIdNewEnum = -4;

// How a member is reached; a call such as `x = o.m(1)` asks for Method | Get.
enum InvokeFlags : std::uint8_t {
  kInvokeMethod = 1,
  kInvokeGet = 2,
  kInvokeLet = 4,
  kInvokeSet = 8,
};

// Positional arguments of one call. Each points at the caller's variable when passed by
// reference, else at a temporary. For Let and Set the assigned value is the last argument.
class CallArgs {
 public:
  CallArgs() noexcept = default;
  CallArgs(std::span<Variant* const> args) noexcept : args_(args) {}
  std::size_t size() const noexcept { return args_.size(); }
  Variant& operator[](std::size_t i) const noexcept { return *args_[i]; }
  // Present and not an omitted optional argument.
  bool has(std::size_t i) const noexcept { return i < args_.size() && !args_[i]->isMissing(); }
  CallArgs first(std::size_t n) const noexcept { return CallArgs(args_.first(n)); }
  Variant& last() const noexcept { return *args_.back(); }

 private:
  std::span<Variant* const> args_;
};

class Object {
 public:
  Object() = default;
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;

  void addRef() noexcept { ++refs_; }
  // Inline while others still hold the object, as a call's keep-alive reference does.
  void release() noexcept {
    if (refs_ > 1) {
      --refs_;
      return;
    }
    releaseLast();
  }
  // release() for Variant::releaseInto: on the last release the values the object holds go to
  // `held` instead of being released from its destructor.
  void releaseInto(std::vector<Variant>& held) noexcept;
  std::size_t refCount() const noexcept { return refs_; }

  // The member table of the object's class.
  virtual const ClassInfo& classInfo() const noexcept = 0;
  // What TypeName() shows.
  virtual std::u16string typeName() const;

  DispId memberId(std::u16string_view name) const noexcept;
  // Raises 438 for an unknown member or a kind of access the member lacks.
  virtual Variant invoke(DispId id, std::uint8_t flags, CallArgs args);
  // The enumerator For Each walks; raises 451 when the object is not a collection.
  virtual Ref<Enumerator> newEnum();

  // Late-bound conveniences by name, for C++ callers and tests.
  Variant get(std::u16string_view name, std::initializer_list<Variant> args = {});
  void let(std::u16string_view name, const Variant& value);
  void set(std::u16string_view name, const Variant& value);
  Variant call(std::u16string_view name, std::initializer_list<Variant> args = {});

 protected:
  virtual ~Object() = default;
  // Runs once, when the last reference is released, before the object is destroyed.
  virtual void terminate() noexcept {}
  // After terminate, right before destruction: moves the objects and arrays the object holds
  // into `held`, so that releasing them does not nest inside this object's destructor.
  virtual void detachHeld(std::vector<Variant>& /*held*/) noexcept {}

 private:
  // Deletes the object, terminated and unreferenced. A destructor that releases the last
  // reference to another object nests a deletion; past a fixed depth the nested one waits for
  // the outermost deletion on the thread, so that a chain of any length takes bounded stack.
  void destroy() noexcept;
  // The last release: terminate, then delete.
  void releaseLast() noexcept;

  union {
    std::size_t refs_ = 0;
    Object* nextWaiting_;  // while its deletion waits, with no reference left
  };
};

// Invokes by name with explicit flags; raises 438 when the object has no such member.
Variant invokeByName(Object& object, std::u16string_view name, std::uint8_t flags, CallArgs args);

}  // namespace vantorel
