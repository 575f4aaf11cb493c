#include "platform/vbscript/objects/file_system.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <system_error>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/bind.hpp"
#include "platform/fs/files.hpp"
#include "platform/fs/path.hpp"
#include "platform/sys/clock.hpp"
#include "platform/sys/environment.hpp"
#include "platform/text/byte_order_mark.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/vbscript/host/wscript.hpp"
#include "platform/vbscript/objects/fs_collections.hpp"
#include "platform/vbscript/objects/fs_file.hpp"
#include "platform/vbscript/objects/fs_folder.hpp"
#include "platform/vbscript/objects/text_stream.hpp"

namespace vantorel::vbs {

namespace stdfs = std::filesystem;

namespace fso {

namespace {

bool hasWildcard(std::u16string_view name) {
  return name.find_first_of(u"*?") != std::u16string_view::npos;
}

// '*' any run, '?' one character, without regard to case, as the Windows shell matches.
bool wildcardMatchPlain(std::u16string_view pattern, std::u16string_view name) {
  std::size_t p = 0, n = 0, starP = std::u16string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() &&
        (pattern[p] == u'?' || toLowerChar(pattern[p]) == toLowerChar(name[n]))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == u'*') {
      starP = p++;
      starN = n;
    } else if (starP != std::u16string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == u'*') ++p;
  return p == pattern.size();
}

// A trailing ".*" also matches names without an extension, so "*.*" means every file.
bool wildcardMatch(std::u16string_view pattern, std::u16string_view name) {
  if (wildcardMatchPlain(pattern, name)) return true;
  return pattern.ends_with(u".*") && name.find(u'.') == std::u16string_view::npos &&
         wildcardMatchPlain(pattern.substr(0, pattern.size() - 2), name);
}

bool endsWithSeparator(std::u16string_view path) {
  return !path.empty() && fs::isSeparator(path.back());
}

bool statOf(std::u16string_view path, struct stat& st) {
  return ::stat(fs::toNative(path).c_str(), &st) == 0;
}

bool isReadOnly(std::u16string_view path) {
  struct stat st {};
  return statOf(path, st) && (st.st_mode & S_IWUSR) == 0;
}

// Matches of a path whose last element may hold wildcards, as absolute paths.
std::vector<std::u16string> expand(std::u16string_view spec, bool folders) {
  const std::u16string absolute = absolutePath(spec);
  const std::u16string name = fileName(spec);
  std::vector<std::u16string> found;
  if (!hasWildcard(name)) {
    if (folders ? fs::folderExists(absolute) : fs::fileExists(absolute)) found.push_back(absolute);
    return found;
  }
  const std::u16string folder = fs::parentFolder(absolute);
  const auto names = folders ? fs::listFolders(folder) : fs::listFiles(folder);
  for (const auto& candidate : names) {
    if (wildcardMatch(name, candidate)) found.push_back(fs::joinPath(folder, candidate));
  }
  return found;
}

// The target of a copy or move of `source`: inside `destination` when that is meant as a folder.
std::u16string targetOf(std::u16string_view source, std::u16string_view destination,
                        bool intoFolder) {
  if (intoFolder) {
    const std::u16string folder = absolutePath(destination);
    if (!fs::folderExists(folder)) raiseVbError(vberr::kPathNotFound);
    return fs::joinPath(folder, fs::fileNameOf(source));
  }
  const std::u16string target = absolutePath(destination);
  const std::u16string parent = fs::parentFolder(target);
  if (!parent.empty() && !fs::folderExists(parent)) raiseVbError(vberr::kPathNotFound);
  return target;
}

bool sameFile(std::u16string_view a, std::u16string_view b) {
  struct stat sa {
  }, sb{};
  return statOf(a, sa) && statOf(b, sb) && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

void copyFileTo(std::u16string_view source, std::u16string_view target, bool overwrite) {
  if (fs::folderExists(target)) raiseVbError(vberr::kPermissionDenied);
  // A file cannot be copied onto itself; Windows refuses it as a sharing violation.
  if (sameFile(source, target)) raiseVbError(vberr::kPermissionDenied);
  if (fs::fileExists(target)) {
    if (!overwrite) raiseVbError(vberr::kFileAlreadyExists);
    if (isReadOnly(target)) raiseVbError(vberr::kPermissionDenied);
  }
  try {
    fs::copyFile(source, target, true);
  } catch (const fs::FileError&) {
    raiseVbError(vberr::kPermissionDenied);
  }
}

bool isInside(std::u16string_view inner, std::u16string_view outer) {
  if (inner.size() < outer.size() || inner.substr(0, outer.size()) != outer) return false;
  return inner.size() == outer.size() || outer == u"/" || inner[outer.size()] == u'/';
}

void copyFolderTo(std::u16string_view source, std::u16string_view target, bool overwrite) {
  if (fs::fileExists(target)) raiseVbError(vberr::kFileAlreadyExists);
  // A copy into itself would never end.
  if (isInside(target, source)) raiseVbError(vberr::kPermissionDenied);
  if (!fs::folderExists(target) && !fs::createFolders(target)) {
    raiseVbError(vberr::kPermissionDenied);
  }
  for (const auto& name : fs::listFiles(source)) {
    copyFileTo(fs::joinPath(source, name), fs::joinPath(target, name), overwrite);
  }
  for (const auto& name : fs::listFolders(source)) {
    copyFolderTo(fs::joinPath(source, name), fs::joinPath(target, name), overwrite);
  }
}

}  // namespace

std::u16string absolutePath(std::u16string_view path) {
  std::u16string text = fs::normalizeSeparators(path);
  if (text.empty() || text[0] != u'/') {
    std::error_code ec;
    const std::u16string cwd = fs::fromNative(stdfs::current_path(ec));
    text = cwd + u"/" + text;
  }
  // Above the root, ".." stays at the root: there is always an answer.
  const std::vector<std::u16string_view> kept = *fs::pathElements(text, true);
  std::u16string result;
  for (const auto element : kept) {
    result += u'/';
    result += element;
  }
  return result.empty() ? u"/" : result;
}

std::u16string fileName(std::u16string_view path) {
  std::size_t end = path.size();
  while (end > 0 && fs::isSeparator(path[end - 1])) --end;
  std::size_t start = end;
  while (start > 0 && !fs::isSeparator(path[start - 1])) --start;
  const std::u16string_view name = path.substr(start, end - start);
  // A drive ("C:") is no file name.
  if (start == 0 && name.size() == 2 && name[1] == u':') return {};
  return std::u16string(name);
}

std::u16string parentFolderName(std::u16string_view path) {
  std::size_t end = path.size();
  while (end > 0 && fs::isSeparator(path[end - 1])) --end;
  if (end == 0) return {};
  std::size_t cut = end;
  while (cut > 0 && !fs::isSeparator(path[cut - 1])) --cut;
  if (cut == 0) return {};
  std::size_t parentEnd = cut - 1;
  while (parentEnd > 0 && fs::isSeparator(path[parentEnd - 1])) --parentEnd;
  // The root keeps its separator: the parent of "/a" is "/", of "C:\a" is "C:\".
  if (parentEnd == 0 || (parentEnd == 2 && path[1] == u':')) {
    return std::u16string(path.substr(0, parentEnd + 1));
  }
  return std::u16string(path.substr(0, parentEnd));
}

std::int32_t attributesOf(std::u16string_view path) {
  struct stat st {};
  if (!statOf(path, st)) return 0;
  std::int32_t attributes = S_ISDIR(st.st_mode) ? kAttrDirectory : kAttrArchive;
  if ((st.st_mode & S_IWUSR) == 0) attributes |= kAttrReadOnly;
  const std::u16string name = fs::fileNameOf(path);
  if (!name.empty() && name[0] == u'.') attributes |= kAttrHidden;
  return attributes;
}

void setAttributes(std::u16string_view path, std::int32_t attributes) {
  struct stat st {};
  if (!statOf(path, st)) raiseVbError(vberr::kFileNotFound);
  mode_t mode = st.st_mode & 07777;
  if (attributes & kAttrReadOnly) {
    mode &= ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH);
  } else {
    mode |= S_IWUSR;
  }
  if (::chmod(fs::toNative(path).c_str(), mode) != 0) raiseVbError(vberr::kPermissionDenied);
}

Variant stampOf(std::u16string_view path, Stamp stamp, std::int32_t missingError) {
  struct statx sx {};
  if (::statx(AT_FDCWD, fs::toNative(path).c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &sx) != 0) {
    raiseVbError(missingError);
  }
  std::int64_t seconds = 0;
  switch (stamp) {
    case Stamp::Modified:
      seconds = sx.stx_mtime.tv_sec;
      break;
    case Stamp::Accessed:
      seconds = sx.stx_atime.tv_sec;
      break;
    case Stamp::Created:
      // File systems without birth times: the earliest stamp there is.
      seconds = (sx.stx_mask & STATX_BTIME) ? sx.stx_btime.tv_sec
                                            : std::min(sx.stx_mtime.tv_sec, sx.stx_ctime.tv_sec);
      break;
  }
  const auto when = std::chrono::system_clock::from_time_t(static_cast<time_t>(seconds));
  return Variant::date(sys::toOleDate(when));
}

Variant sizeVariant(std::uint64_t size) {
  if (size <= 0x7FFFFFFFu) return Variant(static_cast<std::int32_t>(size));
  return Variant(static_cast<double>(size));
}

std::u16string renameTo(std::u16string_view path, std::u16string_view newName) {
  if (newName.empty() || newName == u"." || newName == u".." ||
      newName.find_first_of(u"/\\") != std::u16string_view::npos) {
    raiseVbError(vberr::kBadFileNameOrNumber);
  }
  const std::u16string target = fs::joinPath(fs::parentFolder(path), newName);
  if (target == path) return target;
  // Only the case changes: the same file under another spelling is no clash.
  const bool sameName = equalsNoCase(target, path);
  if (!sameName && (fs::fileExists(target) || fs::folderExists(target))) {
    raiseVbError(vberr::kFileAlreadyExists);
  }
  try {
    fs::renamePath(path, target);
  } catch (const fs::FileError&) {
    raiseVbError(vberr::kPermissionDenied);
  }
  return target;
}

void copyOneFile(std::u16string_view source, std::u16string_view destination, bool overwrite) {
  if (!fs::fileExists(source)) raiseVbError(vberr::kFileNotFound);
  copyFileTo(source, targetOf(source, destination, endsWithSeparator(destination)), overwrite);
}

void copyOneFolder(std::u16string_view source, std::u16string_view destination, bool overwrite) {
  if (!fs::folderExists(source)) raiseVbError(vberr::kPathNotFound);
  copyFolderTo(source, targetOf(source, destination, endsWithSeparator(destination)), overwrite);
}

void moveOne(std::u16string_view source, std::u16string_view destination, bool isFolder) {
  if (isFolder ? !fs::folderExists(source) : !fs::fileExists(source)) {
    raiseVbError(isFolder ? vberr::kPathNotFound : vberr::kFileNotFound);
  }
  const std::u16string target = targetOf(source, destination, endsWithSeparator(destination));
  if (target == source) return;
  if (fs::fileExists(target) || fs::folderExists(target)) raiseVbError(vberr::kFileAlreadyExists);
  if (isFolder && isInside(target, source)) raiseVbError(vberr::kPermissionDenied);
  std::error_code ec;
  stdfs::rename(fs::toNative(source), fs::toNative(target), ec);
  if (!ec) return;
  if (ec != std::errc::cross_device_link) raiseVbError(vberr::kPermissionDenied);
  // Another file system: copy, then remove the source only once the copy is whole.
  if (isFolder) {
    copyFolderTo(source, target, false);
    deleteOneFolder(source, true);
  } else {
    copyFileTo(source, target, false);
    deleteOneFile(source, true);
  }
}

void deleteOneFile(std::u16string_view path, bool force) {
  if (!fs::fileExists(path)) raiseVbError(vberr::kFileNotFound);
  if (!force && isReadOnly(path)) raiseVbError(vberr::kPermissionDenied);
  if (!fs::deleteFile(path)) raiseVbError(vberr::kPermissionDenied);
}

void deleteOneFolder(std::u16string_view path, bool force) {
  if (!fs::folderExists(path)) raiseVbError(vberr::kPathNotFound);
  if (path == u"/") raiseVbError(vberr::kPermissionDenied);
  const stdfs::path native = fs::toNative(path);
  if (!force) {
    // Refuse before anything is deleted, rather than stop half way.
    if (isReadOnly(path)) raiseVbError(vberr::kPermissionDenied);
    std::error_code ec;
    for (auto it = stdfs::recursive_directory_iterator(native, ec);
         !ec && it != stdfs::recursive_directory_iterator(); it.increment(ec)) {
      if (!it->is_symlink() && it->is_regular_file() && isReadOnly(fs::fromNative(it->path()))) {
        raiseVbError(vberr::kPermissionDenied);
      }
    }
  }
  std::error_code ec;
  stdfs::remove_all(native, ec);
  if (ec) raiseVbError(vberr::kPermissionDenied);
}

Ref<TextStream> openTextFile(std::u16string_view spec, std::int32_t ioMode, bool create,
                             std::int32_t format, bool mustNotExist) {
  if (ioMode != kForReading && ioMode != kForWriting && ioMode != kForAppending) {
    raiseVbError(vberr::kInvalidProcedureCall);
  }
  if (format != kTristateFalse && format != kTristateTrue && format != kTristateUseDefault) {
    raiseVbError(vberr::kInvalidProcedureCall);
  }
  if (spec.empty()) raiseVbError(vberr::kBadFileNameOrNumber);
  const std::u16string path = absolutePath(spec);
  if (fs::folderExists(path)) raiseVbError(vberr::kPermissionDenied);
  const bool exists = fs::fileExists(path);
  if (exists && mustNotExist) raiseVbError(vberr::kFileAlreadyExists);
  if (!exists) {
    if (!create) raiseVbError(vberr::kFileNotFound);
    if (!fs::folderExists(fs::parentFolder(path))) raiseVbError(vberr::kPathNotFound);
    try {
      fs::writeFileAtomic(path, {});
    } catch (const fs::FileError&) {
      raiseVbError(vberr::kPermissionDenied);
    }
  }
  auto encoding =
      format == kTristateTrue ? TextStream::Encoding::Unicode : TextStream::Encoding::Ansi;
  if (ioMode == kForReading) {
    auto bytes = fs::readFile(path);
    if (!bytes) raiseVbError(vberr::kPermissionDenied);
    return TextStream::forReading(path, *bytes, encoding);
  }
  if (exists && isReadOnly(path)) raiseVbError(vberr::kPermissionDenied);
  if (ioMode == kForAppending && format == kTristateUseDefault && exists) {
    auto bytes = fs::readFile(path);
    if (bytes && detectByteOrderMark(*bytes) == ByteOrderMark::Utf16LittleEndian) {
      encoding = TextStream::Encoding::Unicode;
    }
  }
  return TextStream::forWriting(path, ioMode == kForAppending, encoding);
}

}  // namespace fso

