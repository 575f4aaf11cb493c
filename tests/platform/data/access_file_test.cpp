#include "platform/data/access_file.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "platform/automation/automation_error.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel::data::access {
namespace {

const std::filesystem::path kFiles = std::filesystem::path(VANTOREL_TEST_DATA) / "access";

AccessFile openFixture(const char* name) {
  return AccessFile::open(kFiles / name);
}

const AccessColumn& columnNamed(const AccessTable& t, std::u16string_view name) {
  for (const AccessColumn& c : t.columns) {
    if (c.name == name) return c;
  }
  throw std::runtime_error("no column " + toUtf8(name));
}

// The access mode of this process's descriptor on the file, from /proc.
std::optional<int> openMode(const std::filesystem::path& file) {
  const auto target = std::filesystem::canonical(file);
  for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd")) {
    std::error_code ec;
    if (std::filesystem::read_symlink(fd.path(), ec) != target) continue;
    std::ifstream info("/proc/self/fdinfo/" + fd.path().filename().string());
    for (std::string key; info >> key;) {
      if (key == "flags:") {
        std::string octal;
        info >> octal;
        return std::stoi(octal, nullptr, 8) & O_ACCMODE;
      }
    }
  }
  return std::nullopt;
}

TEST(AccessFile, OpensEachFormatReadOnlyWithDaoVersionAndUserTables) {
  struct Case {
    const char* file;
    std::u16string version;
    std::vector<std::u16string> tables;
  } cases[] = {
      {"queryTestV1997.mdb", u"3.0", {u"Table1", u"Table2", u"Table3"}},
      {"queryTestV2000.mdb", u"4.0", {u"Table1", u"Table2", u"Table3"}},
      {"complexDataTestV2007.accdb", u"12.0", {u"Table1"}},
      {"calcFieldTestV2010.accdb", u"12.0", {u"Table1"}},
      {"extDateTestV2019.accdb", u"12.0", {u"Table1"}},
  };
  for (const Case& c : cases) {
    AccessFile file = openFixture(c.file);
    EXPECT_EQ(file.version(), c.version) << c.file;
    EXPECT_EQ(file.tableNames(), c.tables) << c.file;
    EXPECT_EQ(openMode(kFiles / c.file), O_RDONLY) << c.file;
  }
}

TEST(AccessFile, RefusesWhatItCannotReadWithAClearMessageAndASilentStderr) {
  struct Case {
    std::filesystem::path path;
    std::int32_t number;
    std::u16string text;
  } cases[] = {
      {"", 3024, u"No database file was named."},
      {kFiles / "missing.mdb", 3024, u"Could not find file"},
      {kFiles, 3051, u"is a folder"},
      {kFiles / "LICENSE.txt", 3343, u"Unrecognized database format"},
  };
  for (const Case& c : cases) {
    testing::internal::CaptureStderr();
    try {
      AccessFile::open(c.path);
      ADD_FAILURE() << c.path << " opened";
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.number(), c.number) << c.path;
      EXPECT_NE(e.description().find(c.text), std::u16string::npos) << toUtf8(e.description());
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << c.path;
  }
}

