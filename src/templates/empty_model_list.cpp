#include "templates/empty_model_list.hpp"

#include <vector>

#include "platform/automation/class_info.hpp"
#include "platform/automation/enumerator.hpp"
#include "platform/automation/safe_array.hpp"

namespace vantorel {

const ClassInfo& EmptyModelList::classInfo() const noexcept {
  return MemberTable<EmptyModelList>::get(u"EmptyModelList");
}

Ref<Object> EmptyModelList::Seq(const Variant&) const {
  return nullptr;
}
Ref<Object> EmptyModelList::Item(const Variant&) const {
  return nullptr;
}
bool EmptyModelList::ExtensionExist(const Variant&) const {
  return false;
}
Ref<Object> EmptyModelList::ScriptItem(const Variant&, const Variant&, const Variant&,
                                       std::optional<Variant>, std::optional<Variant>,
                                       std::optional<Variant>) const {
  return nullptr;
}

Ref<Enumerator> EmptyModelList::newEnum() {
  return makeArrayEnumerator(Variant(SafeArray::fromValues(std::vector<Variant>{})));
}

Ref<Object> ScriptExtensionsObject() {
  if (ScriptLists* lists = Installed<ScriptLists>::get()) return lists->extensions();
  return makeRef<EmptyModelList>(u"AGPExtensions");
}

Ref<Object> ScriptCustomScriptsObject() {
  if (ScriptLists* lists = Installed<ScriptLists>::get()) return lists->customScripts();
  return makeRef<EmptyModelList>(u"AGPCustomScripts");
}

}  // namespace vantorel
