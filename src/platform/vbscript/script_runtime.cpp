#include "platform/vbscript/script_runtime.hpp"

#include "platform/vbscript/control/script_control.hpp"
#include "platform/vbscript/objects/file_objects.hpp"
#include "platform/vbscript/objects/script_objects.hpp"

namespace vantorel::vbs {

void registerScriptRuntime(ClassFactory& factory) {
  registerScriptControl(factory);
  registerScriptObjects(factory);
  registerFileObjects(factory);
}

}  // namespace vantorel::vbs
