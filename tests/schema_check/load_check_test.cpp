// The keep-or-update question, and the check a project load runs when the database cannot be
// read.
#include <gtest/gtest.h>

#include "platform/ui/backend.hpp"
#include "projectfile/project_reader.hpp"
#include "projectfile/project_test_support.hpp"
#include "schema/load_check.hpp"
#include "schema/sync_question.hpp"
#include "support/test_files.hpp"

namespace vantorel {
namespace {

class LoadCheck : public test::ProjectFileTest {
 protected:
  std::u16string writeProject(const std::string& name, const std::string& body) {
    test::writeFile(work() / name,
                    "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n" + body);
    return workFile(name);
  }
};

TEST_F(LoadCheck, TheQuestionKeepsUnlessTheUserUpdates) {
  struct Case {
    const char* what;
    std::function<void()> answer;
    bool kept;
  };
  const std::vector<Case> cases = {
      {"no answer given", [] {}, true},
      {"Keep", [&] { ui_->queueAnswer(ui::Answer::Keep); }, true},
      {"Cancel", [&] { ui_->queueAnswer(ui::Answer::Cancel); }, true},
      {"Update", [&] { ui_->queueAnswer(ui::Answer::Update); }, false},
  };
  for (const Case& c : cases) {
    c.answer();
    projectContext().syncKeepAnswer = !c.kept;
    EXPECT_EQ(AskKeepOldDefinition(u"Keep it?"), c.kept) << c.what;
    EXPECT_EQ(projectContext().syncKeepAnswer, c.kept) << c.what;
    EXPECT_EQ(projectContext().syncQuestion, u"Keep it?");
  }
  const auto asked = ui_->events(ui::RecordingBackend::Event::Kind::Asked);
  ASSERT_EQ(asked.size(), cases.size());
  EXPECT_EQ(asked[0].question.title, u"Vantorel");
  EXPECT_EQ(asked[0].question.defaultButton, ui::Answer::Keep);
}

TEST_F(LoadCheck, UnattendedRunsKeep) {
  // No terminal and no answers file.
  ui::setBackendForTesting(ui::makeBackend(ui::BackendEnvironment{}));
  EXPECT_TRUE(AskKeepOldDefinition(u"Database has been modified since last change."));
  // An answers file without an answer for the question.
  test::writeFile(work() / "answers.txt", "# nothing for the schema\n");
  ui::BackendEnvironment scripted;
  scripted.answersFile = workFile("answers.txt");
  ui::setBackendForTesting(ui::makeBackend(scripted));
  EXPECT_TRUE(AskKeepOldDefinition(u"Database has been modified since last change."));
  test::writeFile(work() / "update.txt", "Update\n");
  scripted.answersFile = workFile("update.txt");
  ui::setBackendForTesting(ui::makeBackend(scripted));
  EXPECT_FALSE(AskKeepOldDefinition(u"Database has been modified since last change."));
  ui::takeNotices();
}

TEST_F(LoadCheck, AnUnreadableDatabaseWarnsAndChangesNothing) {
  const std::string body =
      "<Project Version=\"4.0\" ProjName=\"Shop\" AutoSync=\"1\">"
      "<Database DBName=\"shop.mdb\" DBType=\"ACCESS\" DBPhyPath=\"/nowhere/shop.mdb\">"
      "<Table TblName=\"Orders\" TblType=\"TABLE\"><Field FldName=\"ID\" FldType=\"3\"/>"
      "<Field FldName=\"Qty\" FldType=\"3\"/></Table></Database></Project>";
  const Ref<AGP> p = makeRef<AGP>();
  const ProjectLoadWarnings warnings =
      loadProject(*p, writeProject("shop.vtp", body), &AskKeepOldDefinition);
  const std::u16string& notice = warnings.unreadableDatabase;
  ASSERT_TRUE(warnings.any());
  EXPECT_TRUE(notice.starts_with(u"Unable to load database information! Reason: "))
      << toUtf8(notice);
  EXPECT_TRUE(notice.ends_with(u". Please check if correct database is in use."));
  EXPECT_EQ(projectContext().lastErrorText, u"");
  for (const auto& e : ui_->events(ui::RecordingBackend::Event::Kind::Asked)) {
    EXPECT_NE(e.question.kind, ui::QuestionKind::KeepOrUpdate) << toUtf8(e.question.text);
  }
  EXPECT_FALSE(p->schemaSnapshot());
  AGPTable& orders = *p->DB()->tables().find(u"Orders");
  EXPECT_EQ(orders.fields().count(), 2);
  EXPECT_EQ(orders.GetV(u"TblType"), u"TABLE");
}

TEST_F(LoadCheck, WithoutAHeldSnapshotNothingIsCounted) {
  const Ref<AGP> p = makeRef<AGP>();
  addDatabase(*p, u"DB");
  EXPECT_EQ(CountLoadDifferences(*p), 0);
  ReleaseLoadSnapshot(*p);
  EXPECT_FALSE(p->schemaSnapshot());
}

}  // namespace
}  // namespace vantorel
