#pragma once
// One function a group of classes, each installing the tables of its classes.
namespace vantorel::surface {

void installDatabaseTables() noexcept;
void installProjectTables() noexcept;
void installFoundationTables() noexcept;
void installMenuTables() noexcept;
void installLinkTables() noexcept;
void installLanguageTables() noexcept;
void installFieldTables() noexcept;
void installModelTables() noexcept;
void installSchemaTables() noexcept;
void installTemplateTables() noexcept;
void installGeneratorTables() noexcept;
void installExtensionTables() noexcept;

}  // namespace vantorel::surface
