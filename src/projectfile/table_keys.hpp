#pragma once
// A table's key list (TblKey) rebuilt from its fields' primary-key flags.
namespace vantorel {

class AGPDatabase;

// Every table's TblKey: the names of its primary-key fields, trimmed, sorted in binary order and
// joined by CR LF.
void SetTblKeyFromFields(AGPDatabase& db);

}  // namespace vantorel
