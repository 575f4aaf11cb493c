#pragma once
// A fresh database per test on each server, a project loaded from it, and the SQL that changes
// its schema in each database's own words.
#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "agp/agp.hpp"
#include "support/schema_script.hpp"

namespace vantorel::test {

class SchemaDbTest : public DatabaseTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A new database holding the shop (customers, orders, notes and the view order_totals); its
  // connection string.
  std::u16string freshShop(Dbms server);
  // Loads the database into a new project (every table and view); the project.
  Ref<AGP> loadProject(const std::u16string& connectionString);

  // The statements that give notes.body a new size.
  static std::vector<std::u16string> retypeNotes(Dbms server);

  std::u16string err() const;

  int databases_ = 0;
  std::vector<Ref<AGP>> projects_;
};

}  // namespace vantorel::test
