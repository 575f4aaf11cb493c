#pragma once
// The classes a script can create by ProgID: the script control, the scripting runtime's
// Dictionary and FileSystemObject, regular expressions and ADODB.Stream.
#include "platform/automation/class_factory.hpp"

namespace vantorel::vbs {

void registerScriptRuntime(ClassFactory& factory);

}  // namespace vantorel::vbs
