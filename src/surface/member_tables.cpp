#include "surface/member_tables.hpp"

#include "surface/surface_tables.hpp"

namespace vantorel {

void installMemberTables() noexcept {
  surface::installDatabaseTables();
  surface::installProjectTables();
}

}  // namespace vantorel
