#include "database/database_load.hpp"

#include "foundation/project_context.hpp"
#include "foundation/setting_values.hpp"
#include "model/database.hpp"
#include "platform/ui/ui.hpp"

namespace vantorel {

SqlQuote recordedSqlQuote(AGPDatabase& db) {
  AGProperties& bag = db.properties();
  return {settingAsText(bag.setting(kDBQuoteS)), settingAsText(bag.setting(kDBQuoteE))};
}

std::u16string recordedSqlQuoteSetting(AGPDatabase& db) {
  const SqlQuote quote = recordedSqlQuote(db);
  if (quote.open == u"[") return u"Square Bracket";
  if (quote.open == u"\"") return u"Double Quote";
  if (quote.open == u"'") return u"Single Quote";
  if (quote.open == u"`") return u"Backquote";
  if (settingAsText(db.properties().setting(kDBDBMSName)).empty()) return u"";
  return u"None";
}

void showLoadNotices(const DatabaseLoad& load) {
  for (const std::u16string& notice : load.notices) ui::messageBox(notice);
}

std::int16_t reportLoad(const DatabaseLoad& load, const LoadOutcome& outcome) {
  showLoadNotices(load);
  if (!outcome.reason.empty()) projectContext().lastErrorText = outcome.reason;
  return outcome.code;
}

}  // namespace vantorel
