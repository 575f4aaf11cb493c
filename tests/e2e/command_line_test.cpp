// The host program's words as a user types them: help on standard output with exit code 0, a
// bad word named before the usage with exit code 2, output that cannot be written failing the
// run, and scripts written in UTF-8 read as such.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/site_pages.hpp"
#include "support/temp_home.hpp"
#include "support/test_files.hpp"

namespace {

namespace fs = std::filesystem;

const std::string kCli = VANTOREL_CLI_PATH;

struct Ran {
  int code = -1;
  std::string out;
  std::string err;
};

Ran run(const vantorel::test::TempDir& dir, const std::string& arguments) {
  Ran r;
  r.code = vantorel::test::runCommand(kCli + " " + arguments, r.out, r.err, dir.path() / "err");
  return r;
}

TEST(CommandLine, HelpGoesToStandardOutputWithTheCommandsOptions) {
  vantorel::test::TempDir dir;
  const struct {
    const char* arguments;
    const char* usage;   // how the help begins
    const char* option;  // a line of the options it lists
  } cases[] = {
      {"--help", "Usage: vantorel [--help | -h] [--version | -V]\n", "  -V, --version"},
      {"-h", "Usage: vantorel [--help | -h] [--version | -V]\n", "  -h, --help"},
      {"run --help", "Usage: vantorel run FILE.vbs [ARGUMENTS]\n", "  -h, --help"},
      {"check --help", "Usage: vantorel check PROJECT.vtp", "  -d, --destination DIR"},
      {"generate x.vtp -h", "Usage: vantorel generate PROJECT.vtp", "      --update-templates"},
      {"new --help", "Usage: vantorel new PROJECT.vtp --connect CONNECTION", "      --force"},
      {"sync --help", "Usage: vantorel sync PROJECT.vtp", "  -n, --dry-run"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments);
    const Ran r = run(dir, c.arguments);
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out.rfind(c.usage, 0), 0U) << r.out;
    EXPECT_NE(r.out.find(c.option), std::string::npos) << r.out;
    EXPECT_EQ(r.err, "");
  }
}

TEST(CommandLine, TheVersionNamesTheProgram) {
  vantorel::test::TempDir dir;
  for (const char* word : {"--version", "-V"}) {
    const Ran r = run(dir, word);
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "vantorel 4.0.0.0\n");
  }
}

// The first line names what was wrong; the usage follows on standard error.
TEST(CommandLine, ABadWordIsNamedBeforeTheUsage) {
  vantorel::test::TempDir dir;
  const struct {
    const char* arguments;
    const char* said;
    const char* usage;
  } cases[] = {
      {"", "vantorel: no command given\n", "Usage: vantorel [--help"},
      {"frob", "vantorel: unknown command 'frob'\n", "Usage: vantorel [--help"},
      {"--frob", "vantorel: unknown option '--frob'\n", "Usage: vantorel [--help"},
      {"generate a.vtp --frob", "vantorel generate: unknown option '--frob'\n",
       "Usage: vantorel generate"},
      {"check a.vtp b.vtp", "vantorel check: unexpected argument 'b.vtp'\n",
       "Usage: vantorel check"},
      {"generate a.vtp --destination",
       "vantorel generate: the option --destination needs a value (DIR)\n",
       "Usage: vantorel generate"},
      {"check", "vantorel check: missing PROJECT.vtp\n", "Usage: vantorel check"},
      {"new a.vtp --connect x --type oracle",
       "vantorel new: unknown value 'oracle' of --type (access, odbc or string)\n",
       "Usage: vantorel new"},
      {"new a.vtp --dynamic=yes",
       "vantorel new: the option --dynamic takes no value: '--dynamic=yes'\n",
       "Usage: vantorel new"},
      {"sync a.vtp --force", "vantorel sync: unknown option '--force'\n", "Usage: vantorel sync"},
      {"run -x script.vbs", "vantorel run: unknown option '-x'\n", "Usage: vantorel run"},
      {"run", "vantorel run: missing FILE.vbs\n", "Usage: vantorel run"},
      {"new a.vtp --dynamic", "vantorel new: missing --connect CONNECTION\n",
       "Usage: vantorel new"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments);
    const Ran r = run(dir, c.arguments);
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind(std::string(c.said) + c.usage, 0), 0U) << r.err;
  }
}

// A script's own words after the script are its arguments, "--help" among them.
TEST(CommandLine, WordsAfterTheScriptAreTheScripts) {
  vantorel::test::TempDir dir;
  vantorel::test::writeFile(dir.path() / "args.vbs",
                            "For Each a In WScript.Arguments : WScript.Echo a : Next\r\n");
  const Ran r = run(dir, "run " + (dir.path() / "args.vbs").string() + " --help -x");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "--help\n-x\n");
}

// Output that never reached its file is a failure, whichever command made it.
TEST(CommandLine, OutputThatCannotBeWrittenFailsTheRun) {
  vantorel::test::TempDir dir;
  vantorel::test::writeFile(dir.path() / "echo.vbs", "WScript.Echo \"hello\"\r\n");
  vantorel::test::writeFile(dir.path() / "quit.vbs",
                            "WScript.Echo \"hello\"\r\nWScript.Quit 0\r\n");
  const struct {
    std::string arguments;
    std::string said;
  } cases[] = {
      {"--version", "No space left on device"},
      {"--help", "No space left on device"},
      {"run " + (dir.path() / "echo.vbs").string(), "standard output could not be written"},
      {"run " + (dir.path() / "quit.vbs").string(), "standard output could not be written"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments);
    std::string out;
    std::string err;
    const int code = vantorel::test::runCommand(kCli + " " + c.arguments + " >/dev/full", out, err,
                                                dir.path() / "err");
    EXPECT_EQ(code, 1);
    EXPECT_NE(err.find(c.said), std::string::npos) << err;
  }
}

// A script saved as UTF-8 without a byte-order mark (as editors save today) reads as UTF-8; one
// in the code page still reads as the code page.
TEST(CommandLine, AScriptInUtf8WithoutAMarkReadsAsUtf8) {
  vantorel::test::TempDir dir;
  const struct {
    const char* label;
    std::string bytes;
    std::string printed;
  } cases[] = {
      {"UTF-8", "x = \"\xC3\xA9\xE2\x82\xAC\"\r\nWScript.Echo x & Len(x)\r\n",
       "\xC3\xA9\xE2\x82\xAC"
       "2\n"},
      {"Windows-1252", "x = \"\xE9\x80\"\r\nWScript.Echo x & Len(x)\r\n",
       "\xC3\xA9\xE2\x82\xAC"
       "2\n"},
      {"UTF-8 with its mark", "\xEF\xBB\xBFx = \"\xC3\xA9\"\r\nWScript.Echo x & Len(x)\r\n",
       "\xC3\xA9"
       "1\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    vantorel::test::writeFile(dir.path() / "text.vbs", c.bytes);
    const Ran r = run(dir, "run " + (dir.path() / "text.vbs").string());
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, c.printed);
  }
}

}  // namespace
