#pragma once
// The current user's registry keys the foundation reads, below HKEY_CURRENT_USER.
#include <string>

namespace vantorel {

// "Software\<product name>\<major.minor>", e.g. "Software\Vantorel\4.0".
std::u16string productRegRoot();
// productRegRoot() & "\Settings"; holds "ConfigFile", the path of the custom settings file.
std::u16string settingsKey();

}  // namespace vantorel
