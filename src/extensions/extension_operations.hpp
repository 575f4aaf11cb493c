#pragma once
// What the project object does with extensions: registering one (AddExtension) or every
// installed one (LoadExtensions), giving the loaded tables, charts and fields their settings
// entries under each declaration's condition, copying a chart's entries, following the model's
// renames and deletions, and removing an extension. None of it leaves a message in ProjErr.
#include <string>

#include "platform/automation/ref.hpp"
#include "platform/automation/variant.hpp"
#include "platform/xml/xml_document.hpp"

namespace vantorel {

class AGP;
class AGPExtension;
class AGPField;
class AGPTable;
class ExtensionDeclarations;

// False only for an empty name. Registers the extension, or refreshes the one of that name,
// enables it, and declares its settings at project level and, with a database, at database
// level and for every loaded table with its charts and fields.
bool AddExtension(AGP& proj, const std::u16string& name, const std::u16string& templateFile,
                  const std::u16string& xmlFile);
// The steps of AddExtension. Registering gives the extension its template and declaration
// file and enables it; nothing when the name is empty.
Ref<AGPExtension> RegisterExtension(const std::u16string& name, const std::u16string& templateFile,
                                    const std::u16string& xmlFile);
// The project level's settings and, with a database, the database level's, each when its
// condition holds.
void DeclareExtensionLevels(AGP& proj, AGPExtension& extension,
                            const ExtensionDeclarations& declarations);
// Every loaded table, with its charts and fields, that has no entry yet gets one.
void ExtendLoadedTables(AGP& proj, const std::u16string& extName,
                        const ExtensionDeclarations& declarations);
// Whether a declaration node's condition holds with that table and field current; the empty
// condition always holds, one that cannot be evaluated does not.
bool DeclarationHolds(AGP& proj, const xml::Node& node, const Ref<AGPTable>& table,
                      const Ref<AGPField>& field);

// The declared default of one setting, read from the declaration file; "" when any piece is
// missing.
Variant GetExtDefault(AGP& proj, const std::u16string& extName, const std::u16string& nodeType,
                      const std::u16string& attName);
// Registers every extension listed in the user's registry.
void LoadExtensions(AGP& proj);

// True only when a new entry was made.
bool AddExtendedTable(AGP& proj, const std::u16string& extName, const std::u16string& tblName,
                      const xml::Node& tblNode);
bool AddExtendedChart(AGP& proj, const std::u16string& extName, const std::u16string& tblName,
                      const std::u16string& chartName, const xml::Node& chartNode);
bool AddExtendedField(AGP& proj, const std::u16string& extName, const std::u16string& tblName,
                      const std::u16string& fldName, const xml::Node& fldNode);

// The model gained an object: every registered extension gives it its entries.
void ApplyExtensionsToTable(AGP& proj, const std::u16string& tableName);
void ApplyExtensionsToChart(AGP& proj, const std::u16string& tableName,
                            const std::u16string& chartName);
void ApplyExtensionsToField(AGP& proj, const std::u16string& tableName,
                            const std::u16string& fieldName);
// A copied chart gets the old chart's entry settings in every extension that has them.
void CopyChartToExtensions(AGP& proj, const std::u16string& tableName,
                           const std::u16string& oldChartName, const std::u16string& newChartName);

bool DeleteExtension(const std::u16string& name);

// The model renamed or deleted an object: every extension's entries follow.
void ExtensionsRenameTable(const std::u16string& oldName, const std::u16string& newName);
void ExtensionsDeleteTable(const std::u16string& name);
void ExtensionsRenameChart(const std::u16string& table, const std::u16string& oldName,
                           const std::u16string& newName);
void ExtensionsDeleteChart(const std::u16string& table, const std::u16string& chart);
void ExtensionsRenameField(const std::u16string& table, const std::u16string& oldName,
                           const std::u16string& newName);
void ExtensionsDeleteField(const std::u16string& table, const std::u16string& field);

}  // namespace vantorel
