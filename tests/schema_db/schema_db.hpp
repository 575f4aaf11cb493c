#pragma once
// A fresh database per test on each server, a project loaded from it, and the SQL that changes
// its schema in each database's own words.
#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "agp/agp.hpp"
#include "support/test_databases.hpp"

namespace vantorel::test {

enum class Server { Sqlite, Postgres, MariaDb };

const char* serverName(Server server);
inline constexpr Server kServers[] = {Server::Sqlite, Server::Postgres, Server::MariaDb};

class SchemaDbTest : public DatabaseTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A new, empty database on the server; its connection string.
  std::u16string freshDatabase(Server server);
  static void run(const std::u16string& connectionString,
                  const std::vector<std::u16string>& statements);
  // The shop: customers, orders, notes and the view order_totals.
  void makeShop(Server server, const std::u16string& connectionString);
  // Loads the database into a new project (every table and view); the project.
  Ref<AGP> loadProject(const std::u16string& connectionString);

  // The statements that give notes.body a new size.
  static std::vector<std::u16string> retypeNotes(Server server);

  std::u16string err() const;

  int databases_ = 0;
  std::vector<Ref<AGP>> projects_;
};

}  // namespace vantorel::test