const ClassInfo& FileSystemObject::classInfo() const noexcept {
  static const ClassInfo& info = describeClass(u"FileSystemObject", [](ClassInfo& c) {
    using F = FileSystemObject;
    ClassBuilder<F>(c)
        .method<&F::BuildPath>(u"BuildPath")
        .method<&F::CopyFile>(u"CopyFile")
        .method<&F::CopyFolder>(u"CopyFolder")
        .method<&F::CreateFolder>(u"CreateFolder")
        .method<&F::CreateTextFile>(u"CreateTextFile")
        .method<&F::DeleteFile>(u"DeleteFile")
        .method<&F::DeleteFolder>(u"DeleteFolder")
        .method<&F::DriveExists>(u"DriveExists")
        .get<&F::Drives>(u"Drives")
        .method<&F::FileExists>(u"FileExists")
        .method<&F::FolderExists>(u"FolderExists")
        .method<&F::GetAbsolutePathName>(u"GetAbsolutePathName")
        .method<&F::GetBaseName>(u"GetBaseName")
        .method<&F::GetDrive>(u"GetDrive")
        .method<&F::GetDriveName>(u"GetDriveName")
        .method<&F::GetExtensionName>(u"GetExtensionName")
        .method<&F::GetFile>(u"GetFile")
        .method<&F::GetFileName>(u"GetFileName")
        .method<&F::GetFileVersion>(u"GetFileVersion")
        .method<&F::GetFolder>(u"GetFolder")
        .method<&F::GetParentFolderName>(u"GetParentFolderName")
        .method<&F::GetSpecialFolder>(u"GetSpecialFolder")
        .method<&F::GetStandardStream>(u"GetStandardStream")
        .method<&F::GetTempName>(u"GetTempName")
        .method<&F::MoveFile>(u"MoveFile")
        .method<&F::MoveFolder>(u"MoveFolder")
        .method<&F::OpenTextFile>(u"OpenTextFile");
  });
  return info;
}

