#include "generator/generation_state.hpp"

#include "fields/field.hpp"
#include "model/table.hpp"
#include "templates/control.hpp"

namespace vantorel {

bool& OverwriteAnswer() {
  thread_local bool answer = false;
  return answer;
}

std::u16string& OverwriteAllAnswer() {
  thread_local std::u16string answer;
  return answer;
}

std::u16string& OverwritePromptFile() {
  thread_local std::u16string file;
  return file;
}

std::u16string& OverwritePromptFolder() {
  thread_local std::u16string folder;
  return folder;
}

bool& GenerationCancelled() {
  thread_local bool cancelled = false;
  return cancelled;
}

bool& GenerationFailed() {
  thread_local bool failed = false;
  return failed;
}

Ref<AGPTable>& CurrentTable() {
  thread_local Ref<AGPTable> table;
  return table;
}

Ref<AGPField>& CurrentField() {
  thread_local Ref<AGPField> field;
  return field;
}

std::u16string& CurrentTableVar() {
  thread_local std::u16string var;
  return var;
}

Ref<AGPControl>& CurrentControl() {
  thread_local Ref<AGPControl> control;
  return control;
}

std::u16string& CurrentOutputName() {
  thread_local std::u16string name;
  return name;
}

std::int32_t& CompileProgressCount() {
  thread_local std::int32_t count = 0;
  return count;
}

std::int32_t& CompileProgressTotal() {
  thread_local std::int32_t total = 0;
  return total;
}

std::u16string& StatusText() {
  thread_local std::u16string text;
  return text;
}

void beginGenerationRun() {
  OverwriteAllAnswer().clear();
  OverwriteAnswer() = false;
  GenerationCancelled() = false;
  GenerationFailed() = false;
}

}  // namespace vantorel
