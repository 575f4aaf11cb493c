#pragma once
// The boundary of AGP.GenScript and AGP.GenCheck: the one place their outcome reaches ProjErr.
#include <string>
#include <type_traits>

#include "foundation/project_context.hpp"
#include "generator/generation_run.hpp"
#include "generator/run_end.hpp"
#include "platform/ui/interrupt.hpp"

namespace vantorel {

// Runs the steps of one call on run, with ProjErr empty while they run, and then puts into
// ProjErr the message the run stopped with, else the failure it went on after, else nothing.
// What the steps return or raise passes through.
// Ctrl-C stops a running script where it stands, with an error of its own (a page error, a
// failed condition): the run then ends as one the user cancelled, with that one message.
template <class Steps>
auto runWithOutcome(GenerationRun& run, Steps&& steps) -> std::invoke_result_t<Steps&> {
  projectContext().lastErrorText.clear();
  const auto report = [&run] {
    if (run.failure && ui::interruptRequested()) RaiseCancelled();
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
    if (!stop.cancelled() && ui::interruptRequested()) {
      run.generationCancelled = true;
      try {
        RaiseCancelled();
      } catch (const GenerationStopped& cancelled) {
        projectContext().lastErrorText = cancelled.description();
        throw;
      }
    }
    (stop.cancelled() ? run.generationCancelled : run.generationFailed) = true;
    projectContext().lastErrorText = stop.description();
    throw;
  } catch (...) {
    report();
    throw;
  }
}

}  // namespace vantorel
