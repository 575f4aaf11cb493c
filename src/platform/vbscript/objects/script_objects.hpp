#pragma once
// The script runtime objects scripts create by ProgID or with `New RegExp`.
#include "platform/automation/class_factory.hpp"
#include "platform/automation/object.hpp"

namespace vantorel::vbs {

// Registers "VBScript.RegExp" and "Scripting.Dictionary".
void registerScriptObjects(ClassFactory& factory);

// What `New RegExp` creates.
Ref<Object> createRegExp();
Ref<Object> createDictionary();

}  // namespace vantorel::vbs
