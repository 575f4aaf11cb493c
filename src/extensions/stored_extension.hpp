#pragma once
// A stored extension read from a project file. The file's entries are what the user set, so each
// one the file holds is kept whatever the declaration file or its conditions say now: declared
// settings keep their types, the others are read as undeclared String settings and are written
// back as they were read. Loaded objects the file gave no entry get theirs afterwards, as
// AddExtension gives them; only those take over chart settings.
#include <memory>
#include <string>

#include "projectfile/project_file_seams.hpp"

namespace vantorel {

class AGP;

// Registers the extension and declares its project and database levels; nullptr for an empty
// name. A declaration file that cannot be read leaves its reason in problem.
std::unique_ptr<ProjectExtensionStore::StoredExtension> ReadStoredExtension(
    AGP& proj, const std::u16string& name, const std::u16string& templateFile,
    const std::u16string& xmlFile, std::u16string& problem);

}  // namespace vantorel
