#include "generator/template_loading.hpp"

#include <optional>
#include <set>
#include <utility>

#include "foundation/project_context.hpp"
#include "foundation/template_lookup.hpp"
#include "foundation/text_files.hpp"
#include "generator/generation_extensions.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/fs/files.hpp"
#include "platform/fs/path.hpp"
#include "platform/text/strings.hpp"
#include "projectfile/working_folders.hpp"
#include "templates/control.hpp"
#include "templates/file_cache.hpp"

namespace vantorel {

namespace {

constexpr std::u16string_view kIncludeOpener = u"<!--##include";
constexpr std::u16string_view kDirectiveCloser = u"##-->";

std::u16string includedFileName(std::u16string_view reference) {
  const std::size_t slash = reference.rfind(u'/');
  if (slash != std::u16string_view::npos) reference = reference.substr(0, slash);
  return std::u16string(trimBlanks(reference));
}

// Adds each file at most once per control; the cache would cut it into the same sections again.
class ControlLoader {
 public:
  explicit ControlLoader(AGPFileCache& cache) : cache_(cache) {}

  void add(const std::u16string& path, const std::u16string& name) {
    if (!loaded_.insert({path, name}).second) return;
    cache_.AddFile(path, name);
  }

  // The input file entry below the current source folder, with the files it includes.
  void addInput(const std::u16string& entry) {
    const std::u16string& folder = projectContext().currentSourceFolder;
    if (folder.empty()) return;
    const std::optional<std::u16string> path = fs::joinInside(folder, trimBlanks(entry));
    if (!path || !fs::fileExists(*path)) return;
    add(*path, entry);
    const std::u16string text = toString(ReadTextFile(Variant(*path)));
    for (const std::u16string& name : split(GetIncludeFiles(text), u",")) {
      if (name.empty() || !fs::joinInside(u".", name)) continue;
      const std::u16string included = GetTemplateFilePath(name);
      if (fs::fileExists(included)) add(included, name);
    }
  }

 private:
  AGPFileCache& cache_;
  std::set<std::pair<std::u16string, std::u16string>> loaded_;
};

}  // namespace

std::u16string GetIncludeFiles(std::u16string_view text) {
  std::u16string result;
  std::size_t p = findTextNoCase(text, kIncludeOpener, 0);
  while (p != std::u16string_view::npos) {
    const std::size_t q = findTextNoCase(text, kDirectiveCloser, p);
    // Without a closer no later directive can be read apart from this one.
    if (q == std::u16string_view::npos) break;
    const std::size_t start = p + kIncludeOpener.size();
    const std::u16string_view reference =
        start <= q ? text.substr(start, q - start) : std::u16string_view();
    if (!result.empty()) result += u',';
    result += includedFileName(reference);
    p = findTextNoCase(text, kIncludeOpener, q + kDirectiveCloser.size());
  }
  return result;
}

void LoadCtrlTplFiles(AGPFileCache& cache, const AGPControl& control) {
  const AGControlFields& c = control.fields();
  projectContext().currentSourceFolder = ControlSourceFolder(c.CtrlExt);
  if (c.CtrlIFiles.empty()) return;
  ControlLoader loader(cache);
  for (const std::u16string& entry : split(c.CtrlIFiles, u",")) loader.addInput(entry);

  for (const Ref<AGPSession>& session : control.Sessions()->items()) {
    const AGSessionFields& s = session->fields();
    if (s.SessType != u"key") continue;
    projectContext().currentSourceFolder = ControlSourceFolder(s.SessExt);
    if (!s.SessIFile.empty()) loader.addInput(s.SessIFile);
  }
}

}  // namespace vantorel
