// Every Access file of the shared sample folder read whole: each table, query, column and index.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/data/access_file.hpp"
#include "platform/data/shared_access_folder.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel::data::access {
namespace {

TEST(AccessRealDb, EveryFileReadsWhole) {
  const std::filesystem::path folder = test::sharedAccessFolder();
  if (folder.empty()) GTEST_SKIP() << "no shared/testdata/access folder";
  int files = 0;
  for (const std::filesystem::path& path : test::sharedAccessFiles(folder)) {
    ++files;
    SCOPED_TRACE(path.string());
    testing::internal::CaptureStderr();
    AccessFile file = AccessFile::open(path);
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
