#pragma once
// Small shared pieces of the project-level outputs: the item switch of the project's output
// list, setting values as text, the user's general options and the file name part of a path.
#include <string>
#include <string_view>

namespace vantorel {

class AGP;
class AGProperties;

// In the generation pass an output is made when the project's ControlList holds its id with
// ItemGen on, or does not hold the id at all.
bool IsOutputItemOn(AGP& proj, const std::u16string& id);

// The value of a declared setting as text; "" for an undeclared name, Empty, Null or a value
// without a text (an object, an array).
std::u16string settingValueText(const AGProperties& bag, std::u16string_view name);

// The current user's value of that name under GeneralKey as text; "" when it is missing.
std::u16string userGeneralText(std::u16string_view name);

// The text after the last "\" or "/"; all of path when it has neither.
std::u16string fileNamePart(std::u16string_view path);
// The text between double quotes, as messages name files and folders.
std::u16string inQuotes(std::u16string_view text);

}  // namespace vantorel
