#pragma once
// AGP.LoadDB and AGP.LoadTable, which read the live database through this layer's loaders;
// installed into the project object once at start-up.
namespace vantorel {

void installDatabaseEntries() noexcept;

}  // namespace vantorel
