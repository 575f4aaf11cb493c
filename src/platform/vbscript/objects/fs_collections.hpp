#pragma once
// Files, Folders and Drives. Files and Folders list their folder afresh at each use, so they
// see what the script created or deleted since it took the collection.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/automation/enumerator.hpp"
#include "platform/automation/object.hpp"

namespace vantorel::vbs {

class FsFile;
class FsFolder;

class FsFiles : public Object {
 public:
  explicit FsFiles(std::u16string folder) : folder_(std::move(folder)) {}
  const ClassInfo& classInfo() const noexcept override;
  std::int32_t Count();
  // By name, without regard to case; 53 when the folder has no such file.
  Ref<FsFile> Item(const std::u16string& name);
  Ref<Enumerator> newEnum();

 private:
  std::u16string folder_;
};

class FsFolders : public Object {
 public:
  explicit FsFolders(std::u16string folder) : folder_(std::move(folder)) {}
  const ClassInfo& classInfo() const noexcept override;
  std::int32_t Count();
  // 76 when the folder has no such subfolder.
  Ref<FsFolder> Item(const std::u16string& name);
  // Creates the subfolder; 58 when it exists.
  Ref<FsFolder> Add(const std::u16string& name);
  Ref<Enumerator> newEnum();

 private:
  std::u16string folder_;
};

// The one drive this system has: the root file system.
class FsDrive : public Object {
 public:
  const ClassInfo& classInfo() const noexcept override;
  Variant AvailableSpace();
  Variant FreeSpace();
  Variant TotalSize();
  std::u16string DriveLetter() { return {}; }
  std::int32_t DriveType() { return 2; }  // fixed
  std::u16string FileSystem();
  bool IsReady() { return true; }
  std::u16string Path() { return u"/"; }
  Ref<FsFolder> RootFolder();
  std::int32_t SerialNumber();
  std::u16string ShareName() { return {}; }
  std::u16string VolumeName() { return {}; }
};

class FsDrives : public Object {
 public:
  const ClassInfo& classInfo() const noexcept override;
  std::int32_t Count() { return 1; }
  Ref<FsDrive> Item(const std::u16string& spec);
  Ref<Enumerator> newEnum();
};

// A drive name that means the root drive: "/", "" or a path on it.
bool isRootDriveSpec(std::u16string_view spec);

}  // namespace vantorel::vbs
