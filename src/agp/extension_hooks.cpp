#include "agp/extension_hooks.hpp"

namespace vantorel {

ExtensionHooks& extensionHooks() noexcept {
  static ExtensionHooks hooks;
  return hooks;
}

namespace hooks {

void LoadExtensions(AGP& project) {
  if (const auto hook = extensionHooks().loadExtensions) hook(project);
}

void ApplyExtensionsToTable(AGP& project, const std::u16string& sTableName) {
  if (const auto hook = extensionHooks().applyToTable) hook(project, sTableName);
}

void ApplyExtensionsToChart(AGP& project, const std::u16string& sTableName,
                            const std::u16string& sChartName) {
  if (const auto hook = extensionHooks().applyToChart) hook(project, sTableName, sChartName);
}

void ApplyExtensionsToField(AGP& project, const std::u16string& sTableName,
                            const std::u16string& sFieldName) {
  if (const auto hook = extensionHooks().applyToField) hook(project, sTableName, sFieldName);
}

void CopyChartToExtensions(AGP& project, const std::u16string& sTableName,
                           const std::u16string& sOldChartName,
                           const std::u16string& sNewChartName) {
  if (const auto hook = extensionHooks().copyChart) {
    hook(project, sTableName, sOldChartName, sNewChartName);
  }
}

void DeleteExtensionsAndCustomScripts(AGP& project) {
  if (const auto hook = extensionHooks().deleteAll) hook(project);
}

}  // namespace hooks

}  // namespace vantorel
