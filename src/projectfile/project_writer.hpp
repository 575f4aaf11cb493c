#pragma once
// The project file writer: the whole model, the extensions' settings, custom scripts, menus and
// phrases as XML in the project file's fixed layout, written element by element as the model is
// walked (no document of the whole project is held), and AGP.Save around it.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/automation/variant.hpp"
#include "platform/xml/markup_writer.hpp"

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
// "|" for CR LF in FldTagValues and ChartYFldName, "1"/"0" for Boolean settings. A name given
// twice keeps its first place and takes the later value.
void WritePropertiesAsAttributes(xml::StartTag& element, const AGProperties& props,
                                 NonBooleanValue nonBoolean = NonBooleanValue::Refused);

// The setting's value as its attribute text.
std::u16string settingAttributeText(std::u16string_view name, std::u16string_view dataType,
                                    const Variant& value);

// Writes the project's markup, from the declaration on (no byte-order mark). Raises when the
// model cannot be walked (a broken sequence number, a Boolean setting that is no Boolean, a value
// no XML file can hold); what was written by then is incomplete and must be thrown away.
// projectFolder is the folder of the file being written, where a database file may be named
// relative to it.
void writeProjectMarkup(AGP& project, xml::MarkupWriter& out,
                        std::u16string_view projectFolder = {});

// AGP.Save: the component check, the UTF-8 file written beside the old one as the model is
// walked, a numbered backup of the old file once the new one is whole, then the replacement.
// Failures while walking or writing raise; the old file and its backups stay as they were.
void saveProject(AGP& project, const std::u16string& projFile);

}  // namespace vantorel
