#pragma once
// Writes a key tree as Windows registry export text (version 5.00), encoded as UTF-8.
#include <string>
#include <string_view>

#include "platform/registry/reg_key.hpp"

namespace vantorel::reg {

// rootName is the hive's full name ("HKEY_CURRENT_USER"). Every key that has values or no
// subkeys gets its own section, parents before children; a key with subkeys and no values is
// implied by its children's sections.
std::string formatRegText(const RegKey& root, std::u16string_view rootName);

}  // namespace vantorel::reg
