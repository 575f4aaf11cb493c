#pragma once
// The lists of output files a generation would write (the project's ControlList and each
// table's), rebuilt by the check pass, and the user's choices of single files, kept in the
// project settings "OtherGenList" and each table's TblGenList as "id=1,id=0".
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/automation/variant.hpp"

namespace vantorel {

class GenerationRun;

class AGP;
class AGControlItem;
class AGPTable;

// Empties the project list and the list of every listed table (TblGen on or TblSysGenUnits
// set); CurrentTable is left empty.
void ClearControlItems(GenerationRun& run);
// Adds an item for every control that would write a file: "table" and "report" controls into
// the lists of the listed tables they apply to, the project-level types into the project list;
// "function", "folder" and "field" controls get none. Then re-applies the saved choices.
void UpdateControlItems(GenerationRun& run);
void ApplyOtherGenList(AGP& proj);
// ItemGen from the first entry that begins with ItemId "=" (case counts): on when "1" follows.
// No entry, or no entries at all, leaves the item as it is.
void SetItemGenFromList(AGControlItem& item, const std::vector<std::u16string>& entries);
void SaveOtherGenList(AGP& proj);
// The pages a generation pass will write: every switched-on item once per control of its id
// whose condition holds (tables with their own current table).
Variant CountGenItems(GenerationRun& run);

// Whether a "table" or "report" control applies to table: TblGen on, or ctrlId listed in
// TblSysGenUnits (exactly); the type must suit TblType; then the table becomes current in the
// database and the condition decides.
bool IsCtrlForTable(GenerationRun& run, AGPTable& table, std::u16string_view ctrlId,
                    std::u16string_view ctrlType, std::u16string_view cond);
// TblGen on or TblSysGenUnits not empty.
bool IsListedTable(AGPTable& table);

}  // namespace vantorel
