#include "foundation/template_lookup.hpp"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "foundation/project_context.hpp"
#include "platform/fs/files.hpp"
#include "platform/fs/path.hpp"
#include "platform/sys/folders.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel {

std::u16string BundledTemplateSet(std::u16string_view name) {
  const char* published = std::getenv("VANTOREL_DATA");
  const std::u16string data =
      published && *published ? fs::normalizeSeparators(fromUtf8(published)) : sys::dataFolder();
  return fs::joinPath(fs::joinPath(data, u"templates"), trimBlanks(name));
}

std::u16string TemplateWorkName(std::u16string_view templateFile) {
  const std::u16string_view trimmed = trimBlanks(templateFile);
  if (trimmed.empty()) return {};
  const std::u16string full =
      fs::fromNative(fs::toNative(fs::normalizeSeparators(trimmed)).lexically_normal());
  const std::size_t slash = full.find_last_of(u'/');
  const std::u16string name = slash == std::u16string::npos ? full : full.substr(slash + 1);
  // FNV-1a over the UTF-16 code units: stable across runs and builds, unlike std::hash.
  std::uint32_t digest = 2166136261u;
  for (const char16_t c : full) {
    for (const std::uint32_t byte : {c & 0xffu, static_cast<std::uint32_t>(c) >> 8}) {
      digest = (digest ^ byte) * 16777619u;
    }
  }
  char hex[9];
  std::snprintf(hex, sizeof hex, "%08x", static_cast<unsigned>(digest));
  std::u16string work = name + u"-";
  for (const char* h = hex; *h != '\0'; ++h) work.push_back(static_cast<char16_t>(*h));
  return work;
}

std::u16string CurrentTemplateWorkName() {
  const ProjectContext& context = projectContext();
  const std::size_t at = context.templateFile.find_last_of(u"\\/");
  if (at != std::u16string::npos && context.templateFile.substr(at + 1) == context.templateName) {
    return TemplateWorkName(context.templateFile);
  }
  return context.templateName;
}

std::u16string AddBackslash(std::u16string_view path) {
  std::u16string out(trimBlanks(path));
  if (!out.empty() && out.back() != u'\\' && out.back() != u'/') out.push_back(u'\\');
  return out;
}

std::optional<std::u16string> ExtensionFolder(std::u16string_view name) {
  const std::u16string& work = projectContext().extensionWorkFolder;
  // A path made from an unknown folder would name the file system's root.
  if (work.empty()) return std::nullopt;
  return fs::joinInside(work, name);
}

std::u16string ControlSourceFolder(std::u16string_view extension) {
  if (extension.empty()) return projectContext().templateFolder;
  return ExtensionFolder(extension).value_or(std::u16string());
}

}  // namespace vantorel
