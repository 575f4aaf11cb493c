#include "extensions/extension_setup.hpp"

#include "extensions/code_base.hpp"
#include "extensions/custom_scripts.hpp"
#include "extensions/extension_operations.hpp"
#include "extensions/extensions.hpp"
#include "foundation/foundation_classes.hpp"

namespace vantorel {

void registerExtensionClasses(ClassFactory& factory) {
  registerEngineClass<AGPExtensions>(factory, u"AGPExtensions");
  registerEngineClass<AGPExtension>(factory, u"AGPExtension");
  registerEngineClass<AGPExtProj>(factory, u"AGPExtProj");
  registerEngineClass<AGPExtDbs>(factory, u"AGPExtDbs");
  registerEngineClass<AGPExtDb>(factory, u"AGPExtDb");
  registerEngineClass<AGPExtTables>(factory, u"AGPExtTables");
  registerEngineClass<AGPExtTable>(factory, u"AGPExtTable");
  registerEngineClass<AGPExtCharts>(factory, u"AGPExtCharts");
  registerEngineClass<AGPExtChart>(factory, u"AGPExtChart");
  registerEngineClass<AGPExtFields>(factory, u"AGPExtFields");
  registerEngineClass<AGPExtField>(factory, u"AGPExtField");
  registerEngineClass<AGPCustomScripts>(factory, u"AGPCustomScripts");
  registerEngineClass<AGPCustomScript>(factory, u"AGPCustomScript");
  registerEngineClass<AGPCodeBase>(factory, u"AGPCodeBase");
}

}  // namespace vantorel
