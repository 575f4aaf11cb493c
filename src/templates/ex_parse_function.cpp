// AGP.BuildExParseFunction: one piece of template text run as a template of its own, for the
// project-level files whose settings may hold template blocks.
#include <string>

#include "agp/agp.hpp"
#include "foundation/project_context.hpp"
#include "foundation/reg_values.hpp"
#include "foundation/string_builder.hpp"
#include "foundation/value_conversion.hpp"
#include "model/database.hpp"
#include "platform/automation/variant_convert.hpp"
#include "project/advanced_filter.hpp"
#include "project/language.hpp"
#include "project/menus.hpp"
#include "templates/controls.hpp"
#include "templates/empty_model_list.hpp"
#include "templates/script_files.hpp"
#include "templates/script_host.hpp"
#include "templates/script_translation.hpp"
#include "templates/template_operations.hpp"

namespace vantorel {

namespace {

constexpr char16_t kExParse[] = u"ztExParse";

// Drops an expression engine made for one call, whatever way the call ends; the engine of a
// running generation is the run's to release.
struct OneCallEngine {
  Ref<Object>* holder = nullptr;
  ~OneCallEngine() {
    if (!holder) return;
    if (auto* engine = static_cast<AGScript*>(holder->get())) engine->Reset();
    *holder = nullptr;
  }
};

}  // namespace

ExParseResult runExParseFunction(AGP& proj, const std::u16string& text) {
  OneCallEngine guard;
  ScriptOutcome setUp;
  Ref<AGScript> engine(static_cast<AGScript*>(proj.exParseEngine().get()));
  if (!engine) {
    projectContext().scriptEngineTimeout =
        toLong(ConvertSetting(GetRegValue(Variant(u"HKCU"), Variant(projectContext().generalKey),
                                          Variant(u"ScriptEngineTimeout")),
                              Variant(u"Long")));
    engine = makeRef<AGScript>();
    if (!engine->IsInitialized()) return {{text, {}}, {}};
    SharedFilter().load();
    proj.exParseEngine() = engine;
    guard.holder = &proj.exParseEngine();
    // A text already there stops the loading after the system code, as a failure of its own does.
    const bool pending = !projectContext().lastErrorText.empty();
    setUp = engine->initialize(
        ScriptObjects{Ref<Object>(&proj), proj.DB(), projectTemplateControls(proj),
                      Ref<Object>(&SharedLanguage()), ScriptCustomScriptsObject(),
                      Ref<Object>(&SharedFilter()), ScriptExtensionsObject(),
                      Ref<Object>(&SharedMenus())},
        pending, &showScriptFileFailure);
  }
  // Builders of their own: the compiler's would still hold the last template compiled.
  Ref<AGPStringBuilder> arrays = makeRef<AGPStringBuilder>();
  Ref<AGPStringBuilder> body = makeRef<AGPStringBuilder>();
  std::int32_t count = 0;
  if (const auto error = templates::translateTemplateText(text, *arrays, *body, count)) {
    templates::showParseError(*error);
    return {{text, Failure{error->message}}, std::move(setUp)};
  }
  const std::u16string crLf = u"\r\n";
  const std::u16string function =
      u"Function " + std::u16string(kExParse) + u"()" + crLf +
      u"If bHandleTemplateError Then On Error Resume Next" + crLf + u"Dim ztAr(" +
      toString(Variant(count)) + u")" + crLf + u"Dim ztSB" + crLf +
      u"Set ztSB = New StringBuilder" + crLf + u"Dim SYSTEMFUNCTIONS" + crLf +
      u"Set SYSTEMFUNCTIONS = New cSystemFunctions" + crLf + toString(arrays->toString()) + crLf +
      toString(body->toString()) + crLf + kExParse + u" = ztSB.ToString()" + crLf +
      u"Set SYSTEMFUNCTIONS = Nothing" + crLf + u"End Function";
  return {engine->buildNewCode(kExParse, function, 0, projectContext().scriptEngineTimeout),
          std::move(setUp)};
}

std::u16string buildExParseFunction(AGP& proj, const std::u16string& text) {
  ExParseResult result = runExParseFunction(proj, text);
  // The run's failure tells more than the set-up's, which the run went on after.
  if (!result.run.outcome) {
    projectContext().lastErrorText = std::move(result.run.outcome.failure().text);
  } else if (!result.setUp) {
    projectContext().lastErrorText = std::move(result.setUp.failure().text);
  }
  return std::move(result.run.value);
}

}  // namespace vantorel
