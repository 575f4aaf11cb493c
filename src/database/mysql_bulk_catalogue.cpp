// The information schema of MariaDB or MySQL read for every base table of the connection's
// database at once: one query for the columns, one for the indexes, and a few that ask whether
// the user may read the tables.
#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "database/bulk_tables.hpp"
#include "database/load_steps.hpp"
#include "platform/data/query.hpp"

namespace vantorel {

namespace {

// Every table and view of the database: only the catalogue's base tables are ever looked up
// (asking the server for the tables' types as well costs it a look at every table). Invisible
// columns are left out of SELECT *; a table with one is read on its own.
constexpr std::u16string_view kColumnsQuery =
    u"SELECT c.TABLE_NAME, c.COLUMN_NAME, c.COLUMN_TYPE, c.COLUMN_KEY, c.IS_NULLABLE, c.EXTRA,"
    u" c.CHARACTER_SET_NAME, c.COLLATION_NAME, c.COLUMN_DEFAULT IS NULL"
    u" FROM information_schema.COLUMNS c WHERE c.TABLE_SCHEMA = DATABASE()"
    u" ORDER BY c.TABLE_NAME, c.ORDINAL_POSITION";

constexpr std::u16string_view kIndexesQuery =
    u"SELECT TABLE_NAME, INDEX_NAME, NON_UNIQUE, COLUMN_NAME"
    u" FROM information_schema.STATISTICS WHERE TABLE_SCHEMA = DATABASE()"
    u" ORDER BY BINARY TABLE_NAME, BINARY INDEX_NAME, SEQ_IN_INDEX";

// Tables asked about in one statement whether the user may read them.
constexpr std::size_t kTablesPerReadCheck = 100;

void readColumns(data::Connection& cnn, BulkReading& reading) {
  data::Statement statement(cnn);
  statement.execDirect(kColumnsQuery);
  // The rows come a table at a time: each table's columns are gathered apart and handed over
  // whole, one allocation of the right size a table instead of a vector grown column by column.
  std::u16string tableName;
  bool plainTable = true, invisible = false;
  std::vector<BulkColumn> columns;
  const auto handOver = [&] {
    if (columns.empty()) return;
    BulkTable& table = reading.table(u"", tableName);
    if (invisible) table.onItsOwn = true;
    // A table whose rows the server's case-blind order interleaved with another's gets more.
    table.columns.insert(table.columns.end(), std::make_move_iterator(columns.begin()),
                         std::make_move_iterator(columns.end()));
    columns.clear();
  };
  std::u16string facts;
  forEachTextRow<9>(statement, [&](auto& text) {
    if (columns.empty() || text[0] != tableName) {
      handOver();
      tableName = text[0];
      plainTable = plainName(tableName);
      invisible = false;
    }
    if (text[5].find(u"INVISIBLE") != std::u16string::npos) invisible = true;
    BulkColumn& column = columns.emplace_back();
    column.name = std::move(text[1]);
    facts.clear();
    for (int i = 2; i <= 8; ++i) (facts += text[i]) += u'|';
    if (!plainTable) (facts += tableName) += u'|';
    if (!plainName(column.name)) facts += column.name;
    column.signature = reading.signature(facts);
    column.facts = mySqlColumnFacts(text[4], text[5]);
    column.mysql = mySqlColumnType(std::move(text[2]), std::move(text[3]));
  });
  handOver();
}

// Names compare exactly, and sort so: the information schema compares them ignoring case.
void readIndexes(data::Connection& cnn, BulkReading& reading) {
  data::Statement statement(cnn);
  statement.execDirect(kIndexesQuery);
  std::u16string tableName, index;
  std::vector<std::u16string> columns;
  BulkTable* table = nullptr;
  bool unique = false;
  const auto finish = [&] {
    if (!table) return;
    if (index == u"PRIMARY") table->primaryKey = columns;
    if (unique && columns.size() == 1) table->unique.push_back(columns.front());
  };
  forEachTextRow<4>(statement, [&](auto& text) {
    if (text[0] != tableName || text[1] != index) {
      finish();
      tableName = text[0];
      index = text[1];
      columns.clear();
      table = reading.find(u"", tableName);
      unique = text[2] == u"0";
    }
    columns.push_back(std::move(text[3]));
  });
  finish();
}

// A probe needs the right to read every column: each group of tables is asked in one statement
// that reads nothing; a refused group is left to be read table by table.
void checkReadable(data::Connection& cnn, BulkReading& reading) {
  std::vector<BulkTable>& tables = reading.tables();
  for (std::size_t first = 0; first < tables.size(); first += kTablesPerReadCheck) {
    const std::size_t end = std::min(tables.size(), first + kTablesPerReadCheck);
    std::u16string sql;
    for (std::size_t i = first; i < end; ++i) {
      if (i > first) sql += u" UNION ALL ";
      sql += u"SELECT 1 FROM (SELECT * FROM " + cnn.quoteName(tables[i].name) + u" WHERE 0=1) q";
    }
    if (attemptStep([&] { data::execute(cnn, sql); })) continue;
    for (std::size_t i = first; i < end; ++i) tables[i].readable = false;
  }
}

}  // namespace

void readMySqlCatalogue(data::Connection& cnn, BulkReading& reading) {
  readColumns(cnn, reading);
  readIndexes(cnn, reading);
  checkReadable(cnn, reading);
}

}  // namespace vantorel
