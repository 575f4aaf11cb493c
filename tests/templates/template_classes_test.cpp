#include "templates/template_classes.hpp"
#include "foundation/project_context.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/automation/class_factory.hpp"
#include "platform/automation/class_info.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"
#include "platform/vbscript/control/script_control.hpp"
#include "support/temp_home.hpp"
#include "templates/file_cache.hpp"

namespace vantorel {
namespace {

TEST(TemplateClassesTest, EveryClassIsCreatableWithItsMembersInOrder) {
  test::TempDir docs;
  const std::u16string savedDocuments = projectContext().myDocumentsFolder;
  projectContext().myDocumentsFolder = fromUtf8(docs.str());
  registerTemplateClasses(ClassFactory::instance());
  const std::vector<std::pair<std::u16string, std::u16string>> classes = {
      {u"AGParser", u"BlockType BlockName BlockValue BlockIndent BlockID Count Parse GetSession"},
      {u"AGPFileCache", u"Clear AddFile GetSession"},
      {u"AGPControls",
       u"curIndex ProdDate ProdVersion ProdDesc ProdAuthor LoadControls AddControl DeleteControl "
       u"ControlExist Count Item"},
      {u"AGPControl",
       u"Sessions CtrlID CtrlType CtrlOFile CtrlOFileCompat CtrlOExt CtrlOFolder CtrlOFolderID "
       u"CtrlIFiles CtrlIFolder CtrlCond CtrlTagExt CtrlParm CtrlSpace CtrlGen CtrlExt CtrlAction "
       u"CtrlOverwrite CtrlRemark Load"},
      {u"AGPSessions", u"Load AddSession ChangeSession DeleteSession SessionExist Count Item"},
      {u"AGPSession",
       u"SessType SessValue SessParm SessIFile SessCond SessExt SessAction SessLocation "
       u"SessLocType Load"},
      {u"AGPCache",
       u"AddCache DeleteCache DeleteCacheGroup DeleteAllCache CheckCache GetCacheDate "
       u"MatchCacheGroup WriteCacheFile"},
      {u"AGControlItems", u"Add Count Delete ItemExist Item NewEnum_item"},
      {u"AGControlItem", u"Key ItemId ItemFn ItemGen ItemRemark"},
  };
  for (const auto& [name, members] : classes) {
    SCOPED_TRACE(toUtf8(name));
    Ref<Object> object = ClassFactory::instance().create(u"vantorel4." + name);
    ASSERT_TRUE(object);
    EXPECT_EQ(object->classInfo().name(), name);
    std::u16string listed;
    for (const MemberInfo& m : object->classInfo().members()) {
      if (m.name.starts_with(u"_")) continue;  // _NewEnum, which For Each reaches
      listed += (listed.empty() ? u"" : u" ") + m.name;
    }
    EXPECT_EQ(toUtf8(listed), toUtf8(members));
  }
  projectContext().myDocumentsFolder = savedDocuments;
}

TEST(TemplateClassesTest, ScriptsWalkBlocksSectionsAndItems) {
  registerTemplateClasses(ClassFactory::instance());
  SharedFileCache().Clear();
  SharedFileCache().addText(
      u"<!--##session s##-->A<!--##include t.htm/u##-->C<!--##/session##-->"
      u"<!--##session u##-->I<!--##/session##-->",
      u"t.htm");
  auto control = makeRef<vbs::ScriptControl>();
  control->setLanguage(u"VBScript");
  control->addCode(
      u"Function Walk()\r\n"
      u"  Dim p, i, s, parts, items, it\r\n"
      u"  Set p = CreateObject(\"vantorel4.AGParser\")\r\n"
      u"  p.Parse \"a<!--##=x##-->b\"\r\n"
      u"  For i = 1 To p.Count\r\n"
      u"    p.BlockID = i\r\n"
      u"    s = s & p.BlockType & \":\" & p.BlockValue & \";\"\r\n"
      u"  Next\r\n"
      u"  parts = p.GetSession(\"t.htm\", \"s\")\r\n"
      u"  s = s & LBound(parts) & UBound(parts) & parts(0) & parts(1) & parts(2)\r\n"
      u"  Set items = CreateObject(\"vantorel4.AGControlItems\")\r\n"
      u"  items.Add \"a\", \"a.asp\", True, \"\"\r\n"
      u"  items.Add \"b\", \"b.asp\", False, \"\"\r\n"
      u"  For Each it In items\r\n"
      u"    s = s & \"|\" & it.ItemId & it.ItemGen\r\n"
      u"  Next\r\n"
      u"  Walk = s\r\n"
      u"End Function\r\n");
  EXPECT_EQ(toUtf8(toString(control->run(u"Walk"))), "6:a;2:x;6:b;02AIC|aTrue|bFalse");
  SharedFileCache().Clear();
}

}  // namespace
}  // namespace vantorel
