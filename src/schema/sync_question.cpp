#include "schema/sync_question.hpp"

#include "foundation/project_context.hpp"
#include "platform/ui/ui.hpp"

namespace vantorel {

bool AskKeepOldDefinition(const std::u16string& question) {
  AskKeepOrUpdate(question);
  return projectContext().syncKeepAnswer;
}

ui::Answer AskKeepOrUpdate(const std::u16string& question) {
  ProjectContext& context = projectContext();
  context.syncQuestion = question;
  const ui::Answer answer = ui::askKeepOrUpdate(question, context.productTitle, ui::Answer::Keep);
  context.syncKeepAnswer = answer != ui::Answer::Update;
  return answer;
}

}  // namespace vantorel
