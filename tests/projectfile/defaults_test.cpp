// The user's defaults written from a project and read back by the next project object, and the
// first-run copy of the machine-wide settings.
#include <gtest/gtest.h>

#include "foundation/project_context.hpp"
#include "foundation/reg_values.hpp"
#include "platform/automation/variant_convert.hpp"
#include "projectfile/project_defaults.hpp"
#include "projectfile/project_test_support.hpp"

namespace vantorel {
namespace {

using test::show;

class DefaultsTest : public test::ProjectFileTest {
 protected:
  static Variant user(const std::u16string& key, const std::u16string& name) {
    return GetRegValue(Variant(u"HKCU"), Variant(key), Variant(name));
  }
};

TEST_F(DefaultsTest, SavedDefaultsAreTheNextProjectsDefaults) {
  for (const bool on : {true, false}) {
    Ref<AGP> p = makeRef<AGP>();
    p->SetV(u"AppHeader", Variant(on ? u"Top\r\nline" : u""));
    p->SetV(u"MultiLanguage", Variant(on));
    p->setBackupFileFlag(on);
    p->setUserCodePath(on ? u"/u/code.vbs" : u"");
    projectContext().scriptEngineTimeout = on ? 30 : 0;
    if (on) addDatabase(*p, u"db").SetV(u"MaxUploadSize", u"4096");
    saveProjectDefaults(*p);

    EXPECT_EQ(show(user(projectContext().generalKey, u"BackupFile")),
              show(Variant(on ? u"True" : u"False")));
    EXPECT_EQ(show(user(projectContext().generalKey, u"ScriptEngineTimeout")),
              show(Variant(on ? 30 : 0)));
    EXPECT_EQ(show(user(projectContext().generalKey, u"Language")), show(Variant(u"")));
    projectContext().scriptEngineTimeout = -1;
    Ref<AGP> next = makeRef<AGP>();
    EXPECT_EQ(next->BackupFileFlag(), on);
    EXPECT_EQ(next->UserCodePath(), on ? u"/u/code.vbs" : u"");
    EXPECT_EQ(projectContext().scriptEngineTimeout, on ? 30 : 0);
    EXPECT_EQ(toString(next->GetV(u"AppHeader")), on ? u"Top\r\nline" : u"");
    EXPECT_EQ(toBool(next->GetV(u"MultiLanguage")), on);
  }
  // The second project had no database: the first one's database defaults stay.
  EXPECT_EQ(show(user(projectContext().databaseKey, u"MaxUploadSize")),
            show(Variant(std::int32_t{4096})));
}

TEST_F(DefaultsTest, FirstRunCopiesTheMachineWideFilters) {
  spillStore(machineFile(),
             "[HKEY_LOCAL_MACHINE\\Software\\Vantorel\\4.0\\AdvancedFilters\\Text\\Starts]\n"
             "\"EvalString\"=\"fld & \\\" LIKE '\\\" & val & \\\"%'\\\"\"\n"
             "\"Order\"=dword:00000003\n");
  Ref<AGP> p = makeRef<AGP>();
  const std::u16string key = projectContext().advancedFiltersKey + u"\\Text\\Starts";
  EXPECT_EQ(show(user(key, u"EvalString")), show(Variant(u"fld & \" LIKE '\" & val & \"%'\"")));
  EXPECT_EQ(show(user(key, u"Order")), show(Variant(std::int32_t{3})));
}

}  // namespace
}  // namespace vantorel
