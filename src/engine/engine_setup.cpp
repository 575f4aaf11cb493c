#include "engine/engine_setup.hpp"

#include <mutex>

#include "agp/agp_classes.hpp"
#include "extensions/extension_setup.hpp"
#include "fields/field_classes.hpp"
#include "foundation/foundation_classes.hpp"
#include "generator/generator_classes.hpp"
#include "model/model_classes.hpp"
#include "platform/automation/class_factory.hpp"
#include "platform/vbscript/script_runtime.hpp"
#include "project/language.hpp"
#include "project/master_details.hpp"
#include "project/menus.hpp"
#include "projectfile/project_file_operations.hpp"
#include "schema/schema_classes.hpp"
#include "surface/member_tables.hpp"
#include "templates/script_host_classes.hpp"
#include "templates/template_classes.hpp"

namespace vantorel {

void registerEngineClasses(ClassFactory& factory) {
  registerFoundationClasses(factory);
  registerProjectLanguageClasses(factory);
  registerProjectLinkClasses(factory);
  registerProjectMenuClasses(factory);
  registerFieldClasses(factory);
  registerModelClasses(factory);
  registerAgpClasses(factory);
  registerSchemaClasses(factory);
  registerTemplateClasses(factory);
  registerScriptHostClasses(factory);
  registerGeneratorClasses(factory);
  registerExtensionClasses(factory);
  // Template and host scripts create the script runtime's objects (Scripting.Dictionary,
  // VBScript.RegExp, Scripting.FileSystemObject) as they would on any Windows machine.
  vbs::registerScriptRuntime(factory);
}

void installEngineOperations() noexcept {
  installMemberTables();
  installExtensionSeams();
}

void setUpEngine() {
  static std::once_flag once;
  std::call_once(once, [] {
    registerEngineClasses(ClassFactory::instance());
    installEngineOperations();
  });
}

}  // namespace vantorel
