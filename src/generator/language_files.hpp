#pragma once
// The site's language files: the template set's language file of each language, stamped with
// the date, with the project's own phrases appended under a "project" element: the project's,
// each menu item's, and each table's with its charts and fields. A phrase is the project's
// translation for that language, else the current value of the setting it names; which settings
// become phrases is the user's choice, five comma-separated lists under GeneralKey.
#include <string>

#include "platform/automation/variant.hpp"
#include "platform/xml/xml_document.hpp"

namespace vantorel {

class GenerationRun;

class AGP;

// Writes the language file source into folder (a folder control's folder) below the site.
// Empty when source is empty or missing; in the check pass, lists the item (id, file name,
// remark) and returns whether the target exists; in the generation pass returns whether the
// item is on and, when it is, writes the file (UTF-8) and advances the page progress. A source
// that is not XML writes nothing. A target outside the site ends the run (GetDestPath).
Variant CreateLanguageFile(AGP& proj, const std::u16string& id, const std::u16string& status,
                           const std::u16string& remark, const std::u16string& source,
                           const std::u16string& folder, bool checkOnly);

// The phrases of the project, for the language languageId, appended to the loaded language
// document doc as CreateLanguageFile writes them; year, month and day stamp the root.
void AddProjectPhrases(AGP& proj, xml::Document& doc, const std::u16string& languageId, int year,
                       int month, int day);

}  // namespace vantorel
