#pragma once
// AGScript: the script host of a generation. Three VBScript engines see the project's object
// model under nine fixed names: the main engine runs the system code, the user's code and the
// compiled templates; the check engine compiles each piece of system code and user code on its
// own first, so that an error names the file it is in; the validation engine holds only the
// validation code. Every compile or run error becomes one text, the call's failure, and the host
// stays usable: nothing a script does escapes as an exception. The members scripts and hosts call
// by name leave that text in LastErrorText; the engine calls the lowerCamelCase ones, which
// return it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/automation/expected.hpp"
#include "platform/automation/object.hpp"
#include "platform/automation/variant.hpp"
#include "platform/vbscript/control/script_control.hpp"
#include "templates/script_files.hpp"
#include "templates/user_script.hpp"

namespace vantorel {

class AGP;
class AGPControls;

// How a call into the scripts went: its failure carries the text for ProjErr.
using ScriptOutcome = Expected<>;

// The nine objects the scripts see, under their names.
struct ScriptObjects {
  Ref<Object> PROJ, DB, controls, Lang, customscripts, filter, EXTS, MenuList;
};

// A call into the scripts: its value, which stands even after a failure, and how it went.
template <class T>
struct ScriptResult {
  T value{};
  ScriptOutcome outcome;
};

class AGScript final : public Object {
 public:
  AGScript();
  ~AGScript() override;
  const ClassInfo& classInfo() const noexcept override;

  // Resets the engines, adds the nine objects (a Nothing among them is left out) and loads the
  // system code, then, while LastErrorText stays empty, the validation code and the user code.
  void Initialize(const Ref<Object>& PROJ, const Ref<Object>& DB, const Ref<Object>& controls,
                  const Ref<Object>& Lang, const Ref<Object>& customscripts,
                  const Ref<Object>& filter, const Ref<Object>& EXTS, const Ref<Object>& MenuList);
  bool IsInitialized() const noexcept { return static_cast<bool>(main_); }
  bool NonEnglishLocale() const noexcept { return nonEnglishLocale_; }
  // Drops code, modules and objects of all three engines; the compiled-code table and the list
  // of validation procedures stay.
  void Reset();
  void AddTemplateScript(const std::u16string& sFile);
  void AddUserCode(const std::u16string& sFile);
  bool ModuleExist(const std::u16string& sModule);
  bool UserModuleExist(const std::u16string& sModule);
  // False, running nothing, while LastErrorText holds a text.
  bool Validate();
  // Empty, running nothing, while LastErrorText holds a text.
  Variant RunModule(const std::u16string& module);
  // Compiles sScript into the main engine when sId is new or bInitType is 0, then runs the
  // procedure sId and returns its value as text. lTimeout is in milliseconds; 0 (no value
  // configured) gives the script control's default, -1 no limit.
  std::u16string BuildNewCode(const std::u16string& sId, const std::u16string& sScript,
                              std::int16_t bInitType, std::int32_t lTimeout);

  // What the members above do, for engine callers: the failure is returned, not reported, and
  // a script file that is not there goes to tell as it is read (the members show it).
  // With systemCodeOnly the validation code and the user code are not loaded.
  ScriptOutcome initialize(const ScriptObjects& objects, bool systemCodeOnly,
                           const ScriptFileNotice& tell);
  ScriptOutcome addTemplateScript(const std::u16string& file, const ScriptFileNotice& tell);
  ScriptOutcome addUserCode(const std::u16string& file, const ScriptFileNotice& tell);
  // Whether every validation procedure returned True; the first that did not stops it, with
  // the message it put into ProjErr, or a message naming it.
  ScriptResult<bool> validate();
  ScriptResult<Variant> runModule(const std::u16string& module);
  ScriptResult<std::u16string> buildNewCode(const std::u16string& id, const std::u16string& script,
                                            std::int16_t initType, std::int32_t timeout);

  // For engine callers and tests.
  AGUserScript& userScript() noexcept { return *scrpt_; }
  const std::vector<std::u16string>& validationProcedures() const noexcept {
    return validationProcedures_;
  }
  // How many times code was compiled through BuildNewCode.
  std::size_t compileCount() const noexcept { return compileCount_; }

 private:
  // The files named in the user's settings, read when the host is made.
  struct CodePaths {
    std::u16string sysCode, sysCodePrefix, sysCodeSuffix, userCode, validateCode;
  };

  void readLocaleFlag();
  ScriptOutcome loadUserCode(const ScriptFileNotice& tell);
  // Compiles text into the check engine's "$User" module and, when it compiles, into the main
  // engine; the module's procedure names go to SCRPT.
  ScriptOutcome addUserText(const std::u16string& text, const std::u16string& file);
  // The system code of Initialize (built in, or assembled from the list file).
  ScriptOutcome loadSystemCode(const ScriptFileNotice& tell);
  ScriptOutcome loadValidationCode(const ScriptFileNotice& tell);
  // Writes a diagnostic file into the project's output folder; a name holding a path keeps only
  // its last element, and a file that cannot be written is skipped.
  void writeDiagnostic(std::u16string_view name, std::u16string_view text) const;
  std::u16string diagnosticFolder() const;

  Ref<vbs::ScriptControl> main_;
  Ref<vbs::ScriptControl> check_;
  Ref<vbs::ScriptControl> validation_;
  Ref<AGUserScript> scrpt_;
  Ref<Object> project_;
  CodePaths paths_;
  std::u16string userCodeText_;
  std::vector<std::u16string> validationProcedures_;
  // The compiled-code table: the last script added under each id.
  std::unordered_map<std::u16string, std::u16string> compiled_;
  std::size_t compileCount_ = 0;
  bool nonEnglishLocale_ = false;
  Variant lastResult_;
};

// The text of a script error: ProductTitle, " (file)" when a file is
// named (its last path element), ": source (number)", ", line L" and ", column C" when known,
// CR LF, then "Description: ..." CR LF and "Text: ..." when they are not empty.
std::u16string scriptErrorText(const vbs::ScriptError& error, std::u16string_view file);

// The control list of the project's template set, which scripts see as "Controls"; a
// generation loads control.xml into it. Created empty on first use.
Ref<AGPControls> projectTemplateControls(AGP& proj);

}  // namespace vantorel
