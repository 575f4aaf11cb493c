#pragma once
// What the script host tests share: a private registry and documents folder, a project with a
// database of two tables, files written into the test's folder, and an initialised host.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "agp/agp.hpp"
#include "foundation/registry_test_support.hpp"
#include "platform/ui/recording_backend.hpp"
#include "templates/script_host.hpp"

namespace vantorel::test {

class ScriptHostTest : public RegistryTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A text value under the user's GeneralKey; the host reads them when it is made.
  void setGeneral(const std::u16string& name, const std::u16string& value);
  // Writes the bytes to a file of the test's folder and returns its path.
  std::u16string writeFile(const std::string& name, const std::string& bytes);
  // A database "Shop" with the tables Orders (fields OrderID, Total) and Customers (Name).
  void addDatabase();
  // A new host initialised with the project's objects.
  Ref<AGScript> initializedHost();
  // The messages shown since SetUp.
  std::size_t messagesShown() const;

  ScopedEnv docs_{"XDG_DOCUMENTS_DIR", (dir_.path() / "docs").string()};
  std::shared_ptr<ui::RecordingBackend> ui_;
  Ref<AGP> project_;
};

}  // namespace vantorel::test