std::u16string FileSystemObject::BuildPath(const std::u16string& path, const std::u16string& name) {
  if (path.empty()) return name;
  std::size_t end = path.size();
  while (end > 0 && fs::isSeparator(path[end - 1])) --end;
  std::size_t start = 0;
  while (start < name.size() && fs::isSeparator(name[start])) ++start;
  // "C:" + "x" stays drive-relative, as on Windows.
  if (end == path.size() && path.back() == u':') return path + name.substr(start);
  // The separator the path already uses; '/' when it has none.
  char16_t separator = u'/';
  const std::size_t last = path.find_last_of(u"/\\");
  if (last != std::u16string::npos) separator = path[last];
  return path.substr(0, end) + separator + name.substr(start);
}

void FileSystemObject::CopyFile(const std::u16string& source, const std::u16string& destination,
                                std::optional<bool> overwrite) {
  const bool wildcard = fso::hasWildcard(fso::fileName(source));
  const auto sources = fso::expand(source, false);
  if (sources.empty()) raiseVbError(vberr::kFileNotFound);
  for (const auto& from : sources) {
    fso::copyFileTo(
        from, fso::targetOf(from, destination, wildcard || fso::endsWithSeparator(destination)),
        overwrite.value_or(true));
  }
}

void FileSystemObject::CopyFolder(const std::u16string& source, const std::u16string& destination,
                                  std::optional<bool> overwrite) {
  const bool wildcard = fso::hasWildcard(fso::fileName(source));
  const auto sources = fso::expand(source, true);
  if (sources.empty()) raiseVbError(vberr::kPathNotFound);
  for (const auto& from : sources) {
    fso::copyFolderTo(
        from, fso::targetOf(from, destination, wildcard || fso::endsWithSeparator(destination)),
        overwrite.value_or(true));
  }
}

