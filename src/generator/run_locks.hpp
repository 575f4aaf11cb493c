#pragma once
// The folders a run holds for itself: the template set's working folders, which a second run of
// the same set waits for, and the destination, which a second run into the same site is refused.
// Each is also cleared of the temporary files that writers killed mid-write left there.
#include <string>

#include "platform/automation/expected.hpp"

namespace vantorel {

class GenerationRun;

// Makes the working folders of templateFile and waits until no other run holds them; nothing
// for an empty name or a user without a documents folder.
void LockTemplateFolders(GenerationRun& run, const std::u16string& templateFile);

// Makes the project's destination folder and locks it for the run. Fails, with the message, when
// the folder is in use or cannot be made (with the system's reason).
Expected<> LockDestination(GenerationRun& run);

}  // namespace vantorel
