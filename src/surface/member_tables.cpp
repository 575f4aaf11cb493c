#include "surface/member_tables.hpp"

#include "surface/surface_tables.hpp"

namespace vantorel {

void installMemberTables() noexcept {
  surface::installDatabaseTables();
  surface::installProjectTables();
  surface::installFoundationTables();
  surface::installMenuTables();
  surface::installLinkTables();
  surface::installLanguageTables();
  surface::installFieldTables();
  surface::installModelTables();
  surface::installSchemaTables();
  surface::installTemplateTables();
  surface::installGeneratorTables();
  surface::installExtensionTables();
}

}  // namespace vantorel
