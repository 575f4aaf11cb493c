// A bulk load reads the current user's settings from one snapshot: the store file is looked at
// once, whatever happens to it meanwhile, until the load itself writes to the store.
#include <gtest/gtest.h>

#include <filesystem>

#include "foundation/reg_values.hpp"
#include "foundation/registry_defaults.hpp"
#include "foundation/registry_test_support.hpp"
#include "platform/automation/variant_convert.hpp"
#include "support/test_files.hpp"

namespace vantorel {
namespace {

class RegistrySnapshotTest : public test::RegistryTest {
 protected:
  const std::u16string key_ = u"Software\\Test\\Snapshot";
  std::u16string read(const char16_t* name) { return toString(GetRegValue(u"HKCU", key_, name)); }
};

TEST_F(RegistrySnapshotTest, ReadsInAScopeTakeTheSnapshotUntilAWrite) {
  SetRegValue(u"HKCU", key_, u"Keyword", 1, Variant(u"words.xml"));
  const std::string stored = test::readFile(userFile());
  {
    RegistryDefaultsScope load;
    EXPECT_EQ(read(u"Keyword"), u"words.xml");
    // Another program empties the store meanwhile: the load goes on with what it read.
    std::filesystem::remove(userFile());
    EXPECT_EQ(read(u"Keyword"), u"words.xml");
    // A write of the load's own is seen by the reads after it.
    SetRegValue(u"HKCU", key_, u"Other", 1, Variant(u"x"));
    EXPECT_EQ(read(u"Keyword"), u"");
    EXPECT_EQ(read(u"Other"), u"x");
  }
  test::writeFile(userFile(), stored);
  EXPECT_EQ(read(u"Keyword"), u"words.xml");
  {
    // A new scope starts from the store as it is now.
    RegistryDefaultsScope next;
    std::filesystem::remove(userFile());
    EXPECT_EQ(read(u"Keyword"), u"");
  }
}

}  // namespace
}  // namespace vantorel
