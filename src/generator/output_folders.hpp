#pragma once
// The site's folders, named by the "folder" controls of the template set, made before any
// output is written.
#include <string>

#include "platform/automation/expected.hpp"

namespace vantorel {

class GenerationRun;

class AGP;
class AGPControls;

// Creates, with missing parents, the CtrlOFolder of every control of type "folder" (any case)
// below the destination or the application root. Controls without a folder are skipped; a
// folder that climbs out of its root ends the run (GetDestPath).
void CreateOutputFolders(AGP& proj, const AGPControls& controls);
// The same over the run's template controls.
void CreateOutputFolders(GenerationRun& run);
// Fails, with the message that one is missing, unless the root of every control's output folder
// is set. Asked before any folder is made, so that a run that cannot place all of its outputs
// makes none of them, and before the walk of a check, which would stop at the first such path.
Expected<> CheckOutputFolders(AGP& proj, const AGPControls& controls);

}  // namespace vantorel
