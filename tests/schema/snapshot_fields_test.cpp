// The snapshot's field rules: the DAO type table with its "#" date quotes, the attribute bits of
// a DAO column, the ADO type quotes ("'" for dates), and InArray, which never compares element 0.
#include <gtest/gtest.h>

#include "schema/snapshot_fields.hpp"

namespace vantorel {
namespace {

TEST(SnapshotFields, DaoTypes) {
  struct Case {
    std::int16_t dao, type;
    bool supported;
    const char16_t* quote;  // nullptr: left as it was ("?")
  };
  const Case cases[] = {
      {1, 11, true, u""},     {2, 17, true, u""},      {3, 2, true, u""},
      {4, 3, true, u""},      {5, 6, true, u""},       {6, 4, true, u""},
      {7, 5, true, u""},      {8, 135, true, u"#"},    {9, 128, false, nullptr},
      {10, 202, true, u"'"},  {11, 205, true, u""},    {12, 203, true, u"'"},
      {15, 72, true, u"'"},   {16, 20, true, u""},     {18, 129, true, u"'"},
      {19, 131, true, u""},   {20, 131, true, u""},    {21, 5, true, u""},
      {22, 135, true, u"#"},  {23, 135, true, u"#"},   {0, -1, false, nullptr},
      {17, -1, false, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dao);
    AGSchemaField fld;
    fld.FldQuoteS = fld.FldQuoteE = u"?";
    SetupDAOFldType(fld, c.dao);
    EXPECT_EQ(fld.FldType, c.type);
    EXPECT_EQ(fld.FldSupport, c.supported);
    EXPECT_EQ(fld.FldQuoteS, c.quote ? c.quote : u"?");
    EXPECT_EQ(fld.FldQuoteE, c.quote ? c.quote : u"?");
  }
}

TEST(SnapshotFields, DaoAttributes) {
  struct Case {
    std::int32_t attributes;
    bool required;
    std::int32_t bits;
  };
  const Case cases[] = {
      {1 | 16, false, 48}, {0, true, 4}, {0, false, 36}, {1, true, 20}, {16, true, 0}};
  for (const Case& c : cases) {
    DaoFieldDefinition f;
    f.Attributes = c.attributes;
    f.Required = c.required;
    EXPECT_EQ(GetDAOFldAttributes(f), c.bits) << c.attributes << " " << c.required;
  }
}

TEST(SnapshotFields, AdoTypes) {
  struct Case {
    std::int16_t type;
    bool supported;
    const char16_t* quote;
  };
  const Case cases[] = {{3, true, u""},     {131, true, u""},   {11, true, u""},
                        {135, true, u"'"},  {7, true, u"'"},    {133, true, u"'"},
                        {202, true, u"'"},  {205, true, u"'"},  {72, true, u"'"},
                        {128, false, u""},  {141, false, u""},  {0, false, u""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    AGSchemaField fld;
    SetupADOFldType(fld, c.type, 255);
    EXPECT_EQ(fld.FldType, c.type);
    EXPECT_EQ(fld.FldSupport, c.supported);
    EXPECT_EQ(fld.FldQuoteS, c.quote);
    EXPECT_EQ(fld.FldQuoteE, c.quote);
  }
  // A type name given by the server is kept.
  AGSchemaField named;
  named.FldTypeName = u"citext";
  SetupADOFldType(named, 202, 255);
  EXPECT_EQ(named.FldTypeName, u"citext");
}

TEST(SnapshotFields, InArrayNeverComparesElementZero) {
  const std::vector<std::u16string> views{u"q0", u"q1", u"Q2"};
  EXPECT_FALSE(InArray(views, u"q0"));
  EXPECT_TRUE(InArray(views, u"q1"));
  EXPECT_FALSE(InArray(views, u"q2"));
  EXPECT_FALSE(InArray({}, u""));
}

}  // namespace
}  // namespace vantorel
