#pragma once
// The project file writer: the whole model, the extensions' settings, custom scripts, menus and
// phrases as one XML document in the project file's fixed layout, and AGP.Save around it.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/automation/variant.hpp"
#include "platform/xml/xml_document.hpp"

namespace vantorel {

class AGP;
class AGProperties;

// 1 when the value is not the empty text and converts to True, else 0. A text that converts to
// neither raises 13.
std::int16_t BoolToNum(const Variant& value);

// What becomes of a Boolean setting's value that is no Boolean: the model's typed setters never
// store one, so there it is a broken model and stops the save; an extension's setters store
// values as given, so there it is written as its text.
enum class NonBooleanValue { Refused, AsText };

// One attribute per FileSave setting of the bag, in the bag's order, by the settings rule:
// "|" for CR LF in FldTagValues and ChartYFldName, "1"/"0" for Boolean settings.
void WritePropertiesAsAttributes(xml::Node element, const AGProperties& props,
                                 NonBooleanValue nonBoolean = NonBooleanValue::Refused);

// The setting's value as its attribute text.
std::u16string settingAttributeText(std::u16string_view name, std::u16string_view dataType,
                                    const Variant& value);

// Builds the project's document. Raises when the model cannot be walked (a broken sequence
// number, a Boolean setting that is no Boolean); nothing is written then.
void buildProjectDocument(AGP& project, xml::Document& doc);

// AGP.Save: the component check, the document, a numbered backup of the old file and the
// UTF-8 file. Failures while building or writing raise; the old file stays.
void saveProject(AGP& project, const std::u16string& projFile);

}  // namespace vantorel
