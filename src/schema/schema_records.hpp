#pragma once
// The schema snapshot's records: a plain picture of the live database, independent of the
// project's model, that the check and the synchronisation compare the model against. Records
// are numbered from 1; element 0 of each array exists and stays empty.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/automation/variant.hpp"

namespace vantorel {

struct AGSchemaField {
  bool FldSync = false;
  std::int16_t FldSeq = 0;
  std::u16string FldName;
  std::int16_t FldType = 0;  // ADO type code; -1 for an Access type without one
  std::u16string FldTypeName;
  std::u16string FldTagValues;  // MySQL enum/set values, one per line
  bool FldSupport = false;
  std::int32_t FldSize = 0;
  bool FldUniqueIdx = false;
  bool FldZeroLen = false;
  bool FldReq = false;
  bool FldIsPrimaryKey = false;
  bool FldAutoIncrement = false;
  std::int32_t FldAttribute = 0;
  Variant FldDefault;
  std::u16string FldQuoteS;
  std::u16string FldQuoteE;
  std::u16string FldCaption;
  // An Access custom view's column: the table and column of the file it shows, empty for an
  // expression.
  std::u16string sourceTable;
  std::u16string sourceField;
};

struct AGSchemaFields {
  std::vector<AGSchemaField> fld{1};  // 1..TblFldCnt; elements past the count are not read
};

struct AGSchemaTable {
  bool TblSync = false;
  std::int16_t TblSeq = 0;
  std::u16string TblSchema;
  std::u16string TblName;
  std::u16string TblType;  // "TABLE", "VIEW" or "CUSTOMVIEW"
  std::u16string TblKey;   // sorted key field names, CR LF separated
  bool TblUpdatable = false;
  std::u16string TblSQL;
  bool TblGen = false;
  std::int16_t TblFldCnt = 0;
  AGSchemaFields TblFields;
  // Set when the object is listed but its columns could not be read (a lock, a privilege, a
  // failed probe): the provider's text. The check and the synchronisation leave such an object
  // as it is instead of taking it for one without columns.
  std::u16string TblReadError;
};

struct AGSchemaTables {
  std::vector<AGSchemaTable> Tbl{1};  // 1..DBTblCnt
};

struct AGSchemaDB {
  std::u16string DBName;
  std::u16string DBType;
  std::u16string DBPath;
  bool DBUseServerMapPath = false;
  std::u16string DBPhyPath;
  std::u16string DBUID;
  std::u16string DBPwd;
  std::u16string DBConnstr;
  std::u16string DBADOVer;
  std::u16string DBDBMSName;
  std::u16string DBDBMSVer;
  std::u16string DBOLEDBVer;
  std::u16string DBProviderName;
  std::u16string DBProviderVer;
  std::u16string DBSchema;
  std::int16_t DBTblCnt = 0;
  AGSchemaTables Tables;
  // The list of tables, or of views, could not be read: the snapshot is partial, and nothing
  // may be taken as removed from the database on its word. The provider's text.
  std::u16string tableListError;
  std::u16string viewListError;
  // The database a custom view's connection worked in (what a MariaDB qualifier names).
  std::u16string connectionDatabase;
};

}  // namespace vantorel
