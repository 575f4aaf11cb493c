#pragma once
// The automation surface: the member tables that give the engine's classes their script members.
// Each is built here, above every layer, so that a member calls the layer that does its work
// directly; the classes keep their state and their own logic where they are.
namespace vantorel {

// Builds and installs every table; once, before any script runs.
void installMemberTables() noexcept;

}  // namespace vantorel
