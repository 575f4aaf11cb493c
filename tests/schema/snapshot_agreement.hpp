#pragma once
// The check that the model and a snapshot of the same database agree: the same tables and
// views, and for every column the same type, size, key, required, unique, auto-increment and
// attribute bits.
#include <filesystem>
#include <string>

#include "model/database.hpp"
#include "schema/schema_snapshot.hpp"

namespace vantorel::test {

void expectModelAndSnapshotAgree(AGPDatabase& model, const AGPSchema& snapshot);

// The Access file loaded into a model and a snapshot, which agree; libmdb's notes on standard
// error are swallowed.
void expectAccessFileAgrees(const std::filesystem::path& path);

// A new snapshot of a database reached by a connection string, or of an Access file; the load
// is expected to succeed.
Ref<AGPSchema> snapshotOf(const std::u16string& connectionString);
Ref<AGPSchema> accessSnapshotOf(const std::u16string& phyPath);

// The whole database loaded into a model the way AGP.LoadDB loads it.
Ref<AGPDatabase> modelOf(const std::u16string& connectionString);
Ref<AGPDatabase> accessModelOf(const std::u16string& phyPath);

}  // namespace vantorel::test