Ref<FsFolder> FileSystemObject::CreateFolder(const std::u16string& path) {
  if (path.empty()) raiseVbError(vberr::kBadFileNameOrNumber);
  const std::u16string absolute = fso::absolutePath(path);
  if (fs::folderExists(absolute) || fs::fileExists(absolute)) {
    raiseVbError(vberr::kFileAlreadyExists);
  }
  if (!fs::folderExists(fs::parentFolder(absolute))) raiseVbError(vberr::kPathNotFound);
  std::error_code ec;
  if (!stdfs::create_directory(fs::toNative(absolute), ec) || ec) {
    raiseVbError(vberr::kPermissionDenied);
  }
  return makeRef<FsFolder>(absolute);
}

Ref<TextStream> FileSystemObject::CreateTextFile(const std::u16string& path,
                                                 std::optional<bool> overwrite,
                                                 std::optional<bool> unicode) {
  auto stream =
      fso::openTextFile(path, fso::kForWriting, true,
                        unicode.value_or(false) ? fso::kTristateTrue : fso::kTristateFalse,
                        !overwrite.value_or(true));
  return stream;
}

void FileSystemObject::DeleteFile(const std::u16string& spec, std::optional<bool> force) {
  const auto files = fso::expand(spec, false);
  if (files.empty()) raiseVbError(vberr::kFileNotFound);
  for (const auto& file : files) fso::deleteOneFile(file, force.value_or(false));
}

