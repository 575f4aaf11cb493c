#include "platform/vbscript/objects/script_objects.hpp"

#include "platform/vbscript/objects/dictionary.hpp"
#include "platform/vbscript/objects/reg_exp.hpp"

namespace vantorel::vbs {

void registerScriptObjects(ClassFactory& factory) {
  factory.registerClass(u"VBScript.RegExp", [] { return createRegExp(); });
  factory.registerClass(u"Scripting.Dictionary", [] { return createDictionary(); });
}

Ref<Object> createRegExp() {
  return makeRef<RegExp>();
}
Ref<Object> createDictionary() {
  return makeRef<Dictionary>();
}

}  // namespace vantorel::vbs
