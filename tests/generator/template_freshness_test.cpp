#include "generator/template_freshness.hpp"
#include "foundation/project_context.hpp"

#include <chrono>

#include "generation_fixture.hpp"
#include "generator/template_compiler.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/fs/path.hpp"
#include "support/test_files.hpp"
#include "templates/stamp_cache.hpp"

namespace vantorel::test {
namespace {

namespace fsys = std::filesystem;

class TemplateFreshnessTest : public GenerationFixture {
 protected:
  void SetUp() override {
    GenerationFixture::SetUp();
    run().templateCache = makeRef<AGPCache>();
  }
  void TearDown() override {
    run().templateCache = nullptr;
    GenerationFixture::TearDown();
  }
  // Records the compiled template's stamp as its modification time moved by `shift`.
  void stampCompiled(const Ref<AGPControl>& control, std::chrono::seconds shift) {
    const fsys::path compiled(u8(GetTplFileName(*control)));
    test::writeFile(compiled, "compiled");
    const auto when = fsys::last_write_time(tplPath("page.htm")) + shift;
    fsys::last_write_time(compiled, when);
    CacheFileStamp(run().templateCache.get(), u"tpl", fs::fileNameOf(GetTplFileName(*control)),
                   GetTplFileName(*control));
  }
};

TEST_F(TemplateFreshnessTest, ComparesInputsWithTheCompiledStampToTheSecond) {
  test::writeFile(tplPath("page.htm"), "<!--##include part.htm/top##-->body");
  test::writeFile(tplPath("part.htm"), "part");
  Ref<AGPControl> control = makeControl(u"page", u"other", u"page", u"asp", u"page.htm");

  EXPECT_TRUE(IsTplOutdated(run().templateCache.get(), *control));  // never compiled, no stamp
  struct Case {
    std::chrono::seconds compiledShift;
    bool outdated;
  };
  // Stamps compare to the second: the same second is fresh, a second earlier is stale.
  for (const Case c : {Case{std::chrono::seconds(0), false}, Case{std::chrono::seconds(2), false},
                       Case{std::chrono::seconds(-1), true}}) {
    fsys::last_write_time(tplPath("part.htm"), fsys::last_write_time(tplPath("page.htm")));
    stampCompiled(control, c.compiledShift);
    EXPECT_EQ(IsTplOutdated(run().templateCache.get(), *control), c.outdated)
        << c.compiledShift.count();
    EXPECT_EQ(control->CtrlGen(), c.outdated);
  }

  // An included file newer than the compiled template makes the control stale too.
  stampCompiled(control, std::chrono::seconds(0));
  fsys::last_write_time(tplPath("part.htm"),
                        fsys::last_write_time(tplPath("page.htm")) + std::chrono::seconds(3));
  EXPECT_TRUE(IsTplOutdated(run().templateCache.get(), *control));

  // A missing included file ends the run, naming it.
  fsys::remove(tplPath("part.htm"));
  EXPECT_EQ(u8(stopMessage([&] { IsTplOutdated(run().templateCache.get(), *control); })),
            "Missing \"part.htm\" in template folder \"" + u8(projectContext().templateFolder) +
                "\". Generation aborted.");

  // So does an input name that climbs out of the template folder.
  control->fields().CtrlIFiles = u"../secret.htm";
  stampCompiled(control, std::chrono::seconds(0));
  EXPECT_NE(stopMessage([&] {
              IsTplOutdated(run().templateCache.get(), *control);
            }).find(u"leads outside"),
            std::u16string::npos);
}

}  // namespace
}  // namespace vantorel::test
