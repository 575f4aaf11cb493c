// `vantorel new` says in which settings of the project file the database password went, since
// the file keeps it in clear text, and never shows the password itself.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/site_pages.hpp"
#include "support/temp_home.hpp"
#include "support/test_files.hpp"

namespace fs = std::filesystem;

namespace {

using vantorel::test::readFile;

const fs::path kSource = fs::path(VANTOREL_TEST_DATA).parent_path().parent_path();

TEST(PasswordNotice, NewSaysWhereThePasswordWent) {
  vantorel::test::TempDir dir;
  const fs::path database = dir.path() / "shop.sqlite";
  fs::copy_file(kSource / "examples" / "shop" / "shop.sqlite", database);
  const fs::path passwordFile = dir.path() / "password";
  std::ofstream(passwordFile) << "s3cret-pw\n";
  const std::string sqlite = "'Driver=SQLite3;Database=" + database.string();
  const std::string access =
      (fs::path(VANTOREL_TEST_DATA) / "access" / "queryTestV2000.mdb").string();

  const struct {
    const char* label;
    std::string arguments;
    std::string notice;  // the line after "Created ..."
  } cases[] = {
      {"connection string, password file", sqlite + "' --password-file " + passwordFile.string(),
       "(DBPwd and DBConnstr): keep the file private."},
      {"password in the connection string", sqlite + ";PWD={s3cret-pw}'",
       "(DBConnstr): keep the file private."},
      {"Access file, password file", access + " --password-file " + passwordFile.string(),
       "(DBPwd): keep the file private."},
      {"no password", sqlite + "'", "No database password is stored in the project file."},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const fs::path project = dir.path() / ("p" + std::to_string(++n) + ".vtp");
    std::string output;
    ASSERT_EQ(vantorel::test::runCommand("env -u VANTOREL_PASSWORD " VANTOREL_CLI_PATH " new " +
                                             project.string() + " --connect " + c.arguments,
                                         output),
              0)
        << output;
    const std::size_t created = output.find("Created " + project.string());
    ASSERT_NE(created, std::string::npos) << output;
    const std::string notice = output.substr(output.find('\n', created) + 1);
    EXPECT_NE(notice.find(c.notice), std::string::npos) << output;
    if (c.notice.front() == '(') {
      EXPECT_EQ(
          notice.rfind("The database password is stored in clear text in " + project.string() + " ",
                       0),
          0U)
          << output;
      EXPECT_NE(readFile(project).find("s3cret-pw"), std::string::npos);
    }
    EXPECT_EQ(output.find("s3cret-pw"), std::string::npos) << output;
  }
}

}  // namespace