void FileSystemObject::DeleteFolder(const std::u16string& spec, std::optional<bool> force) {
  const auto folders = fso::expand(spec, true);
  if (folders.empty()) raiseVbError(vberr::kPathNotFound);
  for (const auto& folder : folders) fso::deleteOneFolder(folder, force.value_or(false));
}

bool FileSystemObject::DriveExists(const std::u16string& spec) {
  return isRootDriveSpec(spec);
}

bool FileSystemObject::FileExists(const std::u16string& path) {
  return !path.empty() && fs::fileExists(fso::absolutePath(path));
}

bool FileSystemObject::FolderExists(const std::u16string& path) {
  return !path.empty() && fs::folderExists(fso::absolutePath(path));
}

std::u16string FileSystemObject::GetAbsolutePathName(const std::u16string& path) {
  return fso::absolutePath(path);
}

std::u16string FileSystemObject::GetBaseName(const std::u16string& path) {
  std::u16string name = fso::fileName(path);
  const std::size_t dot = name.rfind(u'.');
  if (dot != std::u16string::npos) name.resize(dot);
  return name;
}

std::u16string FileSystemObject::GetExtensionName(const std::u16string& path) {
  const std::u16string name = fso::fileName(path);
  const std::size_t dot = name.rfind(u'.');
  return dot == std::u16string::npos ? std::u16string() : name.substr(dot + 1);
}

