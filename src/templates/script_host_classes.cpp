#include "templates/script_host_classes.hpp"

#include <string>

#include "foundation/foundation_classes.hpp"
#include "templates/script_host.hpp"
#include "templates/user_script.hpp"

namespace vantorel {

void registerScriptHostClasses(ClassFactory& factory) {
  registerEngineClass<AGScript>(factory, u"AGScript");
  registerEngineClass<AGUserScript>(factory, u"AGUserScript");
}

}  // namespace vantorel
