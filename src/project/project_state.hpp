#pragma once
// The per-thread strings and values the whole engine relies on: product and version strings,
// the registry keys of the per-user configuration, the working folders and the values the
// loaders leave for the model. Each exists once per thread, created on first use; the key
// strings start out as the project object's start-up forms them, so objects made without a
// project object still find their defaults.
#include <cstdint>
#include <string>

#include "platform/automation/variant.hpp"

namespace vantorel {

// Text of the last failure; empty means none.
std::u16string& LastErrorText();

std::u16string& ProductName();
std::u16string& ProductTitle();
Variant& TechName();
std::u16string& ProjectFileExt();
std::u16string& ProductCode();
std::u16string& ShortVersion();
std::u16string& TemplateVersion();
std::u16string& TemplateName();

// Registry key paths below HKEY_CURRENT_USER.
std::u16string& SettingsKey();
std::u16string& GeneralKey();
std::u16string& ProjectKey();
std::u16string& DatabaseKey();
std::u16string& TableKey();
std::u16string& ChartKey();
std::u16string& TrendlineKey();
std::u16string& FieldKey();
std::u16string& AdvancedFiltersKey();
std::u16string& ExtensionsKey();
std::u16string& OdbcIniKey();
std::u16string& OdbcInstIniKey();

// Forms the product, version and key strings from the product's own identity, as every
// project object's start-up does.
void formProductStrings();

std::u16string& MyDocumentsFolder();
std::u16string& UserDataFolder();
std::u16string& BackupFolder();
std::u16string& ReportFolder();
std::u16string& ExtensionsFolder();
// The last destination written through the project's Destination property.
std::u16string& DestinationFolder();

// The date format in force for new date fields, copied from the project's defaultDateFormat.
std::int16_t& CurrentDateFormat();
// The loaded database's SecDefault, the security of each newly set-up table.
std::u16string& CurrentSecDefault();
// The loaded database's DBMS name.
std::u16string& CurrentDbmsName();
std::int16_t& CurrentRepeatColumns();

}  // namespace vantorel
