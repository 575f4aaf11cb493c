#pragma once
// One function a group of classes, each installing the tables of its classes.
namespace vantorel::surface {

void installDatabaseTables() noexcept;
void installProjectTables() noexcept;

}  // namespace vantorel::surface
