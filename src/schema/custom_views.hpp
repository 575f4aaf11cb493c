#pragma once
// Custom views: tables of the model whose columns come from a query the user typed. The project
// object's entries that add one, give its fields their sources, and turn one into an ordinary
// view once the database holds that view.
#include <string>

#include "fields/field.hpp"

namespace vantorel {

class AGP;

// The connection string custom-view queries run on: the Access provider and file, the ODBC data
// source, or the stored connection string; "" without a database.
std::u16string CustomViewConnStr(AGP& project);

// Adds the custom view sTableName over the query sSQL; with bCopyFields each field whose source
// column is a field of a loaded table takes that field's synchronised settings. The outcome is
// in LastErrorText.
void LoadCustomView(AGP& project, const std::u16string& sTableName, const std::u16string& sSQL,
                    bool bCopyFields);

// The field's source text "table.column" (each possibly quoted) resolved against the model: when
// both exist, FldSourceTable and FldSourceField take the model's names.
void SetCustomViewFieldSources(AGP& project, AGPField& fld);

// The custom view SourceName becomes the view TargetName of the database, whose columns must be
// the custom view's fields (in any order). True when changed; a refusal changes nothing.
bool ChangeCustomViewToView(AGP& project, const std::u16string& SourceName,
                            const std::u16string& TargetName);

}  // namespace vantorel
