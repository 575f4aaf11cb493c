#pragma once
// The host's one call that generates the whole site (AGP.GenScript), and the dry run before it
// (AGP.GenCheck), with the steps both share: the template's name, the progress phases and the
// script engine of a run.
#include <string>
#include <string_view>
#include <vector>

#include "platform/automation/expected.hpp"

namespace vantorel {

class GenerationRun;
struct SiteOutput;

class AGP;

// AGP.GenScript: a fatal failure or the user's cancel raises -1, the outcome is in ProjErr.
void generateSite(AGP& proj);
// AGP.GenCheck: how many outputs exist already (0 when it ends early, the reason in ProjErr).
std::int16_t checkSite(AGP& proj);

// The same runs for a host that lists the site's files: the generation notes every file it
// writes (or reaches and leaves as it is), the check every file the generation would write
// with the choices of the output lists applied.
void generateSiteNoting(AGP& proj, std::vector<SiteOutput>& outputs);
std::int16_t checkSiteListing(AGP& proj, std::vector<SiteOutput>& outputs);

// A new ScriptEngine, initialised with the project's objects. An engine that cannot start is
// released with the progress display closed. A failure becomes the run's.
void InitScriptEngine(GenerationRun& run);

// TemplateName from the project's "Template" setting (the part after its last separator), and
// the setting itself as the file its working folders belong to. A name without a folder
// ("sample.zip") is a set shipped in the data folder's "templates" folder, so that a project
// made with the bundled set keeps working when the program or its checkout moves. Returns the
// file.
std::u16string TakeTemplateName(AGP& proj);
// The message that stops a run whose template file is missing, naming it.
std::u16string TemplateNotFound(std::u16string_view templateFile);

// The message that stops a run whose template set could not be unpacked, with the cause.
std::u16string TemplateUnpackFailure(const std::u16string& cause);

// Gives the project's "HeaderLogo" the user's default when it is empty.
void DefaultHeaderLogo(AGP& proj);

// Opens a progress phase captioned ProductTitle followed by phaseText. variant 2 shows
// "Please wait..." as its status; keep stores the caption in StatusText.
void OpenPhase(GenerationRun& run, std::u16string_view phaseText, int variant, bool keep);

// Loads the run's template controls from file and says the loader's warnings on standard error.
// A failure carries the message for its kind, with the loader's reason (file, line, column, what
// is wrong) on the next line.
Expected<> LoadRunControls(GenerationRun& run, const std::u16string& file);

// The result of comparing the template's version with the engine's: 0 usable, 1 newer,
// -1 older. Versions are "major.minor"; only the major numbers count when either lacks a minor.
int CompareTemplateVersion(std::u16string_view templateVersion, std::u16string_view shortVersion);

// What AGP.GenScript and AGP.GenCheck run: each makes the run its steps share.
void generateSite(AGP& proj);
std::int16_t checkSite(AGP& proj);

}  // namespace vantorel
