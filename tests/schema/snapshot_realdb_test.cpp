// Chinook and Sakila on every server, and every Access file of the shared sample folder: the
// snapshot agrees with the model loaded from the same database, table by table and column by
// column.
#include <gtest/gtest.h>

#include "foundation/project_context.hpp"
#include "platform/data/shared_access_folder.hpp"
#include "schema/snapshot_agreement.hpp"
#include "support/sample_databases.hpp"
#include "support/test_databases.hpp"

namespace vantorel::test {
namespace {

class SnapshotRealDb : public DatabaseTest {
 protected:
  void SetUp() override {
    ProjectContext& context = projectContext();
    context.lastErrorText.clear();
  }
};

TEST_F(SnapshotRealDb, ModelAndSnapshotAgreeOnTheSamples) {
  if (!sharedTestData()) GTEST_SKIP() << "no shared/testdata folder with chinook and sakila";
  DatabaseTest::SetUp();
  if (IsSkipped() || HasFatalFailure()) return;
  TestDatabases& db = databases();
  ASSERT_NO_THROW(loadSampleDatabases(*sharedTestData(), db.postgres(), db.mariadb(), db.folder()));
  for (const SampleDatabase& sample : sampleDatabases()) {
    SCOPED_TRACE(sample.label);
    const std::u16string cs =
        sampleConnectionString(sample, db.postgres(), db.mariadb(), db.folder());
    const Ref<AGPSchema> snapshot = snapshotOf(cs);
    EXPECT_GT(snapshot->tblcnt(), 0);
    expectModelAndSnapshotAgree(*modelOf(cs), *snapshot);
  }
}

TEST_F(SnapshotRealDb, ModelAndSnapshotAgreeOnTheAccessFiles) {
  const std::filesystem::path folder = sharedAccessFolder();
  if (folder.empty()) GTEST_SKIP() << "no shared/testdata/access folder";
  for (const std::filesystem::path& path : sharedAccessFiles(folder)) expectAccessFileAgrees(path);
}

}  // namespace
}  // namespace vantorel::test
