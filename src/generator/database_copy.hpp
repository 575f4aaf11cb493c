#pragma once
// A site that reads a file database needs the file in the site: an Access database, or the
// ".mdf" file (with its "_log.ldf") of a SQL Server Express database attached from a file.
// The copy is the first step of the main loop; the check pass lists it as "@db" when it would
// replace a database file that is there already.
#include <cstdint>
#include <string>
#include <string_view>

#include "generator/step_outcome.hpp"

namespace vantorel {

class AGP;

// Creates the upload folder below the application root, then copies the database into its
// folder below the application root (DBPath), or into the destination when DBPath is empty; an
// absolute DBPath means the site uses the database where it is. A missing target folder is
// offered for creation (Cancel ends the run). The check pass copies nothing. Count 1 with the
// message after a failed copy, a folder name that leads outside its root or a missing
// destination; else count 0.
// copied, when given, receives the copy's path once the walk reaches the copy (the check pass
// included), whether or not the file is then written.
StepOutcome CopyDatabase(AGP& proj, bool checkOnly, std::u16string* copied = nullptr);

// The file to copy: the physical path of an Access database (dbType "ACCESS"), else the
// AttachDbFilename of a connection string that names "\SQLExpress"; "" for other databases.
std::u16string DatabaseSourceFile(std::u16string_view dbType, std::u16string_view phyPath,
                                  std::u16string_view connStr);

}  // namespace vantorel
