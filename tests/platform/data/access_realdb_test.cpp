// Every Access file of the shared sample folder read whole: each table, query, column and index.
// The folder is $VANTOREL_SHARED_TESTDATA, else the nearest shared/testdata above the source
// tree; without it the test is skipped.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/data/access_file.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel::data::access {
namespace {

std::filesystem::path sharedAccessFolder() {
  if (const char* env = std::getenv("VANTOREL_SHARED_TESTDATA")) {
    return std::filesystem::path(env) / "access";
  }
  for (auto dir = std::filesystem::path(VANTOREL_TEST_DATA); dir.has_relative_path();
       dir = dir.parent_path()) {
    const auto candidate = dir / "shared" / "testdata" / "access";
    if (std::filesystem::is_directory(candidate)) return candidate;
  }
  return {};
}

TEST(AccessRealDb, EveryFileReadsWhole) {
  const std::filesystem::path folder = sharedAccessFolder();
  if (folder.empty() || !std::filesystem::is_directory(folder)) {
    GTEST_SKIP() << "no shared/testdata/access folder";
  }
  int files = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    const auto ext = entry.path().extension();
    if (!entry.is_regular_file() || (ext != ".mdb" && ext != ".accdb")) continue;
    ++files;
    SCOPED_TRACE(entry.path().string());
    testing::internal::CaptureStderr();
    AccessFile file = AccessFile::open(entry.path());
    EXPECT_TRUE(file.version() == u"3.0" || file.version() == u"4.0" || file.version() == u"12.0");
    for (const std::u16string& name : file.tableNames()) {
      const AccessTable table = file.readTable(name);
      for (const AccessColumn& c : table.columns) EXPECT_FALSE(c.name.empty());
      for (const AccessIndex& x : table.indexes) {
        for (const std::u16string& key : x.fields) EXPECT_FALSE(key.empty());
        EXPECT_TRUE(x.foreign() || !x.fields.empty()) << toUtf8(x.name);
      }
      if (!table.indexNote.empty()) {
        EXPECT_TRUE(table.indexes.empty());
      }
    }
    for (const QueryInfo& info : file.queries()) {
      const AccessQuery query = file.readQuery(info.name);
      EXPECT_FALSE(query.sql.empty()) << toUtf8(info.name);
      if (info.isView()) {
        EXPECT_FALSE(query.columns.empty()) << toUtf8(info.name);
      }
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  }
  EXPECT_GT(files, 0);
}

}  // namespace
}  // namespace vantorel::data::access
