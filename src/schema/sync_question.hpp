#pragma once
// The keep-or-update question of a schema change: whether the project keeps its stored
// definition or takes the database's. The question is left in SyncQuestion and the answer in
// SyncKeepAnswer (True = keep). Whoever cannot be asked keeps: a run without a terminal or with
// no answer scripted for it, and a question closed without an answer. Changing the project is
// never the default.
#include <string>

#include "platform/ui/types.hpp"

namespace vantorel {

bool AskKeepOldDefinition(const std::u16string& question);
// The same question, with the button that closed it: Keep, Update, or Cancel (which keeps).
ui::Answer AskKeepOrUpdate(const std::u16string& question);

}  // namespace vantorel
