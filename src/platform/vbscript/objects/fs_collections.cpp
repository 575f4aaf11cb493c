#include "platform/vbscript/objects/fs_collections.hpp"

#include <sys/statvfs.h>
#include <sys/vfs.h>

#include <filesystem>
#include <system_error>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/bind.hpp"
#include "platform/automation/safe_array.hpp"
#include "platform/fs/files.hpp"
#include "platform/fs/path.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/vbscript/objects/file_system.hpp"
#include "platform/vbscript/objects/fs_file.hpp"
#include "platform/vbscript/objects/fs_folder.hpp"

namespace vantorel::vbs {

namespace {

const std::u16string* findNoCase(const std::vector<std::u16string>& names,
                                 std::u16string_view name) {
  for (const auto& candidate : names) {
    if (candidate == name) return &candidate;
  }
  for (const auto& candidate : names) {
    if (equalsNoCase(candidate, name)) return &candidate;
  }
  return nullptr;
}

Variant spaceOf(std::uintmax_t std::filesystem::space_info::*field) {
  std::error_code ec;
  const auto info = std::filesystem::space("/", ec);
  return Variant(ec ? 0.0 : static_cast<double>(info.*field));
}

}  // namespace

std::int32_t FsFiles::Count() {
  return static_cast<std::int32_t>(fs::listFiles(folder_).size());
}

const ClassInfo& FsFiles::classInfo() const noexcept {
  static const ClassInfo& info = describeClass(u"Files", [](ClassInfo& c) {
    ClassBuilder<FsFiles>(c)
        .get<&FsFiles::Count>(u"Count")
        .get<&FsFiles::Item>(u"Item")
        .defaultMember(u"Item")
        .enumerator<&FsFiles::newEnum>();
  });
  return info;
}

Ref<FsFile> FsFiles::Item(const std::u16string& name) {
  const auto names = fs::listFiles(folder_);
  const std::u16string* found = findNoCase(names, name);
  if (!found) raiseVbError(vberr::kFileNotFound);
  return makeRef<FsFile>(fs::joinPath(folder_, *found));
}

Ref<Enumerator> FsFiles::newEnum() {
  std::vector<Variant> items;
  for (const auto& name : fs::listFiles(folder_))
    items.emplace_back(makeRef<FsFile>(fs::joinPath(folder_, name)));
  return makeArrayEnumerator(Variant(SafeArray::fromValues(std::move(items))));
}

std::int32_t FsFolders::Count() {
  return static_cast<std::int32_t>(fs::listFolders(folder_).size());
}

const ClassInfo& FsFolders::classInfo() const noexcept {
  static const ClassInfo& info = describeClass(u"Folders", [](ClassInfo& c) {
    ClassBuilder<FsFolders>(c)
        .get<&FsFolders::Count>(u"Count")
        .get<&FsFolders::Item>(u"Item")
        .method<&FsFolders::Add>(u"Add")
        .defaultMember(u"Item")
        .enumerator<&FsFolders::newEnum>();
  });
  return info;
}

Ref<FsFolder> FsFolders::Item(const std::u16string& name) {
  const auto names = fs::listFolders(folder_);
  const std::u16string* found = findNoCase(names, name);
  if (!found) raiseVbError(vberr::kPathNotFound);
  return makeRef<FsFolder>(fs::joinPath(folder_, *found));
}

Ref<FsFolder> FsFolders::Add(const std::u16string& name) {
  if (name.empty() || name.find_first_of(u"/\\") != std::u16string::npos) {
    raiseVbError(vberr::kInvalidProcedureCall);
  }
  const std::u16string path = fs::joinPath(folder_, name);
  if (fs::folderExists(path) || fs::fileExists(path)) raiseVbError(vberr::kFileAlreadyExists);
  std::error_code ec;
  if (!std::filesystem::create_directory(fs::toNative(path), ec) || ec) {
    raiseVbError(vberr::kPermissionDenied);
  }
  return makeRef<FsFolder>(path);
}

Ref<Enumerator> FsFolders::newEnum() {
  std::vector<Variant> items;
  for (const auto& name : fs::listFolders(folder_)) {
    items.emplace_back(makeRef<FsFolder>(fs::joinPath(folder_, name)));
  }
  return makeArrayEnumerator(Variant(SafeArray::fromValues(std::move(items))));
}

bool isRootDriveSpec(std::u16string_view spec) {
  return !spec.empty() && fs::isSeparator(spec[0]) &&
         !(spec.size() > 1 && fs::isSeparator(spec[1]));
}

const ClassInfo& FsDrive::classInfo() const noexcept {
  static const ClassInfo& info = describeClass(u"Drive", [](ClassInfo& c) {
    ClassBuilder<FsDrive>(c)
        .get<&FsDrive::AvailableSpace>(u"AvailableSpace")
        .get<&FsDrive::DriveLetter>(u"DriveLetter")
        .get<&FsDrive::DriveType>(u"DriveType")
        .get<&FsDrive::FileSystem>(u"FileSystem")
        .get<&FsDrive::FreeSpace>(u"FreeSpace")
        .get<&FsDrive::IsReady>(u"IsReady")
        .get<&FsDrive::Path>(u"Path")
        .get<&FsDrive::RootFolder>(u"RootFolder")
        .get<&FsDrive::SerialNumber>(u"SerialNumber")
        .get<&FsDrive::ShareName>(u"ShareName")
        .get<&FsDrive::TotalSize>(u"TotalSize")
        .get<&FsDrive::VolumeName>(u"VolumeName")
        .defaultMember(u"Path");
  });
  return info;
}

Variant FsDrive::AvailableSpace() {
  return spaceOf(&std::filesystem::space_info::available);
}
Variant FsDrive::FreeSpace() {
  return spaceOf(&std::filesystem::space_info::free);
}
Variant FsDrive::TotalSize() {
  return spaceOf(&std::filesystem::space_info::capacity);
}

std::u16string FsDrive::FileSystem() {
  struct statfs info {};
  if (::statfs("/", &info) != 0) return u"unknown";
  switch (static_cast<unsigned long>(info.f_type)) {
    case 0xEF53:
      return u"ext4";
    case 0x58465342:
      return u"xfs";
    case 0x9123683E:
      return u"btrfs";
    case 0x01021994:
      return u"tmpfs";
    case 0x794C7630:
      return u"overlay";
    default:
      return u"unknown";
  }
}

Ref<FsFolder> FsDrive::RootFolder() {
  return makeRef<FsFolder>(u"/");
}

std::int32_t FsDrive::SerialNumber() {
  struct statvfs info {};
  if (::statvfs("/", &info) != 0) return 0;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(info.f_fsid));
}

const ClassInfo& FsDrives::classInfo() const noexcept {
  static const ClassInfo& info = describeClass(u"Drives", [](ClassInfo& c) {
    ClassBuilder<FsDrives>(c)
        .get<&FsDrives::Count>(u"Count")
        .get<&FsDrives::Item>(u"Item")
        .defaultMember(u"Item")
        .enumerator<&FsDrives::newEnum>();
  });
  return info;
}

Ref<FsDrive> FsDrives::Item(const std::u16string& spec) {
  if (!isRootDriveSpec(spec)) raiseVbError(vberr::kElementNotFound);
  return makeRef<FsDrive>();
}

Ref<Enumerator> FsDrives::newEnum() {
  std::vector<Variant> items;
  items.emplace_back(makeRef<FsDrive>());
  return makeArrayEnumerator(Variant(SafeArray::fromValues(std::move(items))));
}

}  // namespace vantorel::vbs
