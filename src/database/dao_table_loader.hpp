#pragma once
// AGPTable.LoadTbl_DAO and LoadView_DAO: one table or stored select query of an Access file
// into its AGPTable, with fields, primary and unique indexes, TblKey and the load-time defaults.
// A whole-file load with the project's DynamicLoadDB only registers the object; a later
// single-object load reads it.
#include <string_view>

#include "database/database_load.hpp"
#include "model/table.hpp"
#include "platform/data/access_file.hpp"

namespace vantorel {

DaoFieldDefinition daoFieldDefinition(const data::access::AccessColumn& column);

// Indexes libmdb could not read leave the table without them and their reason in TblError; the
// table is still generated.
void LoadTbl_DAO(const DatabaseLoad& load, AGPTable& table,
                 const data::access::AccessTable& definition, bool bLoadAll);
void LoadTbl_DAO(const DatabaseLoad& load, AGPTable& table, data::access::AccessFile& file,
                 std::u16string_view name, bool bLoadAll);

void LoadView_DAO(const DatabaseLoad& load, AGPTable& table,
                  const data::access::AccessQuery& definition, bool bLoadAll);

}  // namespace vantorel
