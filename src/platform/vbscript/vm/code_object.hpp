#pragma once
// A module seen as an object: its global variables are properties, its procedures methods.
#include <memory>

#include "platform/automation/class_info.hpp"
#include "platform/vbscript/vm/runtime.hpp"

namespace vantorel::vbs {

class CodeObject final : public Object {
 public:
  CodeObject(std::weak_ptr<Runtime> rt, ModuleState* module)
      : rt_(std::move(rt)), module_(module), info_(u"Object") {}
  const ClassInfo& classInfo() const noexcept override;
  Variant invoke(DispId id, std::uint8_t flags, CallArgs args) override;

 private:
  std::weak_ptr<Runtime> rt_;
  ModuleState* module_;
  // Names are added as the module defines them; ids stay stable.
  mutable ClassInfo info_;
  mutable std::uint64_t seenGeneration_ = ~std::uint64_t{0};
};

}  // namespace vantorel::vbs
