#pragma once
// The project object's functions over the custom scripts and the code base.
#include <string>

#include "platform/automation/variant.hpp"

namespace vantorel {

class AGP;

// True when the script exists afterwards with that code; an existing one gets the new code.
bool AddCustomScript(AGP& proj, const std::u16string& scriptType, const std::u16string& codeType,
                     const std::u16string& name, const std::u16string& ctrlId,
                     const std::u16string& l1Key, const std::u16string& l2Key,
                     const std::u16string& code);
// False, creating nothing, when no script matches.
bool UpdateCustomScript(AGP& proj, const std::u16string& scriptType,
                        const std::u16string& codeType, const std::u16string& name,
                        const std::u16string& ctrlId, const std::u16string& l1Key,
                        const std::u16string& l2Key, const std::u16string& code);
bool DeleteCustomScript(AGP& proj, const std::u16string& scriptType,
                        const std::u16string& codeType, const std::u16string& name,
                        const std::u16string& ctrlId, const std::u16string& l1Key,
                        const Variant& l2Key);

// From the code base as last loaded.
std::u16string LoadCodeBase(AGP& proj, const std::u16string& scriptType,
                            const std::u16string& codeType, const std::u16string& name);
bool CodeBaseExist(AGP& proj, const std::u16string& scriptType, const std::u16string& codeType,
                   const std::u16string& name);
// Loads the user's code base file afresh and returns the snippet laid out as generated output;
// "" when the user names no code base file or it does not exist.
std::u16string LoadCustomScriptCode(AGP& proj, const std::u16string& scriptType,
                                    const std::u16string& codeType, const std::u16string& name,
                                    const std::u16string& ctrlId, const std::u16string& l1Key,
                                    const std::u16string& l2Key);

}  // namespace vantorel
