#include "schema/schema_record_objects.hpp"

#include "platform/automation/automation_error.hpp"
#include "platform/automation/bind.hpp"

namespace vantorel {

namespace {

// A read-only property of the record a record object holds.
template <class Holder, auto Member>
Variant recordMember(Object& self, CallArgs args) {
  if (args.size() != 0) raiseVbError(vberr::kWrongArgumentCount);
  return Variant(static_cast<Holder&>(self).record().*Member);
}

}  // namespace

Ref<AGSchemaFieldRecord> AGSchemaTableRecord::Fld(std::int16_t j) const {
  const std::vector<AGSchemaField>& fields = record_.TblFields.fld;
  if (j < 0 || j > record_.TblFldCnt || static_cast<std::size_t>(j) >= fields.size()) {
    raiseVbError(vberr::kSubscriptOutOfRange);
  }
  return makeRef<AGSchemaFieldRecord>(fields[static_cast<std::size_t>(j)]);
}

const ClassInfo& AGSchemaTableRecord::classInfo() const noexcept {
  using T = AGSchemaTableRecord;
  using R = AGSchemaTable;
  static const ClassInfo& info = describeClass(u"AGSchemaTable", [](ClassInfo& c) {
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
  return info;
}

const ClassInfo& AGSchemaFieldRecord::classInfo() const noexcept {
  using T = AGSchemaFieldRecord;
  using R = AGSchemaField;
  static const ClassInfo& info = describeClass(u"AGSchemaField", [](ClassInfo& c) {
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
  return info;
}

}  // namespace vantorel
