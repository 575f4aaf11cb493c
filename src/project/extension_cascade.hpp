#pragma once
// How renames and deletions of tables, charts and fields reach the extensions' per-object
// settings and the custom scripts. Those live in a later subsystem, which installs its
// handler here; while none is installed, no extension settings or custom scripts exist, so
// there is nothing to carry along.
#include <string_view>

#include "foundation/installed.hpp"

namespace vantorel {

class ExtensionCascade {
 public:
  virtual ~ExtensionCascade() = default;
  virtual void renameTable(std::u16string_view oldName, std::u16string_view newName) = 0;
  virtual void deleteTable(std::u16string_view name) = 0;
  virtual void renameChart(std::u16string_view table, std::u16string_view oldName,
                           std::u16string_view newName) = 0;
  virtual void deleteChart(std::u16string_view table, std::u16string_view chart) = 0;
  virtual void renameField(std::u16string_view table, std::u16string_view oldName,
                           std::u16string_view newName) = 0;
  virtual void deleteField(std::u16string_view table, std::u16string_view field) = 0;
  // The custom scripts keyed to a table follow its new name.
  virtual bool changeCustomScripts(std::u16string_view oldName, std::u16string_view newName) = 0;
};

// Installed<ExtensionCascade> at start-up by the extension subsystem; the calls below do nothing
// while none is installed.
void ExtRenameTable(std::u16string_view oldName, std::u16string_view newName);
void ExtDeleteTable(std::u16string_view name);
void ExtRenameChart(std::u16string_view table, std::u16string_view oldName,
                    std::u16string_view newName);
void ExtDeleteChart(std::u16string_view table, std::u16string_view chart);
void ExtRenameField(std::u16string_view table, std::u16string_view oldName,
                    std::u16string_view newName);
void ExtDeleteField(std::u16string_view table, std::u16string_view field);
// False when either name is empty or nothing is installed to change.
bool CustomScriptsChange(std::u16string_view oldName, std::u16string_view newName);

}  // namespace vantorel
