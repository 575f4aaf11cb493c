#pragma once
// Gives the project file reader the schema layer's check, through the reader's seam.
namespace vantorel {

void installProjectSchemaSync() noexcept;

}  // namespace vantorel
