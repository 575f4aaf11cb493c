#pragma once
// Settings reached by name and by type: the GetV and SetV shared by the database, table, chart
// and field objects, and the typed read and write of a catalog row.
#include <string_view>

#include "foundation/properties.hpp"

namespace vantorel {

// The setting's value as text (Null reads as ""). A name the bag lacks is declared as a
// "String" setting (RegSave False, RegFormat 0, FileSave True, Sync True) holding "", and ""
// is returned.
Variant getSettingText(AGProperties& bag, std::u16string_view name);
// Stores value converted by the setting's declared type (ConvertSetting); a name the bag lacks
// is declared as GetV declares it and the value stored unconverted.
void setSettingConverted(AGProperties& bag, std::u16string_view name, const Variant& value);

// A catalog row's value in the row's type: a string, a Boolean, a 16- or 32-bit integer, a
// Single or a Double, by VBScript's conversions (so a stored text that is no number raises 13).
Variant readSetting(const AGProperties& bag, SettingSlot row);
// Converts value to the row's type and stores it.
void writeSetting(AGProperties& bag, SettingSlot row, const Variant& value);

}  // namespace vantorel