TEST(AccessFile, ColumnsCarryDaoTypesSizesAndProperties) {
  struct Case {
    const char* file;
    std::u16string table;
    std::u16string column;
    std::int32_t jetType;
    std::int16_t daoType;
    std::int32_t size;
    bool autoIncrement;
    bool allowZeroLength;
    std::u16string defaultValue;
  } cases[] = {
      {"calcFieldTestV2010.accdb", u"Table1", u"ID", 4, kDaoLong, 4, true, false, u""},
      {"calcFieldTestV2010.accdb", u"Table1", u"FirstName", 10, kDaoText, 255, false, true, u""},
      {"calcFieldTestV2010.accdb", u"Table1", u"Popularity", 16, kDaoDecimal, 16, false, false,
       u"0"},
      {"queryTestV2000.mdb", u"Table1", u"col1", 10, kDaoText, 50, false, false, u""},
      {"queryTestV1997.mdb", u"Table1", u"col1", 10, kDaoText, 50, false, false, u""},
      {"complexDataTestV2007.accdb", u"Table1", u"memo-data", 12, kDaoMemo, 0, false, true, u""},
      {"complexDataTestV2007.accdb", u"Table1", u"multi-value-data", 18, kDaoUnknown, 4, false,
       false, u""},
      {"complexDataTestV2007.accdb", u"Table1", u"attach-data", 18, kDaoUnknown, 4, false, false,
       u""},
      {"extDateTestV2019.accdb", u"Table1", u"DateExt", 20, kDaoUnknown, 42, false, false, u""},
      {"extDateTestV2019.accdb", u"Table1", u"DateNormal", 8, 8, 8, false, false, u""},
      // Calculated columns take the type of their result, whatever the file stores them as.
      {"calcFieldTestV2010.accdb", u"Table1", u"IsRich", 3, 1, 1, false, false, u""},
      {"calcFieldTestV2010.accdb", u"Table1", u"AllNames", 10, kDaoMemo, 0, false, false, u""},
      {"calcFieldTestV2010.accdb", u"Table1", u"MonthlySalary", 7, 5, 8, false, false, u""},
      {"calcFieldTestV2010.accdb", u"Table1", u"WeeklySalary", 7, kDaoDecimal, 16, false, false,
       u""},
      {"calcFieldTestV2010.accdb", u"Table1", u"FloatTest", 16, 6, 4, false, false, u""},
      {"calcFieldTestV2010.accdb", u"Table1", u"LastFirstLen", 4, kDaoLong, 4, false, false, u""},
  };
  for (const Case& c : cases) {
    AccessFile file = openFixture(c.file);
    const AccessTable table = file.readTable(c.table);
    const AccessColumn& col = columnNamed(table, c.column);
    const std::string where = std::string(c.file) + " " + toUtf8(c.column);
    EXPECT_EQ(col.jetType, c.jetType) << where;
    EXPECT_EQ(col.daoType, c.daoType) << where;
    EXPECT_EQ(col.size, c.size) << where;
    EXPECT_EQ(col.autoIncrement, c.autoIncrement) << where;
    EXPECT_EQ((col.attributes & kDaoAutoIncrField) != 0, c.autoIncrement) << where;
    EXPECT_EQ(col.allowZeroLength, c.allowZeroLength) << where;
    EXPECT_EQ(col.defaultValue, c.defaultValue) << where;
    // None of these files sets Required or a Caption on any column.
    EXPECT_FALSE(col.required) << where;
    EXPECT_EQ(col.caption, std::nullopt) << where;
  }
  const AccessColumn popularity =
      columnNamed(openFixture("calcFieldTestV2010.accdb").readTable(u"Table1"), u"Popularity");
  EXPECT_EQ(popularity.precision, 18);
  EXPECT_EQ(popularity.scale, 6);
}

TEST(AccessFile, IndexesGiveTheirKindAndKeyColumnsInOrder) {
  struct Case {
    const char* file;
    std::u16string table;
    std::u16string index;
    IndexKind kind;
    bool unique;
    std::vector<std::u16string> fields;
  } cases[] = {
      {"calcFieldTestV2010.accdb",
       u"MSysIMEXColumns",
       u"PrimaryKey",
       IndexKind::Primary,
       true,
       {u"SpecID", u"FieldName"}},
      {"calcFieldTestV2010.accdb",
       u"MSysIMEXColumns",
       u"Index1",
       IndexKind::Other,
       false,
       {u"SpecID", u"Start"}},
      {"complexDataTestV2007.accdb",
       u"Table1",
       u"multi-value-data_F4C67B0F60124C1989D5583C00CF76E2",
       IndexKind::Other,
       true,
       {u"multi-value-data"}},
      {"complexDataTestV2007.accdb", u"Table1", u"PrimaryKey", IndexKind::Primary, true, {u"id"}},
      {"testIndexPropertiesV2000.mdb",
       u"TableIgnoreNulls2_temp",
       u"DataIndex",
       IndexKind::Other,
       false,
       {u"data1", u"data2"}},
  };
  for (const Case& c : cases) {
    AccessFile file = openFixture(c.file);
    const AccessTable table = file.readTable(c.table);
    const AccessIndex* found = nullptr;
    for (const AccessIndex& x : table.indexes) {
      if (x.name == c.index) found = &x;
    }
    ASSERT_NE(found, nullptr) << toUtf8(c.index);
    EXPECT_EQ(found->kind, c.kind) << toUtf8(c.index);
    EXPECT_EQ(found->unique, c.unique) << toUtf8(c.index);
    EXPECT_EQ(found->fields, c.fields) << toUtf8(c.index);
    EXPECT_EQ(table.indexNote, u"");
  }
}

TEST(AccessFile, AnIndexListLibmdbMisreadsLeavesTheTableKeylessWithANote) {
  AccessFile file = openFixture("testIndexPropertiesV2000.mdb");
  for (const char16_t* name : {u"TableIgnoreNulls2", u"TableUnique1_temp", u"TableUnique2_temp"}) {
    testing::internal::CaptureStderr();
    const AccessTable table = file.readTable(name);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(table.indexes.empty()) << toUtf8(name);
    EXPECT_NE(table.indexNote.find(u"'" + std::u16string(name) + u"' could not be read"),
              std::u16string::npos)
        << toUtf8(table.indexNote);
    EXPECT_FALSE(table.columns.empty());
  }
  EXPECT_NE(file.messages().find(u"TableUnique2_temp"), std::u16string::npos);
}

