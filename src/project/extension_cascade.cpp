#include "project/extension_cascade.hpp"

namespace vantorel {

namespace {

ExtensionCascade* handler() noexcept {
  return Installed<ExtensionCascade>::get();
}

}  // namespace

void ExtRenameTable(std::u16string_view oldName, std::u16string_view newName) {
  if (ExtensionCascade* h = handler()) h->renameTable(oldName, newName);
}

void ExtDeleteTable(std::u16string_view name) {
  if (ExtensionCascade* h = handler()) h->deleteTable(name);
}

void ExtRenameChart(std::u16string_view table, std::u16string_view oldName,
                    std::u16string_view newName) {
  if (ExtensionCascade* h = handler()) h->renameChart(table, oldName, newName);
}

void ExtDeleteChart(std::u16string_view table, std::u16string_view chart) {
  if (ExtensionCascade* h = handler()) h->deleteChart(table, chart);
}

void ExtRenameField(std::u16string_view table, std::u16string_view oldName,
                    std::u16string_view newName) {
  if (ExtensionCascade* h = handler()) h->renameField(table, oldName, newName);
}

void ExtDeleteField(std::u16string_view table, std::u16string_view field) {
  if (ExtensionCascade* h = handler()) h->deleteField(table, field);
}

bool CustomScriptsChange(std::u16string_view oldName, std::u16string_view newName) {
  if (oldName.empty() || newName.empty()) return false;
  ExtensionCascade* h = handler();
  return h && h->changeCustomScripts(oldName, newName);
}

}  // namespace vantorel
