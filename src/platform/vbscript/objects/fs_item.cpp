#include "platform/vbscript/objects/fs_item.hpp"

#include "platform/automation/automation_error.hpp"
#include "platform/fs/files.hpp"
#include "platform/fs/path.hpp"
#include "platform/vbscript/objects/file_system.hpp"
#include "platform/vbscript/objects/fs_collections.hpp"

namespace vantorel::vbs {

std::int32_t FsItem::missingError() const noexcept {
  return folder_ ? vberr::kPathNotFound : vberr::kFileNotFound;
}

void FsItem::requireExists() {
  if (!(folder_ ? fs::folderExists(path_) : fs::fileExists(path_))) raiseVbError(missingError());
}

std::int32_t FsItem::Attributes() {
  requireExists();
  return fso::attributesOf(path_);
}

void FsItem::setAttributes(std::int32_t attributes) {
  requireExists();
  fso::setAttributes(path_, attributes);
}

Variant FsItem::DateCreated() {
  return fso::stampOf(path_, fso::Stamp::Created, missingError());
}
Variant FsItem::DateLastModified() {
  return fso::stampOf(path_, fso::Stamp::Modified, missingError());
}
Variant FsItem::DateLastAccessed() {
  return fso::stampOf(path_, fso::Stamp::Accessed, missingError());
}

Ref<FsDrive> FsItem::Drive() {
  return makeRef<FsDrive>();
}

std::u16string FsItem::Name() {
  return fs::fileNameOf(path_);
}

void FsItem::Move(const std::u16string& destination) {
  fso::moveOne(path_, destination, folder_);
  std::u16string target = fso::absolutePath(destination);
  if (!destination.empty() && fs::isSeparator(destination.back())) {
    target = fs::joinPath(target, fs::fileNameOf(path_));
  }
  path_ = target;
}

}  // namespace vantorel::vbs
