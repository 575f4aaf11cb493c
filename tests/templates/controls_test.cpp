#include "templates/controls.hpp"
#include "foundation/project_context.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/automation/class_factory.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"
#include "support/failure_text.hpp"
#include "support/temp_home.hpp"
#include "support/test_files.hpp"
#include "templates/template_classes.hpp"

namespace vantorel {
namespace {

constexpr const char* kControlFile = R"(<?xml version="1.0" encoding="UTF-8"?>
<Vantorel date="2026/01/02" version="4.0" desc="Sample &amp; more" author="Team">
  <control id="list" type="table" ifiles="list.htm" ifolder="/pages/list" ofile="x_list"
           oext="asp" cond="Table/TblGen/True" SPACE="False" overwrite="0" remark="r">
    <session type="key" value="header" ifile="part.htm" cond="c1" parm="p1"/>
    <SESSION TYPE="include" VALUE="footer" PARM="p2"/>
    <note value="ignored"/>
  </control>
  <Control ID="css" type="other" ofolder="css" space="true" overwrite="-1"/>
  <control id="folder" type="folder" ifolder="a/b/"/>
  <other id="ignored"/>
</Vantorel>
)";

std::u16string flag(bool b) {
  return b ? u"T" : u"F";
}

std::u16string sessionsOf(AGPSessions& sessions) {
  std::u16string out;
  for (const Ref<AGPSession>& s : sessions.items()) {
    const AGSessionFields& f = s->fields();
    out += u"(" + f.SessType + u"," + f.SessValue + u"," + f.SessParm + u"," + f.SessIFile + u"," +
           f.SessCond + u"," + f.SessExt + u"," + f.SessAction + u")";
  }
  return out;
}

std::u16string controlsOf(AGPControls& controls) {
  std::u16string out = controls.ProdDate() + u"|" + controls.ProdVersion() + u"|" +
                       controls.ProdDesc() + u"|" + controls.ProdAuthor() + u"\n";
  for (const Ref<AGPControl>& c : controls.items()) {
    const AGControlFields& f = c->fields();
    out += f.CtrlID + u":" + f.CtrlType + u":" + f.CtrlIFiles + u":" + f.CtrlIFolder + u":" +
           f.CtrlOFile + u":" + f.CtrlOExt + u":" + f.CtrlOFolder + u":" + f.CtrlCond + u":" +
           f.CtrlExt + u":" + f.CtrlAction + u":" + f.CtrlRemark + u":" + flag(f.CtrlSpace) +
           flag(f.CtrlOverwrite) + flag(f.CtrlGen) + sessionsOf(*c->Sessions()) + u"\n";
  }
  return out;
}

const char16_t kLoaded[] =
    u"2026/01/02|4.0|Sample & more|Team\n"
    u"list:table:list.htm:pages\\list\\:x_list:asp::Table/TblGen/True:::r:FFF"
    u"(key,header,p1,part.htm,c1,,)(include,footer,p2,,,,)\n"
    u"css:other:::::css:::::TTF\n"
    u"folder:folder::a\\b\\::::::::TTF\n";

TEST(ControlsTest, LoadsControlsAndSessions) {
  test::TempDir dir;
  test::writeFile(dir.path() / "control.xml", kControlFile);
  auto controls = makeRef<AGPControls>();
  ASSERT_TRUE(controls->LoadControls(fromUtf8((dir.path() / "control.xml").string())));
  EXPECT_EQ(toUtf8(controlsOf(*controls)), toUtf8(kLoaded));
  EXPECT_EQ(controls->Count(), 3);
}

TEST(ControlsTest, NormalisesTheInputFolder) {
  const std::vector<std::pair<std::u16string, std::u16string>> cases = {
      {u"a/b", u"a\\b\\"}, {u"/a", u"a\\"}, {u"\\\\a\\", u"\\a\\"}, {u"a\\", u"a\\"},
      {u"", u""},          {u"/", u""},     {u"//", u""},
  };
  for (const auto& [given, expected] : cases) {
    EXPECT_EQ(toUtf8(templates::normalizeInputFolder(given)), toUtf8(expected)) << toUtf8(given);
  }
}

struct BadFile {
  std::string name;
  std::string bytes;
  std::int16_t code;
  std::u16string error;  // the particulars after the file name
};

TEST(ControlsTest, RefusesUnusableFilesAndKeepsWhatWasLoaded) {
  test::TempDir dir;
  test::writeFile(dir.path() / "control.xml", kControlFile);
  const std::string head = "<Vantorel date='d' version='4.0' desc='' author='a'>\n";
  const std::vector<BadFile> cases = {
      {"missing.xml", "", 1, u"the file cannot be read"},
      {"broken.xml", head + "<control id='a'>\n  <session value='x'>\n</control>", 1,
       u"line 4, column 3: Start-end tags mismatch"},
      {"binary.xml", std::string("\x00\x01\x02\xFF\xFE garbage", 14), 1,
       u"line 1, column 15: No document element found"},
      {"noversion.xml", "<Vantorel date='d' desc='' author='a'/>", 1,
       u"line 1, column 1: the root element lacks the attribute \"version\""},
      {"badflag.xml", head + "<control id='a' space='maybe'/></Vantorel>", 1,
       u"line 2, column 1: the attribute \"space\" of control \"a\" is \"maybe\", neither true, "
       u"false nor a number"},
  };
  auto controls = makeRef<AGPControls>();
  for (const BadFile& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(controls->LoadControls(fromUtf8((dir.path() / "control.xml").string())));
    if (!c.bytes.empty()) test::writeFile(dir.path() / c.name, c.bytes);
    const std::u16string path = fromUtf8((dir.path() / c.name).string());
    const Expected<> loaded = controls->loadControlFile(path);
    ASSERT_FALSE(loaded.ok());
    EXPECT_EQ(loaded.failure().number, c.code);
    EXPECT_EQ(toUtf8(loaded.failure().text), toUtf8(path + u": " + c.error));
    EXPECT_EQ(toUtf8(controlsOf(*controls)), toUtf8(kLoaded));
  }
  // A root that does not name the product empties the list; one that starts with it is fine.
  test::writeFile(dir.path() / "other.xml", "<Vantor date='' version='' desc='' author=''/>");
  const Expected<> other = controls->loadControlFile(fromUtf8((dir.path() / "other.xml").string()));
  ASSERT_FALSE(other.ok());
  EXPECT_EQ(other.failure().number, kControlFileForeign);
  EXPECT_FALSE(controls->LoadControls(fromUtf8((dir.path() / "other.xml").string())));
  EXPECT_EQ(controls->Count(), 0);
  test::writeFile(dir.path() / "longer.xml",
                  "<vantorelTemplates date='' version='5.1' desc='' author=''><control type='odd'/>"
                  "<control type='odd'/></vantorelTemplates>");
  EXPECT_TRUE(controls->LoadControls(fromUtf8((dir.path() / "longer.xml").string())));
  EXPECT_EQ(controls->ProdVersion(), u"5.1");
  EXPECT_EQ(controls->Count(), 2);  // ids may be missing; unknown types are the generator's call
}

// A file with two controls of one id was refused as a whole; both load, look-ups find the
// first, and the second is named for the caller to say.
TEST(ControlsTest, AnIdUsedTwiceLoadsBothWithAWarning) {
  test::TempDir dir;
  test::writeFile(
      dir.path() / "twice.xml",
      "<Vantorel date='d' version='4.0' desc='' author='a'>\n<control id='a' ofile='one'/>"
      "\n  <control id='a' ofile='two'/><control id='b'/></Vantorel>");
  const std::u16string path = fromUtf8((dir.path() / "twice.xml").string());
  auto controls = makeRef<AGPControls>();
  ASSERT_TRUE(controls->LoadControls(path));
  EXPECT_EQ(controls->Count(), 3);
  EXPECT_EQ(controls->Item(Variant(u"a"))->fields().CtrlOFile, u"one");
  EXPECT_EQ(controls->loadWarnings(),
            (std::vector<std::u16string>{path + u": line 3, column 3: the control id \"a\" is used "
                                                u"twice (first at line 2, column 1); look-ups by "
                                                u"id find the first"}));
  test::writeFile(dir.path() / "control.xml", kControlFile);
  ASSERT_TRUE(controls->LoadControls(fromUtf8((dir.path() / "control.xml").string())));
  EXPECT_TRUE(controls->loadWarnings().empty());
}

TEST(ControlsTest, ItemByPositionOrId) {
  test::TempDir dir;
  test::writeFile(dir.path() / "control.xml", kControlFile);
  registerTemplateClasses(ClassFactory::instance());
  Ref<Object> controls = ClassFactory::instance().create(u"vantorel4.AGPControls");
  ASSERT_TRUE(toBool(
      controls->call(u"LoadControls", {Variant(fromUtf8((dir.path() / "control.xml").string()))})));
  struct Case {
    Variant index;
    std::u16string id;  // "" for Nothing
    std::int16_t curIndex;
  };
  const std::vector<Case> cases = {
      {Variant(std::int16_t{2}), u"css", 2},
      {Variant(u"LIST"), u"", 2},
      {Variant(u"folder"), u"folder", 3},
      {Variant(std::int32_t{0}), u"", 3},
      {Variant(1.0), u"list", 1},
      {Variant(std::uint8_t{4}), u"", 1},
      {Variant(u"2"), u"", 1},
      {Variant(true), u"", 1},
      {Variant(std::int32_t{3}), u"folder", 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(toUtf8(toString(c.index)));
    const Variant item = controls->call(u"Item", {c.index});
    EXPECT_EQ(item.isNothing() ? u"" : toString(item.objectValue()->get(u"CtrlID")), c.id);
    EXPECT_EQ(toLong(controls->get(u"curIndex")), c.curIndex);
  }
}

TEST(ControlsTest, SessionsInsertChangeAndDelete) {
  auto sessions = makeRef<AGPSessions>();
  auto make = [](std::u16string value, std::u16string parm = u"") {
    auto s = makeRef<AGPSession>();
    s->setSessType(u"key");
    s->setSessValue(std::move(value));
    s->setSessParm(std::move(parm));
    s->setSessLocation(u"ignored");
    return s;
  };
  for (const char16_t* v : {u"a", u"b", u"c"}) sessions->AddSession(make(v), u"none", u"");
  struct Step {
    std::u16string loc, loctype, order;
  };
  const std::vector<Step> steps = {
      {u"b", u"after", u"a b n c"},
      {u"b", u"before", u"a n b c"},
      {u"B", u"after", u"a b c n"},
      {u"a", u"After", u"n a b c"},
  };
  for (const Step& s : steps) {
    auto copy = makeRef<AGPSessions>();
    for (const Ref<AGPSession>& x : sessions->items()) copy->AddSession(x, u"zz", u"");
    EXPECT_TRUE(copy->AddSession(make(u"n", u"np"), s.loc, s.loctype));
    std::u16string order;
    for (const Ref<AGPSession>& x : copy->items())
      order += (order.empty() ? u"" : u" ") + x->SessValue();
    EXPECT_EQ(toUtf8(order), toUtf8(s.order)) << toUtf8(s.loc + u" " + s.loctype);
    // The parameter travels with the copy; location settings do not.
    const Ref<AGPSession> added = copy->items()[order.find(u'n') / 2];
    EXPECT_EQ(added->SessParm(), u"np");
    EXPECT_EQ(added->SessLocation(), u"");
  }
  auto change = makeRef<AGPSession>();
  change->setSessCond(u"newcond");
  change->setSessExt(u"ext");
  change->setSessType(u"other");
  EXPECT_TRUE(sessions->ChangeSession(u"b", change));
  EXPECT_FALSE(sessions->ChangeSession(u"B", change));
  EXPECT_EQ(toUtf8(sessionsOf(*sessions)), "(key,a,,,,,)(key,b,,,newcond,ext,)(key,c,,,,,)");
  EXPECT_TRUE(sessions->DeleteSession(u"a"));
  EXPECT_FALSE(sessions->DeleteSession(u"a"));
  EXPECT_TRUE(sessions->SessionExist(u"c"));
  EXPECT_EQ(sessions->Item(1)->SessValue(), u"b");
  EXPECT_EQ(sessions->Item(3), nullptr);
  EXPECT_EQ(sessions->Item(0), nullptr);
}

TEST(ControlsTest, AddChangeDeleteAndWriteBack) {
  test::TempDir dir;
  const std::u16string file = fromUtf8((dir.path() / "control.xml").string());
  test::writeFile(dir.path() / "control.xml", kControlFile);
  auto controls = makeRef<AGPControls>();
  ASSERT_TRUE(controls->LoadControls(file));

  auto extra = makeRef<AGPControl>();
  extra->setCtrlID(u"extra");
  extra->setCtrlType(u"field");
  extra->setCtrlExt(u"ext1");
  extra->setCtrlAction(u"add");
  extra->setCtrlRemark(u"not copied");
  extra->setCtrlGen(true);
  extra->setCtrlSpace(true);
  extra->setCtrlIFiles(u"a.htm,b.htm");
  auto s = makeRef<AGPSession>();
  s->setSessValue(u"body");
  s->setSessCond(u"x<\"y\"&z\r\nw");
  extra->Sessions()->AddSession(s, u"", u"");
  EXPECT_TRUE(controls->AddControl(extra));
  EXPECT_FALSE(controls->AddControl(extra));
  EXPECT_EQ(extra->Sessions()->Item(1)->SessExt(), u"ext1");  // the caller's session took it

  auto change = makeRef<AGPSession>();
  change->setSessIFile(u"new.htm");
  change->setSessAction(u"change");
  EXPECT_TRUE(controls->Item(Variant(u"list"))->Sessions()->ChangeSession(u"footer", change));
  EXPECT_TRUE(controls->DeleteControl(u"css"));
  EXPECT_FALSE(controls->DeleteControl(u"css"));
  EXPECT_TRUE(controls->ControlExist(u"extra"));
  EXPECT_FALSE(controls->ControlExist(u"EXTRA"));

  const char16_t kChanged[] =
      u"2026/01/02|4.0|Sample & more|Team\n"
      u"list:table:list.htm:pages\\list\\:x_list:asp::Table/TblGen/True:::r:FFF"
      u"(key,header,p1,part.htm,c1,,)(include,footer,p2,new.htm,,,change)\n"
      u"folder:folder::a\\b\\::::::::TTF\n"
      u"extra:field:a.htm,b.htm::::::ext1:add::TFF(,body,,,x<\"y\"&z\r\nw,ext1,)\n";
  EXPECT_EQ(toUtf8(controlsOf(*controls)), toUtf8(kChanged));

  controls->writeControlFile(file);
  auto reread = makeRef<AGPControls>();
  const Expected<> reloaded = reread->loadControlFile(file);
  ASSERT_TRUE(reloaded.ok()) << toUtf8(test::failureText(reloaded));
  EXPECT_EQ(toUtf8(controlsOf(*reread)), toUtf8(kChanged));
  // Nothing but the file itself is left in the folder.
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path()))
    ++files;
  EXPECT_EQ(files, 1u);
}

}  // namespace
}  // namespace vantorel