std::u16string FileSystemObject::GetFileName(const std::u16string& path) {
  return fso::fileName(path);
}

std::u16string FileSystemObject::GetParentFolderName(const std::u16string& path) {
  return fso::parentFolderName(path);
}

std::u16string FileSystemObject::GetDriveName(const std::u16string& path) {
  if (path.size() >= 2 && path[1] == u':') return path.substr(0, 2);
  // "\\server\share\..." names the share.
  if (path.size() > 2 && fs::isSeparator(path[0]) && fs::isSeparator(path[1])) {
    const std::size_t server = path.find_first_of(u"/\\", 2);
    if (server == std::u16string::npos) return {};
    const std::size_t share = path.find_first_of(u"/\\", server + 1);
    return path.substr(0, share);
  }
  if (!path.empty() && fs::isSeparator(path[0])) return u"/";
  return {};
}

Ref<FsDrive> FileSystemObject::GetDrive(const std::u16string& spec) {
  if (spec.empty()) raiseVbError(vberr::kInvalidProcedureCall);
  if (!isRootDriveSpec(spec)) raiseVbError(vberr::kDeviceUnavailable);
  return makeRef<FsDrive>();
}

Ref<FsDrives> FileSystemObject::Drives() {
  return makeRef<FsDrives>();
}

