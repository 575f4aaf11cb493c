#pragma once
// Compiles a control's template, or its sessions, into one VBScript function that returns the
// text of one output file. Literal template text goes into the array ztAr at the top of the
// function; code blocks stay as written; expression and phrase blocks append to ztSB.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/automation/expected.hpp"
#include "platform/automation/ref.hpp"

namespace vantorel {

class GenerationRun;

class AGPStringBuilder;
class AGP;
class AGPControl;
class AGPControls;

// The compiler's working texts, one set per run: the lines that fill ztAr, the translated
// statements, and the number of ztAr entries so far. Every compile starts them afresh.
struct TemplateCompileState {
  Ref<AGPStringBuilder> arrays;
  Ref<AGPStringBuilder> body;
  std::int32_t textCount = 0;

  // Creates the builders on first use and empties them.
  void reset();
  std::u16string arrayText() const;
  std::u16string bodyText() const;
};

// "ztEx" & CtrlID & CtrlTagExt with every "." replaced by "_".
std::u16string GetCtrlFuncName(const AGPControl& control);
// The compiled-template file of a control: TemplateCacheFolder "/" CtrlID CtrlTagExt ".tpl".
std::u16string GetTplFileName(const AGPControl& control);

// Compiles control (its sessions whose conditions hold, else its merged input files) and
// writes the function to compiledPath. A missing merged input or a malformed template block
// ends the run through RaiseGenError; for the latter, the text translated so far and the
// message are written to compiledPath instead, for the template's author to read. A failure
// the run went on after ends it the same way once a translation is due.
void BuildTemplateScript(GenerationRun& run, const AGPControl& control,
                         const std::u16string& compiledPath);

// Translates one piece of template text into the state's builders. A malformed block appends
// nothing and fails with its message (after the box a nested block shows).
Expected<> ParseToScript(TemplateCompileState& state, std::u16string_view text);

// Sets CurrentSourceFolder for the control's files (the extension's folder when extension is
// set) and returns the path of its input: the single file itself, or, for a list, a scratch
// file "~tmp.tpl" in the template cache folder holding the listed files back to back (missing
// ones skipped).
std::u16string WriteTempTemplate(std::u16string_view inputFiles, std::u16string_view extension);

// Fails, with the message naming the clashing controls, when two compiled controls (every type
// but "copy" and "folder") share a function name or a compiled file name (both compared without
// regard to case, as the script engine and the file system of the site see them).
Expected<> CheckCompiledNames(const AGPControls& controls);

}  // namespace vantorel
