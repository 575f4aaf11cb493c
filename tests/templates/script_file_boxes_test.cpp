// The box that tells of a script file that is not there, shown by the host's members in its turn
// among the boxes the scripts show themselves, and the empty text read in its place.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/project_context.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"
#include "templates/script_host.hpp"
#include "templates/script_host_support.hpp"

namespace vantorel {
namespace {

class ScriptFileBoxesTest : public test::ScriptHostTest {
 protected:
  std::vector<std::u16string> boxes() const {
    std::vector<std::u16string> out;
    for (const auto& e : ui_->events(ui::RecordingBackend::Event::Kind::Asked)) {
      out.push_back(e.question.text);
    }
    return out;
  }
  std::u16string missing(const std::string& name) const {
    return fromUtf8((dir_.path() / "files" / name).string());
  }
  static std::u16string box(const std::u16string& path) {
    return u"Vantorel: Script file " + path + u" not found! Content not loaded!";
  }
};

TEST_F(ScriptFileBoxesTest, InitializeShowsEachMissingFileWhenItIsRead) {
  writeFile("sys/ok.tpl", "ok");
  setGeneral(u"SYSCODE", writeFile("sys/list.xml",
                                   "<syscode><file value='gone.tpl' function='true' id='G'/>"
                                   "<file value='ok.tpl' function='true' id='Ok'/></syscode>"));
  setGeneral(u"SYSCODEPREFIX", missing("sys/prefix.vbs"));
  setGeneral(u"SYSCODESUFFIX", writeFile("sys/suffix.vbs", "\r\n"));
  writeFile("val/v1.vbs", "Function V1()\r\nV1 = True\r\nEnd Function\r\n");
  setGeneral(u"VALIDATECODE",
             writeFile("val/list.xml", "<v><file value='absent.vbs'/><file value='v1.vbs'/></v>"));
  // The user code speaks as it is compiled, in the check engine and then in the main one.
  setGeneral(u"USERCODE", writeFile("user.vbs", "MsgBox \"user code\"\r\n"));

  Ref<AGScript> host = initializedHost();
  EXPECT_EQ(toUtf8(projectContext().lastErrorText), "");
  EXPECT_EQ(boxes(), (std::vector<std::u16string>{
                         box(missing("sys/prefix.vbs")), box(missing("sys/gone.tpl")),
                         box(missing("val/absent.vbs")), u"user code", u"user code"}));
  EXPECT_EQ(host->validationProcedures(), std::vector<std::u16string>{u"V1"});
}

TEST_F(ScriptFileBoxesTest, MembersAddingAFileThatIsNotThereShowItAndAddNothing) {
  Ref<AGScript> host = initializedHost();
  ui_->clearEvents();
  const std::u16string user = missing("user2.vbs");
  const std::u16string page = missing("page.vbs");
  host->call(u"AddUserCode", {Variant(user)});
  host->call(u"AddTemplateScript", {Variant(page)});
  EXPECT_EQ(boxes(), (std::vector<std::u16string>{box(user), box(page)}));
  EXPECT_EQ(toUtf8(projectContext().lastErrorText), "");
  EXPECT_TRUE(host->userScript().names().empty());
}

}  // namespace
}  // namespace vantorel
