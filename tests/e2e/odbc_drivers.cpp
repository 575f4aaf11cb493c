// The host program's runs reach SQLite through a driver file of this suite's own, so that the
// machine's odbcinst.ini decides nothing: the ODBC environment is set before the first test.
#include <gtest/gtest.h>

#include <memory>

#include "support/odbc_config.hpp"
#include "support/temp_home.hpp"

namespace {

class OdbcDrivers : public ::testing::Environment {
 public:
  void SetUp() override {
    folder_ = std::make_unique<vantorel::test::TempDir>();
    vantorel::test::writeOdbcConfig(folder_->path(), {});
  }

 private:
  std::unique_ptr<vantorel::test::TempDir> folder_;
};

[[maybe_unused]] ::testing::Environment* const kRegistered =
    ::testing::AddGlobalTestEnvironment(new OdbcDrivers);

}  // namespace
