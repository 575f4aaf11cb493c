#include "engine_classes.hpp"

#include "agp/agp_classes.hpp"
#include "fields/field_classes.hpp"
#include "generator/generator_classes.hpp"
#include "foundation/foundation_classes.hpp"
#include "model/model_classes.hpp"
#include "platform/automation/class_factory.hpp"
#include "project/language.hpp"
#include "project/master_details.hpp"
#include "project/menus.hpp"
#include "templates/script_host_classes.hpp"
#include "templates/template_classes.hpp"

namespace vantorel::cli {

void registerEngineClasses() {
  ClassFactory& factory = ClassFactory::instance();
  registerFoundationClasses(factory);
  registerProjectLanguageClasses(factory);
  registerProjectLinkClasses(factory);
  registerProjectMenuClasses(factory);
  registerFieldClasses(factory);
  registerModelClasses(factory);
  registerAgpClasses(factory);
  registerTemplateClasses(factory);
  registerScriptHostClasses(factory);
  registerGeneratorClasses(factory);
}

}  // namespace vantorel::cli
