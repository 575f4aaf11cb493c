// The Chinook mutation scripts applied to a copy of Chinook's SQLite file, and the project made
// from it synchronised: the pairing question answered the way a user would pair the rename, the
// changes applied, every table the scripts leave alone unchanged in the saved file, and what
// named the renamed table and column (a master/detail link, extension settings) following them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "agp/agp.hpp"
#include "database/load_entries.hpp"
#include "extensions/extension_operations.hpp"
#include "extensions/setting_access.hpp"
#include "foundation/project_context.hpp"
#include "model/database.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"
#include "platform/ui/recording_backend.hpp"
#include "platform/ui/ui.hpp"
#include "project/menus.hpp"
#include "project/project_catalogue.hpp"
#include "projectfile/project_file_operations.hpp"
#include "support/project_elements.hpp"
#include "support/sample_databases.hpp"
#include "support/site_pages.hpp"
#include "support/temp_home.hpp"
#include "support/test_files.hpp"
#include "sync/sync_driver.hpp"

namespace vantorel::test {
namespace {

namespace fs = std::filesystem;

TEST(ChinookSyncRealDb, TheSqliteMutationsAreFollowed) {
  const std::optional<fs::path> shared = sharedTestData();
  if (!shared) GTEST_SKIP() << "no ../shared/testdata";
  const fs::path kChinook = *shared / "chinook";
  TempDir dir;
  const fs::path copy = dir.path() / "chinook.sqlite";
  fs::copy_file(kChinook / "Chinook_Sqlite.sqlite", copy);
  projectContext().reportFolder = fromUtf8((dir.path() / "reports").string());
  auto recorder = std::make_shared<ui::RecordingBackend>();
  ui::setBackendForTesting(recorder);

  Ref<AGP> agp = makeRef<AGP>();
  agp->AddProj(u"Chinook");
  DatabaseLoadArguments a;
  a.sDbType = u"ODBC";
  a.sConnStr = u"Driver=SQLite3;Database=" + fromUtf8(copy.string());
  LoadDB(*agp, a);
  ASSERT_EQ(toUtf8(projectContext().lastErrorText), "");
  // Track is the detail of MediaType; an extension keeps settings for both tables.
  AGPTable& track = *agp->DB()->tables().item(Variant(u"Track"));
  track.SetV(u"TblMasterTbl", u"MediaType");
  track.SetV(u"TblMasterFld", u"MediaTypeId");
  track.SetV(u"TblDetailFld", u"MediaTypeId");
  std::ofstream(dir.path() / "rows.xml")
      << "<?xml version=\"1.0\"?><Project><Database><Table>"
         "<attribute name=\"Rows\" type=\"Integer\" default=\"10\"/>"
         "<Field><attribute name=\"Width\" type=\"Integer\" default=\"80\"/></Field>"
         "</Table></Database></Project>";
  projectContext().extensionsFolder = fromUtf8(dir.path().string());
  ASSERT_TRUE(AddExtension(*agp, u"Rows", u"rows.zip", u"rows.xml"));
  ASSERT_TRUE(SetExtTblAtt(*agp, u"Rows", u"MediaType", u"Rows", Variant(std::int16_t{25})));
  ASSERT_TRUE(
      SetExtFldAtt(*agp, u"Rows", u"Track", u"Composer", u"Width", Variant(std::int16_t{120})));
  saveProjectFile(*agp, fromUtf8((dir.path() / "before.vtp").string()));
  const std::string before = readFile(dir.path() / "before.vtp");

  for (const char* script : {"sqlite-01-columns.sql", "sqlite-02-tables.sql"}) {
    const std::string command = "sqlite3 -batch -bail " + copy.string() + " < " +
                                (kChinook / "mutations" / script).string();
    ASSERT_EQ(std::system(command.c_str()), 0) << script;
  }
  // The table questions come first: MediaFormat is MediaType (item 0 is "none", then the old
  // names in project order), Review is new; then the column questions in snapshot order:
  // Customer's LoyaltyPoints is new, Track's Songwriter is Composer.
  for (const std::size_t pick : {1, 0, 0, 1}) recorder->queuePick(pick);
  projectContext().lastErrorText.clear();
  SynchronizeDB(*agp);
  ASSERT_EQ(toUtf8(projectContext().lastErrorText), "");
  saveProjectFile(*agp, fromUtf8((dir.path() / "after.vtp").string()));
  const std::string after = readFile(dir.path() / "after.vtp");
  const std::string log = readFile(fs::path(toUtf8(agp->SyncLog())));

  for (const char* table : {"Album", "Artist", "Genre", "Invoice", "Playlist", "Employee"}) {
    EXPECT_EQ(tableElement(after, table), tableElement(before, table)) << table;
  }
  // The renamed table and column kept what the project held for them.
  const std::string mediaType = tableElement(before, "MediaType");
  const std::string caption = mediaType.substr(
      mediaType.find(" TblCaption="), mediaType.find('"', mediaType.find(" TblCaption=") + 13) -
                                          mediaType.find(" TblCaption=") + 1);
  EXPECT_NE(tableElement(after, "MediaFormat").find(caption), std::string::npos) << caption;
  EXPECT_EQ(tableElement(after, "MediaType"), "");
  EXPECT_NE(tableElement(after, "Track").find("FldName=\"Songwriter\""), std::string::npos);
  EXPECT_EQ(tableElement(after, "Track").find("FldName=\"Composer\""), std::string::npos);
  EXPECT_NE(log.find("CHANGED : (TABLE) MediaType - Rename MediaType to MediaFormat\r\n"),
            std::string::npos)
      << log;
  EXPECT_NE(tableElement(after, "Review"), "");
  EXPECT_NE(tableElement(after, "TrackDetails"), "");
  EXPECT_EQ(tableElement(after, "PlaylistTrack"), "");
  EXPECT_NE(tableElement(after, "Customer").find("FldName=\"LoyaltyPoints\""), std::string::npos);
  EXPECT_EQ(tableElement(after, "Customer").find("FldName=\"Fax\""), std::string::npos);
  EXPECT_NE(log.find("ADDED   : (TABLE) Review\r\n"), std::string::npos) << log;
  // The master/detail link names the master's new name; the extension's settings moved along.
  const std::string trackAfter = tableElement(after, "Track");
  EXPECT_NE(trackAfter.find(" TblMasterTbl=\"MediaFormat\""), std::string::npos) << trackAfter;
  EXPECT_NE(trackAfter.find(" TblMasterFld=\"MediaTypeId\""), std::string::npos) << trackAfter;
  EXPECT_NE(log.find("CHANGED : (TABLE) Track - Rename master table from MediaType to "
                     "MediaFormat\r\n"),
            std::string::npos)
      << log;
  EXPECT_EQ(toString(GetExtTblAtt(*agp, u"Rows", u"MediaFormat", u"Rows")), u"25");
  EXPECT_TRUE(GetExtTblAtt(*agp, u"Rows", u"MediaType", u"Rows").isNull());
  EXPECT_EQ(toString(GetExtFldAtt(*agp, u"Rows", u"Track", u"Songwriter", u"Width")), u"120");
  EXPECT_TRUE(GetExtFldAtt(*agp, u"Rows", u"Track", u"Composer", u"Width").isNull());
  EXPECT_NE(log.find("DELETED : (TABLE) PlaylistTrack\r\n"), std::string::npos) << log;
  agp->UnLoadDB();
  ui::setBackendForTesting(nullptr);
}

}  // namespace
}  // namespace vantorel::test
