#pragma once
// AGP.Save and AGP.Load as scripts and the host call them.
#include <string>

namespace vantorel {

class AGP;

// Writes the project file (UTF-8 XML) after a numbered backup of the old one. A failed
// component check is left in ProjErr; other failures raise, and the old file stays. A file
// another process holds for its own save is not written (70).
void saveProjectFile(AGP& project, const std::u16string& projFile);
// Reads a project file into the project object; the outcome is left in ProjErr, and what the
// user should hear of is shown.
void loadProjectFile(AGP& project, const std::u16string& projFile);

}  // namespace vantorel
