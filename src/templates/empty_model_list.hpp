#pragma once
// The list scripts see as "EXTS" or "CUSTOMSCRIPTS" when the extension subsystem is not part
// of the engine: a collection that holds nothing and says so. Count is 0, every look-up gives
// Nothing (or False, or ""), and For Each visits nothing. Nothing can be added to it.
#include <cstdint>
#include <optional>
#include <string>

#include "foundation/installed.hpp"
#include "platform/automation/object.hpp"
#include "platform/automation/variant.hpp"

namespace vantorel {

class EmptyModelList final : public Object {
 public:
  // `typeName` is what TypeName() shows, e.g. "AGPExtensions".
  explicit EmptyModelList(std::u16string typeName) : typeName_(std::move(typeName)) {}
  const ClassInfo& classInfo() const noexcept override;
  std::u16string typeName() const override { return typeName_; }

  std::int32_t Count() const noexcept { return 0; }
  std::u16string curName() const { return {}; }
  Ref<Object> Seq(const Variant& index) const;
  Ref<Object> Item(const Variant& index) const;
  bool ExtensionExist(const Variant& name) const;
  Ref<Object> ScriptItem(const Variant& ScriptType, const Variant& CodeType, const Variant& Name,
                         std::optional<Variant> CtrlID, std::optional<Variant> L1Key,
                         std::optional<Variant> L2Key) const;
  Ref<Enumerator> newEnum() override;

 private:
  std::u16string typeName_;
};

// The thread's shared lists that the script host hands out as "EXTS" and "CUSTOMSCRIPTS". The
// extension subsystem, above this layer, installs them as Installed<ScriptLists> at start-up;
// while none is installed each is an empty list.
class ScriptLists {
 public:
  virtual ~ScriptLists() = default;
  virtual Ref<Object> extensions() = 0;
  virtual Ref<Object> customScripts() = 0;
};

Ref<Object> ScriptExtensionsObject();
Ref<Object> ScriptCustomScriptsObject();

}  // namespace vantorel
