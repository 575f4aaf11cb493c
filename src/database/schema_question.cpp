#include "database/schema_question.hpp"

#include <optional>
#include <vector>

#include "foundation/project_context.hpp"
#include "platform/ui/ui.hpp"

namespace vantorel {

// The user picks the Oracle schema among those owning tables, or types one; an unattended run,
// which has no one to ask, takes the first, since a load without a schema would read nothing.
std::u16string askForOracleSchema(const std::vector<std::u16string>& choices) {
  const std::vector<std::u16string> listed(choices.begin() + (choices.empty() ? 0 : 1),
                                           choices.end());
  const std::optional<std::u16string> chosen = ui::pickOrType(
      u"Please choose a schema for the Oracle ODBC Connection so that only a subset of tables "
      u"will be loaded.",
      projectContext().productTitle, listed);
  if (chosen) return *chosen;
  return listed.empty() ? std::u16string() : listed.front();
}

}  // namespace vantorel
