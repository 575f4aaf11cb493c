#include "platform/fs/path.hpp"

#include <vector>

#include "platform/text/unicode.hpp"

namespace vantorel::fs {

namespace {

bool hasDrivePrefix(std::u16string_view path) {
  return path.size() >= 2 && path[1] == u':' &&
         ((path[0] >= u'A' && path[0] <= u'Z') || (path[0] >= u'a' && path[0] <= u'z'));
}

// The path without separators at its end, unless it is nothing but the root.
std::u16string_view withoutTrailingSeparators(std::u16string_view path) {
  std::size_t n = path.size();
  while (n > 1 && isSeparator(path[n - 1])) --n;
  return path.substr(0, n);
}

std::size_t lastSeparator(std::u16string_view path) {
  for (std::size_t i = path.size(); i > 0; --i) {
    if (isSeparator(path[i - 1])) return i - 1;
  }
  return std::u16string_view::npos;
}

}  // namespace

bool isSeparator(char16_t c) noexcept {
  return c == u'/' || c == u'\\';
}

std::u16string normalizeSeparators(std::u16string_view path) {
  // Never longer than the path: written in place, then cut to what it holds.
  std::u16string out(path.size(), u'\0');
  char16_t* const begin = out.data();
  char16_t* at = begin;
  for (char16_t c : path) {
    if (isSeparator(c)) {
      if (at == begin || at[-1] != u'/') *at++ = u'/';
    } else {
      *at++ = c;
    }
  }
  out.resize(static_cast<std::size_t>(at - begin));
  return out;
}

std::filesystem::path toNative(std::u16string_view path) {
  return std::filesystem::path(toUtf8(normalizeSeparators(path)));
}

std::u16string fromNative(const std::filesystem::path& path) {
  return fromUtf8(path.native());
}

std::u16string joinPath(std::u16string_view folder, std::u16string_view name) {
  if (folder.empty()) return normalizeSeparators(name);
  if (name.empty()) return normalizeSeparators(folder);
  std::u16string joined(folder);
  joined.push_back(u'/');
  joined.append(name);
  return normalizeSeparators(joined);
}

std::optional<std::vector<std::u16string_view>> pathElements(std::u16string_view path,
                                                             bool stopAtTop) {
  std::vector<std::u16string_view> kept;
  std::u16string_view rest = path;
  while (!rest.empty()) {
    const std::size_t cut = rest.find(u'/');
    const std::u16string_view element = rest.substr(0, cut);
    rest = cut == std::u16string_view::npos ? std::u16string_view{} : rest.substr(cut + 1);
    if (element.empty() || element == u".") continue;
    if (element == u"..") {
      if (kept.empty() && !stopAtTop) return std::nullopt;
      if (!kept.empty()) kept.pop_back();
      continue;
    }
    kept.push_back(element);
  }
  return kept;
}

std::optional<std::u16string> joinInside(std::u16string_view folder, std::u16string_view relative) {
  if (!relative.empty() && isSeparator(relative[0])) return std::nullopt;
  if (hasDrivePrefix(relative)) return std::nullopt;
  // The OS would cut the name at a NUL, so what was checked would not be what is opened.
  if (relative.find(u'\0') != std::u16string_view::npos) return std::nullopt;

  const std::u16string normalized = normalizeSeparators(relative);
  const std::optional<std::vector<std::u16string_view>> kept = pathElements(normalized, false);
  if (!kept) return std::nullopt;

  std::u16string result = normalizeSeparators(folder);
  if (result.size() > 1 && result.back() == u'/') result.pop_back();
  for (const auto element : *kept) {
    if (!result.empty() && result.back() != u'/') result.push_back(u'/');
    result.append(element);
  }
  return result;
}

std::u16string parentFolder(std::u16string_view path) {
  const std::u16string_view trimmed = withoutTrailingSeparators(path);
  const std::size_t cut = lastSeparator(trimmed);
  if (cut == std::u16string_view::npos) return {};
  if (cut == 0) return trimmed.size() > 1 ? u"/" : u"";
  return normalizeSeparators(withoutTrailingSeparators(trimmed.substr(0, cut)));
}

std::u16string fileNameOf(std::u16string_view path) {
  const std::u16string_view trimmed = withoutTrailingSeparators(path);
  if (trimmed.size() == 1 && isSeparator(trimmed[0])) return {};
  const std::size_t cut = lastSeparator(trimmed);
  return std::u16string(cut == std::u16string_view::npos ? trimmed : trimmed.substr(cut + 1));
}

// As the script runtime's GetBaseName/GetExtensionName: the extension follows the last dot.
std::u16string baseNameOf(std::u16string_view path) {
  std::u16string name = fileNameOf(path);
  const std::size_t dot = name.rfind(u'.');
  if (dot != std::u16string::npos) name.resize(dot);
  return name;
}

std::u16string extensionOf(std::u16string_view path) {
  const std::u16string name = fileNameOf(path);
  const std::size_t dot = name.rfind(u'.');
  return dot == std::u16string::npos ? std::u16string{} : name.substr(dot + 1);
}

}  // namespace vantorel::fs
