#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "database/database_load.hpp"
#include "foundation/project_context.hpp"
#include "model/database.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"
#include "platform/ui/recording_backend.hpp"
#include "platform/ui/ui.hpp"

namespace vantorel {
namespace {

// A load started without the project (the database object's own loaders) quotes as the
// database's last load did, whatever the setting and kind were then.
TEST(DatabaseLoad, TheRecordedQuotesGiveBackTheSettingThatChoseThem) {
  const char16_t* settings[] = {
      u"", u"Square Bracket", u"Double Quote", u"Single Quote", u"Backquote", u"None"};
  const char16_t* kinds[] = {u"ACCESS", u"Microsoft SQL Server", u"MySQL", u"PostgreSQL", u"Oracle",
                             u"SQLite"};
  for (const char16_t* setting : settings) {
    for (const char16_t* dbms : kinds) {
      SCOPED_TRACE(toUtf8(setting) + " / " + toUtf8(dbms));
      auto db = makeRef<AGPDatabase>();
      const SqlQuote chosen = SetSqlQuote(setting, dbms);
      AGProperties& bag = db->properties();
      bag.setting(kDBDBMSName) = Variant(std::u16string(dbms));
      bag.setting(kDBQuoteS) = Variant(chosen.open);
      bag.setting(kDBQuoteE) = Variant(chosen.close);
      EXPECT_EQ(recordedSqlQuote(*db), chosen);
      EXPECT_EQ(SetSqlQuote(recordedSqlQuoteSetting(*db), dbms), chosen);
    }
  }
  // Before any load the kind chooses.
  EXPECT_EQ(recordedSqlQuoteSetting(*makeRef<AGPDatabase>()), u"");
}

// The entry that started a load tells the user what the load went on past, and gives the
// failure's reason as LastErrorText; a failure without one leaves the text as it was.
TEST(DatabaseLoad, TheEntryShowsTheNoticesAndSetsTheReasonOnce) {
  auto recording = std::make_shared<ui::RecordingBackend>();
  ui::setBackendForTesting(recording);
  struct Case {
    LoadOutcome outcome;
    std::u16string text;
  } cases[] = {
      {{}, u"before"},
      {LoadOutcome::failed(1), u"before"},
      {LoadOutcome::failed(3, u"refused"), u"refused"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(toUtf8(c.text));
    DatabaseLoad load;
    load.notices = {u"Queries not loaded due to ADOX Error: x", u"second"};
    projectContext().lastErrorText = u"before";
    recording->clearEvents();
    EXPECT_EQ(reportLoad(load, c.outcome), c.outcome.code);
    EXPECT_EQ(projectContext().lastErrorText, c.text);
    const auto said = recording->events(ui::RecordingBackend::Event::Kind::Asked);
    ASSERT_EQ(said.size(), 2u);
    EXPECT_EQ(said[0].question.text, load.notices[0]);
    EXPECT_EQ(said[1].question.text, load.notices[1]);
  }
  projectContext().lastErrorText.clear();
  ui::setBackendForTesting(nullptr);
}

}  // namespace
}  // namespace vantorel
