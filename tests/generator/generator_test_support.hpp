#pragma once
// A project object with a recorded user interface and a temporary site folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "agp/agp.hpp"
#include "foundation/project_context.hpp"
#include "generator/generation_run.hpp"
#include "generator/run_end.hpp"
#include "platform/text/unicode.hpp"
#include "platform/ui/recording_backend.hpp"
#include "platform/ui/ui.hpp"
#include "support/temp_home.hpp"
#include "templates/control.hpp"
#include "templates/controls.hpp"

namespace vantorel::test {

inline std::string u8(std::u16string_view text) {
  return toUtf8(text);
}
inline std::u16string u16(const std::filesystem::path& path) {
  return fromUtf8(path.string());
}

// id, type, output file, extension, input files, output folder.
inline Ref<AGPControl> makeControl(std::u16string id, std::u16string type, std::u16string oFile,
                                   std::u16string oExt = {}, std::u16string iFiles = {},
                                   std::u16string oFolder = {}) {
  Ref<AGPControl> control = makeRef<AGPControl>();
  control->fields() = {.CtrlID = id,
                       .CtrlType = type,
                       .CtrlOFile = oFile,
                       .CtrlOExt = oExt,
                       .CtrlOFolder = oFolder,
                       .CtrlIFiles = iFiles};
  return control;
}

// The message a step that ends the run raises; "" when it returns.
template <class Step>
std::u16string stopMessage(Step&& step) {
  try {
    step();
  } catch (const GenerationStopped& stop) {
    return stop.description();
  }
  return {};
}

class GeneratorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::setBackendForTesting(ui_);
    // The run refers to the project, so it goes before the project it was made for.
    run_.reset();
    proj_ = makeRef<AGP>();
    run_.emplace(*proj_);
    site_ = dir_.path() / "site";
    std::filesystem::create_directories(site_);
    set(u"Destination", Variant(u16(site_)));
  }
  void TearDown() override {
    run_.reset();
    ui::setBackendForTesting(nullptr);
    projectContext().lastErrorText.clear();
  }
  void set(std::u16string_view name, const Variant& value) {
    proj_->properties().setValue(*proj_->properties().declare(name), value);
  }

  TempDir dir_;
  std::filesystem::path site_;
  std::shared_ptr<ui::RecordingBackend> ui_ = std::make_shared<ui::RecordingBackend>();
  // The run the steps under test share, as one GenScript call would make it.
  GenerationRun& run() { return *run_; }

  Ref<AGP> proj_;
  std::optional<GenerationRun> run_;
};

}  // namespace vantorel::test
