#pragma once
// What the layers that load, synchronise and unload the model ask of the extensions layer,
// which sits above them: register the installed extensions after a database load, give a new
// table, chart or field its extension settings, copy a chart's, and drop every extension and
// custom script when the database is unloaded. Installed once at start-up; a hook that is not
// installed does nothing, as on an engine without extensions.
#include <string>

namespace vantorel {

class AGP;

struct ExtensionHooks {
  void (*loadExtensions)(AGP& project) = nullptr;
  void (*applyToTable)(AGP& project, const std::u16string& table) = nullptr;
  void (*applyToChart)(AGP& project, const std::u16string& table,
                       const std::u16string& chart) = nullptr;
  void (*applyToField)(AGP& project, const std::u16string& table,
                       const std::u16string& field) = nullptr;
  void (*copyChart)(AGP& project, const std::u16string& table, const std::u16string& oldChart,
                    const std::u16string& newChart) = nullptr;
  void (*deleteAll)(AGP& project) = nullptr;
};

// Process-wide, filled at start-up.
ExtensionHooks& extensionHooks() noexcept;

// The calls the loading and unloading entries make, through the hooks; each does nothing without
// its hook.
namespace hooks {
void LoadExtensions(AGP& project);
void ApplyExtensionsToTable(AGP& project, const std::u16string& sTableName);
void ApplyExtensionsToChart(AGP& project, const std::u16string& sTableName,
                            const std::u16string& sChartName);
void ApplyExtensionsToField(AGP& project, const std::u16string& sTableName,
                            const std::u16string& sFieldName);
void CopyChartToExtensions(AGP& project, const std::u16string& sTableName,
                           const std::u16string& sOldChartName,
                           const std::u16string& sNewChartName);
void DeleteExtensionsAndCustomScripts(AGP& project);
}  // namespace hooks

}  // namespace vantorel
