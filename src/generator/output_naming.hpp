#pragma once
// What each generated file is called: a control's own name, placed by the project's naming
// pattern around the table's and field's parts, with its extension; and which folder a control
// names through a "folder" control. The check pass and the generation pass call these alike,
// so both see the same names.
#include <string>
#include <string_view>

namespace vantorel {

class AGP;
class AGPControl;
class AGPControls;

// A project setting by name: "" or False when it is not declared or holds no usable value.
std::u16string projectSettingText(AGP& proj, std::u16string_view name);
bool projectSettingFlag(AGP& proj, std::u16string_view name);

// The file name of control's output for one unit: the project (tablePart and fieldPart empty),
// a table (its TblVar) or a field (the table's TblVar and the field's FldParm).
std::u16string GetOutputFileName(AGP& proj, const AGPControl& control,
                                 std::u16string_view tablePart, std::u16string_view fieldPart);

// ApplyNamePattern with the project's "OutputNameType", "OutputNameExt" and "OutputNameLCase".
std::u16string FormatOutputName(AGP& proj, std::u16string_view tablePart,
                                std::u16string_view fieldPart, std::u16string_view page);

// nameType (any case) "prefix", "infix" or "suffix" places nameWord before, between or after
// the unit's parts (table, "_", field) and the page; any other type places nothing.
std::u16string ApplyNamePattern(std::u16string_view tablePart, std::u16string_view fieldPart,
                                std::u16string_view page, std::u16string_view nameType,
                                std::u16string_view nameWord, bool lowerCase);

// The folder a control's output goes to: the folder control named by folderId when it is set,
// else defaultFolder. Callers pass CtrlOFolderID and CtrlOFolder.
std::u16string GetOutputFolder(const AGPControls& controls, std::u16string_view folderId,
                               std::u16string_view defaultFolder);
// The CtrlOFolder of the first "folder" control whose CtrlID is folderId (both any case); ""
// (the destination itself) when there is none.
std::u16string GetFolderById(const AGPControls& controls, std::u16string_view folderId);

}  // namespace vantorel
