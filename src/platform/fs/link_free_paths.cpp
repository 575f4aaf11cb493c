#include "platform/fs/link_free_paths.hpp"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <string>

#include "platform/fs/files.hpp"
#include "platform/fs/path.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel::fs {

namespace {

[[noreturn]] void refuse(std::string_view action, std::u16string_view path, std::string reason) {
  std::string what = "cannot " + std::string(action) + " " + toUtf8(path) + ": " + reason;
  throw FileError(what, std::move(reason));
}

[[noreturn]] void refuseLink(std::string_view action, std::u16string_view path,
                             std::u16string_view link) {
  refuse(action, path, "\"" + toUtf8(link) + "\" is a symbolic link, and links are not followed");
}

std::u16string withoutTrailingSlash(std::u16string path) {
  while (path.size() > 1 && path.back() == u'/') path.pop_back();
  return path;
}

// What follows root in path ("" for the root itself); nothing when path does not lie below it.
std::optional<std::u16string> partBelow(const std::u16string& root, const std::u16string& path) {
  if (path == root) return std::u16string();
  if (root == u"." && !path.empty() && path.front() != u'/') {
    return path.starts_with(u"./") ? path.substr(2) : path;
  }
  const std::u16string prefix = root.back() == u'/' ? root : root + u'/';
  if (!path.starts_with(prefix)) return std::nullopt;
  return path.substr(prefix.size());
}

enum class Walk {
  Check,        // the elements that exist are looked at; the last may be anything but a link
  MakeFolders,  // every element is a folder, made when missing
};

// Looks at each element of path below root in turn, with lstat, so that no link is followed.
// Failures name shown, the path the caller works on.
void walkBelow(std::u16string_view rootText, std::u16string_view pathText, Walk walk,
               std::string_view action, std::u16string_view shown) {
  const std::u16string root = withoutTrailingSlash(normalizeSeparators(rootText));
  const std::u16string path = withoutTrailingSlash(normalizeSeparators(pathText));
  const std::optional<std::u16string> below = partBelow(root, path);
  if (!below) refuse(action, shown, "it does not lie in \"" + toUtf8(root) + "\"");

  std::u16string current = root;
  const auto cannotMake = [&](int error) {
    refuse(action, shown,
           "the folder \"" + toUtf8(current) + "\" cannot be made: " + std::strerror(error));
  };
  std::u16string_view rest = *below;
  while (!rest.empty()) {
    const std::size_t cut = rest.find(u'/');
    const std::u16string_view element = rest.substr(0, cut);
    rest = cut == std::u16string_view::npos ? std::u16string_view{} : rest.substr(cut + 1);
    if (element.empty() || element == u".") continue;
    if (element == u"..") refuse(action, shown, "it climbs out of \"" + toUtf8(root) + "\"");
    current = joinPath(current, element);
    const std::string native = toNative(current).string();
    struct stat st {};
    bool exists = ::lstat(native.c_str(), &st) == 0;
    if (!exists && errno == ENOENT && walk == Walk::MakeFolders) {
      // Another writer may make the same folder meanwhile: what is there then is looked at.
      if (::mkdir(native.c_str(), 0777) != 0 && errno != EEXIST) cannotMake(errno);
      exists = ::lstat(native.c_str(), &st) == 0;
    }
    if (!exists) {
      if (walk == Walk::Check) return;  // nothing below a missing element can be a link
      cannotMake(errno);
    }
    if (S_ISLNK(st.st_mode)) refuseLink(action, shown, current);
    if (S_ISDIR(st.st_mode)) continue;
    if (walk == Walk::Check) return;  // a file: its own write or copy reports it
    cannotMake(ENOTDIR);
  }
}

}  // namespace

void refuseLinksBelow(std::u16string_view root, std::u16string_view path, std::string_view action) {
  walkBelow(root, path, Walk::Check, action, path);
}

void makeFoldersBelow(std::u16string_view root, std::u16string_view folder) {
  makeFolders(root);
  walkBelow(root, folder, Walk::MakeFolders, "create the folder", folder);
}

void makeFoldersFor(std::u16string_view root, std::u16string_view path) {
  const std::u16string parent = parentFolder(normalizeSeparators(path));
  walkBelow(root, parent.empty() ? u"." : parent, Walk::MakeFolders, "write", path);
}

}  // namespace vantorel::fs
