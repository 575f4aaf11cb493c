#pragma once
// An .asp page turned into the one VBScript program IIS runs for it: server-side includes
// spliced in first, then every literal block written through Response.WriteBlock, "<%= x %>" as
// Response.Write, and the "<%@ %>" directive read for its settings.
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace vantorel::test::asp {

struct PageDirectives {
  int codePage = 0;  // 0 when the page names none
  std::string language = "VBScript";
  bool sessionState = true;
};

struct CompiledPage {
  std::u16string script;
  std::vector<std::u16string> blocks;  // the literal text WriteBlock n writes
  PageDirectives directives;
};

class PageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// root is the site's folder: virtual includes resolve from it, file includes from the including
// file's folder. Files are read as UTF-8, the encoding the generator writes. Raises PageError
// for a missing include, an include cycle, an unclosed "<%" or a directive after the start.
CompiledPage compilePage(const std::filesystem::path& root, const std::filesystem::path& page);

// The directive's attributes, names lowered: `Language="VBScript" CodePage=65001`.
std::map<std::string, std::string> directiveAttributes(const std::string& text);

}  // namespace vantorel::test::asp
