#pragma once
// The translations from what a Jet or ACE file stores to what DAO reports: type codes, sizes,
// the file's Version text and a stored query's kind.
#include <cstdint>
#include <string>

#include "platform/data/access_schema.hpp"

namespace vantorel::data::access {

// libmdb's format numbers (MdbFile::jet_version).
enum class JetFormat : std::uint8_t {
  Jet3 = 0,
  Jet4 = 1,
  Accdb2007 = 2,
  Accdb2010 = 3,
  Accdb2013 = 4,
  Accdb2016 = 5,
  Accdb2019 = 6,
};

std::int16_t daoTypeOf(std::int32_t jetType) noexcept;

// DAO Size of a column: Jet 4 and ACE store text sizes in bytes of UTF-16, DAO counts
// characters; fixed-size types have their natural size whatever the file says (calculated
// columns store a wrapper size).
std::int32_t daoSizeOf(std::int32_t jetType, std::int32_t storedSize, JetFormat format) noexcept;

// Database.Version: "3.0" for Jet 3, "4.0" for Jet 4, "12.0" for every ACE format, which is
// what a loader's custom-view connection keys the provider name on.
std::u16string formatVersion(JetFormat format);

// The kind from MSysObjects.Flags; Unknown for a flag combination no query kind has.
QueryKind queryKindOf(std::int32_t catalogueFlags) noexcept;

}  // namespace vantorel::data::access
