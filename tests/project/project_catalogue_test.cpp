#include "project/project_catalogue.hpp"
#include "foundation/project_context.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "foundation/locale_charset.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel {
namespace {

std::vector<std::vector<std::string>> readTsv(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::vector<std::string>> rows;
  std::string line;
  std::getline(in, line);  // header
  while (std::getline(in, line)) {
    std::vector<std::string> cells;
    std::stringstream cellStream(line);
    std::string cell;
    while (std::getline(cellStream, cell, '\t')) cells.push_back(cell);
    rows.push_back(cells);
  }
  return rows;
}

std::string yn(bool b) {
  return b ? "Y" : "N";
}

TEST(ProjectCatalogueTest, RowsInOrderWithTypesAndFlags) {
  const auto rows = readTsv(std::string(VANTOREL_TEST_DATA) + "/project_catalogue.tsv");
  const SettingCatalog& catalog = projectCatalog();
  ASSERT_EQ(rows.size(), 137u);
  ASSERT_EQ(catalog.size(), 137u);
  for (SettingSlot slot = 0; slot < catalog.size(); ++slot) {
    const std::vector<std::string>& row = rows[slot];
    ASSERT_EQ(row.size(), 7u) << "row " << slot;
    const SettingRecord& r = catalog[slot];
    EXPECT_EQ(row[0], std::to_string(slot + 1));
    EXPECT_EQ(toUtf8(r.name), row[1]) << "row " << slot;
    EXPECT_EQ(toUtf8(r.dataType), row[2]) << row[1];
    EXPECT_EQ(yn(r.regSave), row[3]) << row[1];
    EXPECT_EQ(std::to_string(r.regFormat), row[4]) << row[1];
    EXPECT_EQ(yn(r.fileSave), row[5]) << row[1];
    EXPECT_EQ(yn(r.sync), row[6]) << row[1];
    // Names are found without regard to case, and the slot constants follow the rows.
    EXPECT_EQ(catalog.find(toLower(r.name)), slot);
  }
  EXPECT_EQ(catalog[kProjName].name, u"ProjName");
  EXPECT_EQ(catalog[kProjDefaultDateFormat].name, u"defaultDateFormat");
  EXPECT_EQ(catalog[kProjChartMenuItems].name, u"ChartMenuItems");
}

TEST(ProjectCatalogueTest, FixedValuesOverrideWhateverWasThere) {
  InitLocaleCharset();
  struct Case {
    Variant encodingBefore;
    std::u16string encodingAfter;
  };
  const std::vector<Case> cases = {
      {Variant(), projectContext().systemCharset},
      {Variant(u""), projectContext().systemCharset},
      {Variant(u"utf-8"), u"utf-8"},
  };
  for (const Case& c : cases) {
    auto bag = makeRef<AGProperties>(projectCatalog());
    for (SettingSlot s = 0; s < kProjSettingCount; ++s) bag->setting(s) = Variant(u"x");
    bag->setting(kProjPagerStyle) = Variant(std::int16_t{9});
    bag->setting(kProjXMLEncoding) = c.encodingBefore;
    applyProjectFixedValues(*bag);
    const std::vector<std::pair<SettingSlot, std::u16string>> texts = {
        {kProjIncFiles, u""},      {kProjIncVirtuals, u""},  {kProjSecType, u"None"},
        {kProjSecLoginID, u""},    {kProjSecPasswd, u""},    {kProjSecTbl, u""},
        {kProjSecLoginIDFld, u""}, {kProjSecPasswdFld, u""}, {kProjXMLEncoding, c.encodingAfter},
        {kProjSecEmailFld, u"x"},  {kProjSQLQuote, u"x"},
    };
    for (const auto& [slot, text] : texts) {
      EXPECT_EQ(toString(bag->setting(slot)), text) << toUtf8(projectCatalog()[slot].name);
    }
    const std::vector<std::pair<SettingSlot, bool>> flags = {
        {kProjAutoSync, true}, {kProjAutoBrowse, false}, {kProjCreateVDir, false},
        {kProjOtherGen, true}, {kProjLinkOnLeft, false}, {kProjMultiDelete, false},
    };
    for (const auto& [slot, flag] : flags) {
      EXPECT_EQ(bag->setting(slot).type(), VarType::Boolean);
      EXPECT_EQ(toBool(bag->setting(slot)), flag) << toUtf8(projectCatalog()[slot].name);
    }
    EXPECT_EQ(bag->setting(kProjPagerStyle).type(), VarType::Integer);
    EXPECT_EQ(toInteger(bag->setting(kProjPagerStyle)), 2);
  }
}

TEST(ProjectCatalogueTest, DateFormatInForceIsTheSettingWhenNumeric) {
  const std::vector<std::pair<Variant, std::int16_t>> cases = {
      {Variant(std::int16_t{9}), 9},
      {Variant(u"11"), 11},
      {Variant(std::int32_t{70000}), 0},
      {Variant(u"x"), 0},
      {Variant(), 0},
  };
  auto bag = makeRef<AGProperties>(projectCatalog());
  for (const auto& [value, format] : cases) {
    bag->setting(kProjDefaultDateFormat) = value;
    projectContext().currentDateFormat = -1;
    copyDateFormatSetting(*bag);
    EXPECT_EQ(projectContext().currentDateFormat, format) << toUtf8(toString(value));
  }
}

}  // namespace
}  // namespace vantorel
