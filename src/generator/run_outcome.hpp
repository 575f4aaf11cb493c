#pragma once
// The boundary of AGP.GenScript and AGP.GenCheck: the one place their outcome reaches ProjErr.
#include <string>
#include <type_traits>

#include "foundation/project_context.hpp"
#include "generator/generation_run.hpp"
#include "generator/run_end.hpp"

namespace vantorel {

// Runs the steps of one call on run, with ProjErr empty while they run, and then puts into
// ProjErr the message the run stopped with, else the failure it went on after, else nothing.
// What the steps return or raise passes through.
template <class Steps>
auto runWithOutcome(GenerationRun& run, Steps&& steps) -> std::invoke_result_t<Steps&> {
  projectContext().lastErrorText.clear();
  const auto report = [&run] {
    projectContext().lastErrorText = run.failure.value_or(std::u16string());
  };
  try {
    if constexpr (std::is_void_v<std::invoke_result_t<Steps&>>) {
      steps();
      report();
    } else {
      auto result = steps();
      report();
      return result;
    }
  } catch (const GenerationStopped& stop) {
    (stop.cancelled() ? run.generationCancelled : run.generationFailed) = true;
    projectContext().lastErrorText = stop.description();
    throw;
  } catch (...) {
    report();
    throw;
  }
}

}  // namespace vantorel
