// The check a project load runs (AutoSync) against a changed database: the question is asked,
// Keep leaves the project as it was saved.
#include <gtest/gtest.h>

#include <filesystem>

#include "foundation/project_context.hpp"
#include "model/database.hpp"
#include "platform/text/unicode.hpp"
#include "platform/ui/recording_backend.hpp"
#include "platform/ui/ui.hpp"
#include "projectfile/project_file_operations.hpp"
#include "schema_db/schema_db.hpp"
#include "support/test_files.hpp"

namespace vantorel::test {
namespace {

class AutoSyncDb : public SchemaDbTest {
 protected:
  void SetUp() override {
    SchemaDbTest::SetUp();
    ui::setBackendForTesting(ui_);
  }
  void TearDown() override {
    ui::setBackendForTesting(nullptr);
    SchemaDbTest::TearDown();
  }
  std::vector<ui::Question> keepOrUpdateQuestions() const {
    std::vector<ui::Question> out;
    for (const auto& e : ui_->events(ui::RecordingBackend::Event::Kind::Asked)) {
      if (e.question.kind == ui::QuestionKind::KeepOrUpdate) out.push_back(e.question);
    }
    return out;
  }
  std::shared_ptr<ui::RecordingBackend> ui_ = std::make_shared<ui::RecordingBackend>();
};

TEST_F(AutoSyncDb, ChangedDatabaseAsksAndKeepLeavesTheProject) {
  for (const Dbms server : kAllDbms) {
    SCOPED_TRACE(dbmsName(server));
    ui_->clearEvents();
    const std::u16string cs = freshShop(server);
    const Ref<AGP> first = loadProject(cs);
    ASSERT_TRUE(first->DB());
    const std::filesystem::path saved =
        databases().folder() / (std::string("auto-") + dbmsName(server) + ".vtp");
    saveProjectFile(*first, fromUtf8(saved.string()));
    ASSERT_EQ(toUtf8(err()), "");

    // Unchanged: no question. A load fills in what the file lacked (the mail server), so the
    // project as loaded once is what later loads are compared with.
    const Ref<AGP> same = makeRef<AGP>();
    projects_.push_back(same);
    loadProjectFile(*same, fromUtf8(saved.string()));
    EXPECT_EQ(toUtf8(err()), "");
    EXPECT_TRUE(keepOrUpdateQuestions().empty());
    saveProjectFile(*same, fromUtf8(saved.string()));
    const std::string original = test::readFile(saved);

    run(cs, {u"ALTER TABLE orders ADD COLUMN note VARCHAR(20)"});
    for (const bool unattended : {false, true}) {
      ui_->clearEvents();
      ui_->setUnattended(unattended);
      if (!unattended) ui_->queueAnswer(ui::Answer::Keep);
      const Ref<AGP> again = makeRef<AGP>();
      projects_.push_back(again);
      loadProjectFile(*again, fromUtf8(saved.string()));
      EXPECT_EQ(toUtf8(err()), "");
      const std::vector<ui::Question> asked = keepOrUpdateQuestions();
      ASSERT_EQ(asked.size(), 1u);
      EXPECT_EQ(asked[0].text,
                u"Database has been modified since last change. Do you want to keep old "
                u"definition or update to new definition?");
      EXPECT_TRUE(projectContext().syncKeepAnswer);
      EXPECT_EQ(again->DB()->tables().find(u"orders")->fields().count(), 4);
      const std::filesystem::path resaved = databases().folder() / "resaved.vtp";
      saveProjectFile(*again, fromUtf8(resaved.string()));
      const std::string again_saved = test::readFile(resaved);
      EXPECT_TRUE(again_saved == original)
          << "unattended " << unattended << " " << firstDifference(again_saved, original);
    }
    ui_->setUnattended(false);
    ui::takeNotices();
  }
}

}  // namespace
}  // namespace vantorel::test
