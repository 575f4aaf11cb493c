#pragma once
// The schemas the snapshot tests read, made once when the servers have started, and the ways
// into them.
#include "support/schema_script.hpp"

namespace vantorel::test {

// A PostgreSQL user who may read every table of the test database but "secret".
inline constexpr char16_t kReader[] = u"reader";
inline constexpr char16_t kReaderPassword[] = u"reader-pw";

}  // namespace vantorel::test
