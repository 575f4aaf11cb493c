#pragma once
// The enabled extensions' share of a generation: the stamps of the files of each unpacked
// extension, and the merge of its controls and sessions into the template's controls. The
// merge changes the controls in memory only; no control file is written.
#include <string>

#include "platform/automation/expected.hpp"
#include "platform/automation/ref.hpp"

namespace vantorel {

class GenerationRun;

class AGPControl;
class AGPControls;

// False when an extension of that name is not installed, or a stamped file of it changed; a
// missing or unloadable control file counts as unchanged.
bool ExtFilesUnchanged(GenerationRun& run, const std::u16string& name);
// Records the stamps ExtFilesUnchanged compares.
void CacheExtFiles(GenerationRun& run, const std::u16string& name);

// Loads the extension's control file and applies its controls to TemplateControls by their
// CtrlAction ("add", "change", "delete"; anything else is ignored). Fails when the extension or
// its control file is missing (kControlFileUnloadable, without a text) or the file does not load
// (the loader's failure).
Expected<> MergeExtControls(GenerationRun& run, const std::u16string& name);
// Applies the extension control's sessions to the template control by their SessAction.
void MergeCtrlSessions(AGPControl& templateControl, const AGPControl& extensionControl);

}  // namespace vantorel
