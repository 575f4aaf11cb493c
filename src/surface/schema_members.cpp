// The script members of the schema snapshot and the records it hands out.
#include "platform/automation/automation_error.hpp"
#include "platform/automation/bind.hpp"
#include "schema/schema_record_objects.hpp"
#include "schema/schema_snapshot.hpp"
#include "surface/install_table.hpp"
#include "surface/surface_tables.hpp"

namespace vantorel::surface {

namespace {

// A read-only property of the record a record object holds.
template <class Holder, auto Member>
Variant recordMember(Object& self, CallArgs args) {
  if (args.size() != 0) raiseVbError(vberr::kWrongArgumentCount);
  return Variant(static_cast<Holder&>(self).record().*Member);
}

}  // namespace

void installSchemaTables() noexcept {
  installTable<AGPSchema>(u"AGPSchema", [](ClassInfo& c) {
    using T = AGPSchema;
    ClassBuilder<T>(c)
        .get<&T::tblcnt>(u"tblcnt")
        .method<&T::scriptTbl>(u"Tbl")
        .method<&T::scriptLoadDB>(u"LoadDB")
        .method<&T::LoadADOCustomView>(u"LoadADOCustomView")
        .method<&T::scriptMySQLTagValues>(u"MySQLTagValues");
  });
  installTable<AGSchemaTableRecord>(u"AGSchemaTable", [](ClassInfo& c) {
    using T = AGSchemaTableRecord;
    using R = AGSchemaTable;
    ClassBuilder<T>(c)
        .rawGet(u"TblSync", &recordMember<T, &R::TblSync>)
        .rawGet(u"TblSeq", &recordMember<T, &R::TblSeq>)
        .rawGet(u"TblSchema", &recordMember<T, &R::TblSchema>)
        .rawGet(u"TblName", &recordMember<T, &R::TblName>)
        .rawGet(u"TblType", &recordMember<T, &R::TblType>)
        .rawGet(u"TblKey", &recordMember<T, &R::TblKey>)
        .rawGet(u"TblUpdatable", &recordMember<T, &R::TblUpdatable>)
        .rawGet(u"TblSQL", &recordMember<T, &R::TblSQL>)
        .rawGet(u"TblGen", &recordMember<T, &R::TblGen>)
        .rawGet(u"TblFldCnt", &recordMember<T, &R::TblFldCnt>)
        .rawGet(u"TblReadError", &recordMember<T, &R::TblReadError>)
        .method<&T::Fld>(u"Fld");
  });
  installTable<AGSchemaFieldRecord>(u"AGSchemaField", [](ClassInfo& c) {
    using T = AGSchemaFieldRecord;
    using R = AGSchemaField;
    ClassBuilder<T>(c)
        .rawGet(u"FldSync", &recordMember<T, &R::FldSync>)
        .rawGet(u"FldSeq", &recordMember<T, &R::FldSeq>)
        .rawGet(u"FldName", &recordMember<T, &R::FldName>)
        .rawGet(u"FldType", &recordMember<T, &R::FldType>)
        .rawGet(u"FldTypeName", &recordMember<T, &R::FldTypeName>)
        .rawGet(u"FldTagValues", &recordMember<T, &R::FldTagValues>)
        .rawGet(u"FldSupport", &recordMember<T, &R::FldSupport>)
        .rawGet(u"FldSize", &recordMember<T, &R::FldSize>)
        .rawGet(u"FldUniqueIdx", &recordMember<T, &R::FldUniqueIdx>)
        .rawGet(u"FldZeroLen", &recordMember<T, &R::FldZeroLen>)
        .rawGet(u"FldReq", &recordMember<T, &R::FldReq>)
        .rawGet(u"FldIsPrimaryKey", &recordMember<T, &R::FldIsPrimaryKey>)
        .rawGet(u"FldAutoIncrement", &recordMember<T, &R::FldAutoIncrement>)
        .rawGet(u"FldAttribute", &recordMember<T, &R::FldAttribute>)
        .rawGet(u"FldDefault", &recordMember<T, &R::FldDefault>)
        .rawGet(u"FldQuoteS", &recordMember<T, &R::FldQuoteS>)
        .rawGet(u"FldQuoteE", &recordMember<T, &R::FldQuoteE>)
        .rawGet(u"FldCaption", &recordMember<T, &R::FldCaption>);
  });
}

}  // namespace vantorel::surface
