// The project file example run as a user runs it: a project made by script, saved and loaded.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "support/temp_home.hpp"
#include "support/test_files.hpp"

namespace {

TEST(ProjectFileExample, SavesAndLoadsAProjectFromScript) {
  vantorel::test::TempDir dir;
  const std::filesystem::path script =
      std::filesystem::path(VANTOREL_TEST_DATA).parent_path().parent_path() / "examples" /
      "project_round_trip.vbs";
  const std::string project = dir.str() + "/shop.vtp";
  // Standard error apart: without a terminal, the message boxes of the run are said there.
  const std::string errors = dir.str() + "/stderr.txt";
  const std::string command = std::string(VANTOREL_CLI_PATH) + " run " + script.string() + " " +
                              project + " 2>" + errors + " </dev/null";
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  char buffer[4096];
  while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
  const int status = pclose(pipe);
  EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0) << output;
  EXPECT_EQ(output, "Saved " + project +
                        "\n"
                        "Load: Vantorel: No Database Information in Project File!\n"
                        "ProjName: Example Shop\n"
                        "ProjVar: Example_Shop\n"
                        "AppHeader: Welcome to the shop\n"
                        "MultiLanguage: True\n");
  // The shipped custom settings file is found: nothing to say.
  EXPECT_EQ(vantorel::test::readFile(errors), "");
  const std::string bytes = vantorel::test::readFile(project);
  EXPECT_EQ(bytes.rfind("\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
                        "\r\n<Project ",
                        0),
            0u);
  EXPECT_NE(bytes.find(" ProjName=\"Example Shop\""), std::string::npos);
}

}  // namespace
