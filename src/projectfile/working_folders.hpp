#pragma once
// The working folders of a template set and its extensions below the user's documents folder,
// the check of the platform components every project operation needs, and folder clean-up.
#include <string>

#include "platform/automation/expected.hpp"

namespace vantorel {

// Creates the product's Backup, Report and Templates folders, then the folders of one template
// (its unpacked set, extensions and cache; TemplateFolder is the unpacked set) or of one
// extension below the prepared template. Returns the folder to unpack into; "" for an empty
// name, an extension before any template, a name that would leave its folder, or a user
// without a documents folder.
std::u16string InitAppFolders(const std::u16string& templateFileName,
                              const std::u16string& subFolder, bool extension);

// Fails, with the component's name and the reason, when the XML component cannot be created.
Expected<> CheckComponents();

// Creates the folder and its missing parents; failures leave it missing.
void MakeFolderPath(const std::u16string& path);
// Deletes the folder with its contents when it exists; failures are ignored.
void DeleteFolderIfExists(const std::u16string& folder);
// Deletes the folder's files whose last extension equals ext without regard to case; a missing
// folder or a file that cannot be deleted raises.
void DeleteFilesByExt(const std::u16string& folder, const std::u16string& ext);

}  // namespace vantorel
