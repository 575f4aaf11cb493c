#include "extensions/extension_setup.hpp"

#include "agp/agp.hpp"
#include "agp/extension_hooks.hpp"
#include "extensions/code_base.hpp"
#include "extensions/custom_scripts.hpp"
#include "extensions/extension_operations.hpp"
#include "extensions/extensions.hpp"
#include "foundation/foundation_classes.hpp"

namespace vantorel {

namespace {

// Unloading the database: every extension and every custom script goes, the last first, so no
// sequence number is renumbered on the way.
void deleteAll(AGP& /*proj*/) {
  AGPExtensions& extensions = SharedExtensions();
  while (extensions.count() > 0) {
    if (!extensions.remove(Variant(extensions.at(static_cast<std::size_t>(extensions.count() - 1)).name()))) break;
  }
  AGPCustomScripts& scripts = SharedCustomScripts();
  while (scripts.count() > 0) {
    if (!scripts.remove(scripts.at(static_cast<std::size_t>(scripts.count() - 1)).keys())) break;
  }
}

}  // namespace

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

void installExtensionOperations() noexcept {
  installExtensionSeams();

  ExtensionHooks& hooks = extensionHooks();
  hooks.loadExtensions = &LoadExtensions;
  hooks.applyToTable = &ApplyExtensionsToTable;
  hooks.applyToChart = &ApplyExtensionsToChart;
  hooks.applyToField = &ApplyExtensionsToField;
  hooks.copyChart = &CopyChartToExtensions;
  hooks.deleteAll = &deleteAll;
}

}  // namespace vantorel
