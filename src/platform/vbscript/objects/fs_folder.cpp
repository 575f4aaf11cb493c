#include "platform/vbscript/objects/fs_folder.hpp"

#include <filesystem>
#include <system_error>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/bind.hpp"
#include "platform/fs/files.hpp"
#include "platform/fs/path.hpp"
#include "platform/vbscript/objects/file_system.hpp"
#include "platform/vbscript/objects/fs_collections.hpp"
#include "platform/vbscript/objects/text_stream.hpp"

namespace vantorel::vbs {

const ClassInfo& FsFolder::classInfo() const noexcept {
  static const ClassInfo& info = describeClass(u"Folder", [](ClassInfo& c) {
    ClassBuilder<FsFolder>(c)
        .prop<&FsFolder::Attributes, &FsFolder::setAttributes>(u"Attributes")
        .get<&FsFolder::DateCreated>(u"DateCreated")
        .get<&FsFolder::DateLastModified>(u"DateLastModified")
        .get<&FsFolder::DateLastAccessed>(u"DateLastAccessed")
        .get<&FsFolder::Drive>(u"Drive")
        .get<&FsFolder::Files>(u"Files")
        .get<&FsFolder::IsRootFolder>(u"IsRootFolder")
        .prop<&FsFolder::Name, &FsFolder::setName>(u"Name")
        .get<&FsFolder::ParentFolder>(u"ParentFolder")
        .get<&FsFolder::Path>(u"Path")
        .get<&FsFolder::ShortName>(u"ShortName")
        .get<&FsFolder::ShortPath>(u"ShortPath")
        .get<&FsFolder::Size>(u"Size")
        .get<&FsFolder::SubFolders>(u"SubFolders")
        .get<&FsFolder::Type>(u"Type")
        .method<&FsFolder::Copy>(u"Copy")
        .method<&FsFolder::Delete>(u"Delete")
        .method<&FsFolder::Move>(u"Move")
        .method<&FsFolder::CreateTextFile>(u"CreateTextFile")
        .defaultMember(u"Path");
  });
  return info;
}

Ref<FsFiles> FsFolder::Files() {
  requireExists();
  return makeRef<FsFiles>(path_);
}

Ref<FsFolders> FsFolder::SubFolders() {
  requireExists();
  return makeRef<FsFolders>(path_);
}

void FsFolder::setName(const std::u16string& name) {
  requireExists();
  if (IsRootFolder()) raiseVbError(vberr::kPermissionDenied);
  path_ = fso::renameTo(path_, name);
}

Variant FsFolder::ParentFolder() {
  if (IsRootFolder()) return Variant::nothing();
  return Variant(makeRef<FsFolder>(fs::parentFolder(path_)));
}

Variant FsFolder::Size() {
  requireExists();
  namespace stdfs = std::filesystem;
  std::uint64_t total = 0;
  std::error_code ec;
  for (auto it = stdfs::recursive_directory_iterator(
           fs::toNative(path_), stdfs::directory_options::skip_permission_denied, ec);
       !ec && it != stdfs::recursive_directory_iterator(); it.increment(ec)) {
    std::error_code sizeError;
    if (!it->is_symlink(sizeError) && it->is_regular_file(sizeError)) {
      const auto size = it->file_size(sizeError);
      if (!sizeError) total += size;
    }
  }
  return fso::sizeVariant(total);
}

void FsFolder::Copy(const std::u16string& destination, std::optional<bool> overwrite) {
  fso::copyOneFolder(path_, destination, overwrite.value_or(true));
}

void FsFolder::Delete(std::optional<bool> force) {
  fso::deleteOneFolder(path_, force.value_or(false));
}

Ref<TextStream> FsFolder::CreateTextFile(const std::u16string& name, std::optional<bool> overwrite,
                                         std::optional<bool> unicode) {
  requireExists();
  // A relative name is below this folder, not below the current one.
  const bool absolute = !name.empty() && fs::isSeparator(name[0]);
  return fso::openTextFile(absolute ? name : fs::joinPath(path_, name), fso::kForWriting, true,
                           unicode.value_or(false) ? fso::kTristateTrue : fso::kTristateFalse,
                           !overwrite.value_or(true));
}

}  // namespace vantorel::vbs
