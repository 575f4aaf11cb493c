// The host program run as a user runs it: a script file, its output and its exit code.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "support/temp_home.hpp"

namespace {

struct RunResult {
  int exitCode = -1;
  std::string output;  // stdout and stderr together
};

RunResult runScript(const vantorel::test::TempDir& dir, const std::string& script,
                    const std::string& arguments = {}) {
  const std::string path = dir.str() + "/script.vbs";
  std::ofstream(path, std::ios::binary) << script;
  const std::string command =
      std::string(VANTOREL_CLI_PATH) + " run " + path + " " + arguments + " 2>&1 </dev/null";
  RunResult r;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return r;
  char buffer[4096];
  while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) r.output.append(buffer, n);
  const int status = pclose(pipe);
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

TEST(RunCommand, EchoesArgumentsAndQuitsWithTheGivenCode) {
  vantorel::test::TempDir dir;
  RunResult r = runScript(dir,
                          "WScript.Echo \"args:\", WScript.Arguments.Count, WScript.Arguments(1)\r\n"
                          "WScript.Quit 7\r\n",
                          "one two");
  EXPECT_EQ(r.output, "args: 2 two\n");
  EXPECT_EQ(r.exitCode, 7);
}

TEST(RunCommand, ReachesTheRuntimeObjectsThroughCreateObject) {
  vantorel::test::TempDir dir;
  RunResult r = runScript(dir,
                          "Set d = CreateObject(\"Scripting.Dictionary\")\n"
                          "d.Add \"k\", 42\n"
                          "Set re = New RegExp\n"
                          "re.Pattern = \"(\\d+)\"\n"
                          "WScript.Echo d(\"k\") + 1, re.Replace(\"a12b\", \"<$1>\")\n");
  EXPECT_EQ(r.output, "43 a<12>b\n");
  EXPECT_EQ(r.exitCode, 0);
}

TEST(RunCommand, ReportsErrorsWithFileLineColumnAndNumber) {
  vantorel::test::TempDir dir;
  struct Case {
    const char* script;
    const char* expected;  // after "<path>"
  } cases[] = {
      {"x = 1\ny = 1 / 0\n", "(2, 1) Division by zero (11)\n"},
      {"If x Then\n", "(2, 1) Expected 'End' (1014)\n"},
  };
  for (const Case& c : cases) {
    RunResult r = runScript(dir, c.script);
    EXPECT_EQ(r.exitCode, 1) << c.script;
    EXPECT_EQ(r.output, dir.str() + "/script.vbs" + c.expected) << c.script;
  }
}

}  // namespace
