#pragma once
// The site's folders, named by the "folder" controls of the template set, made before any
// output is written.
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

}  // namespace vantorel