TEST(AccessFile, QueryKindsComeFromTheCatalogueAndOnlyPlainSelectsAreViews) {
  struct Case {
    std::u16string name;
    QueryKind kind;
    bool hasParameters;
  } cases[] = {
      {u"AppendQuery", QueryKind::Append, false},
      {u"CrosstabQuery", QueryKind::Crosstab, false},
      {u"DataDefinitionQuery", QueryKind::DataDefinition, false},
      {u"DeleteQuery", QueryKind::Delete, false},
      {u"MakeTableQuery", QueryKind::MakeTable, false},
      {u"PassthroughQuery", QueryKind::PassThrough, false},
      {u"SelectQuery", QueryKind::Select, false},
      {u"UnionQuery", QueryKind::Union, false},
      {u"UpdateQuery", QueryKind::Update, true},
  };
  for (const char* fixture : {"queryTestV1997.mdb", "queryTestV2000.mdb"}) {
    AccessFile file = openFixture(fixture);
    ASSERT_EQ(file.queries().size(), std::size(cases)) << fixture;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
      const QueryInfo& q = file.queries()[i];
      EXPECT_EQ(q.name, cases[i].name) << fixture;
      EXPECT_EQ(q.kind, cases[i].kind) << toUtf8(q.name);
      EXPECT_EQ(q.hasParameters, cases[i].hasParameters) << toUtf8(q.name);
    }
    EXPECT_EQ(file.viewNames(), std::vector<std::u16string>{u"SelectQuery"}) << fixture;
  }
}

TEST(AccessFile, QueriesAreRebuiltWithTheirJoinsColumnsAndSql) {
  AccessFile file = openFixture("queryTestV2000.mdb");
  const AccessQuery select = file.readQuery(u"SelectQuery");
  EXPECT_EQ(select.sql,
            u"SELECT DISTINCT Table1.*, Table2.col1, Table2.col2, Table3.col3\r\n"
            u"FROM (Table1 LEFT JOIN Table3 ON Table1.col1 = Table3.col1) INNER JOIN Table2 ON "
            u"(Table3.col1 = Table2.col1) AND (Table3.col1 = Table2.col2)\r\n"
            u"WHERE (((Table2.col2)=\"foo\" Or (Table2.col2) In (\"buzz\",\"bazz\")))\r\n"
            u"ORDER BY Table2.col1;");
  struct Join {
    std::u16string left, leftColumn, right, rightColumn;
    JoinType type;
  } joins[] = {
      {u"Table1", u"col1", u"Table3", u"col1", JoinType::Left},
      {u"Table3", u"col1", u"Table2", u"col1", JoinType::Inner},
      {u"Table3", u"col1", u"Table2", u"col2", JoinType::Inner},
  };
  ASSERT_EQ(select.joins.size(), std::size(joins));
  for (std::size_t i = 0; i < std::size(joins); ++i) {
    EXPECT_EQ(select.joins[i].leftTable, joins[i].left);
    EXPECT_EQ(select.joins[i].leftColumn, joins[i].leftColumn);
    EXPECT_EQ(select.joins[i].rightTable, joins[i].right);
    EXPECT_EQ(select.joins[i].rightColumn, joins[i].rightColumn);
    EXPECT_EQ(select.joins[i].type, joins[i].type);
  }
  // Table1.* is spread out; names that repeat are qualified as DAO qualifies them.
  const std::vector<std::u16string> names = {u"Table1.col1", u"Table1.col2", u"Table1.col3",
                                             u"Table2.col1", u"Table2.col2", u"Table3.col3"};
  ASSERT_EQ(select.columns.size(), names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    EXPECT_EQ(select.columns[i].name, names[i]);
    EXPECT_EQ(select.columns[i].daoType, kDaoText);
    EXPECT_EQ(select.columns[i].size, 50);
  }
  EXPECT_EQ(select.columns[5].sourceTable, u"Table3");

  const AccessQuery inner = file.readQuery(u"AppendQuery");
  ASSERT_EQ(inner.joins.size(), 1u);
  EXPECT_EQ(inner.joins[0].type, JoinType::Inner);
  EXPECT_EQ(inner.joins[0].leftColumn, u"col1");
  EXPECT_EQ(inner.joins[0].rightTable, u"Table2");

  EXPECT_EQ(file.readQuery(u"UnionQuery").sql,
            u"Select Table1.col1, Table1.col2\r\nwhere Table1.col1 = \"foo\"\r\nUNION\r\n"
            u"Select Table2.col1, Table2.col2\r\nUNION Select Table3.col1, Table3.col2\r\n"
            u"where Table3.col3 > \"blah\";");
  EXPECT_EQ(file.readQuery(u"DataDefinitionQuery").sql,
            u"CREATE TABLE Table5 (col1 CHAR, col2 CHAR);");
}

TEST(AccessFile, UnknownNamesRaiseObjectNotFound) {
  AccessFile file = openFixture("queryTestV2000.mdb");
  for (auto read : {+[](AccessFile& f) { f.readTable(u"NoSuchTable"); },
                    +[](AccessFile& f) { f.readQuery(u"NoSuchQuery"); }}) {
    try {
      read(file);
      ADD_FAILURE() << "read an object that is not there";
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.number(), 3011);
    }
  }
}

}  // namespace
}  // namespace vantorel::data::access
