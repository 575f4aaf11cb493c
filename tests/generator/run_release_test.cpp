#include <functional>
#include <memory>

#include "foundation/project_context.hpp"
#include "generation_run_support.hpp"
#include "generator/generation_driver.hpp"
#include "platform/automation/automation_error.hpp"
#include "support/test_files.hpp"

namespace vantorel::test {
namespace {

using Kind = ui::RecordingBackend::Event::Kind;

std::map<std::string, std::string> contents(const fsys::path& site) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fsys::recursive_directory_iterator(site)) {
    if (entry.is_regular_file()) {
      files[fsys::relative(entry.path(), site).string()] = test::readFile(entry.path());
    }
  }
  return files;
}

class RunReleaseTest : public GenerationRunTest {};

// A run that ends half way leaves nothing of itself behind: its progress display is closed, its
// engines (which hold the project) are gone, and the next run makes the same site as a first one.
TEST_F(RunReleaseTest, AFailedRunLeavesNothingBehind) {
  struct Case {
    std::string name;
    std::function<void()> arrange;
    bool cancels;
  };
  const std::vector<Case> cases = {
      {"a page script raises",
       [this] {
         Files files = defaultFiles();
         files["report.htm"] = "<!--## Err.Raise 5 ##-->\r\n";
         writeTemplate(files);
       },
       false},
      {"cancel between tables", [] {}, true},
      {"no control file",
       [this] {
         Files files = defaultFiles();
         files.erase("control.xml");
         writeTemplate(files);
       },
       false},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    SetUp();
    // A template set of the case's own, so that no earlier case's unpacked files stand in.
    templateName_ += std::to_string(i);
    writeTemplate(defaultFiles());
    site_ = dir_.path() / ("site" + std::to_string(i));
    fsys::create_directories(site_);
    set(u"Destination", Variant(u16(site_)));
    c.arrange();
    std::shared_ptr<ui::RecordingBackend> inUse = ui_;
    if (c.cancels) inUse = std::make_shared<CancellingBackend>();
    ui::setBackendForTesting(inUse);
    const std::size_t projectRefs = proj_->refCount();
    bool raised = false;
    try {
      generateSite(*proj_);
    } catch (const AutomationError& e) {
      raised = true;
      EXPECT_EQ(e.number(), -1) << c.name;
    }
    EXPECT_EQ(raised, c.cancels) << c.name;
    EXPECT_FALSE(projectContext().lastErrorText.empty()) << c.name;
    EXPECT_FALSE(proj_->exParseEngine()) << c.name;
    EXPECT_EQ(proj_->refCount(), projectRefs) << c.name;
    EXPECT_FALSE(inUse->events(Kind::Opened).empty()) << c.name;
    EXPECT_EQ(inUse->events(Kind::Opened).size(), inUse->events(Kind::Closed).size()) << c.name;
    ui::setBackendForTesting(ui_);

    writeTemplate(defaultFiles());
    generate();
    const auto again = contents(site_);
    site_ = dir_.path() / ("fresh" + std::to_string(i));
    fsys::create_directories(site_);
    set(u"Destination", Variant(u16(site_)));
    generate();
    EXPECT_EQ(contents(site_), again) << c.name;
    EXPECT_FALSE(again.empty()) << c.name;
    TearDown();
  }
  SetUp();
}

}  // namespace
}  // namespace vantorel::test