Ref<FsFile> FileSystemObject::GetFile(const std::u16string& path) {
  if (path.empty()) raiseVbError(vberr::kInvalidProcedureCall);
  const std::u16string absolute = fso::absolutePath(path);
  if (!fs::fileExists(absolute)) raiseVbError(vberr::kFileNotFound);
  return makeRef<FsFile>(absolute);
}

Ref<FsFolder> FileSystemObject::GetFolder(const std::u16string& path) {
  if (path.empty()) raiseVbError(vberr::kInvalidProcedureCall);
  const std::u16string absolute = fso::absolutePath(path);
  if (!fs::folderExists(absolute)) raiseVbError(vberr::kPathNotFound);
  return makeRef<FsFolder>(absolute);
}

Ref<FsFolder> FileSystemObject::GetSpecialFolder(std::int32_t which) {
  switch (which) {
    case 0:  // the "Windows" folder: where the system keeps its own files
      return makeRef<FsFolder>(u"/usr");
    case 1:  // the "System" folder: its programs
      return makeRef<FsFolder>(u"/usr/bin");
    case 2: {
      auto temp = sys::environmentVariable(u"TMPDIR");
      if (!temp || temp->empty()) temp = u"/tmp";
      return makeRef<FsFolder>(fso::absolutePath(*temp));
    }
    default:
      raiseVbError(vberr::kInvalidProcedureCall);
  }
}

Ref<Object> FileSystemObject::GetStandardStream(std::int32_t which, std::optional<bool>) {
  switch (which) {
    case 0:
      return makeRef<WshTextStream>(stdin, WshTextStream::Mode::Read);
    case 1:
      return makeRef<WshTextStream>(stdout, WshTextStream::Mode::Write);
    case 2:
      return makeRef<WshTextStream>(stderr, WshTextStream::Mode::Write);
    default:
      raiseVbError(vberr::kInvalidProcedureCall);
  }
}

std::u16string FileSystemObject::GetTempName() {
  static std::mt19937 generator{std::random_device{}()};
  static constexpr char16_t kHex[] = u"0123456789ABCDEF";
  std::u16string name = u"rad";
  for (int i = 0; i < 5; ++i) name.push_back(kHex[generator() % 16]);
  return name + u".tmp";
}

// Programs here carry no version resource.
std::u16string FileSystemObject::GetFileVersion(const std::u16string& path) {
  if (!fs::fileExists(fso::absolutePath(path))) raiseVbError(vberr::kFileNotFound);
  return {};
}

void FileSystemObject::MoveFile(const std::u16string& source, const std::u16string& destination) {
  const bool wildcard = fso::hasWildcard(fso::fileName(source));
  const auto sources = fso::expand(source, false);
  if (sources.empty()) raiseVbError(vberr::kFileNotFound);
  for (const auto& from : sources) {
    fso::moveOne(
        from, wildcard && !fso::endsWithSeparator(destination) ? destination + u"/" : destination,
        false);
  }
}

void FileSystemObject::MoveFolder(const std::u16string& source, const std::u16string& destination) {
  const bool wildcard = fso::hasWildcard(fso::fileName(source));
  const auto sources = fso::expand(source, true);
  if (sources.empty()) raiseVbError(vberr::kPathNotFound);
  for (const auto& from : sources) {
    fso::moveOne(
        from, wildcard && !fso::endsWithSeparator(destination) ? destination + u"/" : destination,
        true);
  }
}

Ref<TextStream> FileSystemObject::OpenTextFile(const std::u16string& path,
                                               std::optional<std::int32_t> ioMode,
                                               std::optional<bool> create,
                                               std::optional<std::int32_t> format) {
  return fso::openTextFile(path, ioMode.value_or(fso::kForReading), create.value_or(false),
                           format.value_or(fso::kTristateFalse));
}

}  // namespace vantorel::vbs
