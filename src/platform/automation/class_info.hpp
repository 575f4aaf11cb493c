#pragma once
// One member table per class: names (case-insensitive) to dispatch ids, and per member the
// get, let, set and method entry points. Callers resolve a name once and keep the id.
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/automation/object.hpp"
#include "platform/text/case_fold.hpp"

namespace vantorel {

using MethodThunk = Variant (*)(Object& self, CallArgs args);
using EnumThunk = Ref<Enumerator> (*)(Object& self);
// One entry point serving many members, told apart by the member's slot (a settings catalog row).
using SlotThunk = Variant (*)(Object& self, CallArgs args, std::uint32_t slot);

struct MemberInfo {
  std::u16string name;
  DispId id = kDispIdUnknown;
  MethodThunk method = nullptr;
  MethodThunk get = nullptr;    // index arguments only
  MethodThunk let = nullptr;    // index arguments, then the value
  MethodThunk set = nullptr;    // index arguments, then the object
  SlotThunk slotGet = nullptr;  // used when get is null
  SlotThunk slotLet = nullptr;  // used when let and set are null
  std::uint32_t slot = 0;
};

class ClassInfo {
 public:
  explicit ClassInfo(std::u16string name) : name_(std::move(name)) {}
  // Builds the table at once; a class's classInfo() makes it through describeClass below.
  template <class Define>
  ClassInfo(std::u16string name, Define&& define) : name_(std::move(name)) {
    define(*this);
  }
  ClassInfo(const ClassInfo&) = delete;
  ClassInfo& operator=(const ClassInfo&) = delete;

  const std::u16string& name() const noexcept { return name_; }

  // kDispIdUnknown when the class has no such member.
  DispId find(std::u16string_view name) const noexcept;
  // kDispIdValue reaches the default member; nullptr when there is none.
  const MemberInfo* member(DispId id) const noexcept;
  const std::vector<MemberInfo>& members() const noexcept { return members_; }

  // Returns the member of that name, created on first mention with the next id.
  MemberInfo& define(std::u16string_view name);
  void setDefaultMember(std::u16string_view name);
  // Also defines the member "_NewEnum" that hands out the enumerator.
  void setEnumerator(EnumThunk thunk) noexcept;
  EnumThunk enumerator() const noexcept { return enumerator_; }

  Variant invoke(Object& self, DispId id, std::uint8_t flags, CallArgs args) const;

 private:
  std::u16string name_;
  std::vector<MemberInfo> members_;  // id = index + 1
  std::unordered_map<std::u16string, DispId, NoCaseHash, NoCaseEqual> byName_;
  DispId defaultId_ = kDispIdUnknown;
  EnumThunk enumerator_ = nullptr;
};

// Makes a class's description on its first use, out of line. A classInfo() written
//   static const ClassInfo& info = describeClass(u"Name", [](ClassInfo& c) {...});
// is a test and a load on every call; a ClassInfo built in place there made every call save
// the registers its construction needs. Each lambda has its own type, so each class its own.
template <class Define>
[[gnu::noinline]] const ClassInfo& describeClass(std::u16string_view name, Define&& define) {
  static const ClassInfo info{std::u16string(name), std::forward<Define>(define)};
  return info;
}

// The member table of a class whose script members are described above its own layer: the
// automation surface builds every such table once, at the engine's set-up, and installs it
// here, so that a member may call any layer while the class itself links only with those below
// it. Before that the class answers with a table that has its name and no members.
template <class T>
class MemberTable {
 public:
  // The name is taken as a pointer and measured only while no table is installed: a member
  // call asks for the table each time, and measuring it there cost more than the look-up.
  static const ClassInfo& get(const char16_t* name) noexcept {
    if (const ClassInfo* table = table_.load(std::memory_order_acquire)) [[likely]] {
      return *table;
    }
    return describeClass(std::u16string_view(name), [](ClassInfo&) {});
  }
  static void install(const ClassInfo& table) noexcept {
    table_.store(&table, std::memory_order_release);
  }

 private:
  static inline std::atomic<const ClassInfo*> table_{nullptr};
};

}  // namespace vantorel
