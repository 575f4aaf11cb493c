#pragma once
// What the layers that load, synchronise and unload the model ask of the extensions layer,
// which sits above them: register the installed extensions after a database load, give a new
// table, chart or field its extension settings, copy a chart's, and drop every extension and
// custom script when the database is unloaded. Installed<ExtensionHooks> once at start-up;
// while none is installed the calls below do nothing, as on an engine without extensions.
#include <string>

#include "foundation/installed.hpp"

namespace vantorel {

class AGP;

class ExtensionHooks {
 public:
  virtual ~ExtensionHooks() = default;
  virtual void loadExtensions(AGP& project) = 0;
  virtual void applyToTable(AGP& project, const std::u16string& table) = 0;
  virtual void applyToChart(AGP& project, const std::u16string& table,
                            const std::u16string& chart) = 0;
  virtual void applyToField(AGP& project, const std::u16string& table,
                            const std::u16string& field) = 0;
  virtual void copyChart(AGP& project, const std::u16string& table, const std::u16string& oldChart,
                         const std::u16string& newChart) = 0;
  virtual void deleteAll(AGP& project) = 0;
};

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
