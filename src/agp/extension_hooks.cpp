#include "agp/extension_hooks.hpp"

namespace vantorel::hooks {

void LoadExtensions(AGP& project) {
  if (ExtensionHooks* h = Installed<ExtensionHooks>::get()) h->loadExtensions(project);
}

void ApplyExtensionsToTable(AGP& project, const std::u16string& sTableName) {
  if (ExtensionHooks* h = Installed<ExtensionHooks>::get()) h->applyToTable(project, sTableName);
}

void ApplyExtensionsToChart(AGP& project, const std::u16string& sTableName,
                            const std::u16string& sChartName) {
  if (ExtensionHooks* h = Installed<ExtensionHooks>::get()) {
    h->applyToChart(project, sTableName, sChartName);
  }
}

void ApplyExtensionsToField(AGP& project, const std::u16string& sTableName,
                            const std::u16string& sFieldName) {
  if (ExtensionHooks* h = Installed<ExtensionHooks>::get()) {
    h->applyToField(project, sTableName, sFieldName);
  }
}

void CopyChartToExtensions(AGP& project, const std::u16string& sTableName,
                           const std::u16string& sOldChartName,
                           const std::u16string& sNewChartName) {
  if (ExtensionHooks* h = Installed<ExtensionHooks>::get()) {
    h->copyChart(project, sTableName, sOldChartName, sNewChartName);
  }
}

void DeleteExtensionsAndCustomScripts(AGP& project) {
  if (ExtensionHooks* h = Installed<ExtensionHooks>::get()) h->deleteAll(project);
}

}  // namespace vantorel::hooks
