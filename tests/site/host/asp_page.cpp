#include "site/host/asp_page.hpp"

#include <cctype>
#include <regex>
#include <set>

#include "platform/text/unicode.hpp"
#include "support/test_files.hpp"

namespace vantorel::test::asp {

namespace fs = std::filesystem;

namespace {

// The page or include file without its UTF-8 mark.
std::string readText(const fs::path& file) {
  if (!fs::is_regular_file(file)) throw PageError("include file not found: " + file.string());
  std::string text = readFile(file);
  if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
  return text;
}

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// Includes are expanded before any script is looked at, as the server does, so an include
// inside a "<% %>" block's text is not one.
std::string expandIncludes(const fs::path& root, const fs::path& file, std::set<fs::path>& open) {
  const fs::path canonical = fs::weakly_canonical(file);
  if (!open.insert(canonical).second) throw PageError("include cycle at " + file.string());
  static const std::regex include(R"re(<!--\s*#include\s+(file|virtual)\s*=\s*"([^"]*)"\s*-->)re",
                                  std::regex::icase);
  const std::string text = readText(file);
  std::string out;
  std::size_t pos = 0;
  for (std::sregex_iterator it(text.begin(), text.end(), include), end; it != end; ++it) {
    out.append(text, pos, static_cast<std::size_t>(it->position()) - pos);
    const std::string target = (*it)[2].str();
    const fs::path next = lower((*it)[1].str()) == "virtual"
                              ? root / fs::path(target).relative_path()
                              : file.parent_path() / target;
    out += expandIncludes(root, next, open);
    pos = static_cast<std::size_t>(it->position() + it->length());
  }
  out.append(text, pos, std::string::npos);
  open.erase(canonical);
  return out;
}

}  // namespace

std::map<std::string, std::string> directiveAttributes(const std::string& text) {
  static const std::regex attribute(R"re(([A-Za-z_]+)\s*=\s*("([^"]*)"|'([^']*)'|([^\s"']+)))re");
  std::map<std::string, std::string> attributes;
  for (std::sregex_iterator it(text.begin(), text.end(), attribute), end; it != end; ++it) {
    std::string value = (*it)[3].matched   ? (*it)[3].str()
                        : (*it)[4].matched ? (*it)[4].str()
                                           : (*it)[5].str();
    attributes[lower((*it)[1].str())] = value;
  }
  return attributes;
}

CompiledPage compilePage(const fs::path& root, const fs::path& page) {
  std::set<fs::path> open;
  const std::string text = expandIncludes(root, page, open);
  CompiledPage result;
  std::string script;
  std::size_t pos = 0;
  bool codeSeen = false;
  while (pos < text.size()) {
    const std::size_t start = text.find("<%", pos);
    const std::string literal = text.substr(pos, start == std::string::npos ? start : start - pos);
    if (literal.find_first_not_of(" \t\r\n") != std::string::npos) codeSeen = true;
    if (!literal.empty()) {
      result.blocks.push_back(fromUtf8(literal));
      script += "Response.WriteBlock " + std::to_string(result.blocks.size() - 1) + "\r\n";
    }
    if (start == std::string::npos) break;
    const std::size_t close = text.find("%>", start + 2);
    if (close == std::string::npos) throw PageError("a \"<%\" is never closed");
    std::string code = text.substr(start + 2, close - start - 2);
    if (!code.empty() && code[0] == '@') {
      // Only the page's first script block may be its directive.
      if (codeSeen) throw PageError("the @ directive must come first in the page");
      const auto attributes = directiveAttributes(code.substr(1));
      if (const auto cp = attributes.find("codepage"); cp != attributes.end()) {
        result.directives.codePage = std::stoi(cp->second);
      }
      if (const auto lang = attributes.find("language"); lang != attributes.end()) {
        result.directives.language = lang->second;
      }
      if (const auto ss = attributes.find("enablesessionstate"); ss != attributes.end()) {
        result.directives.sessionState = lower(ss->second) != "false";
      }
    } else if (!code.empty() && code[0] == '=') {
      script += "Response.Write(" + code.substr(1) + ")\r\n";
    } else {
      script += code + "\r\n";
    }
    codeSeen = true;
    pos = close + 2;
  }
  result.script = fromUtf8(script);
  return result;
}

}  // namespace vantorel::test::asp
