#pragma once
// The question a database load may have to ask the user.
#include <string>
#include <vector>

namespace vantorel {

// Asks the user which Oracle schema to load, of the choices offered (element 0 empty); an
// unattended run takes the first.
std::u16string askForOracleSchema(const std::vector<std::u16string>& choices);

}  // namespace vantorel
