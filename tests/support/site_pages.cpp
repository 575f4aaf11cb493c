#include "support/site_pages.hpp"

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <set>

#include "platform/text/unicode.hpp"
#include "platform/vbscript/parser.hpp"
#include "platform/vbscript/script_error.hpp"
#include "support/test_files.hpp"

namespace vantorel::test {

namespace fs = std::filesystem;

namespace {

// The server-side script of an ASP page as the server runs it: the code between "<%" and "%>"
// of the page and of every file it includes, in order; "<%=" becomes a Response.Write.
std::string serverScript(const fs::path& page, std::set<fs::path>& seen) {
  if (!seen.insert(fs::weakly_canonical(page)).second) return "' include cycle\r\n";
  const std::string text = readFile(page);
  static const std::regex include(R"re(<!--\s*#include\s+(file|virtual)\s*=\s*"([^"]+)"\s*-->)re",
                                  std::regex::icase);
  std::string script;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t open = text.find("<%", pos);
    const std::string html = text.substr(pos, open == std::string::npos ? open : open - pos);
    for (std::sregex_iterator it(html.begin(), html.end(), include), end; it != end; ++it) {
      // The site is generated into one folder tree, so virtual paths resolve as file ones.
      script += serverScript(page.parent_path() / (*it)[2].str(), seen);
    }
    if (open == std::string::npos) break;
    const std::size_t close = text.find("%>", open + 2);
    std::string code = text.substr(open + 2, close == std::string::npos ? close : close - open - 2);
    if (!code.empty() && code[0] == '=') code = "Response.Write(" + code.substr(1) + ")";
    // The page's "<%@ ... %>" directive is read by the server, not run.
    if (!code.empty() && code[0] == '@') code.clear();
    script += code + "\r\n";
    if (close == std::string::npos) break;
    pos = close + 2;
  }
  return script;
}

}  // namespace

namespace {

int runRedirected(const std::string& command, const std::string& errorRedirect,
                  std::string& output) {
  FILE* pipe = popen((command + " " + errorRedirect + " </dev/null").c_str(), "r");
  if (!pipe) return -1;
  char buffer[4096];
  while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
  const int status = pclose(pipe);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

int runCommand(const std::string& command, std::string& output) {
  return runRedirected(command, "2>&1", output);
}

int runCommand(const std::string& command, std::string& output, std::string& errors,
               const fs::path& errorFile) {
  const int code = runRedirected(command, "2>" + errorFile.string(), output);
  errors = readFile(errorFile);
  return code;
}

std::string checkDatabase(const std::string& cli, const fs::path& project, const fs::path& folder) {
  const fs::path script = folder / "check_database.vbs";
  std::ofstream(script) << "Set p = CreateObject(\"vantorel4.AGP\")\n"
                           "p.Load WScript.Arguments(0)\n"
                           "WScript.Echo \"CheckDB \" & p.CheckDB()\n";
  std::string output, errors;
  const int code = runCommand("env -u VANTOREL_ANSWERS " + cli + " run '" + script.string() +
                                  "' '" + project.string() + "'",
                              output, errors, folder / "check_database.err");
  return code == 0 ? output : output + errors;
}

std::string compileProblem(const fs::path& page) {
  std::set<fs::path> seen;
  const std::string script = serverScript(page, seen);
  try {
    vbs::parseProgram(fromUtf8(script));
  } catch (const vbs::ScriptException& e) {
    return "line " + std::to_string(e.error().line) + ": " + toUtf8(e.error().description) + ": " +
           toUtf8(e.error().text);
  }
  return {};
}

std::vector<std::pair<std::string, std::string>> pageProblems(const fs::path& site) {
  std::vector<std::pair<std::string, std::string>> pages;
  for (const fs::directory_entry& entry : fs::directory_iterator(site)) {
    if (entry.path().extension() != ".asp") continue;
    pages.emplace_back(entry.path().filename().string(), compileProblem(entry.path()));
  }
  return pages;
}

}  // namespace vantorel::test
