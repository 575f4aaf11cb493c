#pragma once
// The work around the compiled templates: unpacking a zipped template set into its working
// folder, loading the script files of "function" controls, and carrying out the "copy"
// controls, which copy files and folders of the template set into the site.
#include <cstdint>
#include <string>

#include "generator/step_outcome.hpp"
#include "platform/automation/expected.hpp"

namespace vantorel {

class GenerationRun;

class AGP;
class AGPControl;

// Makes the working folders of the template set (or extension) named by templateFile
// (InitAppFolders) and returns the one it lives in ("" for an empty templateFile) with the
// outcome of the unpack. With unpack,
// the archive is unpacked there when the folder has no "control.xml" or force is set; a file
// standing where the folder should be is first renamed aside with a time stamp. An extension's
// folder is emptied first, so that nothing an earlier archive held stands in for what this one
// lacks. A failed unpack shows up later as a missing control file; the caller names its cause.
struct PreparedTemplates {
  std::u16string folder;
  Expected<> unpacked;
};
PreparedTemplates PrepareTemplatePath(const std::u16string& templateFile,
                                      const std::u16string& folderKind, bool forExtension,
                                      bool unpack, bool force);

// The folder a control's input files are read from: the extension's working folder for a
// control an extension added, else the template folder; "" when an extension name would lead
// outside the extensions folder. Also sets CurrentSourceFolder.
std::u16string SetControlSourceFolder(const AGPControl& control);

// Adds the script file of every "function" control whose condition holds to ScriptEngine; the
// first missing file or script error stops it and is its failure.
Expected<> CheckScriptFiles(GenerationRun& run);

// Carries out the "copy" controls whose condition holds and whose item is on. The check pass
// copies nothing and counts how many targets exist; the generation pass counts 0. A missing
// source file, a source or target name that leads outside its folder, or a failed copy stops
// it with count 1 and its message; a missing source folder only gives the message and the
// next control runs (a later message replaces it).
StepOutcome CopyTemplateFiles(GenerationRun& run, bool checkOnly);

}  // namespace vantorel
