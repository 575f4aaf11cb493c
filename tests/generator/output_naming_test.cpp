#include "generator/output_naming.hpp"

#include <vector>

#include "generator_test_support.hpp"

namespace vantorel::test {
namespace {

TEST(NamePatternTest, PlacesTheWordAroundTheUnit) {
  struct Case {
    std::u16string table, field, page, type, word;
    bool lower;
    std::u16string expected;
  };
  const std::vector<Case> cases = {
      {u"orders", u"", u"list", u"", u"x", false, u"orderslist"},
      {u"orders", u"id", u"list", u"", u"x", false, u"orders_idlist"},
      {u"orders", u"id", u"list", u"SUFFIX", u"x", false, u"orders_idlistx"},
      {u"orders", u"", u"list", u"prefix", u"x", false, u"xorderslist"},
      {u"orders", u"id", u"list", u"Infix", u"x", false, u"orders_idxlist"},
      // A project-level page keeps its bare name with "infix" only.
      {u"", u"", u"menu", u"infix", u"x", false, u"menu"},
      {u"", u"", u"menu", u"suffix", u"x", false, u"menux"},
      {u"Orders", u"ID", u"List", u"prefix", u"Pre", true, u"preorders_idlist"},
      {u"Orders", u"", u"List", u"other", u"X", true, u"orderslist"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(u8(ApplyNamePattern(c.table, c.field, c.page, c.type, c.word, c.lower)),
              u8(c.expected));
  }
}

class OutputFileNameTest : public GeneratorTest {};

TEST_F(OutputFileNameTest, NamesEachControlType) {
  struct Case {
    Ref<AGPControl> control;
    std::u16string parm, compatFile, nameType;
    bool lower, appCompat;
    std::u16string table, field, expected;
  };
  const std::vector<Case> cases = {
      {makeControl(u"l", u"table", u"list", u"*"), u"", u"", u"", true, false, u"Orders", u"",
       u"orderslist.asp"},
      {makeControl(u"l", u"TABLE", u"List", u"*"), u"", u"", u"", false, false, u"Orders", u"",
       u"OrdersList.asp"},
      {makeControl(u"r", u"report", u"rpt", u"asp"), u"", u"", u"suffix", false, false, u"Sales",
       u"", u"Salesrptw.asp"},
      {makeControl(u"f", u"field", u"view", u"*"), u"", u"", u"", false, false, u"orders", u"id",
       u"orders_idview.asp"},
      {makeControl(u"m", u"other", u"menu", u"*"), u"", u"", u"infix", false, false, u"T", u"F",
       u"menu.asp"},
      {makeControl(u"m", u"other", u"menu", u"*"), u"", u"", u"prefix", false, false, u"", u"",
       u"wmenu.asp"},
      {makeControl(u"w", u"web.config", u"web", u"config"), u"", u"", u"prefix", false, false, u"",
       u"", u"web.config"},
      {makeControl(u"s", u"simple", u"readme", u""), u"", u"", u"suffix", false, false, u"", u"",
       u"readme"},
      {makeControl(u"s", u"simple", u"new", u"*"), u"", u"old", u"", false, true, u"", u"",
       u"old.asp"},
      {makeControl(u"s", u"simple", u"new", u"*"), u"", u"old", u"", false, false, u"", u"",
       u"new.asp"},
      {makeControl(u"s", u"simple", u"Lib", u"JS"), u"UseCompatVersion", u"", u"", true, false, u"",
       u"", u"lib7.js"},
      // A copy without an output name is called by what it copies, untouched.
      {makeControl(u"c", u"copy", u"", u"*", u"A.css,B.css"), u"", u"", u"prefix", true, false, u"",
       u"", u"A.css,B.css"},
      {makeControl(u"Img", u"copy", u"", u"*"), u"", u"", u"", true, false, u"", u"", u"Img"},
      {makeControl(u"c", u"copy", u"Logo", u"GIF", u"a.gif"), u"", u"", u"prefix", true, false, u"",
       u"", u"logo.gif"},
  };
  set(u"OutputNameExt", Variant(u"w"));
  set(u"AppCompatVersion", Variant(u"7"));
  for (const Case& c : cases) {
    c.control->fields().CtrlParm = c.parm;
    c.control->fields().CtrlOFileCompat = c.compatFile;
    set(u"OutputNameType", Variant(c.nameType));
    set(u"OutputNameLCase", Variant(c.lower));
    set(u"AppCompat", Variant(c.appCompat));
    EXPECT_EQ(u8(GetOutputFileName(*proj_, *c.control, c.table, c.field)), u8(c.expected));
  }
  // Settings that hold no usable value read as unset.
  set(u"OutputNameLCase", Variant(u"not a Boolean"));
  set(u"OutputNameType", Variant::null());
  EXPECT_EQ(u8(GetOutputFileName(*proj_, *makeControl(u"l", u"table", u"List", u"*"), u"T", u"")),
            "TList.asp");
}

TEST(FolderByIdTest, FindsTheFolderControl) {
  auto controls = makeRef<AGPControls>();
  controls->AddControl(makeControl(u"_img", u"other", u"", u"", u"", u"wrong"));
  controls->AddControl(makeControl(u"_CSS", u"Folder", u"", u"", u"", u"css"));
  EXPECT_EQ(u8(GetFolderById(*controls, u"_css")), "css");
  // Only folder controls name folders; an unknown id is the destination itself.
  EXPECT_EQ(u8(GetFolderById(*controls, u"_img")), "");
  EXPECT_EQ(u8(GetOutputFolder(*controls, u"_missing", u"direct")), "");
  EXPECT_EQ(u8(GetOutputFolder(*controls, u"", u"direct")), "direct");
}

}  // namespace
}  // namespace vantorel::test
