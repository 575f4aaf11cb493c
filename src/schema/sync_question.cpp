#include "schema/sync_question.hpp"

#include "foundation/project_context.hpp"
#include "platform/ui/ui.hpp"

namespace vantorel {

bool AskKeepOldDefinition(const std::u16string& question) {
  ProjectContext& context = projectContext();
  context.syncQuestion = question;
  context.syncKeepAnswer = ui::askKeepOrUpdate(question, context.productTitle,
                                               ui::Answer::Keep) != ui::Answer::Update;
  return context.syncKeepAnswer;
}

}  // namespace vantorel
