#include "templates/script_files.hpp"
#include "foundation/project_context.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/text/unicode.hpp"
#include "platform/ui/recording_backend.hpp"
#include "platform/ui/ui.hpp"
#include "support/temp_home.hpp"

namespace vantorel {
namespace {

TEST(ScriptFilesTest, ReadsByByteOrderMarkAndReportsMissingFiles) {
  test::TempDir dir;
  const std::vector<std::pair<std::string, std::u16string>> cases = {
      {"\xEF\xBB\xBFx = \"caf\xC3\xA9\"", u"x = \"caf\u00e9\""},  // UTF-8 with its mark
      {"x = \"caf\xE9\"", u"x = \"caf\u00e9\""},                  // the system code page
      {"", u""},
  };
  auto backend = std::make_shared<ui::RecordingBackend>();
  ui::setBackendForTesting(backend);
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const auto path = dir.path() / ("s" + std::to_string(i) + ".vbs");
    std::ofstream(path, std::ios::binary) << cases[i].first;
    EXPECT_EQ(toUtf8(readScriptFile(fromUtf8(path.string()), &showScriptFileFailure)),
              toUtf8(cases[i].second));
  }
  EXPECT_TRUE(backend->events(ui::RecordingBackend::Event::Kind::Asked).empty());
  projectContext().lastErrorText.clear();
  const std::u16string missing = fromUtf8((dir.path() / "missing.vbs").string());
  // The reader hands the failure to its caller, which decides whether the user sees it.
  std::vector<std::u16string> told;
  EXPECT_EQ(readScriptFile(missing, [&](const Failure& f) { told.push_back(f.text); }), u"");
  EXPECT_EQ(told, std::vector<std::u16string>{u"Vantorel: Script file " + missing +
                                              u" not found! Content not loaded!"});
  EXPECT_TRUE(backend->events(ui::RecordingBackend::Event::Kind::Asked).empty());
  EXPECT_EQ(readScriptFile(missing, &showScriptFileFailure), u"");
  const auto asked = backend->events(ui::RecordingBackend::Event::Kind::Asked);
  ui::setBackendForTesting(nullptr);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].question.text,
            u"Vantorel: Script file " + missing + u" not found! Content not loaded!");
  EXPECT_EQ(projectContext().lastErrorText, u"");
}

}  // namespace
}  // namespace vantorel
